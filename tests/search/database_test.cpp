// The game database against an independent filter: tests/data/database/make_expected.py answers
// the same queries over the same games with python3 and pgn-extract; the database must give the
// same records. Also the chains by brute force, deletion and remake, the check, copies that
// replay to the source positions, and a build killed at every point.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "platform/staged_file.h"
#include "search/database_build.h"
#include "search/database_copy.h"
#include "search/database_search.h"
#include "search/fast_file.h"
#include "search/messages.h"
#include "search/text_game_reader.h"
#include "support/fast_file_copy.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::TempDir;

constexpr const char* Sources[] = {"search/players.pgn", "harden/fischer.pgn", "chess/games.pgn"};

DbBuildOutcome Build(const std::string& db, const std::string& pgn, DbBuildMode mode,
                     platform::FileSystem& file_system = platform::SystemFileSystem()) {
    DbBuildRequest request;
    request.db_path = db;
    request.mode = mode;
    request.pgn_path = pgn;
    return MakeDatabase(request, {}, file_system);
}

// The three files' fast files and the database made from the first, with the other two added.
struct TestDatabase {
    TempDir dir;
    std::vector<test::FastFileCopy> sources;
    std::string db;

    TestDatabase() {
        for (const char* source : Sources) {
            sources.push_back(
                test::CopyWithFastFile(dir, source, std::to_string(sources.size()) + ".pgn"));
        }
        db = dir.File("games.dbg");
        EXPECT_TRUE(Build(db, sources[0].path, DbBuildMode::StartNew).error.ok());
        EXPECT_TRUE(Build(db, sources[1].path, DbBuildMode::Add).error.ok());
        EXPECT_TRUE(Build(db, sources[2].path, DbBuildMode::Add).error.ok());
    }
};

const TestDatabase& Shared() {
    static const TestDatabase database;
    return database;
}

// A copy of the shared database's files in a folder of its own, for tests that change them.
std::string CopyDatabase(const TempDir& dir) {
    const DatabaseNames from = DatabaseNamesOf(Shared().db);
    const std::string db = dir.File("copy.dbg");
    const DatabaseNames to = DatabaseNamesOf(db);
    for (DbFile file :
         {DbFile::Header, DbFile::Moves, DbFile::Positions, DbFile::Games, DbFile::Root}) {
        EXPECT_TRUE(platform::CopyFile(from.Of(file), to.Of(file)));
    }
    return db;
}

std::vector<std::uint32_t> Numbers(std::string_view text) {
    std::vector<std::uint32_t> numbers;
    std::stringstream in{std::string(text)};
    std::string cell;
    while (std::getline(in, cell, ','))
        numbers.push_back(static_cast<std::uint32_t>(std::stoul(cell)));
    return numbers;
}

struct Query {
    std::string name;
    DbSearchCriteria criteria;
    std::vector<std::uint32_t> unknown;
    std::vector<std::uint32_t> expected;
};

std::vector<Query> ReadQueries() {
    std::ifstream in(test::TestDataPath("database/expected.tsv"));
    std::vector<Query> queries;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("#")) continue;
        std::vector<std::string> cells;
        std::stringstream row(line);
        std::string cell;
        while (std::getline(row, cell, '\t')) cells.push_back(cell);
        cells.resize(15);
        Query query;
        query.name = cells[0];
        DbSearchCriteria& criteria = query.criteria;
        criteria.white = cells[1];
        criteria.black = cells[2];
        criteria.either_colour = cells[3] == "1";
        criteria.year = cells[4];
        criteria.eco = cells[5];
        criteria.result = cells[6];
        criteria.moves = cells[7];
        criteria.site = cells[8];
        criteria.event = cells[9];
        if (!cells[10].empty()) {
            PositionCriteria pieces;
            chess::Board64 board;
            EXPECT_TRUE(ParsePositionText(cells[10], pieces).ok() &&
                        BoardFromPositionCriteria(pieces, board))
                << query.name;
            criteria.position = board;
        }
        criteria.exact_match = cells[11] != "1";
        criteria.sort_by_year = !cells[12].empty();
        criteria.descending = cells[12] == "2";
        query.unknown = Numbers(cells[13]);
        query.expected = Numbers(cells[14]);
        queries.push_back(std::move(query));
    }
    EXPECT_GT(queries.size(), 30u);
    return queries;
}

