#include "search/pgn_game_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "search/fast_file_reader.h"
#include "search/header_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::RecordingUi;
using qorvale::test::TempDir;
using qorvale::test::TestDataPath;

// A copy of a test PGN file in a fresh folder, opened and indexed, with its fast file made.
struct MadeFastFile {
    TempDir dir;
    std::string pgn;
    pgn::PgnFile file;
    RecordingUi ui;
    MakeResult made;
    std::vector<GameRecord> records;
    HeaderFile header;

    explicit MadeFastFile(std::string_view data_name) {
        pgn = dir.Write("games.pgn", ReadWholeFile(TestDataPath(data_name)));
        EXPECT_TRUE(file.Open(pgn).ok());
        file.ScanGameFile(false, ui);
        std::span<const std::uint32_t> offsets = file.Index().Offsets();
        PgnGameSource source(pgn, {offsets.begin(), offsets.end()});
        EXPECT_TRUE(source.Open().ok());
        made = MakeFastFile(pgn, file.GameCount(), source, {});
        Result<FastFileReader> reader = FastFileReader::Open(dir.File("games.TRF"));
        EXPECT_TRUE(reader.ok());
        GameRecord record;
        while (reader && reader->Next(record) == FastFileReader::Step::Record)
            records.push_back(record);
        Result<HeaderFile> loaded = HeaderFile::Load(dir.File("games.TRH"));
        EXPECT_TRUE(loaded.ok());
        if (loaded) header = *loaded;
    }

    HeaderValues Header(std::size_t game) const {
        HeaderValues values;
        std::vector<std::size_t> offsets = header.RecordOffsets();
        if (game < offsets.size()) header.ReadRecord(offsets[game], values);
        return values;
    }
};

chess::Board64 ToBoard64(const chess::Snapshot& snapshot) {
    chess::Board64 board;
    for (std::size_t square = 0; square < board.size(); ++square) {
        board[square] = static_cast<std::uint8_t>(snapshot[square]);
    }
    return board;
}

// Every record of the real-game corpus replays to the positions the text replay reaches, and
// its header record belongs to the same game.
TEST(PgnGameSource, RecordsReplayToTheTextReplaysPositions) {
    MadeFastFile fast("chess/games.pgn");
    std::int32_t game_count = fast.file.GameCount();
    ASSERT_GT(game_count, 1000);
    ASSERT_EQ(fast.made.games_written, game_count);
    ASSERT_EQ(static_cast<std::int32_t>(fast.records.size()), game_count);
    ASSERT_TRUE(fast.header.Consistent(static_cast<std::uint32_t>(game_count)));

    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    std::vector<chess::Board64> positions;
    pgn::LoadOptions quiet;
    quiet.quiet = true;
    int compared = 0;
    for (std::int32_t game = 1; game <= game_count; ++game) {
        SCOPED_TRACE("game " + std::to_string(game));
        Result<int> half_moves =
            pgn::OpenGameForDisplay(fast.file, game, header, lines, chess, fast.ui, quiet);
        ASSERT_TRUE(half_moves.ok());
        const GameRecord& record = fast.records[static_cast<std::size_t>(game - 1)];
        const pgn::HeaderValues& values = header.CurrentHeader();
        HeaderValues stored = fast.Header(static_cast<std::size_t>(game - 1));
        ASSERT_EQ(stored[static_cast<int>(HeaderField::White)],
                  values.Get(pgn::HeaderField::White));
        ASSERT_EQ(stored[static_cast<int>(HeaderField::Black)],
                  values.Get(pgn::HeaderField::Black));
        ASSERT_EQ(stored[static_cast<int>(HeaderField::Date)], values.Get(pgn::HeaderField::Date));
        ASSERT_EQ(ResultOf(record.result), ResultFromTag(values.Get(pgn::HeaderField::Result)));
        // A FEN game is encoded from the standard position: there is nothing to compare.
        if (header.TagLines().Has(pgn::Tag::FEN)) continue;
        if (*half_moves == 0) {
            ASSERT_EQ(record.codes, std::vector<MoveCode>{NoMovesCode});
            continue;
        }
        ASSERT_EQ(static_cast<int>(record.codes.size()), *half_moves);
        ReplayMoveCodes(record.codes, positions);
        for (int ply = 0; ply <= *half_moves; ++ply) {
            ASSERT_EQ(positions[static_cast<std::size_t>(ply)],
                      ToBoard64(chess.PositionHistory(ply)))
                << "after half-move " << ply;
        }
        ++compared;
    }
    EXPECT_GT(compared, game_count * 9 / 10);
}

TEST(PgnGameSource, GamesAfterACutGameAndSpecialGames) {
    MadeFastFile fast("fast/limits.pgn");
    EXPECT_EQ(fast.made.outcome, MakeOutcome::FenWarning);
    ASSERT_EQ(fast.records.size(), 4u);
    struct Row {
        const char* name;
        std::size_t game;
        std::size_t codes;
        std::vector<MoveCode> first_codes;
        ResultWord result;
        const char* white;
        const char* round;
    };
    const Row rows[] = {
        {"cut at 200 moves", 0, 400, {0x2A30, 0x2D37, 0x302A, 0x372D}, 0x8001, "Long, Game", "1"},
        {"found again after the cut",
         1,
         6,
         {0x2321, 0x2426, 0x2A30, 0x150F, 0x0C28, 0x0506},
         0x8002,
         "After, Cut",
         "3"},
        {"no moves", 2, 1, {NoMovesCode}, 0x8000, "No, Moves", "?"},
        {"FEN game from the standard start", 3, 2, {0x2321}, 0x8001, "From, Fen", "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const GameRecord& record = fast.records[row.game];
        EXPECT_EQ(record.codes.size(), row.codes);
        ASSERT_GE(record.codes.size(), row.first_codes.size());
        EXPECT_TRUE(
            std::equal(row.first_codes.begin(), row.first_codes.end(), record.codes.begin()));
        EXPECT_EQ(record.result, row.result);
        HeaderValues values = fast.Header(row.game);
        EXPECT_EQ(values[static_cast<int>(HeaderField::White)], row.white);
        EXPECT_EQ(values[static_cast<int>(HeaderField::Round)], row.round);
    }
    HeaderValues second = fast.Header(1);
    EXPECT_EQ(second[static_cast<int>(HeaderField::Eco)], "C70");
    EXPECT_EQ(second[static_cast<int>(HeaderField::WhiteElo)], "2500");
    EXPECT_EQ(second[static_cast<int>(HeaderField::Site)], "Wijk");
}

TEST(PgnGameSource, MergeModeTakesTheSameRecordsWithoutHeaders) {
    MadeFastFile fast("fast/limits.pgn");
    std::span<const std::uint32_t> offsets = fast.file.Index().Offsets();
    PgnGameSource source(fast.pgn, {offsets.begin(), offsets.end()});
    ASSERT_TRUE(source.Open().ok());
    // Without a current fast file the games are read from the text.
    platform::DeleteFile(fast.dir.File("games.TRH"));
    std::string merge = fast.dir.File("merge.TRF");
    MakeResult made = MakeMergeFile(fast.pgn, fast.file.GameCount(), source, {merge, false}, {});
    EXPECT_EQ(made.outcome, MakeOutcome::Complete);
    EXPECT_EQ(ReadWholeFile(merge), ReadWholeFile(fast.dir.File("games.TRF")));
}

}  // namespace
}  // namespace qorvale::search
