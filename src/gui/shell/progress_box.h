#pragma once

#include <QDialog>
#include <QString>

#include "base/ui.h"

class QPushButton;

namespace qorvale::gui {

// "Threadbox": the small modeless window that stays up while a background operation runs. It
// draws the progress line at 10,10 and the bar below it from the last counters it was given;
// Cancel (or closing the window) only asks, through cancelRequested(), and the owner decides
// whether the window goes.
class ProgressBox : public QDialog {
    Q_OBJECT

  public:
    explicit ProgressBox(QWidget* parent = nullptr);

    // Takes a copy of the counters: the title, the line and the bar's last drawn fraction.
    void ShowProgress(const ProgressCounters& counters);

    QString Text() const { return text_; }
    double BarFraction() const { return fraction_; }
    // The bar's size in pixels: 216 x 16 at 96 dpi, scaled with the screen.
    QSize BarSize() const;

  signals:
    void cancelRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

  private:
    QRect BarRect() const;

    QString text_;
    double fraction_ = 0.0;
    QPushButton* cancel_ = nullptr;
};

}  // namespace qorvale::gui
