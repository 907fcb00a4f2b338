// The Edit menu in the window: moves entered by clicking the board, the keys of the entry mode,
// the questions before entered moves are lost, and what the window shows after a game was saved,
// changed, deleted or pasted. The file contents are checked with pgn-extract.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QtTest>
#include <sstream>

#include "app/app_folder.h"
#include "app/edit_messages.h"
#include "gui/edit/annotate_box.h"
#include "gui/edit/edit_controller.h"
#include "gui/edit/setup_box.h"
#include "gui/file/file_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/piece_set.h"
#include "gui/shell/main_window.h"
#include "pgn/messages.h"
#include "support/pgn_extract.h"
#include "support/program_home.h"

using namespace qorvale;

namespace {

struct Program : test::ProgramHome {
    Program() : ProgramHome("app/steinitz-zukertort-1886.pgn", "world-1886.pgn") { Start(); }
};

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string Joined(const std::vector<std::string>& words, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < words.size(); ++i) {
        if (!text.empty()) text += ' ';
        text += words[i];
    }
    return text;
}

std::pair<int, int> Square(std::string_view uci, std::size_t at) {
    return {uci[at] - 'a' + 1, uci[at + 1] - '0'};
}

QPoint Centre(gui::MainWindow& window, std::pair<int, int> square) {
    return window.board()->SquareRect(square.first, square.second).center();
}

void Click(gui::MainWindow& window, std::pair<int, int> square) {
    QTest::mouseClick(window.board(), Qt::LeftButton, {}, Centre(window, square));
}

void Drag(gui::MainWindow& window, std::pair<int, int> from, std::pair<int, int> to) {
    QTest::mousePress(window.board(), Qt::LeftButton, {}, Centre(window, from));
    QTest::mouseMove(window.board(), Centre(window, to));
    QTest::mouseRelease(window.board(), Qt::LeftButton, {}, Centre(window, to));
}

bool Targets(gui::MainWindow& window, std::pair<int, int> square) {
    const auto& targets = window.board()->Targets();
    return std::find(targets.begin(), targets.end(), square) != targets.end();
}

}  // namespace

class EditTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (!test::HavePgnExtract()) QSKIP("pgn-extract is not installed");
    }

    void ClickedMovesAreSavedAsANewGame() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        const std::vector<std::string> moves =
            Words(test::PgnExtractMainLines(program.games, {"-Wuci"})[2]);
        QVERIFY(moves.size() > 12);

        window.Action(QStringLiteral("AddGame"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::AddGame);
        QVERIFY(!window.Action(QStringLiteral("NextGame"))->isEnabled());
        QVERIFY(!window.Action(QStringLiteral("Open"))->isEnabled());
        for (std::size_t i = 0; i < 12; ++i) {
            Click(window, Square(moves[i], 0));
            QVERIFY2(Targets(window, Square(moves[i], 2)), moves[i].c_str());
            Click(window, Square(moves[i], 2));
            QVERIFY(window.board()->Targets().empty());
        }
        QCOMPARE(window.edit().Entry()->HalfMoves(), 12);
        QVERIFY(window.MoveLineText().trimmed().startsWith(QStringLiteral("6.")));

        // Backspace takes back; the move is made again.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Backspace);
        QCOMPARE(window.edit().Entry()->HalfMoves(), 11);
        // From an earlier position a move first asks to drop the moves after it.
        QTest::keyClick(&window, Qt::Key_Up);
        QCOMPARE(window.edit().Entry()->ShownHalfMove(), 10);
        QTest::keyClick(&window, Qt::Key_End);
        Click(window, Square(moves[11], 0));
        Click(window, Square(moves[11], 2));
        QCOMPARE(window.edit().Entry()->HalfMoves(), 12);

        // Leaving with entered moves asks; No keeps them.
        window.Action(QStringLiteral("LeaveEntry"))->trigger();
        QCOMPARE(program.ui.questions.back(), std::string(app::LeaveEnteredGameQuestion));
        QCOMPARE(window.session().Modes().Current(), app::Mode::AddGame);

        pgn::HeaderEditFields header = window.edit().Entry()->Header();
        header.Get(pgn::HeaderField::White) = "Entered";
        window.edit().SetHeader(header);
        QVERIFY(window.edit().SaveEntered(pgn::SaveMode::Append,
                                          QString::fromStdString(program.games)));
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
        QCOMPARE(window.session().GameCount(), 4);
        QCOMPARE(window.session().GameNumber(), 4);
        QVERIFY(window.Action(QStringLiteral("NextGame"))->isEnabled());
        const std::vector<std::string> after = test::PgnExtractMainLines(program.games, {"-Wuci"});
        QCOMPARE(after.size(), std::size_t{4});
        QCOMPARE(after[3], Joined(moves, 12));
        QVERIFY(window.FileStatusText().size() > 0);
    }

    void ClicksAndDragsEnterCastlingEnPassantAndUnderPromotion() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        // Pawn takes en passant on move 3, promotes to a knight with check on move 5, White
        // castles on move 8; every other move is dragged.
        const std::vector<std::string> moves = Words(
            "e2e4 g8f6 e4e5 d7d5 e5d6 e7e6 d6d7 e8e7 d7c8N d8c8 g1f3 c8d7 f1e2 b8c6 e1g1 e7d8 "
            "d2d4 f8d6 c2c4 h8e8");
        window.Action(QStringLiteral("AddGame"))->trigger();
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const std::string& move = moves[i];
            window.edit().Input().SetPromotionChoice(move.size() == 5 ? std::optional(chess::Knight)
                                                                      : std::nullopt);
            if (i % 2 == 0) {
                Click(window, Square(move, 0));
                Click(window, Square(move, 2));
            } else {
                Drag(window, Square(move, 0), Square(move, 2));
            }
            QCOMPARE(window.edit().Entry()->HalfMoves(), static_cast<int>(i + 1));
        }
        const std::string saved = program.home.path() + "/entered.pgn";
        QVERIFY(window.edit().SaveEntered(pgn::SaveMode::NewFile, QString::fromStdString(saved)));
        QCOMPARE(test::PgnExtractMainLines(saved, {"-Wuci"}),
                 std::vector<std::string>{Joined(moves, moves.size())});
    }

    void ModifyGameReplacesTheMovesFromThePlyOnDisplay() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        const std::vector<std::string> before = test::PgnExtractMainLines(program.games, {"-Wuci"});
        const std::vector<std::string> moves = Words(before[1]);
        QVERIFY(window.ShowGame(2));
        window.GoToPly(10);
        window.Action(QStringLiteral("ModifyGame"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::ModifyGame);
        QCOMPARE(window.edit().Entry()->ShownHalfMove(), 10);

        // The piece of the game's 11th half-move goes elsewhere, once the user agrees to drop
        // the moves after the position on display.
        program.ui.answers = {true};
        Click(window, Square(moves[10], 0));
        QCOMPARE(program.ui.questions.back(), std::string(app::DropLaterMovesQuestion));
        std::pair<int, int> other{};
        for (const auto& target : window.board()->Targets()) {
            if (target != Square(moves[10], 2)) other = target;
        }
        QVERIFY(other.first != 0);
        Click(window, other);
        QCOMPARE(window.edit().Entry()->HalfMoves(), 11);
        QVERIFY(window.edit().SaveChanges());
        QCOMPARE(window.session().GameCount(), 3);
        QCOMPARE(window.session().GameNumber(), 2);
        const std::vector<std::string> after = test::PgnExtractMainLines(program.games, {"-Wuci"});
        QCOMPARE(after[0], before[0]);
        QCOMPARE(after[2], before[2]);
        const std::string played =
            std::string(1, static_cast<char>('a' + other.first - 1)) + std::to_string(other.second);
        QCOMPARE(after[1], Joined(moves, 10) + ' ' + moves[10].substr(0, 2) + played);
    }

    void DeletedAndPastedGamesShowInTheWindow() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        const std::vector<std::string> before = test::PgnExtractMainLines(program.games);

        // The game text goes to the clipboard and from there into a new file.
        QVERIFY(window.ShowGame(3));
        window.Action(QStringLiteral("CopyGameText"))->trigger();
        const std::string copied = QGuiApplication::clipboard()->text().toStdString();
        QVERIFY(copied.find("[Event") == 0);
        const QString pasted = QString::fromStdString(program.home.path() + "/pasted.pgn");
        QVERIFY(window.edit().SaveText(copied, pgn::SaveMode::NewFile, pasted));
        QCOMPARE(window.session().File().CurrentPath(), pasted.toStdString());
        QCOMPARE(window.session().GameNumber(), 1);
        QCOMPARE(test::PgnExtractMainLines(pasted.toStdString()),
                 std::vector<std::string>{before[2]});

        // Delete asks twice; the next game takes the place of the deleted one.
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(window.ShowGame(2));
        program.ui.answers = {true, true};
        window.Action(QStringLiteral("DeleteGame"))->trigger();
        QCOMPARE(program.ui.questions.front(), std::string(pgn::DeleteGameQuestion));
        QCOMPARE(window.session().GameCount(), 2);
        QCOMPARE(window.session().GameNumber(), 2);
        QCOMPARE(test::PgnExtractMainLines(program.games),
                 (std::vector<std::string>{before[0], before[2]}));
    }

    void SetUpPositionBecomesTheStartOfAnEnteredGame() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        const QString pieces = gui::PiecesFolder(QString::fromStdString(program.state.app_folder));
        gui::SetupBox box(&window, pieces, program.state.options, app::SetupPosition{}, program.ui);
        auto button = [&box](const QString& text) {
            for (QPushButton* b : box.findChildren<QPushButton*>()) {
                if (b->text() == text) return b;
            }
            return static_cast<QPushButton*>(nullptr);
        };
        const std::string fen = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 20";
        QGuiApplication::clipboard()->setText(QString::fromStdString(fen));
        QTest::mouseClick(button(QStringLiteral("&Paste FEN")), Qt::LeftButton);
        QCOMPARE(box.Position().Fen(), fen);

        // A piece clicked onto a square goes there; the same piece clicked again comes off.
        box.ChoosePiece(chess::Queen);
        const QPoint d1 = box.Board()->SquareRect(4, 1).center();
        QTest::mouseClick(box.Board(), Qt::LeftButton, {}, d1);
        QCOMPARE(box.Position().PieceAt(4, 1), chess::Queen);
        QTest::mouseClick(box.Board(), Qt::LeftButton, {}, d1);
        QCOMPARE(box.Position().PieceAt(4, 1), chess::Empty);

        // A board without kings keeps the dialog open with the checks' message.
        const app::SetupPosition kept = box.Position();
        QTest::mouseClick(button(QStringLiteral("&Clear")), Qt::LeftButton);
        const std::size_t reports = program.ui.reports.size();
        box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(program.ui.reports.size() > reports);
        QVERIFY(box.result() != QDialog::Accepted);

        // Black moves first from the set-up position, and the new file holds the game from it.
        QVERIFY(window.edit().StartFromSetup(kept));
        Click(window, {5, 8});
        Click(window, {4, 8});
        const std::string saved = program.home.path() + "/set-up.pgn";
        QVERIFY(window.edit().SaveEntered(pgn::SaveMode::NewFile, QString::fromStdString(saved)));
        QCOMPARE(test::PgnExtractMainLines(saved, {"-Wuci"}), std::vector<std::string>{"e8d8"});
    }

    void AnnotationsAreSavedAndAnInterruptedOneComesBack() {
        Program program;
        const std::string recovery = app::AppPath(program.state.app_folder, app::RecoveryFileName);
        const std::string kept = program.home.path() + "/kept-recovery";
        const std::vector<std::string> moves =
            Words(test::PgnExtractMainLines(program.games, {"-Wuci"})[0]);
        {
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<gui::AnnotateBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                box->SelectHalfMove(3);
                QVERIFY(box->AddComment(QStringLiteral("A fine move"), false));
                QVERIFY(box->AddNag(1));
                // The reply played otherwise, on the editor's board.
                box->SelectHalfMove(4);
                QVERIFY(box->BeginVariation());
                const QPoint from =
                    box->Board()->SquareRect(moves[3][0] - 'a' + 1, moves[3][1] - '0').center();
                QTest::mouseClick(box->Board(), Qt::LeftButton, {}, from);
                QVERIFY(!box->Board()->Targets().empty());
                const auto [file, rank] = box->Board()->Targets().back();
                QTest::mouseClick(box->Board(), Qt::LeftButton, {},
                                  box->Board()->SquareRect(file, rank).center());
                box->EndVariation();
                // What a crash would leave behind.
                QVERIFY(
                    QFile::copy(QString::fromStdString(recovery), QString::fromStdString(kept)));
                box->accept();
            });
            QVERIFY(window.ShowGame(1));
            window.Action(QStringLiteral("AnnotateGame"))->trigger();
            QVERIFY(!QFile::exists(QString::fromStdString(recovery)));
            QCOMPARE(window.session().GameNumber(), 1);
            window.GoToPly(3);
            QVERIFY(window.CommentLineText().contains(QStringLiteral("A fine move")));
        }
        // pgn-extract reads the comment, the NAG and the variation, and the same main line.
        const std::string game = test::PgnExtractGames(program.games)[0];
        QVERIFY(game.find("A fine move") != std::string::npos);
        QVERIFY(game.find("$1") != std::string::npos);
        QVERIFY(game.find('(') != std::string::npos);
        QCOMPARE(Words(test::PgnExtractMainLines(program.games, {"-Wuci"})[0]), moves);

        // The next start offers the interrupted annotation back; it is saved again.
        QVERIFY(QFile::copy(QString::fromStdString(kept), QString::fromStdString(recovery)));
        program.Start();
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        program.ui.answers = {true};
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<gui::AnnotateBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            QCOMPARE(box->HalfMove(), 1);
            box->accept();
        });
        window.edit().OfferRecovery();
        QCOMPARE(program.ui.questions.back(), std::string(app::RestoreAnnotationQuestion));
        QVERIFY(!QFile::exists(QString::fromStdString(recovery)));
        QVERIFY(test::PgnExtractGames(program.games)[0].find("A fine move") != std::string::npos);
    }
};

QTEST_MAIN(EditTest)
#include "edit_test.moc"
