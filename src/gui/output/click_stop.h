#pragma once

#include <QObject>

class QWidget;

namespace qorvale::gui {

// Lets a long run on the window thread be stopped by a mouse click in `window`: each call
// handles the events that came in and says whether a click did. While it lives, the window's
// other input (keys, further clicks) is held back, so that no command starts in the middle.
class ClickStop : public QObject {
    Q_OBJECT

  public:
    explicit ClickStop(QWidget* window);
    ~ClickStop() override;

    bool operator()();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    bool clicked_ = false;
};

}  // namespace qorvale::gui
