#include "gui/engine/engine_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "engines/engine_output.h"
#include "engines/messages.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

// The profile is drawn within this many centipawns either way; mates sit at the edge.
constexpr int ProfileRange = 800;
// The engine's rows kept in the window.
constexpr int KeptRows = 2000;

// The score part of an analysis line's text: what stands before its moves.
QString ScoreText(const engines::InfoLine& line) {
    std::string_view text = line.text;
    if (text.size() >= line.pv_text.size()) text.remove_suffix(line.pv_text.size());
    return ToQString(text).trimmed();
}

QString Count(std::int64_t value) { return value < 0 ? QString() : QString::number(value); }

}  // namespace

EvaluationBar::EvaluationBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvaluationBar"));
    setMinimumWidth(14);
}

void EvaluationBar::SetShare(std::optional<double> white_share) {
    if (white_share == share_) return;
    share_ = white_share;
    update();
}

void EvaluationBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    const double share = share_.value_or(0.5);
    const int white_height = static_cast<int>(std::lround(area.height() * share));
    painter.fillRect(area, QColor(0x30, 0x30, 0x30));
    painter.fillRect(QRect(area.left(), area.bottom() - white_height, area.width(), white_height),
                     QColor(0xF4, 0xF4, 0xF4));
    painter.setPen(Qt::gray);
    painter.drawRect(area);
}

EngineWindow::EngineWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("EngineWindow"));
    lines_ = new QTreeWidget(this);
    lines_->setObjectName(QStringLiteral("EngineLines"));
    lines_->setRootIsDecorated(false);
    lines_->setHeaderLabels({tr("Depth"), tr("Score"), tr("Line"), tr("Nodes/s"), tr("Time")});
    lines_->header()->setStretchLastSection(false);
    for (int column : {0, 1, 3, 4}) {
        lines_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    lines_->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    rows_ = new QPlainTextEdit(this);
    rows_->setObjectName(QStringLiteral("EngineRows"));
    rows_->setReadOnly(true);
    rows_->setMaximumBlockCount(KeptRows);
    rows_->setLineWrapMode(QPlainTextEdit::NoWrap);
    bar_ = new EvaluationBar(this);
    best_move_ = new QLabel(this);
    best_move_->setObjectName(QStringLiteral("BestMove"));
    multipv_ = new QSpinBox(this);
    multipv_->setObjectName(QStringLiteral("MultiPv"));
    multipv_->setRange(1, 8);
    command_ = new QLineEdit(this);
    command_->setObjectName(QStringLiteral("EngineCommand"));
    command_->setPlaceholderText(tr("Command to the engine"));
    stop_ = new QPushButton(tr("&Stop"), this);
    stop_->setObjectName(QStringLiteral("StopEngineButton"));
    insert_ = new QPushButton(tr("&Insert Line"), this);
    insert_->setObjectName(QStringLiteral("InsertLine"));
    insert_->setToolTip(
        tr("Put the chosen line (the first when none is chosen) into the game "
           "as a variation."));

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(tr("Lines:"), this));
    controls->addWidget(multipv_);
    controls->addWidget(command_, 1);
    controls->addWidget(insert_);
    controls->addWidget(stop_);
    auto* views = new QVBoxLayout;
    views->addWidget(lines_, 2);
    views->addWidget(best_move_);
    views->addWidget(rows_, 3);
    views->addLayout(controls);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(bar_);
    layout->addLayout(views, 1);
    resize(620, 420);

    connect(stop_, &QPushButton::clicked, this, &EngineWindow::stopRequested);
    connect(insert_, &QPushButton::clicked, this, [this] {
        const int row = lines_->currentItem() != nullptr
                            ? lines_->indexOfTopLevelItem(lines_->currentItem())
                            : 0;
        emit insertLineRequested(std::max(0, row));
    });
    connect(multipv_, &QSpinBox::valueChanged, this, &EngineWindow::multiPvChosen);
    connect(command_, &QLineEdit::returnPressed, this, [this] {
        const QString text = command_->text();
        command_->clear();
        if (!text.trimmed().isEmpty()) emit commandTyped(text);
    });
}

void EngineWindow::Begin(engines::EngineKind kind, app::EngineMode mode, int multipv,
                         bool fixed_font) {
    setWindowTitle(kind == engines::EngineKind::Uci ? ToQString(engines::messages::UciWindowTitle)
                                                    : tr("Crafty"));
    lines_->clear();
    rows_->clear();
    rows_shown_ = 0;
    best_move_->clear();
    bar_->SetShare(std::nullopt);
    const bool analysing = mode == app::EngineMode::Analyse;
    lines_->setVisible(kind == engines::EngineKind::Uci && analysing);
    bar_->setVisible(analysing);
    multipv_->setEnabled(kind == engines::EngineKind::Uci && analysing);
    insert_->setVisible(kind == engines::EngineKind::Uci && analysing);
    const QSignalBlocker blocker(multipv_);
    multipv_->setValue(multipv);
    rows_->setFont(fixed_font ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : font());
}

