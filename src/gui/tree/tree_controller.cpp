#include "gui/tree/tree_controller.h"

#include "gui/shell/operation_runner.h"
#include "search/fast_file.h"
#include "utilities/fast_file_operation.h"

namespace qorvale::gui {

TreeController::TreeController(ShellContext& context) : Controller(context) {}

void TreeController::Run(app::TreeCommand command) {
    const pgn::PgnFile& file = session().File();
    switch (command) {
        case app::TreeCommand::MakeFastFile: {
            const std::span<const std::uint32_t> offsets = file.Index().Offsets();
            utilities::MakeFastFileRequest request{
                file.CurrentPath(), {offsets.begin(), offsets.end()}, false, {}};
            // A refusal has already been shown.
            (void)context_.runner.Start(
                [&request](utilities::Worker& worker) {
                    return utilities::StartMakeFastFile(worker, std::move(request));
                },
                [this](const utilities::WorkerOutcome&) { window().Redraw(WindowPart::All); });
            return;
        }
        case app::TreeCommand::CheckFastFile:
            (void)search::CheckFastFile(file.CurrentPath(), file.GameCount(), ui());
            return;
        case app::TreeCommand::DeleteFastFile:
            (void)search::DeleteFastFile(file.CurrentPath(), ui());
            return;
    }
}

}  // namespace qorvale::gui
