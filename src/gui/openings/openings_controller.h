#pragma once

#include "app/commands.h"
#include "gui/shell/controller.h"

namespace qorvale::gui {

// The Openings menu: naming the opening of the position on the board from the ECO table, the
// Find Opening commands of the line modes, and the opening line under the board.
class OpeningsController : public Controller {
    Q_OBJECT

  public:
    explicit OpeningsController(ShellContext& context);

    void Run(app::OpeningsCommand command);
    // Loads the ECO table at start (exporting the opening files when they are stale).
    void InitialiseOpenings();
};

}  // namespace qorvale::gui
