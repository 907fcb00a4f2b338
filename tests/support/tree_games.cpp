#include "support/tree_games.h"

#include <gtest/gtest.h>

#include "pgn/pgn_file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/recording_ui.h"

namespace qorvale::test {

openings::TreeSourceRequest TreeGames::Request(bool use_fast_file) const {
    openings::TreeSourceRequest request;
    request.kind = openings::TreeSourceKind::PgnFile;
    request.path = path;
    request.offsets = offsets;
    request.game_count = count;
    request.use_fast_file = use_fast_file;
    return request;
}

std::string TreeGamesText(bool keep_fen_games) {
    const std::string text = ReadWholeFile(TestDataPath("chess/games.pgn"));
    if (keep_fen_games) return text;
    std::string kept;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t next = text.find("\n[Event ", at);
        next = next == std::string::npos ? text.size() : next + 1;
        const std::string_view game(text.data() + at, next - at);
        if (game.find("\n[FEN ") == std::string_view::npos) kept += game;
        at = next;
    }
    return kept;
}

TreeGames WriteTreeGames(const TempDir& dir, std::string_view name, std::string_view text,
                         bool fast_file) {
    TreeGames games;
    games.path = dir.Write(name, text);
    pgn::PgnFile file;
    RecordingUi ui;
    EXPECT_TRUE(file.Open(games.path).ok()) << games.path;
    games.count = file.ScanGameFile(false, ui);
    games.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    if (fast_file) {
        search::PgnGameSource source(games.path, games.offsets);
        EXPECT_TRUE(source.Open().ok());
        search::MakeFastFile(games.path, games.count, source, {});
    }
    return games;
}

}  // namespace qorvale::test
