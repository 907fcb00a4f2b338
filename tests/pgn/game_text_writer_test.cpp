#include "pgn/game_text_writer.h"

#include <gtest/gtest.h>

#include "chess/chess_state.h"
#include "pgn/game_loader.h"
#include "pgn/messages.h"
#include "pgn/pgn_file.h"
#include "support/pgn_extract.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::TempDir;

// Every line of the movetext ends as soon as it reaches 60 characters and not before; the last
// ends with two spaces, the result and CR LF.
void ExpectMoveLines(std::string_view moves, std::string_view result) {
    ASSERT_TRUE(moves.ends_with(std::string("  ") + std::string(result) + "\r\n"));
    std::size_t start = 0;
    for (std::size_t end; (end = moves.find("\r\n", start)) != std::string_view::npos;
         start = end + 2) {
        std::string_view line = moves.substr(start, end - start);
        if (end + 2 == moves.size()) break;
        EXPECT_GE(line.size(), MovesLineWidth) << line;
        std::size_t last_space = line.rfind(' ');
        ASSERT_NE(last_space, std::string_view::npos) << line;
        // Without its last token the line was still short; a full move "12.Nf3 Nc6" is one
        // token, so look before its number.
        std::size_t token = line.rfind(' ', last_space - 1);
        bool black_half = line.substr(token + 1).find('.') != std::string_view::npos &&
                          line.substr(last_space + 1).find('.') == std::string_view::npos;
        EXPECT_LT(black_half ? token : last_space, MovesLineWidth) << line;
    }
}

// The main lines of 1705 real games (FEN starts and Black-first games among them), written by
// WriteMoves, read by pgn-extract as the same moves it reads from the originals.
TEST(WriteMoves, RealGamesReadBackAsTheirMoves) {
    ASSERT_TRUE(test::HavePgnExtract());
    TempDir dir;
    const std::string source = dir.CopyData("chess/games.pgn", "games.pgn");
    SilentUi ui;
    PgnFile file;
    ASSERT_TRUE(file.Open(source).ok());
    const std::int32_t count = file.ScanGameFile(false, ui);
    ASSERT_GT(count, 1700);
    std::string written;
    std::vector<bool> kept;
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    int fen_games = 0;
    for (std::int32_t game = 1; game <= count; ++game) {
        LoadOptions quiet;
        quiet.quiet = true;
        ASSERT_TRUE(OpenGameForDisplay(file, game, header, lines, chess, ui, quiet).ok());
        // The program keeps 200 moves of a longer game; pgn-extract reads them all.
        kept.push_back(!lines.HitMoveLimit());
        if (lines.HitMoveLimit()) continue;
        HeaderEditFields fields;
        fields.Get(HeaderField::Result) = "*";
        std::string text = HeaderText(fields, chess.StartsFromFen());
        if (chess.StartsFromFen()) {
            ++fen_games;
            text += header.TagLines().Line(Tag::FEN) + "\r\n\r\n";
        }
        const std::string moves =
            WriteMoves({lines.Moves(), lines.FullMoves(), chess.StartMoveNumber()}, "*");
        ExpectMoveLines(moves, "*");
        written += text + moves + "\r\n";
    }
    EXPECT_GE(fen_games, 3);
    std::vector<std::string> expected;
    std::vector<std::string> originals = test::PgnExtractMainLines(source);
    ASSERT_EQ(originals.size(), kept.size());
    for (std::size_t game = 0; game < originals.size(); ++game) {
        if (kept[game]) expected.push_back(originals[game]);
    }
    EXPECT_EQ(test::PgnExtractMainLines(dir.Write("written.pgn", written)), expected);
}

TEST(WriteMoves, NumbersAndTheGameWithoutMoves) {
    chess::MainLineMoves moves;
    moves.WhiteMoves[0].Assign("..");
    moves.BlackMoves[0].Assign("Rd1#");
    EXPECT_EQ(WriteMoves({moves, 1, 31}, "0-1"), "31... Rd1#  0-1\r\n");
    moves.WhiteMoves[0].Assign("e4");
    moves.BlackMoves[0].Assign("");
    EXPECT_EQ(WriteMoves({moves, 1, 0}, "*"), "1.e4  *\r\n");
    EXPECT_EQ(WriteMoves({moves, 0, 0}, "*"), "");
    EXPECT_EQ(WriteMoves({moves, 0, 0}, "*", true), "1.");
}

