#include "openings/tree_merge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/messages.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

TEST(TreeMerge, ChosenNamesEndInTrm) {
    struct Case {
        const char* chosen;
        const char* name;
    };
    const std::vector<Case> cases = {
        {"/d/games.trm", "/d/games.trm"}, {"/d/games.TRM", "/d/games.TRM"},
        {"/d/games.pgn", "/d/games.trm"}, {"/d/games", "/d/games.trm"},
        {"/d.x/games", "/d.x/games.trm"}, {"/d/a.b.c", "/d/a.b.trm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(MergeFileName(c.chosen), c.name);
    }
}

TEST(TreeMerge, WarnsOfNamesakesAndWantsAFileToMergeInto) {
    struct Case {
        const char* name;
        std::vector<const char*> present;
        bool must_exist;
        std::vector<std::string> reports;
        bool ok;
    };
    const std::string pgn(messages::PgnFileSameName);
    const std::string database(messages::DatabaseSameName);
    const std::string missing(messages::MergeFileMissing);
    const std::vector<Case> cases = {
        {"new file", {}, false, {}, true},
        {"beside its PGN file", {"games.pgn"}, false, {pgn}, true},
        {"beside a database", {"games.DBG", "games.trm"}, true, {database}, true},
        {"nothing to merge into", {"games.PGN"}, true, {pgn, missing}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        for (const char* name : c.present) dir.Write(name, "x");
        test::RecordingUi ui;
        Result<std::string> chosen = ChooseMergeFile(dir.File("games.pgn"), c.must_exist, ui);
        EXPECT_EQ(chosen.ok(), c.ok);
        if (chosen.ok()) {
            EXPECT_EQ(*chosen, dir.File("games.trm"));
        }
        EXPECT_EQ(ui.reports, c.reports);
    }
}

}  // namespace
}  // namespace qorvale::openings
