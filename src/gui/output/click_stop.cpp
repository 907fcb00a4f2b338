#include "gui/output/click_stop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace qorvale::gui {

ClickStop::ClickStop(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

ClickStop::~ClickStop() { QCoreApplication::instance()->removeEventFilter(this); }

bool ClickStop::operator()() {
    QCoreApplication::processEvents();
    return clicked_;
}

bool ClickStop::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        clicked_ = true;
        return true;
    }
    return type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick ||
           type == QEvent::KeyPress || type == QEvent::KeyRelease ||
           type == QEvent::ShortcutOverride || type == QEvent::Wheel;
}

}  // namespace qorvale::gui
