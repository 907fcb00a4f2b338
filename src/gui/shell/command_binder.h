#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "app/commands.h"

class QAction;
class QMainWindow;
class QMenu;

namespace qorvale::gui {

// Binds the command table to the window: one QAction per row, placed in its menu with its keys
// and tool tips. A triggered command is checked once against what its row needs (a busy worker
// refuses with the running operation's message; auto play stops where the row says so) and then
// handed to `dispatch`, which passes it to the controller of its subsystem.
class CommandBinder : public QObject {
    Q_OBJECT

  public:
    struct Hooks {
        std::function<void(const app::CommandId&)> dispatch;
        std::function<app::ShellState()> state;
        std::function<void()> refuse_busy;  // shows the running operation's message
        std::function<void()> stop_auto_play;
    };

    CommandBinder(QMainWindow* window, Hooks hooks);

    // Runs `id` as its menu item would.
    void Run(const app::CommandId& id);
    // Enables the actions as the state allows; a command that cannot run in any mode the program
    // provides shows why in its tool tip.
    void UpdateEnabled();

    QAction* Action(const app::CommandId& id) const;
    // The action whose object name is `name`, or null.
    QAction* Action(const QString& name) const;
    QMenu* Menu(app::MenuId menu) const;

  private:
    QMainWindow* window_;
    Hooks hooks_;
    std::vector<QAction*> actions_;  // by row of the command table
    std::map<app::MenuId, QMenu*> menus_;
};

}  // namespace qorvale::gui
