#include "pgn/rewrap.h"

#include <gtest/gtest.h>

#include "pgn/faulty_file_system.h"
#include "pgn/messages.h"
#include "pgn/pgn_file.h"
#include "platform/folder.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::TempDir;
using Step = test::FaultyFileSystem::Step;

TEST(Rewrap, CopyRules) {
    const std::string a229(229, 'a');
    const std::string a230(230, 'a');
    struct Row {
        const char* name;
        std::string input;
        std::string output;
    } rows[] = {
        {"runs of spaces collapse", "a  b   c\n", "a b c\n"},
        {"leading spaces go", "   a b\r\n  c\n", "a b\r\nc\n"},
        {"tabs stay", "\ta\t\tb\n", "\ta\t\tb\n"},
        {"text after a brace gets a space", "{x}1. e4 {y}e5\n", "{x} 1. e4 {y} e5\n"},
        {"a space after a brace is kept once", "{x}  e4\n", "{x} e4\n"},
        {"so does a line end after a brace", "{x}\n", "{x} \n"},
        {"space below column 230 stays", a229 + " b\n", a229 + " b\n"},
        {"space from column 230 breaks the line", a229 + " b c d\n", a229 + " b\r\nc d\n"},
        {"space at column 230", a230 + " b\n", a230 + "\r\nb\n"},
        {"no space: nothing to break", std::string(300, 'z') + "\n", std::string(300, 'z') + "\n"},
        {"empty file", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("Kept.pgn", row.input);
        Result<std::string> rewrapped = RewrapLongRecords(path, platform::SystemFileSystem());
        ASSERT_TRUE(rewrapped.ok()) << rewrapped.error().message();
        EXPECT_EQ(*rewrapped, path);
        EXPECT_EQ(ReadWholeFile(path), row.output);
        EXPECT_FALSE(platform::FileExists(dir.File(RewriteTempName)));
    }
}

TEST(Rewrap, StateCarriesAcrossBufferRefills) {
    // Six-byte lines put a space at byte 500000, the start of the second buffer: it is inside a
    // line and must stay. Nothing else in the file is subject to a rule.
    std::string content;
    while (content.size() < RewrapBufferSize * 2 + 100) content += "ab cd\n";
    ASSERT_EQ(content[RewrapBufferSize], ' ');
    TempDir dir;
    std::string path = dir.Write("Big.pgn", content);
    ASSERT_TRUE(RewrapLongRecords(path, platform::SystemFileSystem()).ok());
    EXPECT_TRUE(ReadWholeFile(path) == content);
}

TEST(Rewrap, TakesTheCapitalisedNameAndDropsTheOldOne) {
    TempDir dir;
    std::string path = dir.Write("my-games.pgn", "a  b\n");
    dir.Write("other.pgn", "untouched\n");
    Result<std::string> rewrapped = RewrapLongRecords(path, platform::SystemFileSystem());
    ASSERT_TRUE(rewrapped.ok());
    EXPECT_EQ(*rewrapped, dir.File("My-Games.pgn"));
    EXPECT_EQ(ReadWholeFile(*rewrapped), "a b\n");
    EXPECT_FALSE(platform::FileExists(path));
    std::vector<std::string> expected = {"My-Games.pgn", "other.pgn"};
    EXPECT_EQ(platform::ListFolder(dir.path(), "*"), expected);
}

TEST(Rewrap, FailedStepLeavesTheUsersFileIntact) {
    const std::string original = "[Event \"x\"]\n\n1.  e4   e5 *\n";
    for (Step step : {Step::Create, Step::Write, Step::Flush, Step::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        TempDir dir;
        std::string path = dir.Write("games.pgn", original);
        test::FaultyFileSystem file_system(step);
        Result<std::string> rewrapped = RewrapLongRecords(path, file_system);
        ASSERT_FALSE(rewrapped.ok());
        EXPECT_EQ(rewrapped.error().message(), ErrorCreatingTempFile);
        EXPECT_EQ(ReadWholeFile(path), original);
        EXPECT_EQ(platform::ListFolder(dir.path(), "*"), std::vector<std::string>{"games.pgn"});
    }
}

std::string LongLineGames() {
    std::string moves;
    for (int move = 1; move <= 60; ++move) {
        moves += std::to_string(move) + ". Nf3 Nf6 " + std::to_string(move + 1) + ". Ng1 Ng8 ";
    }
    return "[Event \"a\"]\n[Site \"b\"]\n\n1. e4 " + moves + "*\n\n[Event \"c\"]\n\n1. d4 *\n";
}

TEST(Rewrap, ScanRewrapsLongRecordsAndFollowsTheNewName) {
    TempDir dir;
    std::string path = dir.Write("games.pgn", LongLineGames());
    PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    qorvale::test::RecordingUi ui;
    EXPECT_EQ(file.ScanGameFile(false, ui), 2);
    EXPECT_TRUE(file.LastScan().rewrapped);
    EXPECT_TRUE(ui.reports.empty());
    EXPECT_EQ(file.CurrentPath(), dir.File("Games.pgn"));
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_TRUE(platform::FileExists(dir.File("Games.PGO")));
    std::string content = ReadWholeFile(file.CurrentPath());
    std::size_t longest = 0;
    for (std::size_t start = 0, lf; (lf = content.find('\n', start)) != std::string::npos;
         start = lf + 1) {
        longest = std::max(longest, lf + 1 - start);
    }
    EXPECT_LT(longest, 256u);
    EXPECT_EQ(file.Index().Offset(2), content.find("[Event \"c\"]"));
}

TEST(Rewrap, ScanGoesOnOverCutRecordsWhenTheRewrapFails) {
    TempDir dir;
    std::string original = LongLineGames();
    std::string path = dir.Write("games.pgn", original);
    test::FaultyFileSystem file_system(Step::Rename);
    PgnFile file(file_system);
    ASSERT_TRUE(file.Open(path).ok());
    qorvale::test::RecordingUi ui;
    EXPECT_EQ(file.ScanGameFile(false, ui), 2);
    EXPECT_FALSE(file.LastScan().rewrapped);
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(ErrorCreatingTempFile)});
    EXPECT_EQ(file.CurrentPath(), path);
    EXPECT_EQ(ReadWholeFile(path), original);
    // The offsets count the bytes the cut dropped, so they still point at the games.
    EXPECT_EQ(file.Index().Offset(2), original.find("[Event \"c\"]"));
}

