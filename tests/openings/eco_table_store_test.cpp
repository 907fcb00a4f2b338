// A change of the ECO table killed at any point leaves the old table or the new one, never a mix,
// once the next load has finished what the journal committed.
#include "openings/eco_table_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "eco_test_table.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::TempDir;

const test::TableTexts Old =
    test::TextsOf({{"C20", "King's pawn", "1.e4 e5"}, {"D06", "Queen's gambit", "1.d4 d5 2.c4"}});
const test::TableTexts New = test::TextsOf({{"C20", "King's pawn", "1.e4 e5"},
                                            {"D06", "Queen's gambit", "1.d4 d5 2.c4"},
                                            {"A00", "Anderssen", "1.a3"}});

EcoTableContents ContentsOf(const test::TableTexts& texts) {
    return {texts.codes, texts.names, texts.moves};
}

void WriteSet(const TempDir& dir, EcoFileSet set, const test::TableTexts& texts) {
    const EcoTableFiles files = EcoFileSetIn(dir.path(), set);
    dir.Write(platform::NameOf(files.codes), texts.codes);
    dir.Write(platform::NameOf(files.names), texts.names);
    dir.Write(platform::NameOf(files.moves), texts.moves);
}

// The set on disk: which of `candidates` it is, or -1 for a mix; -2 when it is not there.
int WhichSet(const TempDir& dir, EcoFileSet set, const std::vector<test::TableTexts>& candidates) {
    const EcoTableFiles files = EcoFileSetIn(dir.path(), set);
    if (!platform::FileExists(files.codes) && !platform::FileExists(files.names) &&
        !platform::FileExists(files.moves)) {
        return -2;
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (ReadWholeFile(files.codes) == candidates[i].codes &&
            ReadWholeFile(files.names) == candidates[i].names &&
            ReadWholeFile(files.moves) == candidates[i].moves) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TEST(EcoTableStore, AKilledChangeLeavesTheOldTableOrTheNew) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&)> prepare;
        std::function<void(const TempDir&, platform::FileSystem&)> change;
        EcoFileSet watched;
        EcoFileSet source;  // for a move: the set that must be whole or gone
    };
    const std::vector<Case> cases = {
        {"the table rewritten", [](const TempDir& dir) { WriteSet(dir, EcoFileSet::Current, Old); },
         [](const TempDir& dir, platform::FileSystem& files) {
             (void)WriteEcoFileSet(dir.path(), EcoFileSet::Current, ContentsOf(New), files);
         },
         EcoFileSet::Current, EcoFileSet::Current},
        {"the working copy put back",
         [](const TempDir& dir) {
             WriteSet(dir, EcoFileSet::Current, Old);
             WriteSet(dir, EcoFileSet::WorkingCopy, New);
         },
         [](const TempDir& dir, platform::FileSystem& files) {
             (void)MoveEcoFileSet(dir.path(), EcoFileSet::WorkingCopy, EcoFileSet::Current, files);
         },
         EcoFileSet::Current, EcoFileSet::WorkingCopy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        bool saw_old = false;
        bool saw_new = false;
        const int points = qorvale::test::KillAtEveryPoint(
            [&] {
                for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm", "qorvale.bco",
                                         "qorvale.bcn", "qorvale.bcm", "qorvale.ecj"}) {
                    platform::DeleteFile(dir.File(name));
                }
                c.prepare(dir);
            },
            [&](platform::FileSystem& files) { c.change(dir, files); },
            [&](int point) {
                // What the next start does before it reads the table.
                RecoverEcoTableFiles(dir.path());
                const int current = WhichSet(dir, c.watched, {Old, New});
                ASSERT_GE(current, 0) << "a mix of the two tables";
                saw_old = saw_old || current == 0;
                saw_new = saw_new || current == 1;
                if (point == 0) {
                    EXPECT_EQ(current, 1);
                }
                if (c.source != c.watched) {
                    // Moved whole or not at all.
                    EXPECT_EQ(WhichSet(dir, c.source, {New}), current == 1 ? -2 : 0);
                }
                EcoTable table;
                qorvale::test::RecordingUi ui;
                EXPECT_TRUE(LoadEcoTable(EcoFileSetIn(dir.path(), c.watched), table, ui).ok());
                EXPECT_TRUE(CheckEcoTable(EcoFileSetIn(dir.path(), c.watched), table, ui));
            });
        EXPECT_GT(points, 4);
        EXPECT_TRUE(saw_old);
        EXPECT_TRUE(saw_new);
    }
}

}  // namespace
}  // namespace qorvale::openings
