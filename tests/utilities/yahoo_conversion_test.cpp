#include "utilities/yahoo_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "utilities/messages.h"

namespace qorvale::utilities {
namespace {

// Two records as saved from Yahoo chess: castling in lower case, a one-digit day, a month name
// that is not one of the twelve, header lines the conversion does not read, and a record ended by
// the next header line instead of an empty one.
constexpr std::string_view TwoRecords =
    ";Title: Yahoo! Chess Game\r\n"
    ";White: kasparov_fan\r\n"
    ";Black: karpov_fan\r\n"
    ";Date: Wed Jan 5 10:20:30 GMT 2005\r\n"
    ";Result: game abandoned\r\n"
    "\r\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. o-o Nf6\r\n"
    "5. d3 d6 6. Bg5 h6 7. Bxf6 Qxf6 8. Nc3 Bg4 9. h3 Bh5\r\n"
    ";White: second\r\n"
    ";Black: player\r\n"
    ";Date: Sun Foo 17 09:00:00 PST 2003\r\n"
    "1. d4 d5 2. c4 e6 3. Nc3 Nf6 4. Bg5 Be7 5. e3 o-o 6. Nf3 Nbd7\r\n"
    "7. Qc2 c5 8. o-o-o Qa5\r\n"
    "\r\n";

TEST(YahooConversion, RecordsAndTheirHeaders) {
    const std::vector<YahooRecord> records = ReadYahooRecords(TwoRecords);
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0].white, "kasparov_fan");
    EXPECT_EQ(records[0].black, "karpov_fan");
    EXPECT_EQ(records[0].date, "2005.01.05");
    EXPECT_EQ(records[1].date, "2003.??.17");
    EXPECT_NE(records[0].moves.find("4. O-O Nf6"), std::string::npos);
    EXPECT_NE(records[1].moves.find("8. O-O-O Qa5"), std::string::npos);
    const pgn::HeaderEditFields header = YahooHeader(records[1]);
    EXPECT_EQ(header.Get(pgn::HeaderField::Event), "Yahoo!");
    EXPECT_EQ(header.Get(pgn::HeaderField::Result), "*");
    EXPECT_EQ(header.Get(pgn::HeaderField::Site), "");
}

// Converted games are appended after the target's own text, which stays byte for byte, and
// replay to the end of their moves in a reader that shares no code with the program.
TEST(YahooConversion, AppendsGamesThatReplay) {
    test::TempDir dir;
    const std::string old_text = test::ReadWholeFile(test::TestDataPath("stats/round-robin.pgn"));
    const std::string target = dir.Write("target.pgn", old_text);
    test::RecordingUi ui;
    int shown = 0;
    const YahooResult result =
        ConvertYahooGames(TwoRecords, {target, ""}, ui, [&](pgn::HeaderEditFields& header) {
            header.Get(pgn::HeaderField::Result) = ++shown == 1 ? "1-0" : "1/2-1/2";
            return true;
        });
    ASSERT_TRUE(result.error.ok());
    EXPECT_EQ(result.converted, 2);
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(ui.questions.empty()) << "ten games or fewer never ask";
    EXPECT_EQ(ui.reports.back(), "Yahoo games converted to file target.pgn.");
    const std::string now = test::ReadWholeFile(target);
    ASSERT_EQ(now.substr(0, old_text.size()), old_text);
    const std::string added = now.substr(old_text.size());
    EXPECT_NE(added.find("[Result \"1-0\"]"), std::string::npos);
    EXPECT_NE(added.find("[Date \"2003.??.17\"]"), std::string::npos);
    if (!test::HavePgnExtract()) GTEST_SKIP() << "pgn-extract is missing";
    const std::vector<test::ReplayedGame> games = test::ReplayWithPgnExtract(target);
    ASSERT_EQ(games.size(), 47U);
    EXPECT_EQ(games[45].plies, 18);
    EXPECT_EQ(games[46].plies, 16);
    EXPECT_EQ(test::ReplayWithLoader(target), games);
}

// More than ten games ask once; No keeps every default header, Cancel in a header ends the
// conversion after the games before it; the open file is never a target.
TEST(YahooConversion, QuestionsCancelAndRefusal) {
    std::string eleven;
    for (int k = 0; k < 11; ++k) {
        eleven += ";White: w" + std::to_string(k) + "\r\n;Black: b\r\n1. e4 e5 2. Nf3\r\n\r\n";
    }
    struct Case {
        bool answer;
        int cancel_at;  // header dialog that is cancelled, 0 for none
        int shown;
        int converted;
    };
    for (const Case& c : {Case{false, 0, 0, 11}, Case{true, 0, 11, 11}, Case{true, 4, 4, 3}}) {
        SCOPED_TRACE(testing::Message() << c.answer << " " << c.cancel_at);
        test::TempDir dir;
        test::RecordingUi ui;
        ui.answers = {c.answer};
        int shown = 0;
        const YahooResult result =
            ConvertYahooGames(eleven, {dir.File("new.pgn"), ""}, ui,
                              [&](pgn::HeaderEditFields&) { return ++shown != c.cancel_at; });
        EXPECT_EQ(ui.questions,
                  std::vector<std::string>{
                      "This file has 11 games. Do you want to set all the results now?"});
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(result.converted, c.converted);
        EXPECT_EQ(result.cancelled, c.cancel_at != 0);
    }

    test::TempDir dir;
    const std::string open = dir.Write("open.pgn", "[Event \"x\"]\r\n\r\n1. e4 *\r\n");
    test::RecordingUi ui;
    const YahooResult refused = ConvertYahooGames(TwoRecords, {open, open}, ui, nullptr);
    EXPECT_EQ(refused.converted, 0);
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(messages::YahooTargetIsOpenFile)});
    EXPECT_EQ(test::ReadWholeFile(open), "[Event \"x\"]\r\n\r\n1. e4 *\r\n");
}

}  // namespace
}  // namespace qorvale::utilities
