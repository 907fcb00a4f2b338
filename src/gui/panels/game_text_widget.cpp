#include "gui/panels/game_text_widget.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace qorvale::gui {

namespace {

constexpr std::array<int, 3> FontPixels = {14, 18, 22};

}  // namespace

QChar Figurine(QChar letter) {
    switch (letter.unicode()) {
        case 'K':
            return QChar(0x2654);
        case 'Q':
            return QChar(0x2655);
        case 'R':
            return QChar(0x2656);
        case 'B':
            return QChar(0x2657);
        case 'N':
            return QChar(0x2658);
        default:
            return letter;
    }
}

namespace {

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

GameTextWidget::GameTextWidget(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    SetBoardSize(0);
}

void GameTextWidget::SetBoardSize(int board_size) {
    base_pixels_ = FontPixels[static_cast<std::size_t>(std::clamp(board_size, 0, 2))];
    FitFont();
    update();
}

void GameTextWidget::FitFont() {
    // Header lines, a page of moves, half a line of gap and the page tabs.
    constexpr double Lines = 5 + app::GameTextPageLines + 1.5;
    int pixels = base_pixels_;
    auto spacing = [](int size) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(size);
        return QFontMetrics(font).lineSpacing();
    };
    while (pixels > 11 && spacing(pixels) * Lines + 2 * Margin > height()) --pixels;
    if (font_.pixelSize() == pixels && font_.family() == QStringLiteral("DejaVu Sans")) return;
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setPixelSize(pixels);
    header_font_ = font_;
    header_font_.setBold(true);
}

void GameTextWidget::SetColours(const QColor& current_move, const QColor& annotated) {
    current_colour_ = current_move;
    annotated_colour_ = annotated;
    update();
}

int GameTextWidget::TextWidth(std::string_view text) const {
    return QFontMetrics(font_).horizontalAdvance(FromView(text));
}

int GameTextWidget::PageCount() const {
    return view_.columns ? view_.column_pages : view_.text.PageCount();
}

void GameTextWidget::SetPage(int page) {
    page_ = std::clamp(page, 1, PageCount());
    update();
}

int GameTextWidget::PageOfPly(int ply) const {
    if (view_.columns)
        return app::ColumnPlaceOf(ply, static_cast<int>(view_.annotated.size()) / 2).page;
    return app::RenderedGameText::PageOfLine(view_.text.PlaceOf(ply).line);
}

void GameTextWidget::SetView(GameTextView view, bool auto_page) {
    const bool new_text =
        view.text.TextLines != view_.text.TextLines || view.columns != view_.columns;
    view_ = std::move(view);
    if (new_text) page_ = 1;
    if (auto_page) {
        // The start position shows the first page.
        int page = view_.ply == 0 ? 1 : PageOfPly(view_.ply);
        if (page > 0) page_ = page;
    }
    page_ = std::clamp(page_, 1, PageCount());
    update();
}

int GameTextWidget::LineHeight() const { return QFontMetrics(font_).lineSpacing(); }

int GameTextWidget::MovesTop() const {
    return Margin +
           static_cast<int>(view_.header.size()) * QFontMetrics(header_font_).lineSpacing() +
           LineHeight() / 2;
}

QString GameTextWidget::DisplayLine(int index) const {
    QString line = FromView(view_.text.TextLines[static_cast<std::size_t>(index)]);
    if (!view_.figurines) return line;
    const int display_line = app::FirstMoveLine + index;
    for (std::size_t ply = 1; ply < view_.text.places.size(); ++ply) {
        const app::PlyPlace& place = view_.text.places[ply];
        if (place.line != display_line || place.column >= line.size()) continue;
        line[place.column] = Figurine(line[place.column]);
    }
    return line;
}

