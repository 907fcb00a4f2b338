#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qorvale::test
