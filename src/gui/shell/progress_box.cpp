#include "gui/shell/progress_box.h"

#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace qorvale::gui {

namespace {

constexpr int Margin = 10;
constexpr int BarWidth = 216;
constexpr int BarHeight = 16;

}  // namespace

ProgressBox::ProgressBox(QWidget* parent) : QDialog(parent) {
    setObjectName("Threadbox");
    setModal(false);
    setWindowModality(Qt::NonModal);
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName("cancel");
    connect(cancel_, &QPushButton::clicked, this, &ProgressBox::cancelRequested);
    // Wide enough for the longest progress line of a full file.
    QRect bar = BarRect();
    int widest_text = fontMetrics().horizontalAdvance(
        QStringLiteral("Game:  200000 of 200000  100%  99999 duplicates"));
    int width = std::max(bar.right() + 1, widest_text) + 2 * Margin;
    QSize button = cancel_->sizeHint();
    cancel_->move((width - button.width()) / 2, bar.bottom() + Margin);
    setFixedSize(width, bar.bottom() + 2 * Margin + button.height());
}

QSize ProgressBox::BarSize() const {
    double scale_x = logicalDpiX() / 96.0;
    double scale_y = logicalDpiY() / 96.0;
    return QSize(static_cast<int>(BarWidth * scale_x), static_cast<int>(BarHeight * scale_y));
}

QRect ProgressBox::BarRect() const {
    int top = Margin + fontMetrics().height() + Margin;
    return QRect(QPoint(Margin, top), BarSize());
}

void ProgressBox::ShowProgress(const ProgressCounters& counters) {
    setWindowTitle(QString::fromStdString(counters.title));
    text_ = QString::fromStdString(counters.text);
    fraction_ = std::clamp(counters.last_fraction, 0.0, 1.0);
    update();
}

void ProgressBox::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    QRect text_area(Margin, Margin, width() - 2 * Margin, fontMetrics().height());
    painter.fillRect(text_area, palette().window());
    painter.drawText(text_area, Qt::AlignLeft | Qt::AlignVCenter, text_);
    QRect bar = BarRect();
    painter.fillRect(bar, palette().base());
    int filled = static_cast<int>(bar.width() * fraction_);
    if (filled > 0) {
        painter.fillRect(QRect(bar.topLeft(), QSize(filled, bar.height())), palette().highlight());
    }
    // The frame lies just outside the bar so that a full bar shows every pixel filled.
    painter.setPen(palette().mid().color());
    painter.drawRect(bar.adjusted(-1, -1, 0, 0));
}

void ProgressBox::reject() {
    // Esc and the close button are the same request as Cancel; the owner closes the window.
    emit cancelRequested();
}

}  // namespace qorvale::gui
