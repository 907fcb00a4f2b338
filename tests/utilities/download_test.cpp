// Downloads from a local HTTP server (tests/data/utilities/http_test_server.py) that compresses the
// games with Python's own gzip, bz2 and zipfile, so the unpacked bytes are checked against an
// implementation the program does not use.
#include "utilities/download.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "utilities/archive_unpack.h"
#include "utilities/messages.h"

namespace qorvale::utilities {
namespace {

using test::ReadWholeFile;
using test::TestDataPath;

const std::string GamesFile = "gui/annotated-matches.pgn";
const std::string OtherFile = "gui/study-chapters.pgn";

class DownloadTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        platform::StartFailure failure{};
        server_ = std::make_unique<platform::ChildProcess>(
            platform::ChildProcess::Start("python3",
                                          {TestDataPath("utilities/http_test_server.py"),
                                           TestDataPath(GamesFile), TestDataPath(OtherFile)},
                                          ".", failure));
        ASSERT_TRUE(server_->Started());
        std::string port;
        while (port.find('\n') == std::string::npos &&
               server_->WaitReadable(std::chrono::seconds(10))) {
            if (server_->ReadAvailable(port, 64) <= 0) break;
        }
        base_ = "http://127.0.0.1:" + port.substr(0, port.find('\n'));
    }
    static void TearDownTestSuite() {
        if (server_) server_->Kill();
        server_.reset();
    }

    DownloadRequest Request(const std::string& path) const {
        DownloadRequest request;
        request.url = base_ + path;
        request.folder = folder_.File("downloads");
        return request;
    }
    Result<std::vector<std::string>> Download(const DownloadRequest& request,
                                              const DownloadControl& control = {}) {
        return DownloadPgn(request, control, ui_, platform::SystemFileSystem());
    }
    // Every name in the download folder and beside it, stray staging files included.
    std::vector<std::string> Left() const {
        std::vector<std::string> names = platform::ListFolder(folder_.File("downloads"), "*");
        for (const std::string& name : platform::ListFolder(folder_.path(), "*"))
            names.push_back("../" + name);
        return names;
    }

    static inline std::unique_ptr<platform::ChildProcess> server_;
    static inline std::string base_;
    test::TempDir folder_;
    test::RecordingUi ui_;
};

