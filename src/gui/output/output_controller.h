#pragma once

#include <QString>

#include "app/commands.h"
#include "gui/shell/controller.h"

namespace qorvale::gui {

// Pictures of what the window shows: the board as a PNG screen shot.
class OutputController : public Controller {
    Q_OBJECT

  public:
    explicit OutputController(ShellContext& context);

    void Run(app::OutputCommand command);
    // Writes the board as drawn to `path` (PNG); false after the failure was reported.
    bool SaveScreenShot(const QString& path);
};

}  // namespace qorvale::gui