QRect GameTextWidget::MoveRect(int ply) const {
    if (view_.columns || ply < 1) return {};
    app::PlyPlace place = view_.text.PlaceOf(ply);
    if (place.line == 0 || app::RenderedGameText::PageOfLine(place.line) != page_) return {};
    const int index = place.line - app::FirstMoveLine;
    QString line = DisplayLine(index);
    QString rest = line.mid(place.column);
    const int space = static_cast<int>(rest.indexOf(QLatin1Char(' ')));
    const QString move = space < 0 ? rest : rest.left(space);
    QFontMetrics metrics(font_);
    const int row = index % app::GameTextPageLines;
    const int x = Margin + metrics.horizontalAdvance(line.left(place.column));
    const int y = MovesTop() + row * LineHeight();
    return QRect(x - 2, y, metrics.horizontalAdvance(move) + 4, LineHeight());
}

QRect GameTextWidget::PageTabRect(int page) const {
    QFontMetrics metrics(font_);
    const int size = metrics.height() + 6;
    const int count = PageCount();
    const int left = width() - Margin - count * (size + 4);
    return QRect(left + (page - 1) * (size + 4), height() - Margin - size, size, size);
}

void GameTextWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QColor text_colour = palette().color(QPalette::WindowText);

    painter.setFont(header_font_);
    painter.setPen(text_colour);
    QFontMetrics header_metrics(header_font_);
    int y = Margin;
    for (const QString& line : view_.header) {
        painter.drawText(QPoint(Margin, y + header_metrics.ascent()), line);
        y += header_metrics.lineSpacing();
    }
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(Margin, MovesTop() - LineHeight() / 4, width() - Margin,
                     MovesTop() - LineHeight() / 4);

    painter.setFont(font_);
    if (view_.columns) {
        PaintColumns(painter);
    } else {
        QFontMetrics metrics(font_);
        const int first = (page_ - 1) * app::GameTextPageLines;
        const int count = static_cast<int>(view_.text.TextLines.size());
        QRect current = MoveRect(view_.ply);
        if (!current.isNull()) {
            QColor back = current_colour_;
            back.setAlpha(40);
            painter.setPen(Qt::NoPen);
            painter.setBrush(back);
            painter.drawRoundedRect(current, 3, 3);
        }
        for (int index = first; index < count && index < first + app::GameTextPageLines; ++index) {
            const QString line = DisplayLine(index);
            const int top = MovesTop() + (index - first) * LineHeight();
            const int baseline = top + metrics.ascent();
            // Runs of the line in their colours: plain text, annotated moves, the current move.
            std::vector<std::pair<int, QColor>> marks;  // start column -> colour of its move
            const int display_line = app::FirstMoveLine + index;
            for (std::size_t ply = 1; ply < view_.text.places.size(); ++ply) {
                const app::PlyPlace& place = view_.text.places[ply];
                if (place.line != display_line) continue;
                if (static_cast<int>(ply) == view_.ply) {
                    marks.emplace_back(place.column, current_colour_);
                } else if (ply < view_.annotated.size() && view_.annotated[ply]) {
                    marks.emplace_back(place.column, annotated_colour_);
                }
            }
            int column = 0;
            auto draw_run = [&](int from, int to, const QColor& colour) {
                if (to <= from) return;
                painter.setPen(colour);
                painter.drawText(
                    QPoint(Margin + metrics.horizontalAdvance(line.left(from)), baseline),
                    line.mid(from, to - from));
            };
            for (const auto& [start, colour] : marks) {
                int end = static_cast<int>(line.indexOf(QLatin1Char(' '), start));
                if (end < 0) end = static_cast<int>(line.size());
                draw_run(column, start, text_colour);
                draw_run(start, end, colour);
                column = end;
            }
            draw_run(column, static_cast<int>(line.size()), text_colour);
        }
    }

    if (PageCount() > 1) {
        for (int page = 1; page <= PageCount(); ++page) {
            QRect tab = PageTabRect(page);
            painter.setPen(QColor(150, 150, 150));
            painter.setBrush(page == page_ ? QColor(225, 232, 245) : QColor(250, 250, 250));
            painter.drawRoundedRect(tab, 3, 3);
            painter.setPen(text_colour);
            painter.drawText(tab, Qt::AlignCenter, QString::number(page));
        }
    }
}

