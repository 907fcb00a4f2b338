#include "pgn/header_tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess/board.h"
#include "chess/fen.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

struct TagRow {
    const char* name;
    const char* text;
    Tag tag;
    const char* expected_line;
};

TEST(HeaderTags, KeepsFirstOrLastOccurrenceByTag) {
    const TagRow rows[] = {
        {"first White wins", "[White \"Anand\"]\n[White \"Carlsen\"]\n\n", Tag::White,
         "[White \"Anand\"]"},
        {"first Black wins", "[Black \"A\"]\n[Black \"B\"]\n", Tag::Black, "[Black \"A\"]"},
        {"last Event wins", "[Event \"One\"]\n[Event \"Two\"]\n", Tag::Event, "[Event \"Two\"]"},
        {"WhiteElo is not White", "[WhiteElo \"2700\"]\n[White \"X\"]\n", Tag::White,
         "[White \"X\"]"},
        {"longer Result name is Result", "[Result \"1-0\"]\n[ResultX \"0-1\"]\n", Tag::Result,
         "[ResultX \"0-1\"]"},
        {"percent lines skipped", "% [Event \"No\"]\n[Event \"Yes\"]\n", Tag::Event,
         "[Event \"Yes\"]"},
        {"prefix is case-sensitive", "[event \"low\"]\n[Site \"S\"]\n", Tag::Event, ""},
        {"stops at the empty line", "[Site \"A\"]\n\n[Site \"B\"]\n", Tag::Site, "[Site \"A\"]"},
        {"stops at movetext", "[Site \"A\"]\n1. e4 e5\n[Site \"B\"]\n", Tag::Site, "[Site \"A\"]"},
        {"Opening not read outside the game list", "[Opening \"Sicilian\"]\n", Tag::Opening, ""},
    };
    for (const TagRow& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryRecordSource source(row.text);
        HeaderTags header;
        header.ReadHeader(source, FirstRecordMode::KeepForMovetext);
        EXPECT_EQ(header.TagLines().Line(row.tag), row.expected_line);
    }
}

