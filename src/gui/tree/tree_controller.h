#pragma once

#include "app/commands.h"
#include "gui/shell/controller.h"

namespace qorvale::gui {

// The Tree menu: the fast file of the open file, made in the background, checked and deleted.
class TreeController : public Controller {
    Q_OBJECT

  public:
    explicit TreeController(ShellContext& context);

    void Run(app::TreeCommand command);
};

}  // namespace qorvale::gui
