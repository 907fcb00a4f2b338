#include "support/player_request.h"

#include <gtest/gtest.h>

#include "support/recording_ui.h"

namespace qorvale::test {

output::PlayerTableRequest OpenPlayerRequest(pgn::PgnFile& file, const std::string& path) {
    RecordingUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    output::PlayerTableRequest request;
    request.pgn_path = path;
    request.game_count = file.ScanGameFile(false, ui);
    request.offsets = file.Index().Offsets();
    return request;
}

}  // namespace qorvale::test
