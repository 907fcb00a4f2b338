#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <map>
#include <sstream>

#include "app/start_up.h"
#include "app/tree_settings.h"
#include "chess/board.h"
#include "gui/file/file_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "gui/tree/board_list_window.h"
#include "gui/tree/line_controller.h"
#include "gui/tree/move_stats_list.h"
#include "gui/tree/tree_controller.h"
#include "gui/tree/tree_settings_box.h"
#include "support/program_home.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

// What a row of the move list shows about one move.
struct Stats {
    int games = 0;
    std::string score;  // White's score in percent, as the list shows it
    int white = 0;
    int other = 0;
    int black = 0;
    friend bool operator==(const Stats&, const Stats&) = default;
};
using Listing = std::map<std::string, Stats>;

// The counts tests/data/tree/make_reference.py made with pgn-extract and Python over the real
// games of tests/data/chess/games.pgn (without the games that start from a set-up position),
// for the exact-variation lines: line ("" for the root, "e4 e5") -> move -> stats.
std::map<std::string, Listing> Reference() {
    std::map<std::string, Listing> lines;
    std::istringstream in(test::ReadWholeFile(test::TestDataPath("tree/reference.tsv")));
    std::string row;
    while (std::getline(in, row)) {
        std::vector<std::string> fields;
        std::istringstream cells(row);
        std::string cell;
        while (std::getline(cells, cell, '\t')) fields.push_back(cell);
        if (fields.size() < 8 || fields[0] != "exact") continue;
        const int games = std::stoi(fields[3]);
        const double score = std::stod(fields[4]) * 50.0 / games;
        lines[fields[1]][fields[2]] = {games, QString::number(score, 'f', 1).toStdString(),
                                       std::stoi(fields[5]), std::stoi(fields[6]),
                                       std::stoi(fields[7])};
    }
    return lines;
}

// The reference's first game of `move` at the root: the game a branch of one game shows.
int FirstGameAtRoot(const std::string& move) {
    const std::string text = test::ReadWholeFile(test::TestDataPath("tree/reference.tsv"));
    const std::string key = "exact\t\t" + move + "\t";
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return -1;
    const std::string row = text.substr(at, text.find('\n', at) - at);
    return std::stoi(row.substr(row.rfind('\t') + 1));
}

// The same games, by the script's rule: a game runs from one "[Event " line to the next.
std::string GamesWithoutFen() {
    const std::string text = test::ReadWholeFile(test::TestDataPath("chess/games.pgn"));
    std::string kept;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t next = text.find("\n[Event ", start + 1);
        next = next == std::string::npos ? text.size() : next + 1;
        const std::string game = text.substr(start, next - start);
        if (game.find("\n[FEN ") == std::string::npos && game.rfind("[FEN ", 0) != 0) kept += game;
        start = next;
    }
    return kept;
}

// The move of a row's text: "1. e4  44.2%  167" or "2...Nc6" -> "e4", "Nc6".
std::string MoveOf(const QString& text) {
    static const QRegularExpression row(QStringLiteral("^\\s*\\d+\\.(?:\\.\\.)?\\s*(\\S+)"));
    return row.match(text).captured(1).toStdString();
}

// What the list shows: the move, the games, the score column and the bar's counts.
Listing Shown(const gui::MoveStatsList& list) {
    Listing shown;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        Stats stats;
        stats.games = item->text(1).toInt();
        stats.score = item->text(2).chopped(1).toStdString();
        const QStringList counts = item->toolTip(3).split(QLatin1Char(' '));
        stats.white = counts.value(2).chopped(1).toInt();
        stats.black = counts.value(5).chopped(1).toInt();
        stats.other = counts.value(7).toInt();
        shown[MoveOf(item->text(0))] = stats;
    }
    return shown;
}

int RowOf(const gui::MoveStatsList& list, const std::string& move) {
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        if (MoveOf(list.topLevelItem(row)->text(0)) == move) return row;
    }
    return -1;
}

