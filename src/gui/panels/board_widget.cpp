#include "gui/panels/board_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>

#include "app/app_folder.h"
#include "app/diagram_output.h"

namespace qorvale::gui {

namespace {

constexpr int ArrowStyle = 3;
constexpr int SolidStyle = 5;
constexpr int SolidWithBorderStyle = 6;
// One wheel notch.
constexpr int WheelNotch = 120;

int HighlightPen(int style) {
    switch (style) {
        case 1:
            return 2;
        case 2:
            return 4;
        case 4:
            return 6;
        case SolidWithBorderStyle:
            return 2;
        default:
            return 0;
    }
}

}  // namespace

QColor FromRecordColour(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t ToRecordColour(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

BoardWidget::BoardWidget(const QString& pieces_folder, QWidget* parent)
    : QWidget(parent), pieces_folder_(pieces_folder) {
    board_ = chess::StartBoard();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMouseTracking(false);
    ApplyOptions(app::OptionsRecord{});
}

void BoardWidget::ApplyOptions(const app::OptionsRecord& options) {
    const int size = std::clamp(options.BoardSize, 0, 2);
    square_size_ = SquareSizes[static_cast<std::size_t>(size)];
    border_width_ = app::DiagramBorderWidths[static_cast<std::size_t>(
        std::clamp(options.BorderWidth, 0, static_cast<int>(app::DiagramBorderWidths.size()) - 1))];
    coordinates_ = std::clamp(options.CoordinatesMode, 0, 2);
    highlight_ = std::clamp(options.HighlightLastMove, 0, 6);
    light_ = FromRecordColour(options.LightSquareColour);
    dark_ = FromRecordColour(options.DarkSquareColour);
    background_ = FromRecordColour(options.BackgroundColour);
    border_ = FromRecordColour(options.BorderColour);
    highlight_colour_ = FromRecordColour(options.HighlightColour);
    arrow_colour_ = FromRecordColour(options.ArrowColour);
    wood_board_ = options.WoodBoard != 0 &&
                  options.PieceStyle != static_cast<std::int32_t>(app::PieceStyleId::ModBlue);
    if (wood_board_ && wood_.isNull()) {
        QString path = QString::fromStdString(app::ProgramDataFolder()) +
                       QStringLiteral("/board/lightwood/board-800.jpg");
        wood_ = QPixmap(path);
    }
    if (!pieces_ || pieces_->Style() != options.PieceStyle) {
        pieces_ = std::make_unique<PieceSet>(pieces_folder_, options.PieceStyle);
    }
    updateGeometry();
    adjustSize();
    update();
}

void BoardWidget::SetPosition(const chess::Board& board, const app::MoveSquares& last_move) {
    board_ = board;
    last_move_ = last_move;
    update();
}

void BoardWidget::SetFlipped(bool flipped) {
    flipped_ = flipped;
    update();
}

int BoardWidget::CoordinateBand() const {
    return coordinates_ == 0 ? 0 : std::max(14, square_size_ / 3);
}

QRect BoardWidget::BoardRect() const {
    const int band = CoordinateBand();
    const int top = border_width_ + (coordinates_ == 1 ? band : 0);
    return QRect(band + border_width_, top, 8 * square_size_, 8 * square_size_);
}

QSize BoardWidget::sizeHint() const {
    const int band = CoordinateBand();
    const int side = 8 * square_size_ + 2 * border_width_;
    return QSize(side + band, side + band);
}

QRect BoardWidget::SquareRect(int file, int rank) const {
    QRect board = BoardRect();
    const int column = flipped_ ? 8 - file : file - 1;
    const int row = flipped_ ? rank - 1 : 8 - rank;
    return QRect(board.left() + column * square_size_, board.top() + row * square_size_,
                 square_size_, square_size_);
}

std::pair<int, int> BoardWidget::SquareAt(const QPoint& point) const {
    QRect board = BoardRect();
    if (!board.contains(point)) return {0, 0};
    const int column = (point.x() - board.left()) / square_size_;
    const int row = (point.y() - board.top()) / square_size_;
    const int file = flipped_ ? 8 - column : column + 1;
    const int rank = flipped_ ? row + 1 : 8 - row;
    return {file, rank};
}

void BoardWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    QRect board = BoardRect();
    if (border_width_ > 0) {
        painter.fillRect(
            board.adjusted(-border_width_, -border_width_, border_width_, border_width_), border_);
    }
    if (wood_board_ && !wood_.isNull()) {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = board.size() * ratio;
        if (wood_scaled_.size() != pixels) {
            wood_scaled_ = wood_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            wood_scaled_.setDevicePixelRatio(ratio);
        }
        painter.drawPixmap(board.topLeft(), wood_scaled_);
    } else {
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                painter.fillRect(SquareRect(file, rank),
                                 chess::SquareColour(file, rank) == 0 ? dark_ : light_);
            }
        }
    }
    if (highlight_ == SolidStyle || highlight_ == SolidWithBorderStyle) {
        if (last_move_.present()) {
            QColor fill = highlight_colour_;
            fill.setAlpha(150);
            painter.fillRect(SquareRect(last_move_.from_file, last_move_.from_rank), fill);
            painter.fillRect(SquareRect(last_move_.to_file, last_move_.to_rank), fill);
        }
    }

