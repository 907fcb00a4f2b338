#pragma once

// For window tests only (needs Qt Widgets and QtTest).
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace qorvale::test {

// Runs `answer` on the modal dialog of type Box that the next command opens.
template <typename Box>
void Answer(std::function<void(Box&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        answer(*box);
    });
}

// Runs `act` on the first modal dialog of type T that comes up, however deep the calls that open
// it; `seen` says it came.
template <class T>
void WhenModal(bool& seen, std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        timer->stop();
        timer->deleteLater();
        seen = true;
        act(dialog);
    });
    timer->start();
}

}  // namespace qorvale::test
