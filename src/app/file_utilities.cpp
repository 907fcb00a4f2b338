#include "app/file_utilities.h"

#include <algorithm>

#include "utilities/messages.h"

namespace qorvale::app {

namespace msg = utilities::messages;

std::optional<utilities::CheckMode> ChooseCheckMode(CheckFileCommand command,
                                                    const std::vector<std::int32_t>& listed_games,
                                                    Ui& ui) {
    switch (command) {
        case CheckFileCommand::CheckFile:
            if (ui.ask(msg::AskDeleteBadGames) && ui.ask(msg::AreYouSure)) {
                return utilities::CheckMode::DeleteBadGames;
            }
            return utilities::CheckMode::ReportErrors;
        case CheckFileCommand::DeleteFenGames:
            if (!ui.ask(msg::ConfirmDeleteFenGames)) return std::nullopt;
            return utilities::CheckMode::DeleteFenGames;
        case CheckFileCommand::DeleteListedGames:
            if (listed_games.empty()) {
                ui.report(msg::NoListedGamesToDelete);
                return std::nullopt;
            }
            if (!ui.ask(msg::ConfirmDeleteListedGames)) return std::nullopt;
            return utilities::CheckMode::DeleteListedGames;
    }
    return std::nullopt;
}

utilities::CheckFileRequest CheckRequestFor(const pgn::PgnFile& file, utilities::CheckMode mode,
                                            std::vector<std::int32_t> listed_games) {
    utilities::CheckFileRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    request.index_full = file.Index().Full();
    request.mode = mode;
    std::sort(listed_games.begin(), listed_games.end());
    listed_games.erase(std::unique(listed_games.begin(), listed_games.end()), listed_games.end());
    request.listed_games = std::move(listed_games);
    return request;
}

bool AskTrim(Ui& ui) { return ui.ask(msg::ConfirmTrim); }

std::optional<utilities::AdjustRequest> ConfirmAdjust(const pgn::PgnFile& file, int trim_limit,
                                                      Ui& ui) {
    bool yes = trim_limit > 0 ? ui.ask(utilities::Formatted(msg::ConfirmTrimTo, trim_limit))
                              : ui.ask(msg::ConfirmAdjust);
    if (!yes) return std::nullopt;
    utilities::AdjustRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    request.index_full = file.Index().Full();
    request.trim_limit = trim_limit;
    return request;
}

utilities::FixTarget FixTargetFor(const pgn::PgnFile& file) {
    return {file.CurrentPath(),
            {file.Index().Offsets().begin(), file.Index().Offsets().end()},
            file.Index().Full()};
}

}  // namespace qorvale::app