TEST_F(DownloadTest, SavesThePgnFilesOfEveryForm) {
    const std::string games = ReadWholeFile(TestDataPath(GamesFile));
    const std::string other = ReadWholeFile(TestDataPath(OtherFile));
    struct Case {
        std::string path;
        std::vector<std::pair<std::string, std::string>> files;  // name, content
    };
    const std::vector<Case> cases = {
        {"/games.pgn", {{"games.pgn", games}}},
        {"/games.pgn.gz", {{"games.pgn", games}}},
        {"/games.pgn.bz2", {{"games.pgn", games}}},
        // The read-me is left out and the sub-folder flattened.
        {"/two.zip", {{"first.pgn", games}, {"second.pgn", other}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        test::TempDir folder;
        DownloadRequest request = Request(c.path);
        request.folder = folder.path();
        Result<std::vector<std::string>> files = Download(request);
        ASSERT_TRUE(files.ok()) << files.error().message() << " " << files.error().detail();
        ASSERT_EQ(files->size(), c.files.size());
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            EXPECT_EQ((*files)[i], folder.File(c.files[i].first));
            EXPECT_EQ(ReadWholeFile((*files)[i]), c.files[i].second);
        }
        EXPECT_EQ(platform::ListFolder(folder.path(), "*").size(), c.files.size());
    }
}

TEST_F(DownloadTest, RefusesWithAMessageAndLeavesNothing) {
    struct Case {
        std::string url;  // a path on the server, or a whole address
        std::string message;
    };
    const std::vector<Case> cases = {
        {"/missing.pgn", "The server answered with error 404."},
        {"/cut.pgn", std::string(messages::DownloadConnectionFailed)},
        {"/loop", std::string(messages::DownloadRedirectLoop)},
        {"/page", std::string(messages::DownloadWebPage)},
        {"/notpgn.gz", std::string(messages::DownloadWebPage)},
        {"/escape.zip", std::string(messages::DownloadUnsafeArchive)},
        {"/text.zip", std::string(messages::DownloadNoPgnInArchive)},
        {"/big.pgn", "The file is larger than the download limit of 1 MB."},
        {"/to-ftp", std::string(messages::NotHttpAddress)},
        {"ftp://127.0.0.1/games.pgn", std::string(messages::NotHttpAddress)},
        {"file:///etc/passwd", std::string(messages::NotHttpAddress)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        DownloadRequest request = Request(c.url);
        if (c.url.find("://") != std::string::npos) request.url = c.url;
        request.limit_mb = 1;
        Result<std::vector<std::string>> files = Download(request);
        ASSERT_FALSE(files.ok());
        EXPECT_EQ(files.error().message(), c.message);
        for (const std::string& name : Left()) {
            EXPECT_EQ(name, "../downloads") << "left behind";
        }
    }
}

TEST_F(DownloadTest, ReplacesAnExistingFileOnlyAfterYesAndStopsOnCancel) {
    const std::string old_text = "[Event \"old\"]\n\n1.e4 *\n";
    ASSERT_TRUE(platform::CreateFolder(folder_.File("downloads")));
    const std::string path = platform::JoinPath(folder_.File("downloads"), "games.pgn");
    folder_.Write("downloads/games.pgn", old_text);

    ui_.answers = {false};
    EXPECT_FALSE(Download(Request("/games.pgn")).ok());
    EXPECT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(ReadWholeFile(path), old_text);

    DownloadControl control;
    control.cancelled = [] { return true; };
    Result<std::vector<std::string>> cancelled = Download(Request("/two.zip"), control);
    ASSERT_FALSE(cancelled.ok());
    EXPECT_EQ(cancelled.error().message(), messages::DownloadCancelled);

    ui_.answers = {true};
    ASSERT_TRUE(Download(Request("/games.pgn")).ok());
    EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(TestDataPath(GamesFile)));
    EXPECT_EQ(platform::ListFolder(folder_.File("downloads"), "*").size(), 1u);
}

TEST_F(DownloadTest, RunsOnTheWorker) {
    test::RecordingUi ui;
    Worker worker(ui);
    auto result = std::make_shared<DownloadResult>();
    ASSERT_TRUE(StartDownload(worker, Request("/games.pgn.gz"), result).ok());
    worker.Wait();
    ASSERT_TRUE(result->error.ok()) << result->error.message();
    ASSERT_EQ(result->files.size(), 1u);
    EXPECT_EQ(ReadWholeFile(result->files[0]), ReadWholeFile(TestDataPath(GamesFile)));
    EXPECT_TRUE(worker.LastOutcome().message.empty());
}

// Killed at any point, the folder holds the old file or the new one, whole, and at most the
// staging files a crash leaves (never a half PGN file under its own name).
TEST_F(DownloadTest, KilledAtAnyPointLeavesTheOldOrTheNewFile) {
    const std::string old_text = "[Event \"old\"]\n\n1.e4 *\n";
    const std::string games = ReadWholeFile(TestDataPath(GamesFile));
    const std::string other = ReadWholeFile(TestDataPath(OtherFile));
    const std::string folder = folder_.File("downloads");
    for (const std::string path : {"/games.pgn.gz", "/two.zip"}) {
        SCOPED_TRACE(path);
        const bool zip = path == "/two.zip";
        const std::string first = platform::JoinPath(folder, zip ? "first.pgn" : "games.pgn");
        const std::string second = platform::JoinPath(folder, "second.pgn");
        const int points = test::KillAtEveryPoint(
            [&] {
                for (const std::string& name : platform::ListFolder(folder, "*"))
                    platform::DeleteFile(platform::JoinPath(folder, name));
                platform::CreateFolder(folder);
                folder_.Write(std::string("downloads/") + platform::NameOf(first), old_text);
            },
            [&](platform::FileSystem& file_system) {
                struct Yes final : Ui {
                    void report(std::string_view) override {}
                    bool ask(std::string_view) override { return true; }
                    void progress(const ProgressCounters&) override {}
                    void post(Command) override {}
                } yes;
                (void)DownloadPgn(Request(path), {}, yes, file_system);
            },
            [&](int point) {
                const std::string now = ReadWholeFile(first);
                EXPECT_TRUE(now == old_text || now == games);
                if (platform::FileExists(second)) {
                    EXPECT_EQ(ReadWholeFile(second), other);
                }
                if (point == 0) {
                    EXPECT_EQ(now, games);
                    EXPECT_EQ(platform::ListFolder(folder, "*").size(), zip ? 2u : 1u);
                }
            },
            false);
        EXPECT_GT(points, 4);
    }
}

TEST(ArchiveNames, OnlyNamesInsideTheFolderAreSafe) {
    for (const char* name : {"a.pgn", "games/a.pgn", "a..b.pgn", "..a.pgn"}) {
        EXPECT_TRUE(IsSafeEntryName(name)) << name;
    }
    for (const char* name : {"", "../a.pgn", "x/../../a.pgn", "/etc/a.pgn", "..", "c:a.pgn",
                             "\\a.pgn", "x\\..\\a.pgn"}) {
        EXPECT_FALSE(IsSafeEntryName(name)) << name;
    }
}

}  // namespace
}  // namespace qorvale::utilities
