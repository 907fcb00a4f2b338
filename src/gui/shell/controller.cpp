#include "gui/shell/controller.h"

#include "app/options_file.h"

namespace qorvale::gui {

void Controller::SaveOptions() {
    (void)app::SaveOptions(context_.state.options_path, context_.state.options);
}

}  // namespace qorvale::gui