TEST(Rewrap, TrimCommandAsksFirst) {
    struct Row {
        const char* name;
        bool answer;
        bool rewrapped;
    } rows[] = {{"no", false, false}, {"yes", true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string original = "[Event  \"a\"]\n\n1.  e4 *\n\n[Event \"b\"]\n\n1. d4 *\n";
        std::string path = dir.Write("games.pgn", original);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        qorvale::test::RecordingUi ui;
        EXPECT_EQ(file.ScanGameFile(false, ui), 2);
        ui.answers = {row.answer};
        EXPECT_EQ(file.TrimLongRecords(ui), row.rewrapped);
        EXPECT_EQ(ui.questions, std::vector<std::string>{std::string(TrimLongRecordsQuestion)});
        EXPECT_TRUE(ui.reports.empty());
        EXPECT_EQ(file.GameCount(), 2);
        if (row.rewrapped) {
            EXPECT_EQ(file.CurrentPath(), dir.File("Games.pgn"));
            const std::string trimmed = "[Event \"a\"]\n\n1. e4 *\n\n[Event \"b\"]\n\n1. d4 *\n";
            EXPECT_EQ(ReadWholeFile(file.CurrentPath()), trimmed);
            EXPECT_FALSE(file.LastScan().from_cache);
            EXPECT_EQ(file.Index().Offset(2), trimmed.find("[Event \"b\"]"));
        } else {
            EXPECT_EQ(ReadWholeFile(path), original);
        }
    }
    PgnFile closed;
    qorvale::test::RecordingUi ui;
    EXPECT_FALSE(closed.TrimLongRecords(ui));
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(MustOpenAFile)});
}

}  // namespace
}  // namespace qorvale::pgn
