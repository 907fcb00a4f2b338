#include "openings/eco_edit.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "chess/notation.h"
#include "eco_test_table.h"
#include "openings/messages.h"
#include "platform/file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

using qorvale::test::RecordingUi;
using qorvale::test::TempDir;

const std::vector<test::TableRow> Rows = {
    {"C20", "King's pawn", "1.e4 e5"},
    {"C40", "King's knight", "1.e4 e5 2.Nf3"},
    {"C44", "Scotch", "1.e4 e5 2.Nf3 Nc6 3.d4"},
    {"D06", "Queen's gambit", "1.d4 d5 2.c4"},
    {"B20", "Sicilian", "1.e4 c5"},
};

LinePosition Line(std::string_view moves) {
    LinePosition line;
    for (std::string_view move : chess::SplitLineMoves(moves)) EXPECT_TRUE(line.PlayText(move));
    return line;
}

// The name dialog: answers from a script, then cancels.
EcoNameDialog Names(std::deque<std::string> answers) {
    auto script = std::make_shared<std::deque<std::string>>(std::move(answers));
    return [script](std::string_view) -> std::optional<std::string> {
        if (script->empty()) return std::nullopt;
        std::string answer = script->front();
        script->pop_front();
        return answer;
    };
}

struct Folder {
    TempDir dir;
    EcoTable table;
    RecordingUi ui;
    test::TableTexts original = test::TextsOf(Rows);

    Folder() {
        test::WriteTable(dir, original);
        EXPECT_TRUE(LoadEcoTable(EcoTableFilesIn(dir.path()), table, ui).ok());
    }
    std::string File(std::string_view name) const {
        return qorvale::test::ReadWholeFile(dir.File(name));
    }
    bool CurrentIsOriginal() const {
        return File("qorvale.eco") == original.codes && File("qorvale.ecn") == original.names &&
               File("qorvale.ecm") == original.moves;
    }
    // The consistency check of what is on disk against the loaded table.
    bool Consistent() {
        RecordingUi check;
        return CheckEcoTable(EcoTableFilesIn(dir.path()), table, check);
    }
};

TEST(EcoEdit, AddComparesWithTheMatchedLine) {
    using namespace messages;
    struct Case {
        const char* moves;
        std::string_view question;  // asked, and answered Yes unless the line is to stay out
        std::string_view report;    // the first message
        const char* code;           // of the added line; nullptr when nothing is added
        std::deque<std::string> names = {"New line \t"};
    };
    const std::vector<Case> cases = {
        {"1.e4 e5 2.Nf3", "", LineAlreadyInTable, nullptr},
        {"1.Nf3 e5 2.e4", TranspositionInTable, "", nullptr},  // declined
        {"1.Nf3 e5 2.e4", TranspositionInTable, LineAdded, "C40"},
        {"1.e4 e5 2.Nf3 Nc6", LineIncluded, LineAdded, "C44"},
        {"1.Nf3 Nc6 2.e4 e5", TranspositionIncluded, LineAdded, "C44"},
        {"1.e4 e5 2.Nf3 Nc6 3.d4 exd4", "", LineAdded, "C44"},  // beyond every line
        {"1.a3", "", LineAdded, "C20"},                         // matching nothing
        {"1.e4 c5 2.Nf3", "", NullEcoName, "B20", {"  ", "New line"}},
        {"", "", EnterLineFirst, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moves);
        Folder folder;
        EcoEditor editor(folder.dir.path(), folder.table);
        ASSERT_TRUE(editor.Enter(folder.ui));
        folder.ui.answers = {c.code != nullptr};
        const bool changed = editor.AddLine(Line(c.moves), Names(c.names), folder.ui);
        EXPECT_EQ(folder.ui.questions, c.question.empty()
                                           ? std::vector<std::string>{}
                                           : std::vector<std::string>{std::string(c.question)});
        EXPECT_EQ(folder.ui.reports.empty() ? "" : folder.ui.reports.front(), c.report);
        EXPECT_EQ(changed, c.code != nullptr);
        EXPECT_EQ(editor.Changed(), changed);
        if (c.code == nullptr) {
            EXPECT_TRUE(folder.CurrentIsOriginal());
            continue;
        }
        EXPECT_EQ(folder.ui.reports.back(), LineAdded);
        ASSERT_EQ(folder.table.count(), 6);
        EXPECT_EQ(folder.table.Code(5), c.code);
        EXPECT_EQ(folder.table.Name(5), "New line");
        EXPECT_EQ(folder.table.Moves(5), Line(c.moves).LineText());
        EXPECT_TRUE(folder.Consistent());
    }
}

