#include "gui/shell/message_box_ui.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QThread>
#include <QWidget>
#include <string>
#include <utility>

#include "app/message_kind.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

const QString BoxTitle = QStringLiteral("Qorvale");

QMessageBox::Icon IconOf(std::string_view message) {
    switch (app::KindOfMessage(message)) {
        case app::MessageKind::Information:
            return QMessageBox::Information;
        case app::MessageKind::Warning:
            return QMessageBox::Warning;
        case app::MessageKind::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::Information;
}

}  // namespace

MessageBoxUi::MessageBoxUi(QWidget* parent, CommandHandler on_command)
    : parent_(parent), on_command_(std::move(on_command)) {}

void MessageBoxUi::report(std::string_view message) { explain(Error(std::string(message))); }

void MessageBoxUi::explain(const Error& error) {
    QMessageBox box(IconOf(error.message()), BoxTitle, ToQString(error.message()), QMessageBox::Ok,
                    parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    if (!error.detail().empty()) box.setInformativeText(ToQString(error.detail()));
    box.exec();
}

bool MessageBoxUi::ask(std::string_view question) {
    return QMessageBox::question(parent_, BoxTitle, ToQString(question),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxUi::progress(const ProgressCounters&) {}

void MessageBoxUi::post(Command command) {
    if (!on_command_) return;
    // Queued like a posted window message: the command runs once the current one returns.
    QMetaObject::invokeMethod(
        parent_, [handler = on_command_, command] { handler(command); }, Qt::QueuedConnection);
}

GuiThreadUi::GuiThreadUi(QObject* receiver, Ui& target, ProgressHandler on_progress,
                         MessageBoxUi::CommandHandler on_command)
    : receiver_(receiver),
      target_(target),
      on_progress_(std::move(on_progress)),
      on_command_(std::move(on_command)) {}

bool GuiThreadUi::OnReceiverThread() const {
    return QThread::currentThread() == receiver_->thread();
}

void GuiThreadUi::report(std::string_view message) {
    if (OnReceiverThread()) {
        target_.report(message);
        return;
    }
    QMetaObject::invokeMethod(
        receiver_, [target = &target_, text = std::string(message)] { target->report(text); },
        Qt::QueuedConnection);
}

void GuiThreadUi::explain(const Error& error) {
    if (OnReceiverThread()) {
        target_.explain(error);
        return;
    }
    QMetaObject::invokeMethod(
        receiver_, [target = &target_, error] { target->explain(error); }, Qt::QueuedConnection);
}

bool GuiThreadUi::ask(std::string_view question) {
    if (OnReceiverThread()) return target_.ask(question);
    bool answer = false;
    QMetaObject::invokeMethod(
        receiver_,
        [target = &target_, text = std::string(question), &answer] { answer = target->ask(text); },
        Qt::BlockingQueuedConnection);
    return answer;
}

void GuiThreadUi::progress(const ProgressCounters& counters) {
    if (!on_progress_) return;
    if (OnReceiverThread()) {
        on_progress_(counters);
        return;
    }
    // A copy: the worker goes on writing its own counters.
    QMetaObject::invokeMethod(
        receiver_, [handler = on_progress_, counters] { handler(counters); }, Qt::QueuedConnection);
}

void GuiThreadUi::post(Command command) {
    if (!on_command_) return;
    QMetaObject::invokeMethod(
        receiver_, [handler = on_command_, command] { handler(command); }, Qt::QueuedConnection);
}

}  // namespace qorvale::gui