// The search's answer without the records the oracle cannot know, checked for year order when
// sorting was asked, and returned ascending.
std::vector<std::uint32_t> Answer(const Database& database, const Query& query,
                                  const std::set<std::uint32_t>& unknown) {
    DbSearchResult result = database.Search(query.criteria);
    EXPECT_TRUE(result.error.ok()) << result.error.message();
    std::vector<std::uint32_t> found;
    for (std::uint32_t record : result.records) {
        if (!unknown.contains(record)) found.push_back(record);
    }
    if (query.criteria.sort_by_year) {
        for (std::size_t n = 1; n < found.size(); ++n) {
            const int before = database.Record(found[n - 1]).year;
            const int after = database.Record(found[n]).year;
            EXPECT_TRUE(query.criteria.descending ? before >= after : before <= after) << n;
        }
    }
    std::sort(found.begin(), found.end());
    EXPECT_TRUE(std::adjacent_find(found.begin(), found.end()) == found.end()) << "a game twice";
    return found;
}

TEST(Database, SearchesAnswerAsTheIndependentFilter) {
    Result<Database> database = Database::Open(Shared().db);
    ASSERT_TRUE(database) << database.error().message();
    for (const Query& query : ReadQueries()) {
        SCOPED_TRACE(query.name);
        const std::set<std::uint32_t> unknown(query.unknown.begin(), query.unknown.end());
        EXPECT_EQ(Answer(*database, query, unknown), query.expected);
    }
}

TEST(Database, RemakeAfterDeletionAnswersTheSameMinusTheDeletedGames) {
    TempDir dir;
    const std::string db = CopyDatabase(dir);
    std::vector<std::int32_t> deleted;
    for (std::int32_t game = 1; game <= 2039; game += 7) deleted.push_back(game);
    deleted.push_back(301);  // the first game of the second file
    const DbBuildOutcome outcome = DeleteDatabaseGames(db, deleted);
    ASSERT_TRUE(outcome.error.ok()) << outcome.message;
    EXPECT_EQ(outcome.message, messages::DatabaseRemakeComplete);

    // Old record index -> new one, for the kept games.
    std::map<std::uint32_t, std::uint32_t> renumbered;
    const std::set<std::int32_t> gone(deleted.begin(), deleted.end());
    for (std::uint32_t old = 0, kept = 0; old < 2039; ++old) {
        if (!gone.contains(static_cast<std::int32_t>(old + 1))) renumbered[old] = kept++;
    }
    ASSERT_EQ(outcome.games, static_cast<std::int64_t>(renumbered.size()));
    EXPECT_TRUE(CheckDatabase(db).ok);

    // A remake of what the deletion wrote changes nothing.
    const std::string games_before = test::ReadWholeFile(DatabaseNamesOf(db).dbg);
    DbBuildRequest remake{db, DbBuildMode::Remake, {}, 0};
    ASSERT_TRUE(MakeDatabase(remake, {}).error.ok());
    EXPECT_EQ(test::ReadWholeFile(DatabaseNamesOf(db).dbg), games_before);

    Result<Database> database = Database::Open(db);
    ASSERT_TRUE(database);
    for (const Query& query : ReadQueries()) {
        SCOPED_TRACE(query.name);
        std::vector<std::uint32_t> expected;
        for (std::uint32_t record : query.expected) {
            if (renumbered.contains(record)) expected.push_back(renumbered[record]);
        }
        std::set<std::uint32_t> unknown;
        for (std::uint32_t record : query.unknown) {
            if (renumbered.contains(record)) unknown.insert(renumbered[record]);
        }
        EXPECT_EQ(Answer(*database, query, unknown), expected);
    }
}

