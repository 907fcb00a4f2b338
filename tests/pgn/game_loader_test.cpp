#include "pgn/game_loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "support/placement_reference.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::Fnv1a64;
using test::ReadPlacementReference;
using test::ReferenceGame;

// Copies a test file into a fresh folder: opening a file writes its offset cache beside it.
class OpenedCopy {
  public:
    explicit OpenedCopy(std::string_view data_name) {
        path_ = dir_.CopyData(data_name, data_name.substr(data_name.rfind('/') + 1));
        EXPECT_TRUE(file_.Open(path_).ok()) << path_;
        file_.ScanGameFile(false, ui_);
    }
    PgnFile& file() { return file_; }
    test::RecordingUi& ui() { return ui_; }

  private:
    test::TempDir dir_;
    std::string path_;
    PgnFile file_;
    test::RecordingUi ui_;
};

// The placements after each half-move of the loaded game, one per line, as the reference holds
// them. The black-first placeholder plays no move, so its snapshot is not a position of its own.
std::string PlacementsOfLoadedGame(chess::ChessState& chess, const GameLines& lines,
                                   int half_moves) {
    std::string placements;
    int first = lines.Moves().WhiteMoves[0][0] == '.' ? 2 : 1;
    for (int half_move = first; half_move <= half_moves; ++half_move) {
        chess.RestorePosition(half_move);
        chess::AppendPlacement(chess.CurrentBoard(), placements);
        placements += '\n';
    }
    return placements;
}

TEST(GameLoader, MainLinesOfTheReferenceCorpusReplayToTheReferencePlacements) {
    std::vector<ReferenceGame> reference = ReadPlacementReference();
    ASSERT_GT(reference.size(), 1000u);
    OpenedCopy copy("chess/games.pgn");
    ASSERT_EQ(copy.file().GameCount(), static_cast<std::int32_t>(reference.size()));
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    int mismatches = 0;
    for (std::size_t index = 0; index < reference.size(); ++index) {
        int game = static_cast<int>(index) + 1;
        Result<int> loaded = OpenGameForDisplay(copy.file(), game, header, lines, chess, copy.ui());
        ASSERT_TRUE(loaded.ok()) << game;
        std::string placements = PlacementsOfLoadedGame(chess, lines, *loaded);
        int plies = *loaded - (lines.Moves().WhiteMoves[0][0] == '.' ? 1 : 0);
        if (plies != reference[index].plies || Fnv1a64(placements) != reference[index].hash) {
            ADD_FAILURE() << "game " << game << ": " << plies << " plies, reference "
                          << reference[index].plies;
            if (++mismatches > 5) break;
        }
    }
    EXPECT_TRUE(copy.ui().reports.empty()) << copy.ui().reports.front();
}

TEST(GameLoader, ReadsTheTrickyFilesAsTheRulesSay) {
    struct Row {
        const char* file;
        int game;
        int half_moves;
        const char* first_white;
        const char* first_black;
        int annotations;
    };
    const Row rows[] = {
        // FEN with Black to move, castling written with zeros.
        {"lines/black2move.pgn", 1, 4, "..", "O-O-O", 0},
        // The last line has no line end and is read all the same.
        {"lines/castling.pgn", 1, 6, "Bg2", "O-O", 0},
        // Variations opening with a comment, NAGs, comments followed by two blanks.
        {"lines/variations-nags-and-comments.pgn", 1, 13, "e4", "c5", 11},
        // Moves without numbers after an opening comment, a variation written "2.. d6".
        {"lines/annotated.pgn", 1, 5, "e4", "e5!", 9},
        // Escaped quotes in a tag, a comment over lines before the result.
        {"lines/calgames_07.pgn", 1, 61, "e4", "e5", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        OpenedCopy copy(row.file);
        HeaderTags header;
        GameLines lines;
        chess::ChessState chess;
        Result<int> loaded =
            OpenGameForDisplay(copy.file(), row.game, header, lines, chess, copy.ui());
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(*loaded, row.half_moves);
        EXPECT_EQ(lines.Moves().WhiteMoves[0].view(), row.first_white);
        EXPECT_EQ(lines.Moves().BlackMoves[0].view(), row.first_black);
        EXPECT_EQ(lines.AnnotationCount(), row.annotations);
    }
}

TEST(GameLoader, WarnsOnceAndKeepsTwoHundredMovesOfTheLongestGame) {
    OpenedCopy copy("lines/FIDE_longest_possible_game.pgn");
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    Result<int> loaded = OpenGameForDisplay(copy.file(), 1, header, lines, chess, copy.ui());
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(*loaded, 2 * chess::MaxFullMoves);
    ASSERT_EQ(copy.ui().reports.size(), 1u);
    EXPECT_EQ(copy.ui().reports[0], "Warning: Maximum number 200 moves exceeded.");
}

TEST(GameLoader, ReadsEachGameOfAFileWithJunkAroundIt) {
    std::string text =
        "garbage before the first game\n"
        "[Event \"No closing quote]\n[White \"A\"]\n[Black \"B\"]\n\n"
        "1. d4 d5 2. c4 * trailing junk ) ( {\n"
        "more junk between games\n\n";
    text += std::string("\0\x01\xff binary\n\n", 12);
    text +=
        "[Event \"Second\"]\n[White \"C\"]\n\n"
        "1. e4 {unclosed comment\n\n"
        "[Event \"Third\"]\n\n1. Nf3 ( 1. g3 2. c4 *\n";
    test::TempDir dir;
    std::string path = dir.Write("junk.pgn", text);
    PgnFile file;
    test::RecordingUi ui;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_EQ(file.ScanGameFile(false, ui), 3);
    struct Row {
        int game;
        const char* event;
        int half_moves;
        const char* first_white;
    };
    const Row rows[] = {
        {1, "No closing quote]", 3, "d4"},
        {2, "Second", 1, "e4"},
        {3, "Third", 1, "Nf3"},
    };
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.game);
        Result<int> loaded = OpenGameForDisplay(file, row.game, header, lines, chess, ui);
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(header.CurrentHeader().Get(HeaderField::Event), row.event);
        EXPECT_EQ(*loaded, row.half_moves);
        EXPECT_EQ(lines.Moves().WhiteMoves[0].view(), row.first_white);
    }
    EXPECT_EQ(test::ReadWholeFile(path), text);
}

