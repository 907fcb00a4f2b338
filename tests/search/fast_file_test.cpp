#include "search/fast_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/bytes.h"
#include "search/fast_file_reader.h"
#include "support/faulty_file_system.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::RecordingUi;
using qorvale::test::TempDir;

const std::string OkMessage = "Fast file OK";
const std::string StaleMessage = "Warning: You need to run 'Make Fast File' again.";
const std::string MissingMessage = "Fast file does not exist.";

// Games handed over from memory, as a PGN reader would after parsing.
class ListSource final : public FastFileGameSource {
  public:
    explicit ListSource(std::vector<FastFileGame> games) : games_(std::move(games)) {}
    bool ReadGame(std::int32_t index, bool, FastFileGame& game) override {
        if (index >= static_cast<std::int32_t>(games_.size())) return false;
        game = games_[static_cast<std::size_t>(index)];
        return true;
    }

  private:
    std::vector<FastFileGame> games_;
};

FastFileGame Game(std::string white, int result, std::vector<MoveCode> codes, bool fen = false) {
    FastFileGame game;
    game.header[static_cast<int>(HeaderField::White)] = std::move(white);
    game.header[static_cast<int>(HeaderField::Round)] = "R7";
    game.result = result;
    game.codes = std::move(codes);
    game.has_fen = fen;
    return game;
}

// Six games told apart by their White tag and their move counts.
std::vector<FastFileGame> SixGames() {
    std::vector<FastFileGame> games;
    for (int n = 1; n <= 6; ++n) {
        std::vector<MoveCode> codes(static_cast<std::size_t>(n), static_cast<MoveCode>(0x2321 + n));
        games.push_back(Game("Player" + std::to_string(n), n % 3, codes));
    }
    return games;
}

std::vector<GameRecord> ReadRecords(const std::string& path) {
    std::vector<GameRecord> records;
    Result<FastFileReader> reader = FastFileReader::Open(path);
    if (!reader) return records;
    GameRecord record;
    while (reader->Next(record) == FastFileReader::Step::Record) records.push_back(record);
    return records;
}

std::vector<std::string> WhiteNames(const std::string& header_path) {
    std::vector<std::string> names;
    Result<HeaderFile> header = HeaderFile::Load(header_path);
    if (!header) return names;
    HeaderValues values;
    for (std::size_t offset : header->RecordOffsets()) {
        if (header->ReadRecord(offset, values)) {
            names.push_back(values[static_cast<int>(HeaderField::White)]);
        }
    }
    return names;
}

MakeResult Make(const std::string& pgn, std::vector<FastFileGame> games, std::int32_t count = -1) {
    ListSource source(games);
    if (count < 0) count = static_cast<std::int32_t>(games.size());
    return MakeFastFile(pgn, count, source, {});
}

