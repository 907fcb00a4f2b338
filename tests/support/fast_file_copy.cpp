#include "support/fast_file_copy.h"

#include <gtest/gtest.h>

#include "pgn/pgn_file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/recording_ui.h"

namespace qorvale::test {

FastFileCopy CopyWithFastFile(const TempDir& dir, std::string_view data_name,
                              std::string_view name) {
    FastFileCopy copy;
    copy.path = dir.CopyData(data_name, name);
    pgn::PgnFile file;
    RecordingUi ui;
    EXPECT_TRUE(file.Open(copy.path).ok()) << copy.path;
    std::int32_t count = file.ScanGameFile(false, ui);
    copy.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    search::PgnGameSource games(copy.path, copy.offsets);
    EXPECT_TRUE(games.Open().ok());
    search::MakeFastFile(copy.path, count, games, {});
    copy.move_file = search::FastFileNamesOf(copy.path).trf;
    return copy;
}

}  // namespace qorvale::test