    const qreal ratio = devicePixelRatioF();
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            std::uint32_t code =
                board_[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)];
            if (code == chess::Empty) continue;
            QPixmap piece = pieces_->Piece(code, square_size_, ratio);
            if (!piece.isNull()) painter.drawPixmap(SquareRect(file, rank).topLeft(), piece);
        }
    }
    DrawHighlight(painter);
    DrawMarks(painter);

    if (coordinates_ != 0) {
        QFont font = painter.font();
        font.setPixelSize(std::max(10, CoordinateBand() * 2 / 3));
        painter.setFont(font);
        painter.setPen(background_.lightness() < 128 ? Qt::white : Qt::black);
        const int band = CoordinateBand();
        const int files_y = coordinates_ == 1 ? 0 : board.bottom() + border_width_ + 1;
        for (int file = 1; file <= 8; ++file) {
            QRect square = SquareRect(file, 1);
            painter.drawText(QRect(square.left(), files_y, square_size_, band), Qt::AlignCenter,
                             QString(QChar(chess::FileLetter(file))));
        }
        for (int rank = 1; rank <= 8; ++rank) {
            QRect square = SquareRect(1, rank);
            painter.drawText(QRect(0, square.top(), band, square_size_), Qt::AlignCenter,
                             QString(QChar(chess::RankDigit(rank))));
        }
    }
}

void BoardWidget::SetMarks(std::optional<std::pair<int, int>> picked,
                           std::vector<std::pair<int, int>> targets) {
    if (picked == picked_ && targets == targets_) return;
    picked_ = picked;
    targets_ = std::move(targets);
    update();
}

void BoardWidget::DrawMarks(QPainter& painter) {
    if (!picked_) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = highlight_colour_;
    ring.setAlpha(230);
    const qreal pen = std::max(2.0, square_size_ * 0.06);
    painter.setPen(QPen(ring, pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(SquareRect(picked_->first, picked_->second))
                         .adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
    // A dot on an empty target, a ring round a piece that can be taken.
    QColor dot = arrow_colour_;
    dot.setAlpha(120);
    for (const auto& [file, rank] : targets_) {
        const QRectF square(SquareRect(file, rank));
        const bool taking =
            board_[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)] != chess::Empty;
        if (taking) {
            painter.setPen(QPen(dot, pen));
            painter.setBrush(Qt::NoBrush);
            const qreal inset = square_size_ * 0.06;
            painter.drawEllipse(square.adjusted(inset, inset, -inset, -inset));
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(dot);
            const qreal radius = square_size_ * 0.14;
            painter.drawEllipse(square.center(), radius, radius);
        }
    }
    painter.restore();
}

void BoardWidget::DrawHighlight(QPainter& painter) {
    if (!last_move_.present() || highlight_ == 0 || highlight_ == SolidStyle) return;
    QRect from = SquareRect(last_move_.from_file, last_move_.from_rank);
    QRect to = SquareRect(last_move_.to_file, last_move_.to_rank);
    painter.setRenderHint(QPainter::Antialiasing);
    if (highlight_ == ArrowStyle) {
        QPointF start = QRectF(from).center();
        QPointF end = QRectF(to).center();
        QLineF line(start, end);
        const qreal length = line.length();
        if (length < 1.0) return;
        const qreal shaft = square_size_ * 0.12;
        const qreal head = square_size_ * 0.32;
        QPointF unit = (end - start) / length;
        QPointF normal(-unit.y(), unit.x());
        QPointF neck = end - unit * head;
        QPainterPath arrow;
        arrow.moveTo(start + normal * shaft / 2);
        arrow.lineTo(neck + normal * shaft / 2);
        arrow.lineTo(neck + normal * head / 2);
        arrow.lineTo(end);
        arrow.lineTo(neck - normal * head / 2);
        arrow.lineTo(neck - normal * shaft / 2);
        arrow.lineTo(start - normal * shaft / 2);
        arrow.closeSubpath();
        QColor fill = highlight_colour_;
        fill.setAlpha(210);
        painter.setPen(QPen(arrow_colour_, 1.5));
        painter.setBrush(fill);
        painter.drawPath(arrow);
        return;
    }
    const int pen_width = HighlightPen(highlight_);
    QColor colour = highlight_ == SolidWithBorderStyle ? arrow_colour_ : highlight_colour_;
    painter.setPen(QPen(colour, pen_width));
    painter.setBrush(Qt::NoBrush);
    const int inset = pen_width / 2;
    painter.drawRect(from.adjusted(inset, inset, -inset - 1, -inset - 1));
    painter.drawRect(to.adjusted(inset, inset, -inset - 1, -inset - 1));
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    auto [file, rank] = SquareAt(event->position().toPoint());
    pressed_ = {file, rank};
    if (file != 0) emit squareClicked(file, rank);
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const std::pair<int, int> released = SquareAt(event->position().toPoint());
    const bool dragged = pressed_.first != 0 && released.first != 0 && released != pressed_;
    pressed_ = {0, 0};
    if (dragged) emit squareDropped(released.first, released.second);
}

void BoardWidget::wheelEvent(QWheelEvent* event) {
    wheel_rest_ += event->angleDelta().y();
    while (wheel_rest_ >= WheelNotch) {
        wheel_rest_ -= WheelNotch;
        emit wheelStep(-1);
    }
    while (wheel_rest_ <= -WheelNotch) {
        wheel_rest_ += WheelNotch;
        emit wheelStep(1);
    }
    event->accept();
}

}  // namespace qorvale::gui
