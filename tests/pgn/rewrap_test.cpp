#include "pgn/rewrap.h"

#include <gtest/gtest.h>

#include <deque>

#include "pgn/messages.h"
#include "pgn/pgn_file.h"
#include "platform/folder.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::TempDir;
using Names = std::vector<std::string>;

// The real file system with one chosen step failing.
class FaultyFileSystem final : public platform::FileSystem {
  public:
    enum class Step { None, Create, Write, Flush, Rename };
    explicit FaultyFileSystem(Step failing) : failing_(failing) {}
    platform::File Create(const std::string& path) override {
        return failing_ == Step::Create ? platform::File() : FileSystem::Create(path);
    }
    bool Write(platform::File& file, const void* data, std::int64_t size) override {
        // Half the data reaches the disk before the failure, as on a full disk.
        return FileSystem::Write(file, data, failing_ == Step::Write ? size / 2 : size) &&
               failing_ != Step::Write;
    }
    bool Flush(platform::File& file) override {
        return failing_ != Step::Flush && FileSystem::Flush(file);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return failing_ != Step::Rename && FileSystem::Rename(from, to);
    }

  private:
    Step failing_;
};

TEST(Rewrap, CopyRules) {
    const std::string a229(229, 'a'), a230(230, 'a');
    std::string six_byte_lines;  // puts a space at byte 500000, the start of the second buffer
    while (six_byte_lines.size() < RewrapBufferSize + 100) six_byte_lines += "ab cd\n";
    struct Row {
        const char* name;
        std::string input;
        std::string output;
    } rows[] = {
        {"runs of spaces collapse", "a  b   c\n", "a b c\n"},
        {"leading spaces go, tabs stay", "   a\t\tb\r\n  c\n", "a\t\tb\r\nc\n"},
        {"text after a brace gets a space", "{x}1. e4 {y}e5 {z}  f\n", "{x} 1. e4 {y} e5 {z} f\n"},
        {"so does a line end", "{x}\n", "{x} \n"},
        {"space below column 230 stays", a229 + " b\n", a229 + " b\n"},
        {"space from column 230 breaks", a229 + " b c d\n", a229 + " b\r\nc d\n"},
        {"space at column 230", a230 + " b\n", a230 + "\r\nb\n"},
        {"no space, no break", std::string(300, 'z') + "\n", std::string(300, 'z') + "\n"},
        // Nothing is broken or changed where that would change what the text means.
        {"tag line kept whole, its value verbatim", "[Event  \"" + a229 + "  b } c\"]\n",
         "[Event \"" + a229 + "  b } c\"]\n"},
        {"semicolon comment kept whole", "; " + a229 + " b c\n", "; " + a229 + " b c\n"},
        {"escape line kept whole", "%  " + a229 + " b\n", "%  " + a229 + " b\n"},
        {"no break before a bracket or a percent sign", a230 + " [b] %d e\n",
         a230 + " [b] %d\r\ne\n"},
        {"a space at the end stays", a230 + " ", a230 + " "},
        {"state carries across buffers", six_byte_lines, six_byte_lines},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("Kept.pgn", row.input);
        Result<std::string> rewrapped = RewrapLongRecords(path, platform::SystemFileSystem());
        ASSERT_TRUE(rewrapped.ok()) << rewrapped.error().message();
        EXPECT_EQ(*rewrapped, path);
        EXPECT_TRUE(ReadWholeFile(path) == row.output);
        EXPECT_EQ(platform::ListFolder(dir.path(), "*"), Names{"Kept.pgn"});
    }
}

