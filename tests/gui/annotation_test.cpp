// The annotation menu and the diagram series as the window runs them: the dialogs they open,
// the board they leave behind, and pages that Python's own HTML parser reads back.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <functional>
#include <sstream>

#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/output/annotation_boxes.h"
#include "gui/output/annotation_controller.h"
#include "gui/output/output_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/shell/main_window.h"
#include "output/html_oracle.h"
#include "output/messages.h"
#include "support/modal_answer.h"
#include "support/program_home.h"

using namespace qorvale;

using test::Answer;

namespace {

struct Program : test::ProgramHome {
    Program() : ProgramHome("app/steinitz-zukertort-1886.pgn", "world-1886.pgn") { Start(); }
    QString Path(const char* name) const {
        return QString::fromStdString(home.path()) + QLatin1Char('/') + QLatin1String(name);
    }
    bool Reported(std::string_view message) const {
        return !ui.reports.empty() && ui.reports.back() == message;
    }
};

// The first `count` moves as the game file writes them: "1.d4 d5 2.c4 ...".
std::string FileMoves(const std::string& games, int count) {
    std::ifstream in(games);
    std::string line;
    while (std::getline(in, line) && !line.starts_with("1.")) {
    }
    std::istringstream tokens(line);
    std::string moves;
    std::string token;
    for (int half = 0; half < count && tokens >> token; ++half) {
        moves += (moves.empty() ? "" : " ") + token;
    }
    return moves;
}

int FilesIn(const QString& folder, const QString& pattern) {
    return static_cast<int>(QDir(folder).entryList({pattern}, QDir::Files).size());
}

}  // namespace

class AnnotationTest : public QObject {
    Q_OBJECT

  private slots:
    void StepsBeforeTheTitleAskForIt() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        // Every step but the title wants the title first.
        window.Action(QStringLiteral("AnnotationDiagram"))->trigger();
        QVERIFY(program.Reported(output::EnterTitleFirst));
    }

    void PageBuiltFromTheMenuReadsBackWithItsMovesCommentAndDiagram() {
        struct Row {
            int type_row;  // in "Select Diagram Type"
            int images;    // in the diagram
            const char* page;
        };
        for (const Row& row : {Row{0, 64, "squares.html"}, Row{4, 1, "gif.html"}}) {
            Program program;
            program.state.options.FigurineNotation = 0;  // the moves as the file spells them
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));

            Answer<gui::AnnotationTitleBox>([](gui::AnnotationTitleBox& box) {
                box.findChild<QLineEdit*>(QStringLiteral("Title"))->setText("Game 1 & more");
                box.findChild<QLineEdit*>(QStringLiteral("Heading"))->setText("Zukertort–Steinitz");
                box.accept();
            });
            window.Action(QStringLiteral("AnnotationTitle"))->trigger();
            window.Action(QStringLiteral("AnnotationMark"))->trigger();
            window.game().Navigate(app::NavigationAction::Forward5);
            window.Action(QStringLiteral("AnnotationGenerate"))->trigger();
            QVERIFY(program.Reported(output::MoveGenerated));

            // The board may wander while the comment is written; it comes back afterwards.
            window.Action(QStringLiteral("AnnotationComment"))->trigger();
            QVERIFY(window.annotation().commentBox()->isVisible());
            window.game().Navigate(app::NavigationAction::Forward5);
            QCOMPARE(window.session().Navigation().currentPly, 20);
            window.annotation().commentBox()->Insert(QStringLiteral("Ünïcode <keeps> "));
            window.Action(QStringLiteral("AnnotationEndComment"))->trigger();
            QVERIFY(program.Reported(output::CommentGenerated));
            QVERIFY(!window.annotation().commentBox()->isVisible());
            QCOMPARE(window.session().Navigation().currentPly, 10);

            // An image diagram is written beside the page, so the page is named first.
            const QString page = program.Path(row.page);
            window.annotation().Page().SetFileName(page.toStdString());
            bool asked = false;
            Answer<gui::DiagramTypeBox>([&asked, &row](gui::DiagramTypeBox& box) {
                asked = true;
                QCOMPARE(box.windowTitle(), QStringLiteral("Select Diagram Type"));
                auto* types = box.findChild<QListWidget*>(QStringLiteral("DiagramTypes"));
                QCOMPARE(types->count(), 9);
                types->setCurrentRow(row.type_row);
                box.accept();
            });
            window.Action(QStringLiteral("AnnotationDiagram"))->trigger();
            QVERIFY(asked);
            QVERIFY(program.Reported(output::DiagramGenerated));
            QVERIFY(window.annotation().SavePage(page));
            QVERIFY(program.Reported(output::HtmlFileSaved));

            const test::ParsedPage parsed = test::ParseHtml(page.toStdString());
            QVERIFY(parsed.parsed);
            QCOMPARE(QString::fromStdString(parsed.title), QStringLiteral("Game 1 & more"));
            QCOMPARE(QString::fromStdString(parsed.bold),
                     QString::fromStdString(FileMoves(program.games, 10)));
            QCOMPARE(QString::fromStdString(parsed.quotes),
                     QStringLiteral("\\xdcn\\xefcode <keeps>"));
            QCOMPARE(static_cast<int>(parsed.images.size()), row.images);
            for (const std::string& image : parsed.images) {
                QVERIFY2(!QImage(program.Path(image.c_str())).isNull(), image.c_str());
            }
            QCOMPARE(QString::fromStdString(parsed.caption),
                     QStringLiteral("Position after 5... Nd7"));

            // Opened again with its game on the board, the page goes on at the move it reached.
            window.game().Navigate(app::NavigationAction::EndOfGame);
            QVERIFY(window.annotation().OpenPage(page));
            QCOMPARE(window.session().Navigation().currentPly, 10);
        }
    }

    void SeriesWritesAFilePerMoveAndAClickStopsIt() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.game().Navigate(app::NavigationAction::EndOfGame);
        window.game().Navigate(app::NavigationAction::Back5);
        const app::NavigationState& at = window.session().Navigation();
        const int current = at.currentPly;
        const int positions = at.lastPly - current + 1;
        QVERIFY(positions > 2);

        const QString folder = program.Path("");
        QVERIFY(window.output().SaveDiagramSeries(program.Path("end"), output::DiagramKind::Png));
        QVERIFY(program.Reported(output::AllDiagramsComplete));
        QCOMPARE(FilesIn(folder, QStringLiteral("end-*.png")), positions);

        // A click on the board before the series gets going stops it.
        QCoreApplication::postEvent(
            window.board(),
            new QMouseEvent(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QVERIFY(!window.output().SaveHtmlDiagramSeries(program.Path("web")));
        QVERIFY(program.Reported(output::DiagramsAborted));
        QVERIFY(FilesIn(folder, QStringLiteral("web-*.html")) < positions);
        // The click went to the series, not to the board.
        QCOMPARE(window.session().Navigation().currentPly, current);
    }
};

QTEST_MAIN(AnnotationTest)
#include "annotation_test.moc"
