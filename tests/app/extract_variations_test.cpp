#include "app/extract_variations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::ReadWholeFile;
using test::ReplayedGame;

// A set-up game with Black to move, its variations nested two deep and castling written with
// zeros.
constexpr std::string_view SetUpGame =
    "[Event \"Study\"]\n[Result \"0-1\"]\n[SetUp \"1\"]\n"
    "[FEN \"r3k2r/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/R3K2R b KQkq - 4 12\"]\n\n"
    "12...0-0-0 13.O-O-O (13.a3 Kb8 (13...h6 14.h3 {quiet} (14.b4 g5)) 14.b4)"
    " 13...Kb8 14.h3 $2 (14.Kb1 Ka8) 0-1\n";

std::vector<std::uint32_t> Offsets(const std::string& path) {
    pgn::PgnFile file;
    test::RecordingUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    file.ScanGameFile(false, ui);
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

std::vector<ReplayedGame> Sorted(std::vector<ReplayedGame> games) {
    std::sort(games.begin(), games.end(), [](const ReplayedGame& a, const ReplayedGame& b) {
        return std::tie(a.plies, a.placement) < std::tie(b.plies, b.placement);
    });
    return games;
}

// Every extracted game replays, move for move, to the positions pgn-extract's own split of the
// variations reaches (its split also writes each main line, which are taken out).
TEST(ExtractVariations, ReachTheSamePositionsAsPgnExtractsSplit) {
    if (!test::HavePgnExtract()) GTEST_SKIP() << "pgn-extract is not installed";
    test::TempDir folder;
    const std::string source =
        folder.Write("source.pgn", ReadWholeFile(test::TestDataPath("gui/annotated-matches.pgn")) +
                                       "\n" + std::string(SetUpGame));
    const std::vector<std::uint32_t> offsets = Offsets(source);
    ExtractVariationsRequest request{source, offsets, 0, folder.File("out.pgn"), false};
    test::RecordingUi ui;
    Result<ExtractVariationsDone> done =
        ExtractVariations(request, ui, platform::SystemFileSystem());
    ASSERT_TRUE(done.ok()) << done.error().message();

    const std::string split = folder.File("split.pgn");
    ASSERT_EQ(std::system(("/usr/games/pgn-extract --splitvariants -s -o " + split + " " + source +
                           " 2>/dev/null")
                              .c_str()),
              0);
    std::vector<ReplayedGame> expected = test::ReplayWithPgnExtract(split);
    for (const ReplayedGame& main : test::ReplayWithPgnExtract(source)) {
        auto found = std::find(expected.begin(), expected.end(), main);
        ASSERT_NE(found, expected.end());
        expected.erase(found);
    }
    const std::vector<ReplayedGame> extracted = test::ReplayWithPgnExtract(request.target);
    EXPECT_EQ(done->games_written, static_cast<int>(extracted.size()));
    EXPECT_GT(extracted.size(), 50u);
    EXPECT_EQ(Sorted(extracted), Sorted(expected));
    // Read back by the program's own loader the same way: no move of a line is lost.
    EXPECT_EQ(Sorted(test::ReplayWithLoader(request.target)), Sorted(expected));
}

TEST(ExtractVariations, MarksTheHeaderOfEveryDerivedGame) {
    test::TempDir folder;
    const std::string source = folder.Write("source.pgn", SetUpGame);
    const std::vector<std::uint32_t> offsets = Offsets(source);
    test::RecordingUi ui;
    ExtractVariationsRequest request{source, offsets, 1, folder.File("out.pgn"), false};
    ASSERT_TRUE(ExtractVariations(request, ui, platform::SystemFileSystem()).ok());
    const std::string out = ReadWholeFile(request.target);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_NE(out.find("[Event \"Study (variation " + std::to_string(n) + ")\"]"),
                  std::string::npos)
            << n;
    }
    EXPECT_EQ(out.find("(variation 5)"), std::string::npos);
    EXPECT_EQ(out.find("0-1"), std::string::npos) << "a variation has no result of its own";
    EXPECT_EQ(ui.reports.back(), "4 variations extracted.");
}

TEST(ExtractVariations, TargetIsCheckedAsEveryCopyOfGames) {
    test::TempDir folder;
    const std::string source = folder.Write("source.pgn", SetUpGame);
    const std::string plain = folder.Write("plain.pgn", "[Event \"x\"]\n\n1.e4 e5 *\n");
    const std::string old_text = "[Event \"old\"]\n\n1.d4 *";
    const std::string target = folder.Write("target.pgn", old_text);
    const std::vector<std::uint32_t> offsets = Offsets(source);
    const std::vector<std::uint32_t> plain_offsets = Offsets(plain);

    test::RecordingUi ui;
    ui.answers = {false};
    Result<ExtractVariationsDone> refused =
        ExtractVariations({source, offsets, 1, target, true}, ui, platform::SystemFileSystem());
    ASSERT_TRUE(refused.ok());
    EXPECT_TRUE(refused->cancelled);
    EXPECT_EQ(ReadWholeFile(target), old_text);

    EXPECT_FALSE(
        ExtractVariations({source, offsets, 1, source, false}, ui, platform::SystemFileSystem())
            .ok());
    EXPECT_FALSE(ExtractVariations({source, offsets, 1, folder.File("none.pgn"), true}, ui,
                                   platform::SystemFileSystem())
                     .ok());

    Result<ExtractVariationsDone> nothing =
        ExtractVariations({plain, plain_offsets, 1, folder.File("empty.pgn"), false}, ui,
                          platform::SystemFileSystem());
    ASSERT_TRUE(nothing.ok());
    EXPECT_EQ(nothing->games_written, 0);
    EXPECT_FALSE(platform::FileExists(folder.File("empty.pgn")));
    EXPECT_EQ(ui.reports.back(), "There are no variations to extract.");

    ui.answers = {true};
    ASSERT_TRUE(
        ExtractVariations({source, offsets, 1, target, true}, ui, platform::SystemFileSystem())
            .ok());
    const std::string appended = ReadWholeFile(target);
    EXPECT_TRUE(appended.starts_with(old_text));
    EXPECT_EQ(Offsets(target).size(), 5u);
}

}  // namespace
}  // namespace qorvale::app