void PressOnRow(gui::MoveStatsList& list, int row, Qt::Key key) {
    list.setCurrentItem(list.topLevelItem(row));
    QTest::keyClick(&list, key);
}

// A started program whose open file holds the reference games.
struct Program : test::ProgramHome {
    Program() : ProgramHome("tree/reference.tsv", "reference.tsv") {
        games = home.Write("games.pgn", GamesWithoutFen());
        Start();
        openings::TreeOptions options = app::TreeOptionsFrom(state.options);
        options.exact_variations = true;
        app::StoreTreeOptions(options, state.options);
        state.options.FigurineNotation = 0;
    }
};

// A small ECO table in the install folder, loaded as the window loads it at start.
void UseSmallTable(Program& program, gui::MainWindow& window) {
    program.home.Write("qorvale.eco", "A40\r\nD00\r\nB00\r\n");
    program.home.Write("qorvale.ecn",
                       "Queen's Pawn Game\r\nQueen's Pawn Game: Double\r\nKing's Pawn\r\n");
    program.home.Write("qorvale.ecm", "1.d4\r\n1.d4 d5\r\n1.e4\r\n");
    window.openings().InitialiseOpenings();
}

// The board's piece on a square (file, rank 1..8).
std::uint32_t PieceOn(const gui::BoardWidget& board, int file, int rank) {
    return board.Position()[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)];
}

}  // namespace

class TreeWindowTest : public QObject {
    Q_OBJECT

  private slots:
    // The list follows Enter and Backspace through the tree, and at each node shows what an
    // independent count over the same games gives; the board and the line follow.
    void ListFollowsEnterAndBackspace() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.Action(QStringLiteral("OpenTree"))->trigger();
        gui::BoardListWindow* tree = window.tree().treeWindow();
        QVERIFY(tree != nullptr && tree->isVisible());
        QCOMPARE(window.session().Modes().Current(), app::Mode::Tree);
        gui::MoveStatsList& list = *tree->moves();
        const std::map<std::string, Listing> reference = Reference();

        struct Step {
            const char* enter;  // the move to step into, or nullptr for Backspace
            const char* line;   // the reference line the list must show then
            const char* text;   // the line under the board
        };
        const Step steps[] = {
            {"e4", "e4", "1.e4"},
            {"c5", "e4 c5", "1.e4 c5"},
            {"Nf3", "e4 c5 Nf3", "1.e4 c5 2.Nf3"},
            {nullptr, "e4 c5", "1.e4 c5"},
            {nullptr, "e4", "1.e4"},
            {"e5", "e4 e5", "1.e4 e5"},
        };
        QVERIFY(Shown(list) == reference.at(""));
        for (const Step& step : steps) {
            const std::string before = tree->LineText().toStdString();
            if (step.enter != nullptr) {
                const int row = RowOf(list, step.enter);
                QVERIFY(row >= 0);
                PressOnRow(list, row, Qt::Key_Return);
            } else {
                QTest::keyClick(&list, Qt::Key_Backspace);
                // The move just left is selected again.
                const std::string left = before.substr(before.find_last_of(" .") + 1);
                QCOMPARE(list.CurrentRow(), RowOf(list, left));
            }
            QCOMPARE(tree->LineText(), QString::fromLatin1(step.text));
            QVERIFY2(Shown(list) == reference.at(step.line), step.line);
        }
        // 1.e4 e5 on the board: the pawns stand on e4 and e5, e2 and e7 are empty.
        const gui::BoardWidget& board = *tree->board();
        QCOMPARE(PieceOn(board, 5, 4), chess::Pawn);
        QCOMPARE(PieceOn(board, 5, 5), chess::Pawn + chess::BlackOffset);
        QCOMPARE(PieceOn(board, 5, 2), chess::Empty);
        QCOMPARE(PieceOn(board, 5, 7), chess::Empty);
        QVERIFY(tree->Button(QStringLiteral("TreeBack"))->isEnabled());

        // The games behind a row become the search list.
        const int row = RowOf(list, "Nf3");
        emit list.gamesAsked(row);
        QCOMPARE(window.session().Search().List().Count(), reference.at("e4 e5").at("Nf3").games);