void EngineWindow::Show(const app::EngineSession& session, const app::EngineUpdate& update) {
    if (update.lines) ShowLines(session);
    if (update.list) ShowRows(session);
    if (update.best_move || update.started) {
        best_move_->setText(ToQString(session.BestMoveText()));
    }
}

void EngineWindow::ShowLines(const app::EngineSession& session) {
    const std::vector<engines::InfoLine>& lines = session.Lines();
    lines_->clear();
    for (const engines::InfoLine& line : lines) {
        auto* item = new QTreeWidgetItem(lines_);
        item->setText(0, line.depth > 0 ? QString::number(line.depth) : QString());
        item->setText(1, ScoreText(line));
        item->setText(2, ToQString(line.pv_text).trimmed());
        item->setToolTip(2, item->text(2));
        item->setText(3, Count(line.nps));
        item->setText(4, line.time_ms < 0
                             ? QString()
                             : QString::number(static_cast<double>(line.time_ms) / 1000.0, 'f', 1));
        item->setTextAlignment(1, Qt::AlignRight);
    }
    const std::optional<int> white = session.WhiteEvaluation();
    bar_->SetShare(white ? std::optional<double>(app::EvaluationBarShare(*white)) : std::nullopt);
}

void EngineWindow::ShowRows(const app::EngineSession& session) {
    const engines::EngineList* list = session.List();
    if (list == nullptr) return;
    const auto& rows = list->Rows();
    // Only the rows added since the last drawing, and never more than the window keeps.
    const std::uint64_t added = list->TotalAdded() - rows_shown_;
    rows_shown_ = list->TotalAdded();
    const std::size_t count = static_cast<std::size_t>(
        std::min<std::uint64_t>(added, std::min<std::size_t>(rows.size(), KeptRows)));
    QString text;
    for (std::size_t i = rows.size() - count; i < rows.size(); ++i) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += ToQString(engines::DisplayText(rows[i]));
    }
    if (!text.isEmpty()) rows_->appendPlainText(text);
}

void EngineWindow::closeEvent(QCloseEvent* event) {
    emit stopRequested();
    event->accept();
}

ProfileWindow::ProfileWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("ProfileWindow"));
    setWindowTitle(ToQString(engines::messages::EvaluationProfile));
    resize(sizeHint());
}

void ProfileWindow::SetPoints(std::vector<engines::ProfilePoint> points, int colours, QColor light,
                              QColor dark) {
    points_ = std::move(points);
    colours_ = colours;
    light_ = light;
    dark_ = dark;
    update();
}

double ProfileWindow::X(int index) const {
    const int count = std::max<int>(2, static_cast<int>(points_.size()));
    return 10.0 + (width() - 20.0) * index / (count - 1);
}

double ProfileWindow::Y(int centipawns) const {
    const int clamped = std::clamp(centipawns, -ProfileRange, ProfileRange);
    return height() / 2.0 - (height() / 2.0 - 10.0) * clamped / ProfileRange;
}

void ProfileWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor above(0xE8, 0xF0, 0xFF);
    QColor below(0x40, 0x48, 0x60);
    QColor line(0x20, 0x50, 0xC0);
    if (colours_ == 1) {
        above = Qt::white;
        below = Qt::black;
        line = Qt::gray;
    } else if (colours_ == 2) {
        above = light_;
        below = dark_;
        line = dark_.darker(150);
    }
    const double middle = height() / 2.0;
    painter.fillRect(QRectF(0, 0, width(), middle), above);
    painter.fillRect(QRectF(0, middle, width(), height() - middle), below);
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(QPointF(0, middle), QPointF(width(), middle));
    if (points_.empty()) return;
    QPainterPath path;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const QPointF point(X(static_cast<int>(i)), Y(points_[i].centipawns));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    painter.setPen(QPen(line, 2));
    painter.drawPath(path);
    painter.setBrush(line);
    for (std::size_t i = 0; i < points_.size(); ++i) {
        painter.drawEllipse(QPointF(X(static_cast<int>(i)), Y(points_[i].centipawns)), 2.5, 2.5);
    }
}

QString ProfileWindow::ToolTipAt(QPoint position) const {
    if (points_.empty()) return {};
    const int count = static_cast<int>(points_.size());
    const double step = count > 1 ? (width() - 20.0) / (count - 1) : width();
    const int index =
        std::clamp(static_cast<int>(std::lround((position.x() - 10.0) / step)), 0, count - 1);
    if (std::abs(X(index) - position.x()) > std::max(4.0, step / 2)) return {};
    return ToQString(app::ProfileToolTip(points_[static_cast<std::size_t>(index)]));
}

bool ProfileWindow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace qorvale::gui