// Every chain, followed from the root table, lists exactly the records that carry its key, in
// database order, and ends at the root's last record; and each record's header and moves
// records are the ones its source fast file holds.
TEST(Database, ChainsAndOffsetsMatchABruteForceWalk) {
    const std::string games = test::ReadWholeFile(DatabaseNamesOf(Shared().db).dbg);
    const std::string root = test::ReadWholeFile(DatabaseNamesOf(Shared().db).dbr);
    ASSERT_EQ(root.size(), DbRootTableBytes);
    auto u32 = [](const std::string& bytes, std::size_t at) {
        return GetU32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
    };
    const std::uint32_t count = static_cast<std::uint32_t>(games.size() / DbRecordSize);
    std::map<std::uint32_t, std::vector<std::uint32_t>> by_key;
    for (std::uint32_t record = 0; record < count; ++record) {
        const std::uint32_t white = u32(games, record * 64);
        const std::uint32_t black = u32(games, record * 64 + 4);
        by_key[white].push_back(record * 64);
        if (black != white) by_key[black].push_back(record * 64);
    }
    std::size_t keys_in_use = 0;
    for (std::uint32_t key = 0; key < DbKeyCount; ++key) {
        const std::uint32_t first = u32(root, 8 * key);
        auto expected = by_key.find(key);
        if (expected == by_key.end()) {
            ASSERT_EQ(first, DbEmptyChain) << key;
            continue;
        }
        ++keys_in_use;
        std::vector<std::uint32_t> walked;
        for (std::uint32_t at = first; walked.size() <= count;) {
            walked.push_back(at);
            const std::uint32_t next = u32(games, at + (u32(games, at) == key ? 8 : 12));
            if (next == 0) break;
            at = next;
        }
        ASSERT_EQ(walked, expected->second) << "key " << key;
        ASSERT_EQ(u32(root, 8 * key + 4), walked.back()) << "key " << key;
    }
    EXPECT_EQ(keys_in_use, by_key.size());

    // Record n of the database is game n - 300 - 34 of the third file, and so on.
    const std::string header = test::ReadWholeFile(DatabaseNamesOf(Shared().db).dbh);
    const std::string moves = test::ReadWholeFile(DatabaseNamesOf(Shared().db).dbm);
    std::uint32_t record = 0;
    for (const test::FastFileCopy& source : Shared().sources) {
        Result<HeaderFile> source_header = HeaderFile::Load(FastFileNamesOf(source.path).trh);
        ASSERT_TRUE(source_header);
        const std::string source_moves = test::ReadWholeFile(source.move_file);
        std::size_t moves_at = 0;
        for (std::size_t offset : source_header->RecordOffsets()) {
            const DbGameRecord game = DbGameRecord::Decode(
                reinterpret_cast<const std::uint8_t*>(games.data()) + record * 64);
            const std::size_t length = source_header->RecordLength(offset);
            ASSERT_EQ(
                header.substr(game.header_offset, game.header_length),
                std::string(reinterpret_cast<const char*>(source_header->Bytes().data()) + offset,
                            length))
                << record;
            ASSERT_EQ(moves.substr(game.moves_offset, game.moves_length),
                      source_moves.substr(moves_at, game.moves_length))
                << record;
            moves_at += game.moves_length;
            ++record;
        }
    }
    EXPECT_EQ(record, count);
}