TEST(HeaderTags, HandsTheFirstMovetextRecordOnByMode) {
    struct Row {
        const char* name;
        const char* text;
        FirstRecordMode mode;
        const char* handed;
        const char* first;   // kept in the first slot, or null
        const char* second;  // kept in the second slot, or null
        const char* event;
    };
    const Row rows[] = {
        {"brace after tags", "[Event \"E\"]\n{Intro} 1. e4\n", FirstRecordMode::KeepForMovetext, "",
         "{Intro} 1. e4", nullptr, "[Event \"E\"]"},
        {"move one after tags", "[Event \"E\"]\n1.d4 d5\n", FirstRecordMode::KeepForMovetext, "",
         "1.d4 d5", nullptr, "[Event \"E\"]"},
        {"blank line keeps nothing", "[Event \"E\"]\n\n1. e4\n", FirstRecordMode::KeepForMovetext,
         "", nullptr, nullptr, "[Event \"E\"]"},
        {"second slot", "[Event \"E\"]\n1. c4\n", FirstRecordMode::KeepInSecondSlot, "", nullptr,
         "1. c4", "[Event \"E\"]"},
        {"handed record read first", "[Site \"S\"]\n1. c4\n", FirstRecordMode::HandedOver,
         "[Event \"Handed\"]", nullptr, nullptr, "[Event \"Handed\"]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryRecordSource source(row.text);
        HeaderTags header;
        header.ReadHeader(source, row.mode, row.handed);
        EXPECT_EQ(header.TagLines().Line(Tag::Event), row.event);
        EXPECT_EQ(header.HasFirstMovetextRecord(), row.first != nullptr);
        if (row.first != nullptr) {
            EXPECT_EQ(header.FirstMovetextRecord(), row.first);
        }
        EXPECT_EQ(header.HasSecondMovetextRecord(), row.second != nullptr);
        if (row.second != nullptr) {
            EXPECT_EQ(header.SecondMovetextRecord(), row.second);
        }
    }
}

TEST(HeaderTags, OpeningOutlivesTheNextHeaderWhileOtherTagsAreCleared) {
    HeaderTags header;
    header.SetWithOpeningNames(true);
    MemoryRecordSource first("[Opening \"French\"]\n[Variation \"Winawer\"]\n[Event \"E\"]\n\n");
    header.ReadHeader(first, FirstRecordMode::KeepForMovetext);
    MemoryRecordSource second("[Site \"S\"]\n\n");
    header.ReadHeader(second, FirstRecordMode::KeepForMovetext);
    EXPECT_EQ(header.TagLines().Line(Tag::Opening), "[Opening \"French\"]");
    EXPECT_EQ(header.TagLines().Line(Tag::Variation), "");
    EXPECT_EQ(header.TagLines().Line(Tag::Event), "");
}

TEST(TagValue, TakesTheTextBetweenTheFirstAndTheLastQuote) {
    struct Row {
        const char* line;
        const char* value;
    };
    const Row rows[] = {
        {"[Event \"Wch\"]", "Wch"},
        {"[Event \"  padded  \"]", "padded  "},
        {"[Event \"no closing quote]", "no closing quote]"},
        {"[Event \"Tournament \\\"]", "Tournament \\"},
        {"[Event \"a \"quoted\" b\"]", "a \"quoted\" b"},
        {"[Site \"Club \"Victory\"\"]", "Club \"Victory\""},
        {"[Event \"   ", ""},
        {"[Event]", ""},
        {"Event \"no bracket\"", ""},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(TagValue(row.line), row.value);
        std::string in_place = row.line;
        ExtractTagValue(in_place);
        EXPECT_EQ(in_place, row.value);
        std::string stored = row.line;
        ExtractTagValue(stored, /*database_mode=*/true);
        EXPECT_EQ(stored, row.line);
    }
}

std::string Padded(const std::string& text) {
    return text.size() >= 30 ? text : text + std::string(30 - text.size(), ' ');
}

TEST(HeaderTags, BuildsEveryDisplayLine) {
    struct Row {
        const char* name;
        std::string date, round, white, white_elo, black_elo, eco, result;
    };
    const std::string long_name(40, 'W');
    const Row rows[] = {
        {"all present", "1997.05.11", "6", "Kasparov", "2795", "2800", "B17", "0-1"},
        {"no round", "1997.05.11", "", "Kasparov", "", "", "C00", "1-0"},
        {"only WhiteElo", "2001.??.??", "3.1", "Anand", "2790", "", "", "*"},
        {"long white pushes the column", "", "1", long_name, "", "", "A00", "1/2-1/2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = "[Event \"Match\"]\n[Site \"New York\"]\n[Date \"" + row.date +
                           "\"]\n[White \"" + row.white + "\"]\n[Black \"Deep Blue\"]\n[Result \"" +
                           row.result + "\"]\n";
        if (!row.round.empty()) text += "[Round \"" + row.round + "\"]\n";
        if (!row.white_elo.empty()) text += "[WhiteElo \"" + row.white_elo + "\"]\n";
        if (!row.black_elo.empty()) text += "[BlackElo \"" + row.black_elo + "\"]\n";
        if (!row.eco.empty()) text += "[ECO \"" + row.eco + "\"]\n";
        MemoryRecordSource source(text);
        HeaderTags header;
        header.ReadHeader(source, FirstRecordMode::KeepForMovetext);
        header.BuildHeaderDisplay();
        const HeaderDisplayLines& lines = header.DisplayLines();
        std::string round_shown = row.round.empty() ? "?" : row.round;
        EXPECT_EQ(lines.event_site, "Event:  " + Padded("Match") + "Site:  New York");
        EXPECT_EQ(lines.event, "Event:  Match");
        EXPECT_EQ(lines.site, "Site:  New York");
        EXPECT_EQ(lines.date_round, "Date:   " + Padded(row.date) + "Round: " + round_shown);
        EXPECT_EQ(lines.date, "Date:  " + row.date);
        EXPECT_EQ(lines.round, "Round:  " + round_shown);
        EXPECT_EQ(lines.white_black, "White:  " + Padded(row.white) + "Black: Deep Blue");
        EXPECT_EQ(lines.white,
                  "White:  " + row.white + (row.white_elo.empty() ? "" : " " + row.white_elo));
        EXPECT_EQ(lines.black,
                  "Black:  Deep Blue" + (row.black_elo.empty() ? "" : " " + row.black_elo));
        EXPECT_EQ(lines.result_eco,
                  "Result: " + Padded(row.result) + (row.eco.empty() ? "" : "ECO:   " + row.eco));
        EXPECT_EQ(lines.result, "Result: " + row.result);
        EXPECT_EQ(lines.eco, "ECO:  " + (row.eco.empty() ? std::string("?") : row.eco));
        EXPECT_EQ(header.CurrentHeader().Get(HeaderField::Date), row.date);
    }
}

TEST(HeaderTags, CutsValuesAndTwoColumnLinesTo95Characters) {
    std::string long_value(120, 'x');
    const std::string text = "[Event \"" + long_value + "\"]\n[Site \"" + long_value + "\"]\n";
    MemoryRecordSource source(text);
    HeaderTags header;
    header.ReadHeader(source, FirstRecordMode::KeepForMovetext);
    header.BuildHeaderDisplay();
    EXPECT_EQ(header.CurrentHeader().Get(HeaderField::Event), std::string(MaxHeaderValue, 'x'));
    EXPECT_EQ(header.DisplayLines().event_site.size(), 95u);
    EXPECT_EQ(header.DisplayLines().event, "Event:  " + std::string(MaxHeaderValue, 'x'));
}

HeaderEditFields SampleFields() {
    HeaderEditFields fields;
    const char* values[HeaderFieldCount] = {"Linares",     "Linares ESP", "1993.02.25", "9",
                                            "Kasparov, G", "Anand, V",    "1-0",        "B90",
                                            "2805",        "2725"};
    for (std::size_t index = 0; index < HeaderFieldCount; ++index)
        fields.fields[index] = values[index];
    return fields;
}

// The ratings come before ECO; a set-up game's header goes on with its FEN line, so no blank
// line ends it. The file writer writes the same text.
TEST(WriteHeader, WritesTheTenTagsInOrderAndReadsThemBack) {
    const std::string text = HeaderText(SampleFields(), false);
    EXPECT_EQ(text,
              "[Event \"Linares\"]\r\n[Site \"Linares ESP\"]\r\n[Date \"1993.02.25\"]\r\n"
              "[Round \"9\"]\r\n[White \"Kasparov, G\"]\r\n[Black \"Anand, V\"]\r\n"
              "[Result \"1-0\"]\r\n[WhiteElo \"2805\"]\r\n[BlackElo \"2725\"]\r\n"
              "[ECO \"B90\"]\r\n\r\n");
    EXPECT_EQ(HeaderText(SampleFields(), true), text.substr(0, text.size() - 2));
    test::TempDir dir;
    std::string path = dir.File("header.pgn");
    {
        platform::File file = platform::File::Create(path);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_TRUE(WriteHeader(file, SampleFields(), false).ok());
    }
    EXPECT_EQ(test::ReadWholeFile(path), text);

    for (bool setup : {false, true}) {
        SCOPED_TRACE(setup ? "set-up game" : "standard game");
        HeaderEditFields fields = SampleFields();
        fields.Get(HeaderField::Round) = "";  // written unchanged, without "?"
        std::string written;
        WriteHeader(written, fields, setup);
        MemoryRecordSource source(written);
        HeaderTags header;
        header.ReadHeader(source, FirstRecordMode::KeepForMovetext);
        header.BuildHeaderDisplay();
        for (std::size_t index = 0; index < HeaderFieldCount; ++index) {
            EXPECT_EQ(header.CurrentHeader().values[index], fields.fields[index]) << index;
        }
        MemoryRecordSource again(written);
        EXPECT_EQ(LoadHeaderForEdit(again).fields, fields.fields);
    }
}

// The side and move number of the FEN line are the chess rules' (tested there); here, the blank
// line that ends the header comes only before moves.
TEST(FenTagText, AddsTheBlankLineOnlyBeforeMoves) {
    const chess::Board start = chess::ReadPlacement("4k3/8/8/8/8/8/8/4K3");
    chess::MainLineMoves moves;
    EXPECT_EQ(FenTagText({start, moves, 0, "0-1", 0}),
              "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 1\"]\r\n");
    moves.WhiteMoves[0] = chess::MoveText("Ke2");
    EXPECT_EQ(FenTagText({start, moves, 1, "*", 0}),
              "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\r\n\r\n");
}

TEST(MakeHeaderTemplate, KeepsMovesOrTheTextUpToMoveOne) {
    const std::string current = "[Event \"Mine\"]\r\n\r\n1. e4 e5 2. Nf3 *\r\n";
    std::string plain = MakeHeaderTemplate();
    EXPECT_TRUE(plain.starts_with("[Event \"?\"]\r\n[Site \"?\"]\r\n[Date \"????.??.??\"]\r\n"));
    EXPECT_TRUE(plain.ends_with("[ECO \"?\"]\r\n\r\n1."));
    EXPECT_EQ(MakeHeaderTemplate(TemplateKeep::Moves, current), plain + " e4 e5 2. Nf3 *\r\n");
    EXPECT_EQ(MakeHeaderTemplate(TemplateKeep::UpToMoveOne, current), "[Event \"Mine\"]\r\n\r\n1.");
    // "1." inside a line is not where the moves begin.
    EXPECT_EQ(MakeHeaderTemplate(TemplateKeep::Moves, "[Event \"11.5\"]"), plain);
}

}  // namespace
}  // namespace qorvale::pgn