TEST(FastFile, WritesTheExactLayout) {
    struct Row {
        const char* name;
        std::vector<FastFileGame> games;
        std::string trf;
        std::string trh;
    };
    const Row rows[] = {
        {"no games", {}, std::string("\0\0", 2), std::string("\0\0\0\0", 4)},
        // A game without moves is its result word alone, so that no search reads a move.
        {"game without moves",
         {Game("A", WhiteWon, {})},
         std::string("\x02\x80\0\0", 4),
         std::string("\1\0\0\0\1A", 6) + std::string(6, '\0') + std::string("\0017", 2) +
             std::string(2, '\0')},
        {"two games, round stored from its digit",
         {Game("", BlackWon, {0x2321, 0x2426}), Game("Bo", OtherResult, {0x0F4E})},
         std::string("\x21\x23\x26\x24\x00\x80\x4E\x0F\x01\x80\0\0", 12),
         std::string("\2\0\0\0", 4) + std::string(7, '\0') + std::string("\0017", 2) +
             std::string(2, '\0') + std::string("\2Bo", 3) + std::string(6, '\0') +
             std::string("\0017", 2) + std::string(2, '\0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.File("games.pgn");
        MakeResult made = Make(pgn, row.games);
        EXPECT_EQ(made.outcome, MakeOutcome::Complete);
        EXPECT_EQ(made.games_written, static_cast<std::int32_t>(row.games.size()));
        EXPECT_EQ(ReadWholeFile(dir.File("games.TRF")), row.trf);
        EXPECT_EQ(ReadWholeFile(dir.File("games.TRH")), row.trh);
    }
}

TEST(FastFile, OutcomesAndTheirMessages) {
    struct Row {
        const char* name;
        std::vector<FastFileGame> games;
        std::int32_t game_count;
        MakeOutcome outcome;
        std::string message;
    };
    const Row rows[] = {
        {"complete", SixGames(), 6, MakeOutcome::Complete, "Fast file complete."},
        {"a FEN game",
         {Game("A", 1, {0x2321}), Game("B", 1, {0x2321}, true)},
         2,
         MakeOutcome::FenWarning,
         "Warning: File contained some FEN positions. Fast file may not be correct."},
        {"source ends early", SixGames(), 7, MakeOutcome::Incomplete,
         "Error making fast file. Run 'Check File' utility."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.File("g.pgn");
        MakeResult made = Make(pgn, row.games, row.game_count);
        EXPECT_EQ(made.outcome, row.outcome);
        EXPECT_EQ(MakeOutcomeMessage(made.outcome), row.message);
        // Even an incomplete file is kept, and ends properly.
        EXPECT_EQ(static_cast<std::int32_t>(ReadRecords(dir.File("g.TRF")).size()),
                  made.games_written);
    }
}

TEST(FastFile, MakingDeletesTheTreeFilesAndRefusesCancel) {
    TempDir dir;
    std::string pgn = dir.File("g.pgn");
    dir.Write("g.TRE", "old tree");
    dir.Write("g.TRX", "old tree");
    std::vector<std::int64_t> progress;
    int cancel_checks = 0;
    std::string refusal;
    GenerationControl control{
        [&](std::int64_t index, std::int64_t total) { progress.push_back(index * 100 + total); },
        [&](std::string_view message) {
            ++cancel_checks;
            refusal = message;
            return false;
        }};
    ListSource source(SixGames());
    EXPECT_EQ(MakeFastFile(pgn, 6, source, control).outcome, MakeOutcome::Complete);
    EXPECT_FALSE(platform::FileExists(dir.File("g.TRE")));
    EXPECT_FALSE(platform::FileExists(dir.File("g.TRX")));
    EXPECT_EQ(progress, (std::vector<std::int64_t>{6, 106, 206, 306, 406, 506}));
    EXPECT_EQ(cancel_checks, 6);
    EXPECT_EQ(refusal, "Sorry, cannot cancel fast file generation.");
}

TEST(FastFile, FixDropsDeletedGamesFromBothFiles) {
    struct Row {
        const char* name;
        std::vector<std::int32_t> deleted;
        std::vector<std::string> kept;
    };
    const Row rows[] = {
        {"2 and 5 in any order", {5, 2}, {"Player1", "Player3", "Player4", "Player6"}},
        {"first and last, repeated", {6, 1, 6}, {"Player2", "Player3", "Player4", "Player5"}},
        {"none", {}, {"Player1", "Player2", "Player3", "Player4", "Player5", "Player6"}},
        {"all", {1, 2, 3, 4, 5, 6}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.File("g.pgn");
        ASSERT_EQ(Make(pgn, SixGames()).outcome, MakeOutcome::Complete);
        dir.Write("g.TRE", "tree");
        RecordingUi ui;
        EXPECT_TRUE(FixFastFile(pgn, row.deleted, ui).ok());
        EXPECT_TRUE(ui.reports.empty());
        EXPECT_EQ(WhiteNames(dir.File("g.TRH")), row.kept);
        std::vector<GameRecord> records = ReadRecords(dir.File("g.TRF"));
        ASSERT_EQ(records.size(), row.kept.size());
        for (std::size_t n = 0; n < records.size(); ++n) {
            // Game k was made with k codes of 0x2321 + k and the result k % 3.
            int game = std::stoi(row.kept[n].substr(6));
            EXPECT_EQ(records[n].codes.size(), static_cast<std::size_t>(game));
            EXPECT_EQ(records[n].codes.front(), 0x2321 + game);
            EXPECT_EQ(records[n].result, MakeResultWord(game % 3));
        }
        EXPECT_FALSE(platform::FileExists(dir.File("g.TRE")));
        EXPECT_FALSE(platform::FileExists(dir.File("tempqqqd.xyz")));
        RecordingUi check_ui;
        EXPECT_EQ(CheckFastFile(pgn, static_cast<std::int32_t>(row.kept.size()), check_ui),
                  FastFileState::Current);
    }
}

// Damage done to a good fast file of six games, and what Check Fast File says of it.
TEST(FastFile, CheckFindsStaleAndDamagedFiles) {
    struct Row {
        const char* name;
        std::int32_t game_count;
        const char* file;  // "TRF", "TRH" or "" for none
        std::function<std::string(std::string)> damage;
        std::string message;
        FastFileState state;
    };
    auto keep = [](std::string bytes) { return bytes; };
    const Row rows[] = {
        {"current", 6, "", keep, OkMessage, FastFileState::Current},
        {"a game was added", 7, "", keep, StaleMessage, FastFileState::Stale},
        {"header count lies", 6, "TRH",
         [](std::string bytes) {
             bytes[0] = 5;
             return bytes;
         },
         StaleMessage, FastFileState::Stale},
        {"header cut short", 6, "TRH",
         [](std::string bytes) { return bytes.substr(0, bytes.size() - 1); }, StaleMessage,
         FastFileState::Stale},
        {"header cut inside the count", 6, "TRH",
         [](std::string bytes) { return bytes.substr(0, 3); }, StaleMessage, FastFileState::Stale},
        {"header string runs past the end", 6, "TRH",
         [](std::string bytes) {
             bytes[bytes.size() - 1] = '\xff';
             return bytes;
         },
         StaleMessage, FastFileState::Stale},
        {"header with bytes behind", 6, "TRH", [](std::string bytes) { return bytes + "x"; },
         StaleMessage, FastFileState::Stale},
        {"move file without end mark", 6, "TRF",
         [](std::string bytes) { return bytes.substr(0, bytes.size() - 2); }, StaleMessage,
         FastFileState::Stale},
        {"move file cut to an odd byte", 6, "TRF",
         [](std::string bytes) { return bytes.substr(0, bytes.size() - 5); }, StaleMessage,
         FastFileState::Stale},
        {"move file cut inside a record", 6, "TRF",
         [](std::string bytes) { return bytes.substr(0, 10); }, StaleMessage, FastFileState::Stale},
        {"move file of garbage", 6, "TRF",
         [](std::string bytes) { return std::string(bytes.size(), '\x11'); }, StaleMessage,
         FastFileState::Stale},
        {"move file empty", 6, "TRF", [](std::string) { return std::string(); }, StaleMessage,
         FastFileState::Stale},
        {"a record too long", 6, "TRF",
         [](std::string bytes) { return std::string(2 * 401, '\x01') + bytes; }, StaleMessage,
         FastFileState::Stale},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.File("g.pgn");
        ASSERT_EQ(Make(pgn, SixGames()).outcome, MakeOutcome::Complete);
        if (std::string(row.file) != "") {
            std::string path = dir.File(std::string("g.") + row.file);
            dir.Write(std::string("g.") + row.file, row.damage(ReadWholeFile(path)));
        }
        RecordingUi ui;
        EXPECT_EQ(CheckFastFile(pgn, row.game_count, ui), row.state);
        EXPECT_EQ(ui.reports, std::vector<std::string>{row.message});
        EXPECT_EQ(FastFileStateOf(pgn, row.game_count), row.state);
    }
}

TEST(FastFile, CheckAndDeleteWithoutAFastFile) {
    TempDir dir;
    std::string pgn = dir.File("g.pgn");
    RecordingUi ui;
    EXPECT_EQ(CheckFastFile(pgn, 3, ui), FastFileState::Missing);
    EXPECT_FALSE(DeleteFastFile(pgn, ui));
    EXPECT_EQ(ui.reports, (std::vector<std::string>{MissingMessage, MissingMessage}));
    EXPECT_TRUE(ui.questions.empty());
}

TEST(FastFile, DeleteAsksFirst) {
    struct Row {
        bool answer;
        bool deleted;
        std::vector<std::string> reports;
    };
    const Row rows[] = {{false, false, {}}, {true, true, {"Fast file deleted."}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        TempDir dir;
        std::string pgn = dir.File("g.pgn");
        ASSERT_EQ(Make(pgn, SixGames()).outcome, MakeOutcome::Complete);
        RecordingUi ui;
        ui.answers.push_back(row.answer);
        EXPECT_EQ(DeleteFastFile(pgn, ui), row.deleted);
        EXPECT_EQ(ui.questions, std::vector<std::string>{"Delete the fast file. Confirm."});
        EXPECT_EQ(ui.reports, row.reports);
        EXPECT_EQ(platform::FileExists(dir.File("g.TRF")), !row.deleted);
        EXPECT_EQ(platform::FileExists(dir.File("g.TRH")), !row.deleted);
    }
}

using Fault = test::FaultyFileSystem::Fault;

TEST(FastFile, FailedCreationLeavesNothingBehind) {
    struct Row {
        const char* name;
        bool header_is_a_folder;
        Fault fault;
    };
    const Row rows[] = {
        {"header file cannot be created", true, Fault::None},
        {"disk full at once", false, Fault::DiskFull},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.File("g.pgn");
        if (row.header_is_a_folder) platform::CreateFolder(dir.File("g.TRH"));
        test::FaultyFileSystem file_system(row.fault);
        ListSource source(SixGames());
        MakeResult made = MakeFastFile(pgn, 6, source, {}, file_system);
        EXPECT_EQ(made.outcome, MakeOutcome::CreateFailed);
        EXPECT_EQ(MakeOutcomeMessage(made.outcome), "Error creating fast file.");
        EXPECT_FALSE(platform::FileExists(dir.File("g.TRF")));
    }
}

TEST(FastFile, FailedFixKeepsTheOldMoveFile) {
    struct Row {
        const char* name;
        Fault fault;
    };
    const Row rows[] = {{"rename fails", Fault::RenameFails}, {"write fails", Fault::DiskFull}};
    const std::string message = "Error creating temp file.";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.File("g.pgn");
        ASSERT_EQ(Make(pgn, SixGames()).outcome, MakeOutcome::Complete);
        std::string before = ReadWholeFile(dir.File("g.TRF"));
        test::FaultyFileSystem file_system(row.fault);
        RecordingUi ui;
        std::vector<std::int32_t> deleted = {2};
        EXPECT_EQ(FixFastFile(pgn, deleted, ui, file_system).message(), message);
        EXPECT_EQ(ui.reports, std::vector<std::string>{message});
        EXPECT_EQ(ReadWholeFile(dir.File("g.TRF")), before);
        EXPECT_FALSE(platform::FileExists(dir.File("tempqqqd.xyz")));
    }
}

TEST(FastFile, FixWithADamagedHeaderFileAsksForANewFastFile) {
    TempDir dir;
    std::string pgn = dir.File("g.pgn");
    ASSERT_EQ(Make(pgn, SixGames()).outcome, MakeOutcome::Complete);
    std::string header = ReadWholeFile(dir.File("g.TRH"));
    dir.Write("g.TRH", header.substr(0, header.size() - 3));
    RecordingUi ui;
    std::vector<std::int32_t> deleted = {1};
    EXPECT_FALSE(FixFastFile(pgn, deleted, ui).ok());
    EXPECT_EQ(ui.reports,
              std::vector<std::string>{"Error fixing fast file. Run 'Make Fast File' again."});
    // The move file is fixed all the same.
    EXPECT_EQ(ReadRecords(dir.File("g.TRF")).size(), 5u);
}

TEST(FastFile, MergeFileCreatesAppendsAndCopies) {
    TempDir dir;
    std::string pgn = dir.File("g.pgn");
    std::string merge = dir.File("tree.TRF");
    std::vector<FastFileGame> games = SixGames();
    ListSource source(games);
    dir.Write("tree.TRE", "old");
    MakeResult first = MakeMergeFile(pgn, 6, source, {merge, false}, {});
    EXPECT_EQ(first.outcome, MakeOutcome::Complete);
    EXPECT_EQ(MakeOutcomeMessage(first.outcome, true), "Merge file complete.");
    EXPECT_FALSE(platform::FileExists(dir.File("tree.TRE")));
    EXPECT_FALSE(platform::FileExists(dir.File("g.TRH")));
    EXPECT_EQ(ReadRecords(merge).size(), 6u);

    // Appending from the text, then by copying the current fast file: same records each time.
    ListSource again(games);
    EXPECT_EQ(MakeMergeFile(pgn, 6, again, {merge, true}, {}).outcome, MakeOutcome::Complete);
    ASSERT_EQ(Make(pgn, games).outcome, MakeOutcome::Complete);
    ListSource unused({});
    EXPECT_EQ(MakeMergeFile(pgn, 6, unused, {merge, true}, {}).outcome, MakeOutcome::Complete);
    std::string one = ReadWholeFile(dir.File("g.TRF"));
    std::string body = one.substr(0, one.size() - 2);
    EXPECT_EQ(ReadWholeFile(merge), body + body + one);

    RecordingUi ui;
    EXPECT_EQ(MakeMergeFile(pgn, 6, unused, {dir.File("none/x.TRF"), true}, {}).outcome,
              MakeOutcome::MergeOpenFailed);
    EXPECT_EQ(MakeOutcomeMessage(MakeOutcome::MergeOpenFailed, true), "Error opening merge file.");
}

}  // namespace
}  // namespace qorvale::search
