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
    for (const auto& [chosen, name] :
         std::vector<std::pair<std::string, std::string>>{{"/d/games.TRM", "/d/games.TRM"},
                                                          {"/d/games.pgn", "/d/games.trm"},
                                                          {"/d.x/games", "/d.x/games.trm"},
                                                          {"/d/a.b.c", "/d/a.b.trm"}}) {
        EXPECT_EQ(MergeFileName(chosen), name);
    }
}

TEST(TreeMerge, WarnsOfNamesakesAndWantsAFileToMergeInto) {
    test::TempDir dir;
    dir.Write("games.pgn", "");
    dir.Write("games.DBG", "");
    test::RecordingUi ui;
    EXPECT_FALSE(ChooseMergeFile(dir.File("games"), true, ui).ok());
    Result<std::string> chosen = ChooseMergeFile(dir.File("games.x"), false, ui);
    ASSERT_TRUE(chosen.ok());
    EXPECT_EQ(*chosen, dir.File("games.trm"));
    const std::string pgn(messages::PgnFileSameName);
    const std::string database(messages::DatabaseSameName);
    EXPECT_EQ(ui.reports,
              (std::vector<std::string>{pgn, database, std::string(messages::MergeFileMissing), pgn,
                                        database}));
}

}  // namespace
}  // namespace qorvale::openings