TEST(Rewrap, FailedStepLeavesTheUsersFileIntact) {
    using Step = FaultyFileSystem::Step;
    const std::string original = "[Event \"x\"]\n\n1.  e4   e5 *\n";
    for (Step step : {Step::None, Step::Create, Step::Write, Step::Flush, Step::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        TempDir dir;
        std::string path = dir.Write("my-games.pgn", original);
        dir.Write("other.pgn", "");
        FaultyFileSystem file_system(step);
        Result<std::string> rewrapped = RewrapLongRecords(path, file_system);
        if (step == Step::None) {
            // The file takes its capitalised name and the old one goes.
            ASSERT_TRUE(rewrapped.ok());
            EXPECT_EQ(*rewrapped, dir.File("My-Games.pgn"));
            EXPECT_EQ(platform::ListFolder(dir.path(), "*"), (Names{"My-Games.pgn", "other.pgn"}));
            continue;
        }
        EXPECT_EQ(rewrapped.error().message(), ErrorCreatingTempFile);
        EXPECT_EQ(ReadWholeFile(path), original);
        EXPECT_EQ(platform::ListFolder(dir.path(), "*"), (Names{"my-games.pgn", "other.pgn"}));
    }
}

TEST(Rewrap, NeverReplacesAnotherFileOfTheNewName) {
    const std::string original = "[Event \"x\"]\n\n1.  e4   e5 *\n";
    const std::string other = "[Event \"other\"]\n\n1. d4 d5 *\n";
    TempDir dir;
    std::string path = dir.Write("my.games.pgn", original);
    dir.Write("My.pgn", other);
    Result<std::string> rewrapped = RewrapLongRecords(path, platform::SystemFileSystem());
    ASSERT_TRUE(rewrapped.ok());
    EXPECT_EQ(*rewrapped, path);
    EXPECT_EQ(ReadWholeFile(path), "[Event \"x\"]\n\n1. e4 e5 *\n");
    EXPECT_EQ(ReadWholeFile(dir.File("My.pgn")), other);
    EXPECT_EQ(platform::ListFolder(dir.path(), "*"), (Names{"My.pgn", "my.games.pgn"}));
}

std::string LongLineGames() {
    std::string moves;
    for (int move = 1; move <= 60; ++move) moves += std::to_string(move) + ". Nf3 Nf6 ";
    return "[Event \"a\"]\n[Site \"b\"]\n\n1. e4 " + moves + "*\n\n[Event \"c\"]\n\n1. d4 *\n";
}

// Long lines are read whole, so the scan rewrites the file only when the user says Yes, and then
// under a name that loses nothing of the user's.
TEST(Rewrap, ScanAsksBeforeItRewritesTheFile) {
    const std::string long_tag = "[Event \"" + std::string(300, 'e') + "\"]\n\n1. e4 *\n";
    struct Row {
        const char* name;
        const char* file_name;
        std::string content;
        std::deque<bool> answers;
        FaultyFileSystem::Step failing;
        bool asked;
        const char* new_name;  // nullptr: the file is left as it was
    } rows[] = {
        {"no", "games.pgn", LongLineGames(), {false}, FaultyFileSystem::Step::None, true, nullptr},
        {"yes",
         "games.pgn",
         LongLineGames(),
         {true},
         FaultyFileSystem::Step::None,
         true,
         "Games.pgn"},
        {"yes, a name with two dots",
         "my.games.pgn",
         LongLineGames(),
         {true},
         FaultyFileSystem::Step::None,
         true,
         "my.games.pgn"},
        {"yes, another extension",
         "games.txt",
         LongLineGames(),
         {true},
         FaultyFileSystem::Step::None,
         true,
         "games.txt"},
        {"yes, the rename fails",
         "games.pgn",
         LongLineGames(),
         {true},
         FaultyFileSystem::Step::Rename,
         true,
         nullptr},
        {"only a tag line is long: nothing to ask",
         "games.pgn",
         long_tag,
         {},
         FaultyFileSystem::Step::None,
         false,
         nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write(row.file_name, row.content);
        FaultyFileSystem file_system(row.failing);
        PgnFile file(file_system);
        ASSERT_TRUE(file.Open(path).ok());
        qorvale::test::RecordingUi ui;
        ui.answers = row.answers;
        const std::int32_t games = row.content == long_tag ? 1 : 2;
        EXPECT_EQ(file.ScanGameFile(false, ui), games);
        EXPECT_EQ(ui.questions, row.asked ? Names{std::string(TrimLongRecordsQuestion)} : Names{});
        EXPECT_EQ(file.LastScan().rewrapped, row.new_name != nullptr);
        std::string content = ReadWholeFile(file.CurrentPath());
        if (games == 2) {
            EXPECT_EQ(file.Index().Offset(2), content.find("[Event \"c\"]"));
        }
        if (row.new_name == nullptr) {
            EXPECT_EQ(file.CurrentPath(), path);
            EXPECT_TRUE(content == row.content);
            continue;
        }
        EXPECT_EQ(file.CurrentPath(), dir.File(row.new_name));
        EXPECT_EQ(platform::ListFolder(dir.path(), "*.pgn").size() +
                      platform::ListFolder(dir.path(), "*.txt").size(),
                  1u);
        for (std::size_t start = 0, lf; (lf = content.find('\n', start)) != std::string::npos;
             start = lf + 1) {
            EXPECT_LT(lf + 1 - start, 256u);
        }
    }
}

TEST(Rewrap, TrimCommandAsksFirst) {
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer);
        TempDir dir;
        const std::string original = "[Event  \"a\"]\n\n1.  e4 *\n\n[Event \"b\"]\n";
        std::string path = dir.Write("games.pgn", original);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        qorvale::test::RecordingUi ui;
        EXPECT_EQ(file.ScanGameFile(false, ui), 2);
        ui.answers = {answer};
        EXPECT_EQ(file.TrimLongRecords(ui), answer);
        EXPECT_EQ(ui.questions, Names{std::string(TrimLongRecordsQuestion)});
        const std::string trimmed = "[Event \"a\"]\n\n1. e4 *\n\n[Event \"b\"]\n";
        EXPECT_EQ(ReadWholeFile(file.CurrentPath()), answer ? trimmed : original);
        EXPECT_EQ(file.Index().Offset(2), (answer ? trimmed : original).find("[Event \"b\"]"));
    }
}

}  // namespace
}  // namespace qorvale::pgn
