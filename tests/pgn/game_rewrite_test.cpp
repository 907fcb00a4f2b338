#include "pgn/game_rewrite.h"

#include <gtest/gtest.h>

#include "pgn/game_file_edit.h"
#include "pgn/messages.h"
#include "pgn/pgn_file.h"
#include "support/pgn_extract.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::TempDir;

// Annotated real games rewritten unchanged read back, comments, NAGs and variations and all, as
// the same games for pgn-extract; and no line of the rewritten text is long.
TEST(RewriteGameText, AnnotationsSurviveARewrite) {
    ASSERT_TRUE(test::HavePgnExtract());
    // The movetext's own result token gives way to the Result tag in a rewrite, so results are
    // left out of the comparison (one game of these files disagrees with itself).
    const std::vector<std::string> no_results = {"--noresults"};
    int compared = 0;
    for (const char* data :
         {"gui/annotated-matches.pgn", "lines/immortal-games.pgn", "lines/calgames_07.pgn",
          "lines/annotated.pgn", "lines/chessbase-empty-line.pgn", "lines/black2move.pgn"}) {
        SCOPED_TRACE(data);
        TempDir dir;
        SilentUi ui;
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.CopyData(data, "games.pgn")).ok());
        const std::int32_t count = file.ScanGameFile(false, ui);
        GameFileEditor reader(file, ui);
        int refused = 0;
        for (std::int32_t game = 1; game <= count; ++game) {
            SCOPED_TRACE(game);
            Result<GameRewrite> loaded = LoadGameRewrite(file, game);
            if (!loaded.ok()) {
                // Only a game of which the parser misses moves is refused (a number without its
                // dot, two blanks in a row, a "?" standing alone).
                EXPECT_EQ(loaded.error().message(), GameNotWhollyRead);
                ++refused;
                continue;
            }
            const std::string text = RewriteGameText(*loaded);
            for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
                 start = end + 2) {
                EXPECT_LT(end - start, 256u);
            }
            Result<std::string> original = reader.GameRecords(game);
            ASSERT_TRUE(original.ok());
            const std::vector<std::string> expected =
                test::PgnExtractGames(dir.Write("original.pgn", *original), no_results);
            // A game pgn-extract cannot read either is no oracle.
            if (expected.size() != 1 || expected[0].find("\n\n\n") != std::string::npos) continue;
            EXPECT_EQ(test::PgnExtractGames(dir.Write("rewritten.pgn", text), no_results),
                      expected);
            ++compared;
        }
        EXPECT_LE(refused, 3);
    }
    EXPECT_GE(compared, 40);
}

TEST(RewriteGameText, KeepsWhatLooseTokensHold) {
    // Two blanks after a comment, and a "?" standing alone: read on, and the "?" kept as a NAG.
    Result<GameRewrite> loaded =
        LoadGameRewrite("[Event \"x\"]\n\n1. e4 c5 { Sicilian}  ( 1... d5 ) 2. Nf3 ? *\n");
    ASSERT_TRUE(loaded.ok());
    const std::string text = RewriteGameText(*loaded);
    EXPECT_NE(text.find("2.Nf3 $2"), std::string::npos) << text;
    EXPECT_NE(text.find("{ Sicilian} ( 1... d5 ) 2.Nf3"), std::string::npos) << text;
}

TEST(RewriteGameText, EditedHeaderValues) {
    Result<GameRewrite> loaded =
        LoadGameRewrite("[Event \"Club\"]\n[White \"" + std::string(120, 'W') +
                        "\"]\n[ResultNote \"x\"]\n[Result \"*\"]\n[FEN "
                        "\"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 31\"]\n"
                        "\n31... Rd1# 0-1\n");
    ASSERT_TRUE(loaded.ok());
    GameRewrite game = *loaded;
    EXPECT_EQ(game.loaded.start_move_number, 31);
    game.edited.Get(HeaderField::Event) = "Club final";
    game.edited.Get(HeaderField::Result) = "0-1";
    game.edited.Get(HeaderField::BlackElo) = "2100";
    game.edited.SetStartMoveNumber(40);
    EXPECT_EQ(RewriteGameText(game),
              "[Event \"Club final\"]\r\n"
              // An unedited value is copied whole, though a field holds only 95 characters.
              "[White \"" +
                  std::string(120, 'W') +
                  "\"]\r\n"
                  "[ResultNote \"x\"]\r\n"
                  "[Result \"0-1\"]\r\n"
                  "[FEN \"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 40\"]\r\n"
                  "[BlackElo \"2100\"]\r\n"
                  "\r\n"
                  "40... Rd1#  0-1\r\n"
                  "\r\n");
}

}  // namespace
}  // namespace qorvale::pgn
