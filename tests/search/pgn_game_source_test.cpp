#include "search/pgn_game_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"
#include "pgn/record_reader.h"
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

// Real files of every kind the tests hold: annotated games, FEN games, games beyond 200 moves,
// and foreign notations and variants whose moves the standard start cannot play.
constexpr const char* DifferentialFiles[] = {
    "chess/games.pgn",
    "fast/limits.pgn",
    "lines/FIDE_longest_possible_game.pgn",
    "lines/immortal-games.pgn",
    "lines/black2move.pgn",
    "lines/castling.pgn",
    "lines/short_annotated.pgn",
    "harden/fischer.pgn",
    "harden/one-line-movetext.pgn",
    "gui/study-chapters.pgn",
    "gui/german-letters.pgn",
    "search/crafted.pgn",
    "fast/odd/mate_in_2.pgn",
    "fast/odd/cutechess-fischerrandom.pgn",
    "fast/odd/knightvuillaume-jannlee-zh-lichess.pgn",
    "fast/odd/antichess-programfox.pgn",
    "fast/odd/uci-moves.pgn",
    "fast/odd/anastasian-lewis.pgn",
    "fast/odd/test-promotion-in.pgn",
    "fast/odd/test-setup-in.pgn",
    "fast/odd/test-allownullmoves.pgn",
    "fast/odd/test-WWdeutsch-out.pgn",
    "fast/odd/test-WWelalg-out.pgn",
    "fast/odd/test-WWlalg-out.pgn",
    "fast/odd/pychess-promotion.pgn",
};

// What the general road met, so that the comparison is known to have covered the odd cases.
struct Coverage {
    int games = 0;
    int fen_games = 0;
    int cut_games = 0;
    int unknown_codes = 0;  // half-moves the board comparison could not name
    int castling_codes = 0;
    int promotion_flags = 0;
    int three_square_moves = 0;  // en passant
};

// The general road for one game: found through the index, parsed, replayed from the standard
// start with the whole position history, and each half-move encoded by comparing its boards.
std::vector<MoveCode> CodesByBoardComparison(pgn::PgnFile& file, std::int32_t game,
                                             pgn::HeaderTags& header, pgn::GameLines& lines,
                                             chess::ChessState& chess, Ui& ui, Coverage& coverage) {
    std::vector<MoveCode> codes;
    if (!file.LoadGame(game, ui)) {
        ADD_FAILURE() << "game " << game << " not found";
        return codes;
    }
    file.Reader().SetMode(pgn::ReadMode::ReadTrimmed);
    pgn::FileRecordSource source(file);
    header.ReadHeader(source, pgn::FirstRecordMode::KeepForMovetext);
    bool has_first = header.HasFirstMovetextRecord();
    int full_moves =
        lines.ParseMovetext(source, has_first ? &header.FirstMovetextRecord() : nullptr,
                            has_first ? header.FirstMovetextRecordLength() : 0, 0, nullptr, true);
    header.ReleaseFirstMovetextRecord();
    chess.SetStartsFromFen(false);
    chess.SetSetupActive(false);
    int half_moves = chess.ReplayToHalfMove(lines.Moves(), full_moves);
    ++coverage.games;
    if (header.TagLines().Has(pgn::Tag::FEN)) ++coverage.fen_games;
    if (lines.HitMoveLimit()) ++coverage.cut_games;
    for (int half_move = 1; half_move <= half_moves && half_move <= MaxRecordCodes; ++half_move) {
        const chess::Snapshot& before = chess.PositionHistory(half_move - 1);
        const chess::Snapshot& after = chess.PositionHistory(half_move);
        MoveCode code = EncodeMoveCode(before, after, half_move);
        codes.push_back(code);
        int changed = 0;
        for (std::size_t square = 0; square < before.size(); ++square) {
            changed += before[square] != after[square] ? 1 : 0;
        }
        if (code == UnknownMoveCode) ++coverage.unknown_codes;
        if (code == WhiteCastlesShort || code == WhiteCastlesLong || code == BlackCastlesShort ||
            code == BlackCastlesLong) {
            ++coverage.castling_codes;
        }
        if (PromotionFlags(code) != 0) ++coverage.promotion_flags;
        if (changed == 3) ++coverage.three_square_moves;
    }
    return codes;
}

// The source encodes each half-move from the squares it wrote while replaying, without a
// position history; it must give what comparing the boards gives, game by game, reading the
// games in order as the build does (each parse carrying on from where the last one stopped).
TEST(PgnGameSource, CodesAgreeWithTheBoardComparisonOnEveryTestGame) {
    Coverage coverage;
    for (const char* name : DifferentialFiles) {
        SCOPED_TRACE(name);
        TempDir dir;
        std::string path = dir.Write("games.pgn", ReadWholeFile(TestDataPath(name)));
        pgn::PgnFile file;
        RecordingUi ui;
        ASSERT_TRUE(file.Open(path).ok());
        file.ScanGameFile(false, ui);
        ASSERT_GT(file.GameCount(), 0);
        std::span<const std::uint32_t> offsets = file.Index().Offsets();
        // The scan may have re-wrapped the file into a new one.
        PgnGameSource source(file.CurrentPath(), {offsets.begin(), offsets.end()});
        ASSERT_TRUE(source.Open().ok());

        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess;
        chess.SetQuietParse(true);
        chess.SetMessagesSuppressed(true);
        FastFileGame game;
        for (std::int32_t index = 0; index < file.GameCount(); ++index) {
            SCOPED_TRACE("game " + std::to_string(index + 1));
            ASSERT_TRUE(source.ReadGame(index, false, game));
            std::vector<MoveCode> expected =
                CodesByBoardComparison(file, index + 1, header, lines, chess, ui, coverage);
            ASSERT_EQ(game.codes, expected);
            ASSERT_EQ(game.has_fen, header.TagLines().Has(pgn::Tag::FEN));
        }
    }
    EXPECT_GT(coverage.games, 1900);
    EXPECT_GT(coverage.fen_games, 150);
    EXPECT_GE(coverage.cut_games, 2);
    EXPECT_GT(coverage.unknown_codes, 100);
    EXPECT_GT(coverage.castling_codes, 1000);
    EXPECT_GE(coverage.promotion_flags, 5);
    EXPECT_GT(coverage.three_square_moves, 50);
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
        {"no moves", 2, 0, {}, 0x8000, "No, Moves", "?"},
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
