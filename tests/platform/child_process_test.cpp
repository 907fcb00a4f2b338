#include "platform/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "support/fake_engines.h"
#include "support/temp_dir.h"

namespace qorvale::platform {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

std::string Script(const TempDir& folder, const char* name, const char* body) {
    std::string path = folder.Write(name, std::string("#!/bin/sh\n") + body);
    ::chmod(path.c_str(), 0755);
    return path;
}

// Everything the child writes until its output ends.
std::string ReadToEnd(ChildProcess& child) {
    std::string out;
    while (child.WaitReadable(5000ms) && child.ReadAvailable(out, 65536) >= 0) {
    }
    return out;
}

TEST(ChildProcess, StartsOnlyExecutableFiles) {
    TempDir folder;
    const std::string plain = folder.Write("engine.txt", "#!/bin/sh\n");
    struct Row {
        const char* name;
        std::string path;
    };
    for (const Row& row : {Row{"missing", folder.File("none")}, Row{"not executable", plain},
                           Row{"a folder", folder.path()}, Row{"empty", ""}}) {
        SCOPED_TRACE(row.name);
        StartFailure failure = StartFailure::None;
        ChildProcess child = ChildProcess::Start(row.path, {}, "", failure);
        EXPECT_FALSE(child.Started());
        EXPECT_EQ(failure, StartFailure::NotExecutable);
    }
}

TEST(ChildProcess, RunsInItsFolderWithItsArguments) {
    TempDir folder;
    const std::string path =
        Script(folder, "echo.sh", "pwd\necho \"$@\"\nread line\necho \"got $line\"\n");
    StartFailure failure = StartFailure::None;
    ChildProcess child =
        ChildProcess::Start(path, {"/xboard", "two words"}, folder.path(), failure);
    ASSERT_TRUE(child.Started());
    EXPECT_TRUE(child.Write("hello\n"));
    std::string out = ReadToEnd(child);
    EXPECT_EQ(out, folder.path() + "\n/xboard two words\ngot hello\n");
    EXPECT_EQ(child.ReadAvailable(out, 10), -1);
    child.Stop(500ms);
    EXPECT_TRUE(test::ChildProcesses().empty());
}

// A child that has gone makes writes fail instead of ending this program with SIGPIPE.
TEST(ChildProcess, WritingToAnEndedChildFails) {
    TempDir folder;
    StartFailure failure = StartFailure::None;
    ChildProcess child =
        ChildProcess::Start(Script(folder, "quits.sh", "exit 0\n"), {}, "", failure);
    ASSERT_TRUE(child.Started());
    ReadToEnd(child);
    bool written = true;
    for (int attempt = 0; attempt < 100 && written; ++attempt) {
        written = child.Write(std::string(4096, 'x'));
    }
    EXPECT_FALSE(written);
    child.Stop(500ms);
}

TEST(ChildProcess, StopReapsAChildThatIgnoresEverything) {
    TempDir folder;
    StartFailure failure = StartFailure::None;
    ChildProcess child =
        ChildProcess::Start(test::InstallEngine(folder, "deaf.sh"), {}, folder.path(), failure);
    ASSERT_TRUE(child.Started());
    const pid_t pid = child.Pid();
    EXPECT_TRUE(child.Write("uci\nquit\n"));
    child.Stop(100ms);
    EXPECT_FALSE(child.Started());
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(test::ChildProcesses().empty());
}

}  // namespace
}  // namespace qorvale::platform
