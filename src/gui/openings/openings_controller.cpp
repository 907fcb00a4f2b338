#include "gui/openings/openings_controller.h"

namespace qorvale::gui {

OpeningsController::OpeningsController(ShellContext& context) : Controller(context) {}

void OpeningsController::Run(app::OpeningsCommand command) {
    switch (command) {
        case app::OpeningsCommand::ShowOpening:
            (void)session().ShowOpening(ui());
            return;
        case app::OpeningsCommand::FindClosestMatch:
            (void)session().FindOpening(openings::FindOpeningMode::ClosestMatch, ui());
            return;
        case app::OpeningsCommand::FindExactNumberOfMoves:
            (void)session().FindOpening(openings::FindOpeningMode::ExactNumberOfMoves, ui());
            return;
        case app::OpeningsCommand::FindExactVariation:
            (void)session().FindOpening(openings::FindOpeningMode::ExactVariation, ui());
            return;
        case app::OpeningsCommand::DisplayOpening:
            options().DisplayOpening = options().DisplayOpening != 0 ? 0 : 1;
            SaveOptions();
            window().Redraw(WindowPart::OpeningLine | WindowPart::Commands);
            return;
    }
}

void OpeningsController::InitialiseOpenings() {
    app::InitialiseOpenings(context_.state, session().Eco(), ui());
    window().Redraw(WindowPart::OpeningLine);
}

}  // namespace qorvale::gui
