// Split, adjust and the two fixes: what they keep and what they change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "search/text_game_reader.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "utilities/adjust_file.h"
#include "utilities/fix_tags.h"
#include "utilities/split_file.h"

namespace qorvale::utilities {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::TestDataPath;

std::vector<std::uint32_t> Offsets(const std::string& path, std::int32_t* count = nullptr) {
    pgn::PgnFile file;
    SilentUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    std::int32_t games = file.ScanGameFile(true, ui);
    if (count != nullptr) *count = games;
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

OperationControl Answering(test::RecordingUi& ui) {
    OperationControl control;
    control.ask = [&ui](std::string_view question) { return ui.ask(question); };
    return control;
}

TEST(SplitFile, NamesAndShares) {
    EXPECT_EQ(SplitFileName("/d/games.pgn", 0), "/d/games1.pgn");
    EXPECT_EQ(SplitFileName("/d/games.PGN", 1), "/d/games2.pgn");
    EXPECT_EQ(SplitFileName("/d/games2007.pgn", 0), "/d/games2007a.pgn");
    EXPECT_EQ(SplitFileName("/d/games2007.pgn", 25), "/d/games2007z.pgn");
    EXPECT_EQ(SplitFileName("/d/games2007.pgn", 26), "/d/games2007aa.pgn");

    TempDir dir;
    const std::string original = ReadWholeFile(TestDataPath("search/players.pgn"));
    const std::string path = dir.Write("players.pgn", original);
    test::RecordingUi ui;
    ui.answers = {false, true};
    SplitResult result = SplitFile({path, std::nullopt}, Answering(ui), nullptr);
    EXPECT_TRUE(result.error.ok());
    EXPECT_EQ(ui.questions,
              (std::vector<std::string>{"Do you want to split into maximum sized files?",
                                        "300 games. File size OK. Split anyway?"}));
    ASSERT_EQ(result.files.size(), 2u);
    EXPECT_EQ(ReadWholeFile(result.files[0]) + ReadWholeFile(result.files[1]), original);
    std::int32_t first = 0;
    std::int32_t second = 0;
    Offsets(result.files[0], &first);
    Offsets(result.files[1], &second);
    EXPECT_EQ(first, 150);
    EXPECT_EQ(second, 150);
    EXPECT_EQ(ReadWholeFile(path), original);

    // A second split would replace the parts: refused before anything is written.
    dir.Write("players2.pgn", "mine");
    platform::DeleteFile(result.files[0]);
    ui.answers = {false, true};
    result = SplitFile({path, std::nullopt}, Answering(ui), nullptr);
    EXPECT_EQ(result.error.message(), "Error creating split file.");
    EXPECT_FALSE(platform::FileExists(result.files.empty() ? dir.File("players1.pgn") : ""));
    EXPECT_EQ(ReadWholeFile(dir.File("players2.pgn")), "mine");
}

// Every position of every game, replayed from the text.
std::vector<std::vector<chess::Snapshot>> Positions(const std::string& path) {
    const std::vector<std::uint32_t> offsets = Offsets(path);
    search::TextGameReader reader(path, offsets);
    std::vector<std::vector<chess::Snapshot>> games;
    for (std::size_t game = 0; game < offsets.size(); ++game) {
        EXPECT_TRUE(
            reader.Read(static_cast<std::int32_t>(game), search::TextGameReader::Depth::Positions));
        std::vector<chess::Snapshot>& positions = games.emplace_back();
        for (int h = 0; h <= reader.HalfMoves(); ++h) positions.push_back(reader.Position(h));
    }
    return games;
}

TEST(AdjustFile, KeepsEveryMoveOfEveryGame) {
    const char* files[] = {"search/players.pgn", "lines/immortal-games.pgn", "lines/castling.pgn",
                           "lines/FIDE_longest_possible_game.pgn", "lines/short_annotated.pgn"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        TempDir dir;
        // The file reader leaves out a last line without its line end; the adjusted file has it.
        std::string text = ReadWholeFile(TestDataPath(name));
        if (!text.ends_with('\n')) text += '\n';
        const std::string path = dir.Write("Games.pgn", text);
        const auto before = Positions(path);
        test::RecordingUi ui;
        ui.answers = {true};
        AdjustResult result = AdjustFile({path, Offsets(path), false, 0}, Answering(ui), ui);
        EXPECT_TRUE(result.replaced) << result.error.message();
        EXPECT_EQ(Positions(path), before);
        const std::string adjusted = ReadWholeFile(path);
        EXPECT_EQ(adjusted.find("0-0"), std::string::npos);
        EXPECT_EQ(adjusted.find('{'), std::string::npos);
    }
}

TEST(AdjustFile, TrimsToHalfMovesAndStopsOnNo) {
    TempDir dir;
    const std::string original =
        "[Event \"E\"]\n[Result    \"1-0\"]\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 "
        "6. Re1 b5 7. Bb3 d6 8. c3 O-O 9. h3 Nb8 10. d4 Nbd7 1-0\n";
    const std::string path = dir.Write("Games.pgn", original);
    test::RecordingUi ui;
    AdjustResult result = AdjustFile({path, Offsets(path), false, 15}, Answering(ui), ui);
    EXPECT_TRUE(result.replaced);
    EXPECT_EQ(ReadWholeFile(path),
              "[Event \"E\"]\r\n[Result \"1-0\"]\r\n\r\n"
              "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 d6 8.c3  1-0\r\n");
    EXPECT_EQ(AdjustEndMessage(result), "Adjustment complete.");

    // Comments to strip, and the user says No: nothing changes.
    const std::string annotated = ReadWholeFile(TestDataPath("lines/short_annotated.pgn"));
    dir.Write("Games.pgn", annotated);
    result = AdjustFile({path, Offsets(path), false, 0}, Answering(ui), ui);
    EXPECT_TRUE(result.declined);
    EXPECT_EQ(ui.questions.back(),
              "Warning: All comments and analysis will be stripped. Do you want to continue?");
    EXPECT_EQ(ReadWholeFile(path), annotated);
}

TEST(FixTags, NameKeysAndDialogChecks) {
    struct Row {
        const char* name;
        const char* key;
    };
    const Row keys[] = {{"Doe, J.", "doe,j"},
                        {"doe,j", "doe,j"},
                        {"Doe Jr., J.", "doejr,j"},
                        {"  O'Kelly (BEL)", "  okelly"},
                        {"Müller, K2", "m\xc3\xbcller,k2"}};
    for (const Row& row : keys) EXPECT_EQ(NameKey(row.name), row.key) << row.name;

    EXPECT_EQ(ValidateFixDates("", "1990.01.01").message(), "Must enter the Fix Date.");
    EXPECT_EQ(ValidateFixDates("1990.01.01", "").message(), "Must enter the To Date.");
    EXPECT_EQ(ValidateFixDates("1990.1.01", "1990.01.01").message(),
              "Date must of the form yyyy.mm.dd.");
    EXPECT_EQ(ValidateFixDates("3990.01.01", "1990.01.01").message(),
              "Date must of the form yyyy.mm.dd.");
    EXPECT_TRUE(ValidateFixDates("1990.??.??", "1990.01.01").ok() == false);
    EXPECT_TRUE(ValidateFixDates("1990.01.01", "2001.12.31").ok());

    test::RecordingUi ui;
    std::optional<FixNames> names = PrepareFixNames("doe", "smith,  john", ui);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->fix_name, "Doe");
    EXPECT_EQ(names->to_name, "Smith,  John");
    EXPECT_FALSE(PrepareFixNames("doe", "smith", ui));
    EXPECT_EQ(ui.questions.back().substr(0, 40), "The To Name should normally contain a ',");
    EXPECT_FALSE(PrepareFixNames("", "smith", ui));
    EXPECT_EQ(ui.reports.back(), "Must enter the Fix Name.");
}

TEST(FixTags, ChangeExactlyTheIntendedTagValues) {
    auto game = [](const char* white, const char* black, const char* date) {
        return std::string("[Event \"E\"]\n[Date \"") + date + "\"]\n[White \"" + white +
               "\"]\n[Black \"" + black + "\"]\n\n1. e4 e5 *\n\n";
    };
    const std::string original =
        "junk before the games\n" + game("Doe, John", "Roe, R.", "1990.01.01") +
        game("Roe, R.", "Doe Jr., J.", "1990.01.02") + game("Dodd, A.", "Doe, Jane", "1990.01.01") +
        game("Smith", "Dodd, A.", "1990.01.01");
    TempDir dir;
    const std::string path = dir.Write("Games.pgn", original);
    test::RecordingUi ui;
    ui.answers = {true, true};
    FixOutcome outcome = FixPlayerNames({path, Offsets(path), false}, {"Doe", "Dow, J."}, ui);
    EXPECT_EQ(outcome.changed, 3);
    std::string expected = original;
    for (const char* name : {"Doe, John", "Doe Jr., J.", "Doe, Jane"}) {
        expected.replace(expected.find(name), std::string(name).size(), "Dow, J.");
    }
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(ui.questions.front(), "Change Doe to Dow, J.. Confirm.");
    EXPECT_EQ(ui.reports.back(), "Fix name complete.");

    outcome = FixGameDates({path, Offsets(path), false}, "1990.01.01", "1991.06.30", ui);
    EXPECT_EQ(outcome.changed, 3);
    std::size_t at = 0;
    while ((at = expected.find("1990.01.01", at)) != std::string::npos) {
        expected.replace(at, 10, "1991.06.30");
    }
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(ui.reports.back(), "Fix date complete.");
}

}  // namespace
}  // namespace qorvale::utilities
