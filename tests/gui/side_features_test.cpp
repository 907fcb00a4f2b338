// Spelling marks and their menu in a comment field, and the player card opened from the header
// of the game on display.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "app/spell_checker.h"
#include "gui/edit/spell_highlighter.h"
#include "gui/file/file_controller.h"
#include "gui/output/player_card_box.h"
#include "gui/panels/game_text_widget.h"
#include "gui/shell/main_window.h"
#include "support/program_home.h"

using namespace qorvale;

namespace {

// The underlined stretches of the first line of `edit`, as text.
QStringList Underlined(const QPlainTextEdit& edit) {
    QStringList words;
    const QTextBlock block = edit.document()->firstBlock();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) {
            words << block.text().mid(range.start, range.length);
        }
    }
    return words;
}

QAction* Named(QMenu& menu, const QString& name, const QString& text = {}) {
    for (QAction* action : menu.actions()) {
        if (action->objectName() == name && (text.isEmpty() || action->text() == text)) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

class SideFeaturesTest : public QObject {
    Q_OBJECT

  private slots:
    // Only comments are looked at; the menu corrects a word or teaches it to the list.
    void MisspeltCommentWordsAreMarkedAndCorrected() {
        test::TempDir dir;
        const std::vector<std::string> folders = app::SystemDictionaryFolders();
        auto checker =
            app::SpellChecker::Open(app::FindDictionary(folders, "en_US"), dir.File("qorvale.spl"));
        QVERIFY(checker.ok());
        test::RecordingUi ui;
        QPlainTextEdit edit;
        edit.setPlainText(
            QStringLiteral("{Whte wins beatifully} 12.Nf3 Whte $14 (12...Nc6 {Blak})"));
        gui::AttachSpellChecking(&edit, &*checker, false, ui);
        QCoreApplication::processEvents();  // the first marking is queued
        QCOMPARE(Underlined(edit),
                 (QStringList{QStringLiteral("Whte"), QStringLiteral("beatifully"),
                              QStringLiteral("Blak")}));

        QTextCursor at(edit.document());
        at.setPosition(edit.toPlainText().indexOf(QStringLiteral("beatifully")) + 3);
        QMenu menu;
        menu.addAction(QStringLiteral("Copy"));
        gui::AddSpellActions(&menu, &edit, *checker, at, ui);
        QAction* fix =
            Named(menu, QStringLiteral("SpellSuggestion"), QStringLiteral("beautifully"));
        QVERIFY(fix != nullptr);
        QVERIFY(Named(menu, QStringLiteral("SpellAddWord")) != nullptr);
        fix->trigger();
        QVERIFY(edit.toPlainText().startsWith(QStringLiteral("{Whte wins beautifully}")));
        QCOMPARE(Underlined(edit), (QStringList{QStringLiteral("Whte"), QStringLiteral("Blak")}));

        QMenu again;
        at.setPosition(edit.toPlainText().indexOf(QStringLiteral("Blak")) + 1);
        gui::AddSpellActions(&again, &edit, *checker, at, ui);
        Named(again, QStringLiteral("SpellAddWord"))->trigger();
        QCOMPARE(Underlined(edit), QStringList{QStringLiteral("Whte")});
        QVERIFY(test::ReadWholeFile(dir.File("qorvale.spl")).find("Blak") != std::string::npos);
    }

    // A double-click on the White line of the header opens White's card over the open file.
    void HeaderOpensThePlayersCard() {
        test::ProgramHome program("stats/round-robin.pgn", "rr.pgn");
        program.Start();
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.show();
        QTest::mouseDClick(window.gameText(), Qt::LeftButton, {}, QPoint(30, 14));
        gui::PlayerCardBox* box = window.playerCards().Box();
        QVERIFY(box != nullptr);
        QVERIFY(box->isVisible());
        const std::string white =
            window.session().Header().CurrentHeader().Get(pgn::HeaderField::White);
        QCOMPARE(box->Card().name, white);
        QVERIFY(box->windowTitle().contains(QString::fromStdString(white)));
        auto* events = box->findChild<QTableWidget*>(QStringLiteral("PlayerEvents"));
        QCOMPARE(events->rowCount(), static_cast<int>(box->Card().events.size()));
        QVERIFY(box->Card().Games() > 1);
    }
};

QTEST_MAIN(SideFeaturesTest)
#include "side_features_test.moc"
