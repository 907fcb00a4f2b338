#pragma once

#include "app/commands.h"
#include "gui/shell/controller.h"

namespace qorvale::gui {

// The Options menu: the options dialog and the move sound.
class OptionsController : public Controller {
    Q_OBJECT

  public:
    explicit OptionsController(ShellContext& context);

    void Run(app::OptionsCommand command);
    // Takes the settings of the options dialog: saves them at once and redraws.
    void ApplyNewOptions(const app::OptionsRecord& record);
};

}  // namespace qorvale::gui
