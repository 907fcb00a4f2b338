// The database mode's session: search, the found games' list, a game shown from the database
// files and stepped through, the saved results taken up again, the game buffer.
#include "app/database_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "search/database_build.h"
#include "search/messages.h"
#include "search/text_game_reader.h"
#include "support/fast_file_copy.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::TempDir;

TEST(DatabaseSession, ShowsFoundGamesAsTheirSourceFileHoldsThem) {
    TempDir dir;
    const test::FastFileCopy source = test::CopyWithFastFile(dir, "harden/fischer.pgn", "f.pgn");
    const std::string db = dir.File("f.dbg");
    ASSERT_TRUE(
        search::MakeDatabase({db, search::DbBuildMode::StartNew, source.path, 34}, {}).error.ok());
    test::RecordingUi ui;
    DatabaseSession session;
    ASSERT_TRUE(session.Open(db, ui).ok());
    EXPECT_EQ(session.StatusText(), "DB:  f.dbg");
    session.Criteria().black = "Petrosian";
    ASSERT_EQ(session.Search(ui), 5);
    EXPECT_EQ(session.ListTitle(), "Select Game from 5");

    search::TextGameReader reader(source.path, source.offsets);
    for (std::size_t position = 0; position < session.Found().size(); ++position) {
        SCOPED_TRACE(position);
        const DatabaseGameRow row = session.Row(position);
        ASSERT_TRUE(session.ShowGame(position, ui).ok());
        ASSERT_TRUE(reader.Read(static_cast<std::int32_t>(row.record),
                                search::TextGameReader::Depth::Positions));
        EXPECT_EQ(row.black, reader.Values().Get(pgn::HeaderField::Black));
        EXPECT_EQ(session.Header().CurrentHeader().Get(pgn::HeaderField::White),
                  reader.Values().Get(pgn::HeaderField::White));
        ASSERT_EQ(session.Navigation().lastPly, reader.HalfMoves());
        session.Go(NavigationAction::EndOfGame);
        const chess::Snapshot& last = reader.Position(reader.HalfMoves());
        chess::Board64 expected;
        std::copy(last.begin(), last.end(), expected.begin());
        EXPECT_EQ(chess::ToBoard64(session.Chess().CurrentBoard()), expected);
    }
    EXPECT_FALSE(session.NextGame(ui));
    EXPECT_TRUE(session.PreviousGame(ui));
    EXPECT_EQ(session.ShownPosition(), 3u);

    const std::string buffer = dir.File("gameqqqq.xyz");
    EXPECT_EQ(session.CopyShownToBuffer(buffer).message, search::messages::GameMovedToBuffer);
    EXPECT_TRUE(test::ReadWholeFile(buffer).starts_with("[Event \""));

    // The saved results are the found games of the next session.
    DatabaseSession again;
    ASSERT_TRUE(again.Open(db, ui).ok());
    EXPECT_EQ(again.Found(), session.Found());
    EXPECT_TRUE(ui.reports.empty());
}

}  // namespace
}  // namespace qorvale::app
