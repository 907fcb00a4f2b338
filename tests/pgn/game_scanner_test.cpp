#include "pgn/game_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

TEST(GameScanner, TellsTagLines) {
    struct Row {
        const char* record;
        bool tag;
    } rows[] = {
        {"[Event \"Moscow\"]", true},
        {"[Event \"Moscow\"] ", true},
        {"[Event \"Moscow\" ]", true},
        {"[WhiteElo \"2500\"]", true},
        {"[Xyz \"value\"]", true},
        {"[X \"\"]", true},
        {"[Xyz value]", false},      // unknown name, value not quoted
        {"[Xyz \"open]", false},     // quote opened but not closed
        {"[Xyz open\"]", false},     // quote closed but not opened
        {"[Event value]", true},     // known name rescues it
        {"[EventDate 1990]", true},  // known names are prefixes
        {"[Eco \"A00\"]", true},     // quoted: any name
        {"[Eco A00]", false},        // "ECO" is case-sensitive
        {"[event \"x\"]", false},    // second byte must be upper case
        {"[1 \"x\"]", false},
        {" [Event \"x\"]", false},   // the reader strips leading spaces, not this test
        {"[Event \"x\"]]x", false},  // does not end in "]"
        {"[Event \"x\"]  ", false},  // only one trailing space allowed
        {"[Foo\"x\"]", false},       // no space before the quote
        {"[Foo  \"x\"]", false},     // first space not followed by a quote
        {"[Foo \"x\" ] ", true},
        {"[F]", false},
        {"[", false},
        {"", false},
        {"1. e4 e5", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.record);
        EXPECT_EQ(IsTagLine(row.record), row.tag);
    }
    for (const char* text : {"1.e4", "1. e4", "{comment}", "{"}) EXPECT_TRUE(IsMovetextStart(text));
    for (const char* text : {"2.e4", "1 e4", "e4", "", "(1.e4)", "11.e4"}) {
        EXPECT_FALSE(IsMovetextStart(text)) << text;
    }
}

// Scans `marked`, in which "@" marks where each game must begin, with LF and with CR LF line
// ends, and checks the offsets the scan finds.
void ExpectGamesAt(const std::string& marked) {
    for (bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CR LF" : "LF");
        std::string content;
        std::vector<std::uint32_t> expected;
        for (char c : marked) {
            if (c == '@') {
                expected.push_back(static_cast<std::uint32_t>(content.size()));
            } else {
                if (c == '\n' && crlf) content += '\r';
                content += c;
            }
        }
        test::TempDir dir;
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.Write("games.pgn", content)).ok());
        test::RecordingUi ui;
        EXPECT_EQ(file.ScanGameFile(true, ui), static_cast<std::int32_t>(expected.size()));
        std::vector<std::uint32_t> found(file.Index().Offsets().begin(),
                                         file.Index().Offsets().end());
        EXPECT_EQ(found, expected);
        EXPECT_TRUE(ui.reports.empty());
    }
}

