#include "gui/game/game_list_box.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QScrollBar>
#include <QTest>

#include "app/start_up.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/panels/game_text_widget.h"
#include "gui/search/search_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::gui {

class GameListBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void pickingALineLoadsThatGame_data();
    void pickingALineLoadsThatGame();
    void layoutsChangeTheLines();
    void longListsComeInSegments_data();
    void longListsComeInSegments();
    void scrollBarAndReload();
};

namespace {

struct Program {
    test::TempDir folder;
    app::StartUpState state = app::StartUp({folder.path(), "", false});
    test::RecordingUi ui;
    MainWindow window{state};

    Program() {
        window.SetUi(ui);
        window.file().OpenPath(QString::fromStdString(
            folder.CopyData("gui/annotated-matches.pgn", "annotated-matches.pgn")));
    }
};

QString Line(const GameListModel& model, int row) {
    return model.data(model.index(row), Qt::DisplayRole).toString();
}

}  // namespace

void GameListBoxTest::pickingALineLoadsThatGame_data() {
    QTest::addColumn<int>("game");
    QTest::newRow("first") << 1;
    QTest::newRow("fifth") << 5;
    QTest::newRow("last") << 12;
}

void GameListBoxTest::pickingALineLoadsThatGame() {
    QFETCH(int, game);
    Program program;
    const std::vector<app::GameListRecord>& records =
        program.window.session().GameList(program.window.ui());
    QCOMPARE(records.size(), std::size_t{12});
    GameListBox box(records, 0, 1);
    QCOMPARE(box.Model()->rowCount(), 12);
    QCOMPARE(box.ChosenGame(), 1);
    box.Choose(game);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QCOMPARE(box.ChosenGame(), game);
    QVERIFY(program.window.ShowGame(box.ChosenGame()));
    QCOMPARE(program.window.session().GameNumber(), game);
    // The line picked names the players of the game now on display.
    const QString line = Line(*box.Model(), game - 1);
    QVERIFY(line.startsWith(QStringLiteral("%1  ").arg(game, 4)));
    const std::string white =
        program.window.session().Header().CurrentHeader().Get(pgn::HeaderField::White);
    QVERIFY2(line.contains(QString::fromStdString(white.substr(0, 19))), qPrintable(line));
    QCOMPARE(program.window.GameStatusText(), QStringLiteral("Game:  %1 of 12").arg(game));
    QVERIFY(program.ui.reports.empty());
}

void GameListBoxTest::layoutsChangeTheLines() {
    Program program;
    const auto& records = program.window.session().GameList(program.window.ui());
    GameListBox box(records, 0, 3);
    QCOMPARE(box.ChosenGame(), 3);
    for (int layout = 0; layout < app::GameListLayouts; ++layout) {
        box.findChild<QComboBox*>()->setCurrentIndex(layout);
        QCOMPARE(box.Layout(), layout);
        for (int row = 0; row < 12; ++row) {
            QCOMPARE(Line(*box.Model(), row),
                     QString::fromStdString(app::GameListLine(
                         records[static_cast<std::size_t>(row)], row + 1, layout)));
        }
        // Changing the layout keeps the game picked.
        QCOMPARE(box.ChosenGame(), 3);
    }
    // Layout 2 shows the event.
    box.findChild<QComboBox*>()->setCurrentIndex(2);
    QVERIFY(Line(*box.Model(), 2).endsWith(QStringLiteral("London m1          ")));
}

void GameListBoxTest::longListsComeInSegments_data() {
    QTest::addColumn<int>("games");
    QTest::addColumn<int>("segment");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("first");
    QTest::newRow("whole small list") << 500 << 0 << 500 << 1;
    QTest::newRow("whole long list stops at 130000") << 200000 << 0 << 130000 << 1;
    QTest::newRow("second segment") << 200000 << 2 << 32500 << 32501;
    QTest::newRow("last segment") << 200000 << 4 << 102500 << 97501;
    QTest::newRow("segment past the end") << 40000 << 3 << 0 << 65001;
}

void GameListBoxTest::longListsComeInSegments() {
    QFETCH(int, games);
    QFETCH(int, segment);
    QFETCH(int, rows);
    QFETCH(int, first);
    std::vector<app::GameListRecord> records(static_cast<std::size_t>(games));
    GameListModel model(records);
    model.SetSegment(segment);
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.GameNumberAt(0), first);
    if (rows == 0) return;
    QVERIFY(Line(model, 0).startsWith(QString::number(first)) ||
            Line(model, 0).trimmed().startsWith(QString::number(first)));
    QCOMPARE(model.RowOf(first + rows - 1), rows - 1);
    QCOMPARE(model.RowOf(first + rows), -1);
}

void GameListBoxTest::scrollBarAndReload() {
    Program program;
    QScrollBar* bar = program.window.GameScrollBar();
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 12);
    bar->setValue(7);
    QCOMPARE(program.window.session().GameNumber(), 7);
    program.window.game().Navigate(app::NavigationAction::Forward5);
    const int ply = program.window.session().Navigation().currentPly;
    QVERIFY(ply > 0);
    program.window.Run(app::FileCommand::Reload);
    QCOMPARE(program.ui.reports, std::vector<std::string>{"File has been reloaded."});
    QCOMPARE(program.window.session().GameNumber(), 7);
    QCOMPARE(program.window.session().Navigation().currentPly, ply);
    QCOMPARE(bar->value(), 7);
    // Next game moves the bar with it.
    program.window.Run(app::GameCommand::NextGame);
    QCOMPARE(bar->value(), 8);
}

}  // namespace qorvale::gui

QTEST_MAIN(qorvale::gui::GameListBoxTest)
#include "game_list_box_test.moc"