TEST(Database, NameKeys) {
    struct Row {
        const char* name;
        DbKeyMode mode;
        const char* text;
        int form;
    };
    const Row rows[] = {
        {"Stein, Leonid", DbKeyMode::Build, "steinl", 3},
        {"Stein, L", DbKeyMode::Search, "steinl", 1},
        {"Stein,", DbKeyMode::Search, "stein", 2},
        {"Carlsen Magnus", DbKeyMode::Build, "carlsenm", 0},
        {"Tal", DbKeyMode::Build, "talq", 0},
        {"Tal", DbKeyMode::Search, "tal", 0},
        {"Li,", DbKeyMode::Search, "liqq", 2},
        {"?", DbKeyMode::Search, "qqqq", 0},
        {"", DbKeyMode::Build, "qqqq", 0},
        {"Nakamura (USA), Hikaru", DbKeyMode::Build, "nakamura", 0},
        {"O'Kelly de Galway, Alberic", DbKeyMode::Build, "okellydegalwaya", 3},
        {"Van der Wiel J", DbKeyMode::Build, "vanderwielj", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DbNameKey key = MakeDbNameKey(row.name, row.mode);
        EXPECT_EQ(key.text, row.text);
        EXPECT_EQ(key.form, row.form);
        // Base 26 over the first four letters, a shorter text filled with "a".
        std::string four = key.text.substr(0, 4);
        four.resize(4, 'a');
        EXPECT_EQ(key.index,
                  static_cast<std::uint32_t>(((four[0] - 'a') * 26 + (four[1] - 'a')) * 676 +
                                             (four[2] - 'a') * 26 + (four[3] - 'a')));
    }
}

TEST(Database, CheckFindsEachKindOfDamage) {
    struct Row {
        const char* name;
        DbFile file;
        int cut;               // bytes taken off the end
        std::string appended;  // bytes put at the end
        int flip;              // a byte whose top bit is turned over, or -1
        std::string_view message;
    };
    const std::string record(64, '\0');
    const Row rows[] = {
        {"header file short of its last record", DbFile::Header, 5, "", -1,
         "Header file is out of sync"},
        {"position file not written after an append", DbFile::Positions, 2, "", -1,
         messages::PositionOutOfSync},
        {"moves file with a move read as a result", DbFile::Moves, 0, "", 11,
         "Moves file is out of sync"},
        {"games file with a record too many", DbFile::Games, 0, record, -1,
         "Games file is out of sync"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string db = CopyDatabase(dir);
        ASSERT_TRUE(CheckDatabase(db).ok);
        const std::string path = DatabaseNamesOf(db).Of(row.file);
        std::string bytes = test::ReadWholeFile(path);
        bytes.resize(bytes.size() - static_cast<std::size_t>(row.cut));
        if (row.flip >= 0) bytes[static_cast<std::size_t>(row.flip)] ^= static_cast<char>(0x80);
        dir.Write(platform::NameOf(path), bytes + row.appended);
        const DbCheckResult check = CheckDatabase(db);
        EXPECT_FALSE(check.ok);
        ASSERT_FALSE(check.messages.empty());
        EXPECT_TRUE(check.messages[0].starts_with(row.message)) << check.messages[0];
    }
}

TEST(Database, DamagedChainsEndTheSearchWithTheirMessage) {
    // Record 0 is Stein's first game, with White's key his; `second` is the next game on that
    // chain, and `field` its next field for the key.
    struct Row {
        const char* name;
        void (*damage)(std::uint8_t* games, std::uint32_t second, std::uint32_t field);
        std::string_view message;
    };
    const Row rows[] = {
        {"next beyond the file",
         [](std::uint8_t* games, std::uint32_t, std::uint32_t) { PutU32(games + 8, 0x7FFFFFC0); },
         messages::ChainOutOfRange},
        {"next not on a record",
         [](std::uint8_t* games, std::uint32_t, std::uint32_t) { PutU32(games + 8, 100); },
         messages::ChainOutOfRange},
        {"a chain that runs in a circle",
         [](std::uint8_t* games, std::uint32_t second, std::uint32_t field) {
             PutU32(games + second + field, second);
         },
         messages::ChainLoops},
        {"a record on a stranger's chain",
         [](std::uint8_t* games, std::uint32_t second, std::uint32_t) {
             PutU32(games + second, GetU32(games + second) + 1);
             PutU32(games + second + 4, GetU32(games + second + 4) + 1);
         },
         messages::RootError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string db = CopyDatabase(dir);
        const std::string path = DatabaseNamesOf(db).dbg;
        std::string bytes = test::ReadWholeFile(path);
        auto* games = reinterpret_cast<std::uint8_t*>(bytes.data());
        const std::uint32_t second = GetU32(games + 8);
        const std::uint32_t field = GetU32(games + second) == GetU32(games) ? 8 : 12;
        row.damage(games, second, field);
        dir.Write(platform::NameOf(path), bytes);
        Result<Database> database = Database::Open(db);
        ASSERT_TRUE(database);
        DbSearchCriteria criteria;
        criteria.white = "Stein, Leonid";
        EXPECT_EQ(database->Search(criteria).error.message(), row.message);
    }
}

TEST(Database, RefusesSearchesWithoutCriteria) {
    Result<Database> database = Database::Open(Shared().db);
    ASSERT_TRUE(database);
    struct Row {
        const char* name;
        DbSearchCriteria criteria;
        std::string_view message;
    };
    DbSearchCriteria nothing;
    DbSearchCriteria site_only;
    site_only.site = "Moscow";
    DbSearchCriteria bad_eco;
    bad_eco.eco = "F12";
    const Row rows[] = {
        {"nothing", nothing, messages::NothingToSearch},
        {"site alone", site_only, messages::AdditionalCriteria},
        {"no ECO code", bad_eco, messages::InvalidEco},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(database->Search(row.criteria).error.message(), row.message);
    }
}

// Copied to PGN and read back by the text reader, every game not started from a FEN tag has the
// source game's ten header values and positions.
TEST(Database, CopiedGamesReplayToTheSourcePositions) {
    TempDir dir;
    Result<Database> database = Database::Open(Shared().db);
    ASSERT_TRUE(database);
    std::vector<std::uint32_t> all(database->RecordCount());
    for (std::uint32_t n = 0; n < all.size(); ++n) all[n] = n;
    test::RecordingUi ui;
    const std::string copy = dir.File("copy.pgn");
    const CopyOutcome outcome = CopyDatabaseGames(*database, all, copy, false, {}, ui);
    ASSERT_TRUE(outcome.copied) << outcome.message;
    EXPECT_EQ(outcome.message, messages::CopyGamesComplete);

    pgn::PgnFile copied;
    ASSERT_TRUE(copied.Open(copy).ok());
    ASSERT_EQ(copied.ScanGameFile(false, ui), static_cast<std::int32_t>(all.size()));
    TextGameReader copy_reader(copy, copied.Index().Offsets());
    std::uint32_t record = 0;
    int compared = 0;
    for (const test::FastFileCopy& source : Shared().sources) {
        TextGameReader source_reader(source.path, source.offsets);
        for (std::size_t game = 0; game < source.offsets.size(); ++game, ++record) {
            ASSERT_TRUE(source_reader.Read(static_cast<std::int32_t>(game),
                                           TextGameReader::Depth::Positions));
            ASSERT_TRUE(copy_reader.Read(static_cast<std::int32_t>(record),
                                         TextGameReader::Depth::Positions));
            if (source_reader.HasFen()) continue;
            SCOPED_TRACE(testing::Message() << "record " << record);
            EXPECT_EQ(copy_reader.Values().values, source_reader.Values().values);
            ASSERT_EQ(copy_reader.HalfMoves(), source_reader.HalfMoves());
            for (int ply = 0; ply <= source_reader.HalfMoves(); ++ply) {
                ASSERT_EQ(copy_reader.Position(ply), source_reader.Position(ply)) << ply;
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 2000);
}

// A file's bytes, read in one call: the kill test compares the database's files after every run.
std::string Contents(const std::string& path) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, file.Size())), '\0');
    if (!bytes.empty() && file.Read(bytes.data(), static_cast<std::int64_t>(bytes.size())) !=
                              static_cast<std::int64_t>(bytes.size())) {
        bytes.clear();
    }
    return bytes;
}

// Adding a file killed at any point: afterwards the database is either the old one or the new
// one, whole, never a mixture.
TEST(Database, AddingKilledAtAnyPointLeavesTheOldOrTheNewDatabase) {
    TempDir dir;
    const test::FastFileCopy first = test::CopyWithFastFile(dir, "search/crafted.pgn", "a.pgn");
    const test::FastFileCopy second = test::CopyWithFastFile(dir, "harden/fischer.pgn", "b.pgn");
    const std::string db = dir.File("kill.dbg");
    const DatabaseNames names = DatabaseNamesOf(db);
    const auto files = {DbFile::Header, DbFile::Moves, DbFile::Positions, DbFile::Games,
                        DbFile::Root};
    std::map<DbFile, std::string> before;
    std::map<DbFile, std::string> after;
    ASSERT_TRUE(Build(db, first.path, DbBuildMode::StartNew).error.ok());
    for (DbFile file : files) before[file] = Contents(names.Of(file));
    ASSERT_TRUE(Build(db, second.path, DbBuildMode::Add).error.ok());
    for (DbFile file : files) after[file] = Contents(names.Of(file));

    const int points = test::KillAtEveryPoint(
        [&] {
            for (DbFile file : files) dir.Write(platform::NameOf(names.Of(file)), before[file]);
        },
        [&](platform::FileSystem& file_system) {
            (void)Build(db, second.path, DbBuildMode::Add, file_system);
        },
        [&](int) {
            RecoverDatabase(names);
            const bool old = Contents(names.dbg) == before[DbFile::Games];
            for (DbFile file : files) {
                ASSERT_EQ(Contents(names.Of(file)), old ? before[file] : after[file])
                    << names.Of(file);
                EXPECT_FALSE(platform::FileExists(platform::StagedFile::StagePath(names.Of(file))));
            }
            EXPECT_TRUE(CheckDatabase(db).ok);
        },
        false);
    EXPECT_GT(points, 10);
}

}  // namespace
}  // namespace qorvale::search
