// The diagram commands of the window: they draw the position on the board as the board shows it
// (the ply on display, flipped or not), and what they write decodes, with Qt's own readers, to
// the picture they put on the clipboard.
#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QtTest>

#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/output/output_controller.h"
#include "gui/shell/main_window.h"
#include "support/program_home.h"

using namespace qorvale;

namespace {

struct Program : test::ProgramHome {
    Program() : ProgramHome("app/steinitz-zukertort-1886.pgn", "world-1886.pgn") { Start(); }
};

// Pixels whose colours differ; every pixel when the sizes differ.
int DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return b.width() * b.height();
    int differ = 0;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) differ += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
    return differ;
}

}  // namespace

class OutputTest : public QObject {
    Q_OBJECT

  private slots:
    void DiagramsFollowTheBoardAndDecodeToTheCopiedPicture() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(!window.Action(QStringLiteral("CopyDiagram"))->isEnabled());
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(window.Action(QStringLiteral("CopyDiagram"))->isEnabled());

        window.Action(QStringLiteral("CopyDiagram"))->trigger();
        const QImage start =
            QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888);
        QVERIFY(!start.isNull());
        QCOMPARE(DifferingPixels(window.output().DiagramImage(), start), 0);
        window.game().Navigate(app::NavigationAction::Forward5);
        window.game().Navigate(app::NavigationAction::NextMove);
        QCOMPARE(window.session().Navigation().currentPly, 11);
        window.Action(QStringLiteral("CopyDiagram"))->trigger();
        const QImage after =
            QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888);
        QCOMPARE(after.size(), start.size());
        QVERIFY(DifferingPixels(after, start) > 0);

        // Every lossless format holds exactly the copied picture.
        const QString folder = QString::fromStdString(program.home.path());
        for (auto [name, kind] : {std::pair{"d.gif", output::DiagramKind::Gif},
                                  std::pair{"d.png", output::DiagramKind::Png},
                                  std::pair{"d.bmp", output::DiagramKind::Bmp}}) {
            const QString path = folder + QLatin1Char('/') + QLatin1String(name);
            QVERIFY(window.output().SaveDiagram(path, kind));
            QCOMPARE(DifferingPixels(QImage(path), after), 0);
        }
        // A JPEG is close, not equal.
        const QString jpeg = folder + QStringLiteral("/d.jpg");
        QVERIFY(window.output().SaveDiagram(jpeg, output::DiagramKind::Jpeg));
        QCOMPARE(QImage(jpeg).size(), after.size());

        // The flipped board gives the flipped diagram.
        window.Action(QStringLiteral("FlipBoard"))->trigger();
        QVERIFY(DifferingPixels(window.output().DiagramImage(), after) > 0);

        const QString page = folder + QStringLiteral("/d.html");
        QVERIFY(window.output().SaveHtmlDiagram(page));
        QVERIFY(QFileInfo(page).size() > 0);

        // An unwritable place is said, and nothing is left.
        QVERIFY(!window.output().SaveDiagram(QStringLiteral("/nonexistent/folder/d.gif"),
                                             output::DiagramKind::Gif));
        QVERIFY(!program.ui.reports.empty());
    }
};

QTEST_MAIN(OutputTest)
#include "output_test.moc"