TEST(GameScanner, SplitsCraftedFilesIntoGames) {
    struct Row {
        const char* name;
        const char* marked;
    } rows[] = {
        {"first line is a tag line",
         "@[Event \"a\"]\n[Site \"b\"]\n\n1. e4 e5 *\n\n@[Event \"c\"]\n\n1. d4 *\n"},
        {"short headers with blank lines",
         "@[White \"a\"]\n[Black \"b\"]\n\n1. e4 *\n\n@[White \"c\"]\n\n1. c4 *\n"},
        {"leading junk and blank lines", "junk\n\n\n@[Event \"a\"]\n\n1. e4 *\n"},
        {"movetext straight after tags",
         "@[Event \"a\"]\n1. e4 e5\n2. Nf3 *\n@[Event \"b\"]\n{intro} 1. d4 *\n"},
        {"comment opens movetext", "@[Event \"a\"]\n{A comment}\n1. e4 *\n@[Event \"b\"]\n"},
        {"escape lines anywhere",
         "%header\n@[Event \"a\"]\n%between\n[Site \"b\"]\n\n%in movetext\n1. e4 *\n\n"
         "@[Event \"c\"]\n"},
        {"header of eight tags runs into other text: scan ends",
         "@[Event \"1\"]\n[Site \"2\"]\n[Date \"3\"]\n[Round \"4\"]\n[White \"5\"]\n"
         "[Black \"6\"]\n[Result \"7\"]\n[ECO \"8\"]\n12. e4 *\n\n[Event \"lost\"]\n\n1. e4 *\n"},
        {"escape line after a full header does not end the scan",
         "@[Event \"1\"]\n[Site \"2\"]\n[Date \"3\"]\n[Round \"4\"]\n[White \"5\"]\n"
         "[Black \"6\"]\n[Result \"7\"]\n[ECO \"8\"]\n%escape\n\n1. e4 *\n\n@[Event \"b\"]\n"},
        {"seven tags may be followed by anything",
         "@[Event \"1\"]\n[Site \"2\"]\n[Date \"3\"]\n[Round \"4\"]\n[White \"5\"]\n"
         "[Black \"6\"]\n[Result \"7\"]\n12. e4 *\n\n@[Event \"next\"]\n\n1. e4 *\n"},
        {"eight tags then movetext start",
         "@[Event \"1\"]\n[Site \"2\"]\n[Date \"3\"]\n[Round \"4\"]\n[White \"5\"]\n"
         "[Black \"6\"]\n[Result \"7\"]\n[ECO \"8\"]\n[Extra \"9\"]\n1. e4 *\n@[Event \"b\"]\n"},
        // The blank line ends the header, so the next tag line opens a game of its own.
        {"blank line inside a header splits it",
         "@[Event \"a\"]\n\n@[Site \"b\"]\n1. e4 *\n\n@[Event \"c\"]\n"},
        {"tagless movetext is no game", "1. e4 e5 *\n\n1. d4 d5 *\n"},
        // A game begins where its line begins, leading spaces included.
        {"indented tag lines", "@  [Event \"a\"]\n\n 1. e4 *\n\n@   [Event \"b\"]\n"},
        {"last line without line end is not read", "@[Event \"a\"]\n\n1. e4 *\n\n[Event \"b\"]"},
        {"empty file", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectGamesAt(row.marked);
    }
}

// In these collections every game begins with its Event tag, so the line starts of
// "[Event " are where the scan must put each game.
std::vector<std::uint32_t> EventLineOffsets(const std::string& content) {
    std::vector<std::uint32_t> offsets;
    for (std::size_t at = 0; (at = content.find("[Event ", at)) != std::string::npos; ++at) {
        if (at == 0 || content[at - 1] == '\n') offsets.push_back(static_cast<std::uint32_t>(at));
    }
    return offsets;
}

TEST(GameScanner, IndexesRealGamesAlikeForCrLfAndLf) {
    std::vector<std::int32_t> counts;
    for (const char* name : {"scan/players_crlf.pgn", "scan/players_lf.pgn"}) {
        SCOPED_TRACE(name);
        std::string content = test::ReadWholeFile(test::TestDataPath(name));
        test::TempDir dir;
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.Write("players.pgn", content)).ok());
        test::RecordingUi ui;
        counts.push_back(file.ScanGameFile(false, ui));
        std::vector<std::uint32_t> found(file.Index().Offsets().begin(),
                                         file.Index().Offsets().end());
        EXPECT_EQ(found, EventLineOffsets(content));
    }
    EXPECT_EQ(counts[0], counts[1]);
    EXPECT_GT(counts[0], 1);
}

TEST(GameScanner, StateMachineFollowsTheHeaderRules) {
    struct Row {
        const char* name;
        std::vector<std::string> records;
        std::vector<GameScanner::Step> steps;
        GameScanner::State end_state;
    };
    using S = GameScanner::Step;
    using St = GameScanner::State;
    std::vector<std::string> eight_tags;
    for (int tag = 0; tag < 8; ++tag)
        eight_tags.push_back("[Tag" + std::string(1, 'A' + tag) + " \"v\"]");
    std::vector<S> eight_steps(8, S::Continue);
    eight_steps[0] = S::NewGame;

    std::vector<Row> rows = {
        {"tag opens a game", {"[Event \"x\"]"}, {S::NewGame}, St::InHeader},
        {"blank before a game", {""}, {S::Continue}, St::InHeader},
        {"blank after tags starts movetext",
         {"[Event \"x\"]", ""},
         {S::NewGame, S::Continue},
         St::InMovetext},
        {"blank without tags keeps waiting",
         {"", "", "junk"},
         {S::Continue, S::Continue, S::Continue},
         St::InHeader},
        {"movetext then tag opens the next game",
         {"[Event \"x\"]", "", "1. e4", "[Event \"y\"]"},
         {S::NewGame, S::Continue, S::Continue, S::NewGame},
         St::InHeader},
        {"movetext then blank waits for a header",
         {"[Event \"x\"]", "1.e4", "", "e5"},
         {S::NewGame, S::Continue, S::Continue, S::Continue},
         St::InHeader},
    };
    Row full{"eight tags fill the header", eight_tags, eight_steps, St::HeaderFull};
    rows.push_back(full);
    Row stop = full;
    stop.name = "full header then other text stops";
    stop.records.push_back("5. e4");
    stop.steps.push_back(S::Stop);
    rows.push_back(stop);
    Row seven = full;
    seven.name = "seven tags then other text is ignored";
    seven.records.pop_back();
    seven.steps.pop_back();
    seven.records.push_back("5. e4");
    seven.steps.push_back(S::Continue);
    seven.end_state = St::InHeader;
    rows.push_back(seven);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameScanner scanner;
        std::vector<S> steps;
        for (const std::string& record : row.records) steps.push_back(scanner.Feed(record));
        EXPECT_EQ(steps, row.steps);
        EXPECT_EQ(scanner.CurrentState(), row.end_state);
    }
}

}  // namespace
}  // namespace qorvale::pgn
