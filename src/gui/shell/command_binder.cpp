#include "gui/shell/command_binder.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

QList<QKeySequence> KeysOf(std::string_view keys) {
    QList<QKeySequence> sequences;
    const QStringList parts = ToQString(keys).split(QStringLiteral(", "), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        sequences << QKeySequence(part, QKeySequence::PortableText);
    }
    return sequences;
}

}  // namespace

CommandBinder::CommandBinder(QMainWindow* window, Hooks hooks)
    : QObject(window), window_(window), hooks_(std::move(hooks)) {
    for (std::size_t menu = 0; menu <= static_cast<std::size_t>(app::MenuId::Help); ++menu) {
        const auto id = static_cast<app::MenuId>(menu);
        QMenu* added = window_->menuBar()->addMenu(ToQString(app::MenuTitle(id)));
        added->setObjectName(ToQString(app::MenuObjectName(id)));
        added->setToolTipsVisible(true);
        menus_[id] = added;
    }
    for (const app::CommandSpec& row : app::CommandTable()) {
        auto* action = new QAction(ToQString(row.text), window_);
        action->setObjectName(ToQString(row.name));
        if (!row.tip.empty()) {
            action->setToolTip(ToQString(row.tip));
            action->setStatusTip(ToQString(row.tip));
        }
        action->setShortcuts(KeysOf(row.keys));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(row.checkable);
        // The window holds every action, so that its keys work with the menus closed.
        window_->addAction(action);
        QMenu* menu = menus_[row.menu];
        if (row.separator_before) menu->addSeparator();
        menu->addAction(action);
        const app::CommandId id = row.id;
        connect(action, &QAction::triggered, this, [this, id] { Run(id); });
        actions_.push_back(action);
    }
}

void CommandBinder::Run(const app::CommandId& id) {
    const app::CommandSpec& row = app::SpecOf(id);
    const app::ShellState state = hooks_.state();
    switch (app::CheckCommand(row, state)) {
        case app::Refusal::None:
            break;
        case app::Refusal::Busy:
            hooks_.refuse_busy();
            return;
        case app::Refusal::Unavailable:
        case app::Refusal::WrongMode:
        case app::Refusal::NoFile:
        case app::Refusal::NoGame:
        case app::Refusal::NoDatabase:
            // The action is disabled; a key can still reach it while the menus are being built.
            return;
    }
    if (app::Has(row.needs, app::Needs::StopsAutoPlay)) hooks_.stop_auto_play();
    hooks_.dispatch(id);
}

void CommandBinder::UpdateEnabled() {
    const std::vector<bool> enabled = app::EnabledCommands(hooks_.state());
    const auto table = app::CommandTable();
    for (std::size_t at = 0; at < table.size(); ++at) {
        QAction* action = actions_[at];
        action->setEnabled(enabled[at]);
        const app::CommandSpec& row = table[at];
        if (!row.unavailable.empty()) {
            const bool unavailable =
                app::CheckCommand(row, hooks_.state()) == app::Refusal::Unavailable;
            const QString tip = ToQString(unavailable ? row.unavailable : row.tip);
            action->setToolTip(tip);
            action->setStatusTip(tip);
        }
    }
}

QAction* CommandBinder::Action(const app::CommandId& id) const {
    const auto table = app::CommandTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].id == id) return actions_[row];
    }
    return nullptr;
}

QAction* CommandBinder::Action(const QString& name) const {
    for (QAction* action : actions_) {
        if (action->objectName() == name) return action;
    }
    return nullptr;
}

QMenu* CommandBinder::Menu(app::MenuId menu) const { return menus_.at(menu); }

}  // namespace qorvale::gui