TEST(GameLoader, LoadsTheCurrentGamesHeaderForEditing) {
    OpenedCopy copy("lines/short_annotated.pgn");
    copy.file().SetCurrentGameNumber(2);
    Result<HeaderEditFields> second = LoadHeaderForEdit(copy.file());
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second->Get(HeaderField::Event), "Training");
    EXPECT_EQ(second->Get(HeaderField::Result), "0-1");
    EXPECT_EQ(second->Get(HeaderField::WhiteElo), "");
    copy.file().SetCurrentGameNumber(1);
    EXPECT_EQ(LoadHeaderForEdit(copy.file())->Get(HeaderField::WhiteElo), "2210");
    copy.file().SetCurrentGameNumber(3);
    EXPECT_EQ(LoadHeaderForEdit(copy.file()).error().message(), "Error finding game.");
}

// Move codes as the fast file holds them, made from a replayed game's snapshots.
std::vector<std::uint16_t> MoveCodesOf(chess::ChessState& chess, const GameLines& lines,
                                       int half_moves) {
    std::vector<std::uint16_t> codes;
    for (int half_move = 1; half_move <= half_moves; ++half_move) {
        const auto slot = static_cast<std::size_t>((half_move - 1) / 2);
        const chess::MoveText& text =
            half_move % 2 ? lines.Moves().WhiteMoves[slot] : lines.Moves().BlackMoves[slot];
        chess.RestorePosition(half_move);
        chess::ChessState::LastMove move = chess.LastMoveCoordinates(half_move, text);
        int from = (move.from_file - 1) * 8 + (move.from_rank - 1);
        int to = (move.to_file - 1) * 8 + (move.to_rank - 1);
        int promotion = 0;
        std::string_view view = text.view();
        if (std::size_t mark = view.find('='); mark != std::string_view::npos) {
            char piece = view[mark + 1];
            promotion = piece == 'N' ? 0x40 : piece == 'B' ? 0x80 : piece == 'R' ? 0xC0 : 0;
        }
        codes.push_back(static_cast<std::uint16_t>((to << 8) | from | promotion));
    }
    codes.push_back(0x8002);
    return codes;
}

TEST(GameLines, MoveCodesGiveTheSameGameAsTheMoveTexts) {
    OpenedCopy copy("chess/games.pgn");
    HeaderTags header;
    GameLines from_text;
    GameLines from_codes;
    chess::ChessState chess;
    int compared = 0;
    for (int game = 1; game <= copy.file().GameCount() && compared < 60; game += 7) {
        SCOPED_TRACE(game);
        Result<int> loaded =
            OpenGameForDisplay(copy.file(), game, header, from_text, chess, copy.ui());
        ASSERT_TRUE(loaded.ok());
        if (chess.StartsFromFen()) continue;
        ++compared;
        std::vector<std::uint16_t> codes = MoveCodesOf(chess, from_text, *loaded);
        std::vector<chess::Snapshot> expected;
        for (int half_move = 0; half_move <= *loaded; ++half_move) {
            expected.push_back(chess.PositionHistory(half_move));
        }
        EXPECT_EQ(from_codes.LoadMoveCodes(codes, chess), from_text.FullMoves());
        EXPECT_EQ(from_codes.ParsedHalfMoves(), *loaded);
        for (int half_move = 0; half_move <= *loaded; ++half_move) {
            ASSERT_EQ(chess.PositionHistory(half_move),
                      expected[static_cast<std::size_t>(half_move)])
                << half_move;
        }
        for (int index = 0; index < from_text.FullMoves(); ++index) {
            const auto slot = static_cast<std::size_t>(index);
            auto plain = [](std::string_view text) {
                while (!text.empty() && (text.back() == '+' || text.back() == '#' ||
                                         text.back() == '!' || text.back() == '?')) {
                    text.remove_suffix(1);
                }
                return std::string(text);
            };
            EXPECT_EQ(plain(from_codes.Moves().WhiteMoves[slot].view()),
                      plain(from_text.Moves().WhiteMoves[slot].view()));
            EXPECT_EQ(plain(from_codes.Moves().BlackMoves[slot].view()),
                      plain(from_text.Moves().BlackMoves[slot].view()));
        }
    }
    EXPECT_GT(compared, 30);
}

}  // namespace
}  // namespace qorvale::pgn
