// Open from Web Address and Extract Variations in the window: the download dialog offers the
// install folder's downloads folder, and a finished download is opened (a failed one only
// reported). The download and extraction rules are tested in the core.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <functional>
#include <memory>

#include "app/app_folder.h"
#include "gui/file/file_controller.h"
#include "gui/shell/main_window.h"
#include "platform/child_process.h"
#include "support/modal_answer.h"
#include "support/program_home.h"

using namespace qorvale;
using test::WhenModal;

namespace {

struct Program : test::ProgramHome {
    Program() : ProgramHome("gui/annotated-matches.pgn", "matches.pgn") { Start(); }
};

// The test server of the download tests, on a port of its own; its address, "" when it did not
// start.
std::string StartServer(platform::ChildProcess& server) {
    platform::StartFailure failure{};
    server = platform::ChildProcess::Start("python3",
                                           {test::TestDataPath("utilities/http_test_server.py"),
                                            test::TestDataPath("gui/annotated-matches.pgn"),
                                            test::TestDataPath("gui/study-chapters.pgn")},
                                           ".", failure);
    std::string port;
    while (server.Started() && port.find('\n') == std::string::npos &&
           server.WaitReadable(std::chrono::seconds(10))) {
        if (server.ReadAvailable(port, 64) <= 0) break;
    }
    if (port.find('\n') == std::string::npos) return {};
    return "http://127.0.0.1:" + port.substr(0, port.find('\n'));
}

}  // namespace

class SideTest : public QObject {
    Q_OBJECT

  private slots:
    void ExtractVariationsOffersThisGameOrEveryGame() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));

        bool seen = false;
        WhenModal<QDialog>(seen, [](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Extract Variations"));
            QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("ThisGame"))->isChecked());
            QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("EveryGame")) != nullptr);
            dialog->reject();
        });
        window.Action(QStringLiteral("ExtractVariations"))->trigger();
        QVERIFY(seen);
    }

    void DownloadIsOpenedAndAFailureOnlyReported() {
        platform::ChildProcess server;
        const std::string base = StartServer(server);
        if (base.empty()) QSKIP("python3 did not start the test server");
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        const std::string downloads = app::AppPath(program.state.app_folder, "downloads");

        auto download = [&](const std::string& path) {
            bool seen = false;
            WhenModal<QDialog>(seen, [&](QDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Open from Web Address"));
                QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("Folder"))->text(),
                         QString::fromStdString(downloads));
                QCOMPARE(dialog->findChild<QSpinBox*>(QStringLiteral("LimitMb"))->value(), 512);
                dialog->findChild<QLineEdit*>(QStringLiteral("Url"))
                    ->setText(QString::fromStdString(base + path));
                dialog->accept();
            });
            window.Action(QStringLiteral("OpenFromWeb"))->trigger();
            QVERIFY(seen);
        };

        download("/missing.pgn");
        QTRY_VERIFY_WITH_TIMEOUT(!program.ui.reports.empty(), 10000);
        QCOMPARE(program.ui.reports.back(), std::string("The server answered with error 404."));
        QVERIFY(!window.session().File().IsOpen());

        download("/games.pgn.gz");
        QTRY_VERIFY_WITH_TIMEOUT(window.session().File().IsOpen(), 10000);
        QCOMPARE(window.session().File().CurrentPath(), downloads + "/games.pgn");
        // The games of the served file, counted by their Event tags.
        const std::string served =
            test::ReadWholeFile(test::TestDataPath("gui/annotated-matches.pgn"));
        int events = 0;
        for (std::size_t at = served.find("[Event "); at != std::string::npos;
             at = served.find("[Event ", at + 1)) {
            ++events;
        }
        QCOMPARE(window.session().GameCount(), events);
        QCOMPARE(window.session().GameNumber(), 1);
        server.Kill();
    }
};

QTEST_MAIN(SideTest)
#include "side_test.moc"