TEST(NormaliseGameText, LineEndsJoinsAndBreaks) {
    const std::string a59(59, 'a');
    const std::string words86 = std::string(80, 'w') + " xxxx yyyy";  // 90 characters
    struct Row {
        const char* name;
        std::string input;
        bool join;
        std::string output;
    } rows[] = {
        {"every line end becomes CR LF", "a\nb\rc\r\nd", false, "a\r\nb\r\nc\r\nd"},
        {"short lines are joined when asked", "1.e4 e5\r\n2.Nf3 Nc6\r\n\r\n", true,
         "1.e4 e5 2.Nf3 Nc6\r\n\r\n"},
        {"not without joining", "1.e4 e5\r\n2.Nf3 Nc6\r\n", false, "1.e4 e5\r\n2.Nf3 Nc6\r\n"},
        {"tag lines and empty lines are never joined",
         "[Event \"x\"]\r\n[Site \"y\"]\r\n\r\n1.e4\r\n", true,
         "[Event \"x\"]\r\n[Site \"y\"]\r\n\r\n1.e4\r\n"},
        {"a line of 60 is not joined", a59 + "b\r\nc\r\n", true, a59 + "b\r\nc\r\n"},
        {"a line comment swallows no move", "1.e4 ; best\r\ne5\r\n", true, "1.e4 ; best\r\ne5\r\n"},
        {"a long line breaks at the last space by the 86th character", words86 + "\r\n", false,
         std::string(80, 'w') + " xxxx\r\nyyyy\r\n"},
        {"a line of 88 with its line end stays", std::string(83, 'z') + " zzzz\r\n", false,
         std::string(83, 'z') + " zzzz\r\n"},
        {"a last line of 88 without one breaks", std::string(83, 'z') + " zzzz", false,
         std::string(83, 'z') + "\r\nzzzz"},
        {"a tag line is never broken", "[Event \"" + words86 + "\"]\r\n", false,
         "[Event \"" + words86 + "\"]\r\n"},
        {"no break inside a line comment, only before it", "1.e4 ;" + words86 + "\r\n", false,
         "1.e4\r\n;" + words86 + "\r\n"},
        {"a move number alone runs on", "12.Nf3 {x}\r\n12...\r\nNc6\r\n", false,
         "12.Nf3 {x}\r\n12...Nc6\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NormaliseGameText(row.input, row.join), row.output);
    }
}

TEST(CheckTypedGameText, RefusalsAndCleanUp) {
    const std::string header = "[Event \"x\"]\n[Result \"1-0\"]\n\n";
    struct Row {
        const char* name;
        std::string text;
        std::string_view message;  // empty: accepted
        std::string cleaned;
    } rows[] = {
        {"a good game, made CR LF and ended",
         header + "1. e4 e5  1-0",
         {},
         "[Event \"x\"]\r\n[Result \"1-0\"]\r\n\r\n1. e4 e5  1-0\r\n"},
        {"doubled spaces go unless a result follows",
         header + "1.  e4   e5 {a  b}  1/2-1/2\n",
         {},
         "[Event \"x\"]\r\n[Result \"1-0\"]\r\n\r\n1. e4 e5 {a  b}  1/2-1/2\r\n"},
        {"a record of 256 characters", header + "1. e4 {" + std::string(250, 'c') + "} e5 1-0\n",
         RecordsTooLong, ""},
        {"an open comment", header + "1. e4 {good e5 1-0\n", CommentBracesOutOfSync, ""},
        {"a stray closing brace", header + "1. e4 } e5 1-0\n", CommentBracesOutOfSync, ""},
        {"an open variation", header + "1. e4 (1. d4 e5 1-0\n", LineParensOutOfSync, ""},
        {"parentheses in a comment count for nothing",
         header + "1. e4 {(} e5 1-0\n",
         {},
         "[Event \"x\"]\r\n[Result \"1-0\"]\r\n\r\n1. e4 {(} e5 1-0\r\n"},
        {"no moves", header + "1-0\n", NoMovesEntered, ""},
        {"a result the program does not know", "[Result \"1/2\"]\n\n1. e4 1/2\n", ResultInvalid,
         ""},
        {"a set-up position needs no moves",
         "[Result \"*\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n*\n",
         {},
         "[Result \"*\"]\r\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\r\n\r\n*\r\n"},
        {"two games", header + "1. e4 1-0\n\n" + header + "1. d4 1-0\n", MoreThanOneGame, ""},
        {"too big", header + std::string(GameTextBufferSize, ' '), GameTooBigToEdit, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Result<std::string> checked = CheckTypedGameText(row.text);
        if (row.message.empty()) {
            ASSERT_TRUE(checked.ok()) << checked.error().message();
            EXPECT_EQ(*checked, row.cleaned);
        } else {
            ASSERT_FALSE(checked.ok());
            EXPECT_EQ(checked.error().message(), row.message);
        }
    }
}

TEST(EnteredGameText, SetUpGameCarriesItsRightsInTheFenTag) {
    EnteredGame game;
    game.header.Get(HeaderField::Result) = "*";
    game.header.SetStartMoveNumber(23);
    game.starts_from_setup = true;
    game.start[5][1] = chess::King;
    game.start[8][1] = chess::Rook;
    game.start[5][8] = chess::King + chess::BlackOffset;
    game.moves.WhiteMoves[0].Assign("..");
    game.moves.BlackMoves[0].Assign("Kd8");
    game.full_moves = 1;
    game.castling = "K";
    const std::string text = EnteredGameText(game);
    EXPECT_NE(
        text.find(
            "[ECO \"\"]\r\n[FEN \"4k3/8/8/8/8/8/8/4K2R b K - 0 23\"]\r\n\r\n23... Kd8  *\r\n"),
        std::string::npos)
        << text;
    EXPECT_TRUE(CheckEnteredGame(game).ok());
    game.full_moves = 0;
    game.starts_from_setup = false;
    EXPECT_EQ(CheckEnteredGame(game).message(), NoMovesEntered);
}

}  // namespace
}  // namespace qorvale::pgn