        window.Action(QStringLiteral("CloseTree"))->trigger();
        QVERIFY(!tree->isVisible());
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);

        // Closing kept the history: opened again at the root, Back returns to the last node.
        window.Action(QStringLiteral("OpenTree"))->trigger();
        QCOMPARE(tree->LineText(), QString());
        tree->Button(QStringLiteral("TreeBack"))->click();
        QCOMPARE(tree->LineText(), QStringLiteral("1.e4 e5"));
        QVERIFY(Shown(list) == reference.at("e4 e5"));
        // Escape in the list closes the tree, as keyboard-only use needs.
        QTest::keyClick(&list, Qt::Key_Escape);
        QVERIFY(!tree->isVisible());
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
    }

    // With automatic display and a single-node limit of 1, a move of one game that goes on alone
    // ends its branch at once and its game is shown in the main window.
    void EndOfBranchShowsTheGame() {
        Program program;
        openings::TreeOptions options = app::TreeOptionsFrom(program.state.options);
        options.auto_display_game = true;
        options.single_node_limit = 1;
        app::StoreTreeOptions(options, program.state.options);
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.Action(QStringLiteral("OpenTree"))->trigger();
        gui::MoveStatsList& list = *window.tree().treeWindow()->moves();
        const Stats only = Reference().at("").at("c3");
        QCOMPARE(only.games, 1);
        PressOnRow(list, RowOf(list, "c3"), Qt::Key_Return);
        // The game is shown instead of the end-of-branch message; the tree's help message came
        // once, on opening this tree of more than 1000 games, and is remembered.
        QCOMPARE(program.ui.reports.size(), std::size_t{1});
        QVERIFY(app::TreeHelpShown(program.state.options));
        QCOMPARE(window.session().GameNumber(), FirstGameAtRoot("c3"));
        QCOMPARE(window.session().Navigation().currentPly, 1);
        window.tree().CloseTree();
    }

    // Make Merge File runs on the worker; the merge file's tree then lists the same games.
    void MergeFileTreeListsTheFilesGames() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        const QString merge = QString::fromStdString(program.home.File("joined"));
        QVERIFY(window.tree().MakeMergeFile(merge, false));
        QTRY_VERIFY(!window.runner().worker().Busy());
        QTRY_VERIFY(!program.ui.reports.empty());
        QCOMPARE(program.ui.reports.back(), std::string("Merge file complete."));
        QVERIFY(window.tree().OpenMergeTree(merge));
        QCOMPARE(window.session().Modes().Current(), app::Mode::Tree);
        QVERIFY(Shown(*window.tree().treeWindow()->moves()) == Reference().at(""));
        window.tree().CloseTree();
    }

    // "Reset" puts the dialog's fields back to the defaults; the look-ahead, not in the dialog,
    // is kept.
    void SettingsResetPutsBackTheDefaults() {
        openings::TreeOptions changed;
        changed.single_node_limit = 3;
        changed.auto_display_game = true;
        changed.exact_variations = true;
        changed.sort_mode = 2;
        changed.show_percentage = false;
        changed.show_score = true;
        changed.maneuver_look_ahead = 4;
        gui::TreeSettingsBox box(changed, nullptr);
        QCOMPARE(box.Options().sort_mode, 2);
        QCOMPARE(box.Options().single_node_limit, 3);
        box.findChild<QPushButton*>(QStringLiteral("Reset"))->click();
        openings::TreeOptions defaults;
        defaults.maneuver_look_ahead = 4;
        const openings::TreeOptions shown = box.Options();
        QCOMPARE(shown.single_node_limit, defaults.single_node_limit);
        QCOMPARE(shown.auto_display_game, defaults.auto_display_game);
        QCOMPARE(shown.exact_variations, defaults.exact_variations);
        QCOMPARE(shown.sort_mode, defaults.sort_mode);
        QCOMPARE(shown.show_percentage, defaults.show_percentage);
        QCOMPARE(shown.show_score, defaults.show_score);
        QCOMPARE(shown.maneuver_look_ahead, 4);
    }

    // A line entered on the line board by clicks: Show Next Moves lists what the games played
    // after it, and choosing a row plays it.
    void ShowNextMovesFollowsTheBoardLine() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        UseSmallTable(program, window);
        window.Action(QStringLiteral("VariationEdit"))->trigger();
        gui::LineController& lines = window.lines();
        gui::BoardListWindow* board = lines.lineWindow();
        QVERIFY(board != nullptr && board->isVisible());
        const QPoint e2 = board->board()->SquareRect(5, 2).center();
        const QPoint e4 = board->board()->SquareRect(5, 4).center();
        QTest::mouseClick(board->board(), Qt::LeftButton, {}, e2);
        QTest::mouseClick(board->board(), Qt::LeftButton, {}, e4);
        QCOMPARE(board->LineText(), QStringLiteral("1.e4"));

        window.Action(QStringLiteral("ShowNextMoves"))->trigger();
        const std::map<std::string, Listing> reference = Reference();
        gui::MoveStatsList& list = *board->moves();
        QVERIFY(Shown(list) == reference.at("e4"));
        PressOnRow(list, RowOf(list, "e5"), Qt::Key_Return);
        QCOMPARE(board->LineText(), QStringLiteral("1.e4 e5"));
        QVERIFY(Shown(list) == reference.at("e4 e5"));
        QCOMPARE(PieceOn(*board->board(), 5, 5), chess::Pawn + chess::BlackOffset);
        QTest::keyClick(&list, Qt::Key_Backspace);
        QCOMPARE(board->LineText(), QStringLiteral("1.e4"));
        QVERIFY(Shown(list) == reference.at("e4"));

        window.Action(QStringLiteral("FindOpeningExactVariation"))->trigger();
        QVERIFY2(board->OpeningText().contains(QStringLiteral("Found: B00  King's Pawn  1.e4")),
                 qPrintable(board->OpeningText()));
        window.Action(QStringLiteral("LeaveLineMode"))->trigger();
        QVERIFY(!board->isVisible());
    }

    // ECO edit through the window: a line added from the board and deleted again leaves the
    // table files as they were.
    void EcoEditAddThenDeleteRoundTrip() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        UseSmallTable(program, window);
        const std::string names = test::ReadWholeFile(program.home.File("qorvale.ecn"));
        const std::string moves = test::ReadWholeFile(program.home.File("qorvale.ecm"));

        window.Action(QStringLiteral("EditEcoTable"))->trigger();
        gui::LineController& lines = window.lines();
        QListWidget* entries = lines.lineWindow()->entries();
        QVERIFY(entries->isVisible());
        QCOMPARE(entries->count(), 3);
        QVERIFY(lines.PlayMove("d4"));
        QVERIFY(lines.PlayMove("Nf6"));
        lines.SetNameAnswers({std::string("Indian Game")});
        window.Action(QStringLiteral("EcoAddLine"))->trigger();
        QCOMPARE(program.ui.reports.back(), std::string("The line has been added."));
        QCOMPARE(entries->count(), 4);
        // The new line takes the code of the line it was matched to (1.d4).
        QCOMPARE(entries->item(3)->text(), QStringLiteral("A40  Indian Game  1.d4 Nf6"));

        entries->setCurrentRow(3);
        program.ui.answers = {true};
        window.Action(QStringLiteral("EcoDeleteLine"))->trigger();
        QCOMPARE(program.ui.questions.back(), std::string("Delete line. Confirm."));
        QCOMPARE(program.ui.reports.back(), std::string("The line has been deleted."));
        QCOMPARE(entries->count(), 3);
        window.Action(QStringLiteral("EcoLeaveSaving"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
        QCOMPARE(test::ReadWholeFile(program.home.File("qorvale.ecn")), names);
        QCOMPARE(test::ReadWholeFile(program.home.File("qorvale.ecm")), moves);
    }
};

QTEST_MAIN(TreeWindowTest)
#include "tree_test.moc"
