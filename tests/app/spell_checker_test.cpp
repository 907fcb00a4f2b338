#include "app/spell_checker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_folder.h"
#include "base/text.h"
#include "openings/eco_table.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::TempDir;

DictionaryFiles English() {
    const std::vector<std::string> folders = SystemDictionaryFolders();
    return FindDictionary(folders, "en_US");
}

SpellChecker OpenChecker(const std::string& list_path) {
    auto checker = SpellChecker::Open(English(), list_path);
    EXPECT_TRUE(checker.ok()) << checker.error().message();
    return std::move(checker).value();
}

openings::EcoTable ProgramEcoTable(const TempDir& dir) {
    for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm"}) {
        dir.Write(name, test::ReadWholeFile(ProgramDataFolder() + "/" + name));
    }
    openings::EcoTable table;
    test::RecordingUi ui;
    EXPECT_TRUE(LoadEcoTable(openings::EcoTableFilesIn(dir.path()), table, ui).ok());
    return table;
}

std::vector<std::string> Flagged(const SpellChecker& checker, std::string_view text) {
    const std::string shown = DisplayText(text);
    std::vector<std::string> words;
    for (const MisspeltWord& word : checker.Misspelt(text)) {
        words.push_back(shown.substr(word.offset, word.length));
    }
    return words;
}

// The comments of real annotated games: chess words the dictionary lacks are known once the
// ECO table's names are learnt, moves and their marks are never words, a typo is caught.
TEST(SpellChecker, RealCommentsWithChessWords) {
    TempDir dir;
    const std::string games = test::ReadWholeFile(test::TestDataPath("gui/annotated-matches.pgn"));
    std::vector<std::string> comments;
    for (std::size_t open = games.find('{'); open != std::string::npos;
         open = games.find('{', open + 1)) {
        comments.push_back(games.substr(open + 1, games.find('}', open) - open - 1));
    }
    ASSERT_GT(comments.size(), 20u);

    SpellChecker checker = OpenChecker(dir.File("qorvale.spl"));
    std::vector<std::string> before;
    for (const std::string& comment : comments) {
        for (std::string& word : Flagged(checker, comment)) before.push_back(word);
    }
    // The dictionary alone does not know the players and openings the comments name.
    EXPECT_NE(std::find(before.begin(), before.end(), "Bourdonnais"), before.end());

    ASSERT_TRUE(checker.LearnOpeningNames(ProgramEcoTable(dir)).ok());
    std::vector<std::string> after;
    for (const std::string& comment : comments) {
        for (std::string& word : Flagged(checker, comment)) after.push_back(word);
    }
    EXPECT_EQ(std::find(after.begin(), after.end(), "Bourdonnais"), after.end());
    EXPECT_LT(after.size(), before.size());

    const std::string typo = "Black threatened 18...Qc5+ but White wins beatifully with O-O-O!";
    const auto misspelt = checker.Misspelt(typo);
    ASSERT_EQ(misspelt.size(), 1u);
    EXPECT_EQ(typo.substr(misspelt[0].offset, misspelt[0].length), "beatifully");
    const auto suggestions = checker.Suggestions("beatifully");
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "beautifully"), suggestions.end());
}

TEST(SpellChecker, WordsOfACommentSkipMovesAndMarks) {
    struct Case {
        std::string text;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"12.Nf3 Nc6 13...Bxc6+ O-O-O 0-0 $14 !? +/= e4", {}},
        {"The Lopez Gambit.", {"The", "Lopez", "Gambit"}},
        {"(threatens ..f2#) and 19...Qg2.", {"threatens", "and"}},
        {"a 'revenge for Waterloo'. ECO GM", {"revenge", "for", "Waterloo"}},
        {"Queen's side, Caro-Kann", {"Queen's", "side", "Caro", "Kann"}},
        {"R\xc3\xa9ti's idea", {"R\xc3\xa9ti's", "idea"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> words;
        for (const MisspeltWord& word : CommentWords(c.text)) {
            words.push_back(c.text.substr(word.offset, word.length));
        }
        EXPECT_EQ(words, c.words);
    }
}

TEST(SpellChecker, Latin1CommentsAndPlayerNames) {
    TempDir dir;
    SpellChecker checker = OpenChecker(dir.File("qorvale.spl"));
    ASSERT_TRUE(checker.LearnOpeningNames(ProgramEcoTable(dir)).ok());
    // "Kádas" in Latin-1, as an older file holds it; offsets are into the text as shown.
    const std::string latin1 =
        "the K\xe1"
        "das Opening, not K\xe1"
        "dass";
    EXPECT_EQ(Flagged(checker, latin1), std::vector<std::string>{"K\xc3\xa1"
                                                                 "dass"});

    // The players of the annotated game: known while it is annotated, not learnt for good.
    EXPECT_EQ(Flagged(checker, "Mahe missed it"), std::vector<std::string>{"Mahe"});
    checker.AcceptForSession("De la Bourdonnais, Louis Mahe");
    EXPECT_TRUE(Flagged(checker, "Mahe missed it").empty());
    EXPECT_EQ(test::ReadWholeFile(dir.File("qorvale.spl")).find("Mahe"), std::string::npos);
}

// A crash while a word is added leaves the old list or the new one, never a part; the list read
// back knows its words, a Latin-1 one as UTF-8.
TEST(SpellChecker, WordListRoundTripsAndIsCrashSafe) {
    TempDir dir;
    const std::string list = dir.File("qorvale.spl");
    const std::string old_list =
        "Anderssen\r\nK\xe1"
        "dasz\r\n";
    const std::string new_list =
        "Anderssen\r\nK\xc3\xa1"
        "dasz\r\nZwischenzugs\r\n";
    const int points =
        test::KillAtEveryPoint([&] { dir.Write("qorvale.spl", old_list); },
                               [&](platform::FileSystem& files) {
                                   auto checker = SpellChecker::Open(English(), list, files);
                                   if (checker.ok()) (void)checker->AddWord("Zwischenzugs");
                               },
                               [&](int point) {
                                   const std::string now = test::ReadWholeFile(list);
                                   if (point == 0) {
                                       EXPECT_EQ(now, new_list);
                                   } else {
                                       EXPECT_TRUE(now == old_list || now == new_list) << now;
                                   }
                               });
    EXPECT_GT(points, 0);
    SpellChecker again = OpenChecker(list);
    EXPECT_TRUE(again.IsCorrect("Zwischenzugs"));
    EXPECT_TRUE(
        again.IsCorrect("K\xe1"
                        "dasz"));
    EXPECT_FALSE(again.IsCorrect("Zwischenzugz"));
}

}  // namespace
}  // namespace qorvale::app
