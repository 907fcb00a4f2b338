#include "pgn/game_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

TEST(GameScanner, TellsTagLinesAndMovetextStarts) {
    struct Row {
        const char* record;
        bool tag;
    } rows[] = {
        {"[Event \"Moscow\"]", true},
        {"[Event \"Moscow\"] ", true},
        {"[Xyz \"a\" ]", true},
        {"[X \"\"]", true},
        {"[Event value]", true},
        {"[EventDate 1990]", true},
        {"[Xyz value]", false},
        {"[Xyz \"open]", false},
        {"[Xyz open\"]", false},
        {"[Eco A00]", false},
        {"[event \"x\"]", false},
        {"[1 \"x\"]", false},
        {"[Event \"x\"]]x", false},
        {"[Event \"x\"]  ", false},
        {"[Foo\"x\"]", false},
        {"[Foo  \"x\"]", false},
        {"[F]", false},
        {"[", false},
        {"", false},
        {"1. e4", false},
    };
    for (const Row& row : rows) EXPECT_EQ(IsTagLine(row.record), row.tag) << row.record;
    for (const char* text : {"1.e4", "{c}"}) EXPECT_TRUE(IsMovetextStart(text)) << text;
    for (const char* text : {"2.e4", "1 e4", "", "11.e4"}) EXPECT_FALSE(IsMovetextStart(text));
}

// Scans `marked`, where "@" marks each place a game must begin, with LF and with CR LF line
// ends.
void ExpectGamesAt(const std::string& marked) {
    for (const char* line_end : {"\n", "\r\n"}) {
        SCOPED_TRACE(line_end[0] == '\r' ? "CR LF" : "LF");
        std::string content;
        std::vector<std::uint32_t> expected;
        for (char c : marked) {
            if (c == '@')
                expected.push_back(static_cast<std::uint32_t>(content.size()));
            else if (c == '\n')
                content += line_end;
            else
                content += c;
        }
        test::TempDir dir;
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.Write("games.pgn", content)).ok());
        test::RecordingUi ui;
        EXPECT_EQ(file.ScanGameFile(true, ui), static_cast<std::int32_t>(expected.size()));
        EXPECT_EQ(std::vector<std::uint32_t>(file.Index().Offsets().begin(),
                                             file.Index().Offsets().end()),
                  expected);
    }
}

TEST(GameScanner, SplitsCraftedFilesIntoGames) {
    const std::string eight =
        "[Event \"1\"]\n[Site \"2\"]\n[Date \"3\"]\n[Round \"4\"]\n"
        "[White \"5\"]\n[Black \"6\"]\n[Result \"7\"]\n[ECO \"8\"]\n";
    const std::string seven = eight.substr(0, eight.find("[ECO"));
    struct Row {
        const char* name;
        std::string marked;
    } rows[] = {
        {"short headers",
         "@[White \"a\"]\n[Black \"b\"]\n\n1. e4 *\n\n@[White \"c\"]\n\n1. c4 *\n"},
        {"junk before the first game", "junk\n\n\n@[Event \"a\"]\n\n1. e4 *\n"},
        {"movetext without blank line",
         "@[Event \"a\"]\n1. e4\n2. Nf3 *\n@[Event \"b\"]\n{c} 1. d4\n"},
        {"escape lines anywhere",
         "%x\n@[Event \"a\"]\n%y\n[Site \"b\"]\n\n%z\n1. e4 *\n@[Event \"c\"]\n"},
        // Text after the tags is movetext, without the blank line too: no game is lost.
        {"full header into other text", "@" + eight + "12. e4 *\n\n@[Event \"kept\"]\n\n1. e4 *\n"},
        {"escape line after a full header", "@" + eight + "%e\n\n1. e4 *\n\n@[Event \"b\"]\n"},
        {"seven tags into other text", "@" + seven + "12. e4 *\n\n@[Event \"b\"]\n"},
        {"full header into movetext start",
         "@" + eight + "[Extra \"9\"]\n1. e4 *\n@[Event \"b\"]\n"},
        // Tags after a blank line that the header does not have yet go on with it; a tag it has
        // opens the next game, as in a file of games without movetext.
        {"blank lines inside a header",
         "@[Event \"a\"]\n\n\n[Site \"b\"]\n1. e4 *\n\n@[Event \"c\"]\n"},
        {"headers without movetext",
         "@[Round \"1\"]\n[White \"a\"]\n\n@[Round \"2\"]\n[White \"b\"]\n\n@[Round \"3\"]\n"},
        {"tags and moves on one line",
         "@[Result \"1-0\"] e4 *\n@[Result \"0-1\"] [White \"w\"] d4 *\n"},
        {"bracketed text between tags",
         "@[Event \"a\"]\n[Note: no tag]\n[Site \"b\"]\n\n1. e4 *\n"},
        {"byte-order mark", "@\xEF\xBB\xBF[Event \"a\"]\n\n1. e4 *\n\n@[Event \"b\"]\n"},
        {"tagless movetext is no game", "1. e4 e5 *\n\n1. d4 d5 *\n"},
        // A game begins where its line begins, leading spaces included.
        {"indented tag lines", "@  [Event \"a\"]\n\n 1. e4 *\n\n@   [Event \"b\"]\n"},
        {"unfinished last line", "@[Event \"a\"]\n\n1. e4 *\n\n@[Event \"b\"]"},
        {"empty file", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectGamesAt(row.marked);
    }
}

}  // namespace
}  // namespace qorvale::pgn
