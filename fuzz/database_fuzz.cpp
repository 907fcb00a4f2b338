// Any bytes as one of a database's files, the others those of a whole database of a few real
// games: opening it, every search form, every game read and written as PGN, the check, and a
// deletion with its remake. The first input byte picks the file the rest replaces.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "no_sync_file_system.h"
#include "pgn/game_lines.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "scratch_file.h"
#include "search/database_build.h"
#include "search/database_copy.h"
#include "search/database_search.h"
#include "search/pgn_game_source.h"

namespace {

constexpr std::string_view Games =
    "[Event \"Hastings\"]\n[Date \"1895.08.05\"]\n[White \"Steinitz, W\"]\n"
    "[Black \"Zukertort, J\"]\n[Result \"1-0\"]\n[ECO \"C45\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. d4 exd4 4. Nxd4 Nf6 5. Nxc6 bxc6 6. Bd3 d5 7. exd5 cxd5 1-0\n\n"
    "[Event \"Casual\"]\n[Date \"1851\"]\n[White \"Anderssen\"]\n[Black \"Steinitz, W\"]\n"
    "[Result \"1/2-1/2\"]\n\n"
    "1. e4 e5 2. f4 exf4 3. Bc4 Qh4+ 4. Kf1 b5 5. Bxb5 Nf6 6. Nf3 Qh6 7. O-O-O 1/2-1/2\n\n"
    "[Event \"Forfeit\"]\n[White \"Li\"]\n[Black \"Li\"]\n[Result \"0-1\"]\n\n0-1\n";

// The database made once for the process, its files kept as bytes.
struct Source {
    Source() {
        using namespace qorvale;
        const std::string pgn = Scratch().Write(
            "source.pgn", reinterpret_cast<const std::uint8_t*>(Games.data()), Games.size());
        SilentUi ui;
        pgn::PgnFile file;
        if (file.Open(pgn)) return;
        const std::int32_t count = file.ScanGameFile(true, ui);
        const auto offsets = file.Index().Offsets();
        search::PgnGameSource games(pgn, {offsets.begin(), offsets.end()});
        if (games.Open()) return;
        (void)search::MakeFastFile(pgn, count, games, {});
        const std::string db = Scratch().Path("source.dbg");
        (void)search::MakeDatabase({db, search::DbBuildMode::StartNew, pgn, count}, {});
        const search::DatabaseNames names = search::DatabaseNamesOf(db);
        for (int file = 0; file < 5; ++file) {
            platform::File in = platform::File::Open(names.Of(static_cast<search::DbFile>(file)),
                                                     platform::File::Mode::Read);
            std::string& bytes = files[static_cast<std::size_t>(file)];
            bytes.resize(static_cast<std::size_t>(in.Size() > 0 ? in.Size() : 0));
            if (!bytes.empty())
                (void)in.Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        }
    }
    std::string files[5];
};

void Exercise(const std::string& db) {
    using namespace qorvale;
    using namespace qorvale::search;
    Result<Database> database = Database::Open(db);
    if (database) {
        DbSearchCriteria criteria;
        const char* whites[] = {"Steinitz, W", "St", "S", "Li#", "Anderssen?", "?"};
        for (const char* white : whites) {
            criteria.Clear();
            criteria.white = white;
            criteria.black = "*Steinitz";
            (void)database->Search(criteria);
        }
        criteria.Clear();
        criteria.year = "1850-1900";
        criteria.eco = "C4";
        criteria.moves = ">3";
        criteria.site = "H";
        (void)database->Search(criteria);
        criteria.Clear();
        qorvale::chess::Board64 board{};
        board[32] = 6;  // a king on e1
        criteria.position = board;
        (void)database->Search(criteria);
        criteria.exact_match = false;
        criteria.sort_by_year = true;
        (void)database->Search(criteria);
        qorvale::pgn::GameLines lines;
        qorvale::chess::ChessState chess;
        for (std::uint32_t index = 0; index < database->RecordCount() && index < 64; ++index) {
            Result<DbGame> game = database->ReadGame(index);
            bool complete = true;
            if (game) (void)DatabaseGameText(*game, lines, chess, complete);
        }
    }
    (void)CheckDatabase(db);
    const std::int32_t deleted[] = {2};
    // Flushes to the disk would make each run wait on the disk, and a busy disk a "timeout".
    NoSyncFileSystem no_sync;
    (void)DeleteDatabaseGames(db, deleted, no_sync);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::search;
    static const Source source;
    if (size == 0) return 0;
    const int replaced = data[0] % 5;
    Scratch().Clear();
    const std::string db = Scratch().Path("fuzzed.dbg");
    const DatabaseNames names = DatabaseNamesOf(db);
    for (int file = 0; file < 5; ++file) {
        const std::string name = qorvale::platform::NameOf(names.Of(static_cast<DbFile>(file)));
        const std::string& bytes = source.files[file];
        if (file == replaced) {
            (void)Scratch().Write(name, data + 1, size - 1);
        } else {
            (void)Scratch().Write(name, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  bytes.size());
        }
    }
    Exercise(db);
    return 0;
}
