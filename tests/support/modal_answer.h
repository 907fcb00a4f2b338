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

}  // namespace qorvale::test
