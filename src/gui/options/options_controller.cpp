#include "gui/options/options_controller.h"

#include "gui/options/options_box.h"

namespace qorvale::gui {

OptionsController::OptionsController(ShellContext& context) : Controller(context) {}

void OptionsController::Run(app::OptionsCommand command) {
    switch (command) {
        case app::OptionsCommand::Options: {
            Optionsbox box(options(), ui(), session().Modes().Current() == app::Mode::GameReplay,
                           window().DialogParent());
            if (box.exec() == QDialog::Accepted) ApplyNewOptions(box.Result());
            return;
        }
        case app::OptionsCommand::MoveSound: {
            app::OptionsRecord record = options();
            record.MoveSound = record.MoveSound != 0 ? 0 : 1;
            ApplyNewOptions(record);
            return;
        }
    }
}

void OptionsController::ApplyNewOptions(const app::OptionsRecord& record) {
    options() = record;
    SaveOptions();
    window().Redraw(WindowPart::All);
}

}  // namespace qorvale::gui
