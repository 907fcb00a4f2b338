#include "gui/message_box_ui.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QWidget>

namespace qorvale::gui {

namespace {

const QString BoxTitle = QStringLiteral("Qorvale");

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MessageBoxUi::MessageBoxUi(QWidget* parent, CommandHandler on_command)
    : parent_(parent), on_command_(std::move(on_command)) {}

void MessageBoxUi::report(std::string_view message) {
    QMessageBox::information(parent_, BoxTitle, ToQString(message));
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

}  // namespace qorvale::gui