void GameTextWidget::PaintColumns(QPainter& painter) {
    QFontMetrics metrics(font_);
    const int top = MovesTop();
    const int half = (width() - 2 * Margin) / 2;
    const int number_width = metrics.horizontalAdvance(QStringLiteral("000"));
    const int field = (half - number_width - 8) / 2;
    const int half_char = metrics.horizontalAdvance(QLatin1Char('0')) / 2;
    painter.setPen(palette().color(QPalette::WindowText));
    for (int side = 0; side < 2; ++side) {
        const int left = Margin + side * half;
        painter.drawText(QPoint(left, top + metrics.ascent()), FromView(app::ColumnHeading));
    }
    const int first_row = top + LineHeight();
    const auto& rows_of = [&](int side) -> const std::array<app::ColumnRow, app::ColumnRows>& {
        return side == 0 ? view_.column_page.left : view_.column_page.right;
    };
    app::ColumnPlace current =
        app::ColumnPlaceOf(view_.ply, static_cast<int>(view_.annotated.size()) / 2);
    for (int side = 0; side < 2; ++side) {
        const int left = Margin + side * half;
        painter.fillRect(QRect(left, first_row, number_width + 4, LineHeight() * app::ColumnRows),
                         QColor(0xE8, 0xE8, 0xE8));
        for (int row = 0; row < app::ColumnRows; ++row) {
            const app::ColumnRow& cell = rows_of(side)[static_cast<std::size_t>(row)];
            if (cell.number == 0) continue;
            const int baseline = first_row + row * LineHeight() + metrics.ascent();
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QPoint(left + 2 + (cell.indented ? half_char : 0), baseline),
                             QString::number(cell.number));
            for (int colour_side = 0; colour_side < 2; ++colour_side) {
                const bool marked = current.page == page_ && current.row == row &&
                                    current.right == (side == 1) &&
                                    current.black == (colour_side == 1);
                QString text = FromView(colour_side == 0 ? cell.white : cell.black);
                if (view_.figurines && !text.isEmpty()) text[0] = Figurine(text[0]);
                painter.setPen(marked ? current_colour_ : palette().color(QPalette::WindowText));
                painter.drawText(QPoint(left + number_width + 8 + colour_side * field, baseline),
                                 text);
            }
        }
    }
}

void GameTextWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    for (int page = 1; PageCount() > 1 && page <= PageCount(); ++page) {
        if (PageTabRect(page).contains(point)) {
            SetPage(page);
            return;
        }
    }
    if (view_.columns) return;
    const int row = (point.y() - MovesTop()) / LineHeight();
    if (point.y() < MovesTop() || row >= app::GameTextPageLines) return;
    const int index = (page_ - 1) * app::GameTextPageLines + row;
    if (index >= static_cast<int>(view_.text.TextLines.size())) return;
    const QString line = DisplayLine(index);
    QFontMetrics metrics(font_);
    int column = 0;
    while (column < line.size() &&
           Margin + metrics.horizontalAdvance(line.left(column + 1)) <= point.x()) {
        ++column;
    }
    std::optional<int> ply = view_.text.PlyAt(app::FirstMoveLine + index, column);
    if (ply) emit plyClicked(*ply);
}

}  // namespace qorvale::gui

namespace qorvale::gui {

void GameTextWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int pixels = font_.pixelSize();
    FitFont();
    if (event->oldSize().width() != event->size().width() || pixels != font_.pixelSize()) {
        emit widthChanged();
    }
}

int GameTextWidget::HeaderLineAt(int y) const {
    const int line = (y - Margin) / QFontMetrics(header_font_).lineSpacing();
    return y < Margin || line >= static_cast<int>(view_.header.size()) ? -1 : line;
}

void GameTextWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first two header lines name White and Black.
    const int line = HeaderLineAt(event->position().toPoint().y());
    if (line == 0 || line == 1) emit playerActivated(line == 0);
}

void GameTextWidget::contextMenuEvent(QContextMenuEvent* event) {
    const int line = HeaderLineAt(event->pos().y());
    if (line != 0 && line != 1) return;
    QMenu menu(this);
    menu.addAction(tr("Player &Information"), this,
                   [this, line] { emit playerActivated(line == 0); });
    menu.exec(event->globalPos());
}

}  // namespace qorvale::gui
