#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/duplicate_check.h"
#include "chess/chess_state.h"
#include "cli/command.h"
#include "pgn/game_loader.h"
#include "utilities/messages.h"
#include "utilities/worker.h"

namespace qorvale::cli {

// duplicates FILE [--max-move-difference N] [--look-ahead N | --entire-file] [--check-names]
// [--text] [--game N] [--delete]: the duplicate check of FILE, its lines and title; --game N
// looks for the duplicates of game N only, through the whole file, as the window's "Duplicates
// of Current Game" does; --delete then deletes the duplicates.
int RunDuplicatesCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("duplicates");
    utilities::DuplicateSettings settings = utilities::DuplicateSettings::Defaults();
    if (args.HasFlag("--max-move-difference")) {
        settings.max_move_difference =
            static_cast<std::int32_t>(std::atoi(args.FlagValue("--max-move-difference").c_str()));
    }
    if (args.HasFlag("--look-ahead")) {
        settings.look_ahead =
            static_cast<std::int32_t>(std::atoi(args.FlagValue("--look-ahead").c_str()));
    }
    settings.entire_file = args.HasFlag("--entire-file");
    settings.check_names = args.HasFlag("--check-names");
    if (settings.max_move_difference < 0 || settings.look_ahead < 0) {
        return UsageError("duplicates");
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;

    app::DuplicateCheck check;
    if (args.HasFlag("--game")) {
        const int game_number = std::atoi(args.FlagValue("--game").c_str());
        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess(args.ui);
        if (game_number < 1 ||
            !pgn::OpenGameForDisplay(file, game_number, header, lines, chess, *args.ui).ok()) {
            return UsageError("duplicates");
        }
        file.SetCurrentGameNumber(game_number);
        if (Error error =
                check.FindCurrentGameDuplicates(file, lines.Moves(), lines.FullMoves(), settings);
            !error.ok()) {
            args.ui->explain(error);
            return 1;
        }
        if (check.Result().duplicates.empty())
            args.ui->report(utilities::messages::NoDuplicatesFound);
    } else {
        utilities::Worker worker(*args.ui);
        if (check.Start(worker, file, settings, *args.ui, args.HasFlag("--text")) !=
            app::DuplicateCheck::Begin::Started) {
            return 1;
        }
        worker.Wait();
        check.Finished();
    }
    if (!check.Result().error.ok()) return 1;
    if (check.Result().duplicates.empty()) return 0;
    for (const std::string& line : check.Lines()) std::printf("%s\n", line.c_str());
    std::printf("%s\n", check.Title().c_str());
    std::fflush(stdout);
    if (args.HasFlag("--delete") && !check.Delete(file, *args.ui)) return 1;
    return 0;
}

}  // namespace qorvale::cli
