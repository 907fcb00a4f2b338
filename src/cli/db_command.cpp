#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/database_session.h"
#include "cli/command.h"
#include "pgn/pgn_file.h"
#include "search/database_build.h"
#include "search/database_copy.h"
#include "search/database_search.h"
#include "search/messages.h"
#include "utilities/make_database_operation.h"
#include "utilities/worker.h"

namespace qorvale::cli {

namespace {

int Build(const CommandArgs& args, search::DbBuildMode mode) {
    Ui& ui = *args.ui;
    const bool remake = mode == search::DbBuildMode::Remake;
    if (args.words.size() != (remake ? 2u : 3u)) return UsageError("db");
    utilities::MakeDatabaseRequest request;
    request.build.db_path = args.words[1];
    request.build.mode = mode;
    if (!remake) {
        pgn::PgnFile file;
        if (!OpenForCommand(file, args.words[2], ui)) return 1;
        request.build.pgn_path = file.CurrentPath();
        request.build.game_count = file.GameCount();
        const auto offsets = file.Index().Offsets();
        request.offsets.assign(offsets.begin(), offsets.end());
    }
    const search::DbBuildPlan plan = search::PlanDatabaseBuild(request.build, ui);
    if (!plan.go) return 1;
    request.make_fast_file = plan.make_fast_file;
    utilities::Worker worker(ui);
    auto result = std::make_shared<utilities::MakeDatabaseResult>();
    if (Error error = utilities::StartMakeDatabase(worker, std::move(request), result);
        !error.ok()) {
        return 1;
    }
    worker.Wait();
    return result->outcome.error.ok() && !result->outcome.root_error ? 0 : 1;
}

int Search(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("db");
    Ui& ui = *args.ui;
    app::DatabaseSession session;
    if (!session.Open(args.words[1], ui).ok()) return 1;
    search::DbSearchCriteria& criteria = session.Criteria();
    criteria.white = args.FlagValue("--white");
    criteria.black = args.FlagValue("--black");
    criteria.year = args.FlagValue("--year");
    criteria.eco = args.FlagValue("--eco");
    criteria.result = args.FlagValue("--result");
    criteria.moves = args.FlagValue("--moves");
    criteria.site = args.FlagValue("--site");
    criteria.event = args.FlagValue("--event");
    criteria.either_colour = args.HasFlag("--either");
    criteria.sort_by_year = args.HasFlag("--sort-year");
    criteria.descending = args.HasFlag("--descending");
    criteria.exact_match = !args.HasFlag("--partial");
    if (args.HasFlag("--position")) {
        search::PositionCriteria pieces;
        chess::Board64 board;
        if (!search::ParsePositionText(args.FlagValue("--position"), pieces).ok() ||
            !search::BoardFromPositionCriteria(pieces, board)) {
            ui.report(search::messages::InvalidPositionEntry);
            return 2;
        }
        criteria.position = board;
    }
    const int found = session.Search(ui);
    if (found < 0) return 1;
    std::string out;
    for (std::size_t n = 0; n < session.Found().size(); ++n) {
        const app::DatabaseGameRow row = session.Row(n);
        out += std::to_string(row.record) + '\t' + row.white + '\t' + row.black + '\t' +
               std::to_string(row.year) + '\t' + row.result + '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    ui.report(session.ListTitle());
    return 0;
}

int Show(const CommandArgs& args) {
    if (args.words.size() != 3) return UsageError("db");
    Ui& ui = *args.ui;
    Result<search::Database> database = search::Database::Open(args.words[1]);
    if (!database) {
        ui.report(database.error().message());
        return 1;
    }
    char* end = nullptr;
    const unsigned long index = std::strtoul(args.words[2].c_str(), &end, 10);
    if (end == args.words[2].c_str() || *end != '\0') return UsageError("db");
    Result<search::DbGame> game = database->ReadGame(static_cast<std::uint32_t>(index));
    if (!game) {
        ui.report(game.error().message());
        return 1;
    }
    pgn::GameLines lines;
    chess::ChessState chess;
    bool complete = true;
    const std::string text = search::DatabaseGameText(*game, lines, chess, complete);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (!complete) ui.report(search::messages::MovesNotReplayed);
    return 0;
}

int Copy(const CommandArgs& args) {
    if (args.words.size() != 2 || !args.HasFlag("--to")) return UsageError("db");
    Ui& ui = *args.ui;
    app::DatabaseSession session;
    if (!session.Open(args.words[1], ui).ok()) return 1;
    const search::CopyOutcome outcome =
        session.CopyFound(args.FlagValue("--to"), args.HasFlag("--append"), {}, ui);
    if (!outcome.message.empty()) ui.report(outcome.message);
    return outcome.copied ? 0 : 1;
}

int Check(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("db");
    const search::DbCheckResult check = search::CheckDatabase(args.words[1]);
    for (const std::string& message : check.messages) args.ui->report(message);
    return check.ok ? 0 : 1;
}

}  // namespace

// The database commands: build, search, show, copy and check, through the same calls as the
// window's database mode.
int RunDbCommand(const CommandArgs& args) {
    if (args.words.empty()) return UsageError("db");
    const std::string& action = args.words[0];
    if (action == "make") return Build(args, search::DbBuildMode::StartNew);
    if (action == "add") return Build(args, search::DbBuildMode::Add);
    if (action == "remake") return Build(args, search::DbBuildMode::Remake);
    if (action == "search") return Search(args);
    if (action == "show") return Show(args);
    if (action == "copy") return Copy(args);
    if (action == "check") return Check(args);
    return UsageError("db");
}

}  // namespace qorvale::cli