TEST(EcoEdit, ModifyRenameAndDeleteTheSelectedLine) {
    Folder folder;
    EcoEditor editor(folder.dir.path(), folder.table);
    RecordingUi& ui = folder.ui;
    ASSERT_TRUE(editor.Enter(ui));
    EXPECT_FALSE(editor.ModifyLine(Line("1.d4 d5 2.c4 e6"), ui));
    EXPECT_FALSE(editor.DeleteLine(ui));

    editor.Select(3);
    ui.answers = {true};
    EXPECT_TRUE(editor.ModifyLine(Line("1.d4 d5 2.c4 e6"), ui));
    EXPECT_EQ(folder.table.Moves(3), "1.d4 d5 2.c4 e6");
    EXPECT_FALSE(editor.RenameLine(Line("1.d4"), Names({"Queen's gambit"}), ui));
    EXPECT_TRUE(editor.RenameLine(Line("1.d4"), Names({"Queen's gambit declined"}), ui));
    EXPECT_EQ(folder.table.Name(3), "Queen's gambit declined");

    ui.answers = {true};
    EXPECT_TRUE(editor.DeleteLine(ui));
    EXPECT_EQ(editor.Selected(), 2);
    EXPECT_EQ(folder.table.count(), 4);
    EXPECT_EQ(folder.table.Code(3), "B20");
    editor.Select(0);
    ui.answers = {true};
    EXPECT_TRUE(editor.DeleteLine(ui));
    EXPECT_EQ(editor.Selected(), -1);
    EXPECT_EQ(folder.table.Code(0), "C40");
    EXPECT_TRUE(folder.Consistent());

    const std::string select(messages::SelectLineFirst);
    EXPECT_EQ(ui.reports,
              (std::vector<std::string>{
                  select, select, std::string(messages::MovesModified),
                  std::string(messages::NameNotChanged), std::string(messages::NameModified),
                  std::string(messages::LineDeleted), std::string(messages::LineDeleted)}));
    EXPECT_EQ(ui.questions, (std::vector<std::string>{std::string(messages::ConfirmModifyLine),
                                                      std::string(messages::ConfirmDeleteLine),
                                                      std::string(messages::ConfirmDeleteLine)}));
}

TEST(EcoEdit, LeavingWithoutSavingPutsTheTableBack) {
    Folder folder;
    EcoEditor editor(folder.dir.path(), folder.table);
    RecordingUi& ui = folder.ui;
    ASSERT_TRUE(editor.Enter(ui));
    ASSERT_TRUE(editor.AddLine(Line("1.a3"), Names({"Anderssen"}), ui));
    ui.answers = {false};
    EXPECT_FALSE(editor.LeaveWithoutSaving(ui));
    EXPECT_EQ(folder.table.count(), 6);
    ui.answers = {true};
    EXPECT_TRUE(editor.LeaveWithoutSaving(ui));
    EXPECT_EQ(folder.table.count(), 5);
    EXPECT_TRUE(folder.CurrentIsOriginal());
    EXPECT_FALSE(platform::FileExists(folder.dir.File("qorvale.bco")));
    EXPECT_TRUE(folder.Consistent());
}

TEST(EcoEdit, SavingKeepsThePreviousVersionToRestore) {
    Folder folder;
    RecordingUi& ui = folder.ui;
    for (const char* name : {"ecotree.tre", "ecotree.twe", "ecotree.trt", "qorvale.ecd"}) {
        folder.dir.Write(name, "x");
    }
    EcoDataOptions options;
    {
        EcoEditor editor(folder.dir.path(), folder.table);
        ASSERT_TRUE(editor.Enter(ui));
        ASSERT_TRUE(editor.AddLine(Line("1.a3"), Names({"Anderssen"}), ui));
        EXPECT_TRUE(editor.LeaveSaving(options, ui));
    }
    for (const char* name : {"ecotree.tre", "ecotree.twe", "ecotree.trt", "qorvale.ecd"}) {
        EXPECT_FALSE(platform::FileExists(folder.dir.File(name))) << name;
    }
    EXPECT_EQ(folder.File("qorvale.aco"), folder.original.codes);
    EXPECT_EQ(folder.File("qorvale.acn"), folder.original.names);
    EXPECT_EQ(folder.File("qorvale.acm"), folder.original.moves);
    EXPECT_TRUE(platform::FileExists(folder.dir.File("openings/Ecocodes.pgn")));
    EXPECT_EQ(folder.table.count(), 6);

    EcoEditor editor(folder.dir.path(), folder.table);
    ui.answers = {true, true};
    EXPECT_TRUE(editor.RestorePrevious(options, ui));
    EXPECT_TRUE(folder.CurrentIsOriginal());
    EXPECT_EQ(folder.table.count(), 5);
    // The previous version has been used up: a second restore finds none and changes nothing.
    ui.reports.clear();
    EXPECT_FALSE(editor.RestorePrevious(options, ui));
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(messages::TableNotRestored)});
    EXPECT_TRUE(folder.CurrentIsOriginal());
    EXPECT_TRUE(folder.Consistent());
}

}  // namespace
}  // namespace qorvale::openings
