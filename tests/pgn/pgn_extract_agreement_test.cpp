#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/pgn_extract.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// A Site tag line of `length` bytes.
std::string SiteTag(std::size_t length) {
    return "[Site \"https://example.org/" + std::string(length - 29, 'x') + "\"]";
}

// Files as real collections write them, each read by pgn-extract as every PGN reader does: the
// program must play the same half-moves to the same final position, game by game.
TEST(PgnExtractAgreement, CraftedFilesReadAsPgnExtractReadsThem) {
    const std::string nul_tail("[Event \"n\"]\n\n1. e4 e5 2. Nf3 Nc6 0-1\0\0\0", 40);
    struct Row {
        const char* name;
        std::string text;
    } rows[] = {
        {"tag line of 255 bytes", "[Event \"one\"]\n" + SiteTag(255) +
                                      "\n[Date \"2024.01.01\"]\n[White \"A\"]\n\n"
                                      "1. e4 e5 1-0\n\n[Event \"two\"]\n\n1. d4 *\n"},
        {"tag lines of 254 and 255 bytes, CR LF",
         "[Event \"one\"]\r\n" + SiteTag(254) +
             "\r\n[White \"A\"]\r\n\r\n1. e4 e5 1-0\r\n\r\n"
             "[Event \"two\"]\r\n" +
             SiteTag(255) + "\r\n\r\n1. d4 *\r\n"},
        {"castling written as squares",
         "[Event \"u\"]\n\n1. e2e4 e7e5 2. g1f3 b8c6 3. f1c4 g8f6 4. e1g1 f8c5 5. f1e1 *\n"},
        {"comment of 300 bytes without a space",
         "[Event \"x\"]\n\n1. e4 {" + std::string(300, 'x') + "} e5 2. Nf3 Nc6 *\n"},
        {"byte-order mark before a one-tag game",
         "\xef\xbb\xbf[Event \"A\"]\n\n1. e4 e5 *\n\n[Event \"B\"]\n\n1. d4 d5 *\n"},
        {"percent sign opening a line inside a comment",
         "[Event \"p\"]\n\n1. e4 e5 2. Nf3 {a comment over lines\n%02 [still it] } Nc6 3. Bb5 "
         "a6 *\n"},
        {"nul bytes after the last move, no line end", nul_tail},
        {"two blanks after moves", "[Event \"b\"]\n\n1. e4  e5  2. Nf3  Nc6 3. Bb5 *\n"},
        {"blank line inside the tags",
         "[Event \"e\"]\n\n[White \"w\"]\n[Black \"b\"]\n\n1. e4 e5 2. Nf3 *\n"},
        {"question mark as its own token",
         "[Event \"q\"]\n\n1. e4 e5 2. Bc4 ? Nc6 3. Qh5 Nf6 4. Qxf7# 1-0\n"},
        {"variation opening with a comment",
         "[Event \"v\"]\n\n1. e4 { c1 } e5 { c2 }\n( { c3 } 1... e6 (1... d6) 2. d4 (2. Nf3){ c4 } "
         ") "
         "{ c5 } 2. Nf3\n*\n"},
        {"move number with two dots", "[Event \"d\"]\n\n1. e4 e5 2. Nf3 {c} 2.. Nc6 3. Bb5 *\n"},
        {"no move numbers", "[Event \"n\"]\n\ne4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 *\n"},
        {"coordinates without move numbers", "[Event \"c\"]\n\ne2e4 e7e5 g1f3 b8c6 f1b5 *\n"},
        {"promotion in coordinates, upper-case letter",
         "[FEN \"7k/3P4/7K/8/8/8/8/8 w - - 6 55\"]\n[SetUp \"1\"]\n\nd7d8R 1-0\n\n"
         "[FEN \"7k/3P4/7K/8/8/8/8/8 w - - 6 55\"]\n[SetUp \"1\"]\n\nd7d8n *\n"},
        {"tags and moves on one line",
         "[Result \"1-0\"] e4 *\n[Result \"0-1\"] e4 e5 0-1\n[Result \"*\"] d4 1-0\n"},
        {"last line without a line end", "[Event \"Tournament \\\"]\n\n1. d4 Nf6 2. c4 e6 1-0"},
        {"castling in a Chess960 position",
         "[Variant \"Chess960\"]\n[FEN \"nbbrknrq/pppppppp/8/8/8/8/PPPPPPPP/NBBRKNRQ w KQkq - 0 "
         "1\"]\n"
         "\n1. d4 d5 2. Bf4 Ne6 3. O-O-O O-O 4. e3 *\n"},
        {"German piece letters",
         "[Event \"g\"]\n\n1. e4 e5 2. Sf3 Sc6 3. Lb5 a6 4. La4 Sf6 5. O-O Le7 6. Te1 b5 7. Lb3 "
         "d6 8. c3 O-O 9. h3 Sb8 10. d4 Sbd7 11. Dd3 *\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.Write("games.pgn", row.text);
        const std::vector<ReplayedGame> expected = ReplayWithPgnExtract(path);
        ASSERT_FALSE(expected.empty());
        ASSERT_GT(expected.back().plies, 0);
        EXPECT_EQ(ReplayWithLoader(path), expected);
    }
}

// Where the program and pgn-extract part on the tricky files of other projects' suites, and why
// the program's reading is the one to keep (docs/ROBUSTNESS.md says the same at more length).
// Where the game counts differ the games no longer pair up, and only the counts are compared.
struct CountDifference {
    const char* file;
    std::size_t games;      // the program's
    std::size_t extracted;  // pgn-extract's
    const char* reason;
};
constexpr CountDifference CountDifferences[] = {
    // pgn-extract drops a last game that has no result; the program reads its moves.
    {"edge/pychess/a.pgn", 1, 0, "last game without a result"},
    {"edge/pychess/promotion.pgn", 1, 0, "last game without a result"},
    {"lines/black2move.pgn", 1, 0, "last game without a result"},
    {"lines/castling.pgn", 1, 0, "last game without a result"},
    // pgn-extract joins a header without movetext to the next game's; the program keeps each
    // header a game (the next one repeats its tags), without moves.
    {"edge/chess-library/empty_body.pgn", 2, 1, "header without movetext before a game"},
    {"edge/scalachess/uzchesscup.pgn", 45, 0, "games of tags alone, no result"},
    // A game begins at a tag line: text without any tag is no game.
    {"edge/notnil-chess/0015.pgn", 0, 1, "moves without tags"},
    {"edge/pgn-extract/nested-comment.pgn", 0, 6, "moves without tags"},
    {"edge/pgn-extract/test-fuzzydepth.pgn", 0, 4, "moves without tags"},
    {"edge/pgn-extract/test-nagcomments.pgn", 0, 1, "moves without tags"},
    {"edge/pgn-parser/sampleGameThrow.pgn", 0, 3, "moves without tags"},
    {"edge/pychess/badpgn.pgn", 0, 2, "no game, junk"},
    {"edge/pgn-read/crafty06_02.pgn", 0, 334, "no game, an e-mail newsletter in HTML"},
    // pgn-extract stops at text it cannot read and makes games of the rest; the program reads
    // on past it.
    {"edge/chess-library/unescaped_quote_header.pgn", 1, 7, "quotes inside tag values"},
    {"edge/chess.js/0.pgn", 1, 44, "one line with <br /> for line ends"},
    {"edge/pgn-read/Little_01.pgn", 3, 29, "a pasted web page"},
    {"edge/pgn-read/Little_03.pgn", 1, 28, "a pasted web page"},
    {"edge/pgn-read/twic9nn_error.pgn", 7, 12, "results '* *', '1-0 ff', '(+)-(-)'"},
    {"edge/python-chess/knightvuillaume-jannlee-zh-lichess.pgn", 1, 43, "crazyhouse drops"},
    {"lines/immortal-games.pgn", 36, 64, "words and commas inside variations"},
};
struct GameDifference {
    const char* file;
    std::size_t game;
    const char* reason;
};
constexpr GameDifference GameDifferences[] = {
    // The program keeps 200 moves of a game.
    {"lines/FIDE_longest_possible_game.pgn", 1, "longer than 200 moves"},
    // Another variant: pgn-extract stops at its first move that is illegal in chess, the
    // program plays the moves as written.
    {"edge/python-chess/antichess-programfox.pgn", 1, "antichess"},
};

// Every tricky file of other projects' suites and the 1705 real games of the reference corpus,
// read as the window reads them, game by game against pgn-extract.
TEST(PgnExtractAgreement, TrickyFilesAndRealGames) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(TestDataPath("edge")).parent_path();
    std::vector<std::string> files = {"chess/games.pgn"};
    for (const auto& entry : fs::recursive_directory_iterator(data / "edge")) {
        if (entry.path().extension() == ".pgn") {
            files.push_back(fs::relative(entry.path(), data).generic_string());
        }
    }
    for (const auto& entry : fs::directory_iterator(data / "lines")) {
        if (entry.path().extension() == ".pgn" &&
            entry.path().filename() != "short_annotated.pgn") {
            files.push_back(fs::relative(entry.path(), data).generic_string());
        }
    }
    ASSERT_EQ(files.size(), 1u + 65u + 8u);
    std::size_t compared = 0;
    std::size_t known = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string path = dir.CopyData(name, "games.pgn");
        const std::vector<ReplayedGame> theirs = ReplayWithPgnExtract(path);
        const std::vector<ReplayedGame> ours = ReplayWithLoader(path);
        const auto count = std::find_if(std::begin(CountDifferences), std::end(CountDifferences),
                                        [&](const CountDifference& d) { return name == d.file; });
        if (count != std::end(CountDifferences)) {
            EXPECT_EQ(ours.size(), count->games);
            EXPECT_EQ(theirs.size(), count->extracted);
            ++known;
            continue;
        }
        ASSERT_EQ(ours.size(), theirs.size());
        for (std::size_t game = 0; game < ours.size(); ++game) {
            const bool listed = std::any_of(
                std::begin(GameDifferences), std::end(GameDifferences),
                [&](const GameDifference& d) { return name == d.file && game + 1 == d.game; });
            if (listed) {
                EXPECT_NE(ours[game], theirs[game]) << "game " << game + 1 << " agrees now";
                ++known;
            } else {
                EXPECT_EQ(ours[game], theirs[game]) << "game " << game + 1;
                ++compared;
            }
        }
    }
    EXPECT_EQ(known, std::size(CountDifferences) + std::size(GameDifferences));
    EXPECT_GE(compared, 2000u);
}

}  // namespace
}  // namespace qorvale::test
