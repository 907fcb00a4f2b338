#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/messages.h"
#include "utilities/fast_file_operation.h"
#include "utilities/worker.h"

namespace qorvale::cli {

namespace {

// Opens the PGN file as the window does and returns its game count, or -1 after reporting.
std::int32_t OpenAndCount(const std::string& path, pgn::PgnFile& file, Ui& ui) {
    return OpenForCommand(file, path, ui) ? file.GameCount() : -1;
}

int Make(const std::string& path, CliUi& ui) {
    pgn::PgnFile file;
    std::int32_t count = OpenAndCount(path, file, ui);
    if (count < 0) return 1;
    std::span<const std::uint32_t> offsets = file.Index().Offsets();
    // The file may have been re-wrapped under a new name.
    std::string pgn_path = file.CurrentPath();
    file.Close();
    utilities::Worker worker(ui);
    utilities::MakeFastFileRequest request{pgn_path, {offsets.begin(), offsets.end()}, false, {}};
    if (Error error = utilities::StartMakeFastFile(worker, std::move(request)); !error.ok())
        return 1;
    worker.Wait();
    return search::FastFileStateOf(pgn_path, count) == search::FastFileState::Current ? 0 : 1;
}

int Check(const std::string& path, CliUi& ui) {
    pgn::PgnFile file;
    std::int32_t count = OpenAndCount(path, file, ui);
    if (count < 0) return 1;
    return search::CheckFastFile(file.CurrentPath(), count, ui) == search::FastFileState::Current
               ? 0
               : 1;
}

const char* ResultText(search::ResultWord word) {
    switch (search::ResultOf(word)) {
        case search::WhiteWon:
            return "1-0";
        case search::BlackWon:
            return "0-1";
        default:
            return "other";
    }
}

// FILE is a PGN file (its move file is read) or a move file itself (a tree merge file).
int Dump(const std::string& path, const CommandArgs& args) {
    std::string move_file = path;
    bool is_move_file = path.size() >= 4 && path.substr(path.size() - 4) == ".TRF";
    if (!is_move_file) {
        move_file = search::FastFileNamesOf(path).trf;
        pgn::PgnFile file;
        std::int32_t count = OpenAndCount(path, file, *args.ui);
        if (count < 0) return 1;
        if (search::FastFileStateOf(file.CurrentPath(), count) == search::FastFileState::Stale) {
            args.ui->report(search::messages::MakeFastFileAgain);
        }
    }
    if (!platform::FileExists(move_file)) {
        args.ui->report(search::messages::FastFileMissing);
        return 1;
    }
    long only_game = 0;
    if (args.HasFlag("--game")) {
        only_game = std::strtol(args.FlagValue("--game").c_str(), nullptr, 10);
        if (only_game < 1) return UsageError("fastfile");
    }
    Result<search::FastFileReader> reader = search::FastFileReader::Open(move_file);
    if (!reader) {
        args.ui->report(reader.error().message());
        return 1;
    }
    search::GameRecord record;
    std::vector<chess::Board64> positions;
    long game = 0;
    while (true) {
        search::FastFileReader::Step step = reader->Next(record);
        if (step == search::FastFileReader::Step::End) break;
        if (step == search::FastFileReader::Step::Damaged) {
            args.ui->report(search::messages::MakeFastFileAgain);
            return 1;
        }
        ++game;
        if (only_game != 0 && game != only_game) continue;
        search::ReplayMoveCodes(record.codes, positions);
        std::string line = std::to_string(game) + ":";
        for (std::size_t n = 0; n < record.codes.size(); ++n) {
            line += ' ';
            line += search::MoveCodeText(record.codes[n], positions[n]);
        }
        std::printf("%s  %s\n", line.c_str(), ResultText(record.result));
        if (game == only_game) return 0;
    }
    if (only_game != 0) {
        std::fprintf(stderr, "no game %ld in %s\n", only_game, move_file.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

// fastfile make|check|delete|dump FILE: the fast file beside a PGN file.
int RunFastfileCommand(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("fastfile");
    const std::string& action = args.words[0];
    const std::string& path = args.words[1];
    if (action == "make") return Make(path, *args.ui);
    if (action == "check") return Check(path, *args.ui);
    if (action == "delete") return search::DeleteFastFile(path, *args.ui) ? 0 : 1;
    if (action == "dump") return Dump(path, args);
    return UsageError("fastfile");
}

}  // namespace qorvale::cli
