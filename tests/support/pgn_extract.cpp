#include "support/pgn_extract.h"

#include <cstdio>
#include <regex>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "support/recording_ui.h"

namespace qorvale::test {

namespace {

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string RunForOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    pclose(pipe);
    return out;
}

}  // namespace

std::vector<ReplayedGame> ReplayWithPgnExtract(const std::string& path) {
    // Comments, NAGs and variations left out, so that the only comments are the FEN ones.
    const std::string out = RunForOutput(
        "/usr/games/pgn-extract -C -N -V --keepbroken "
        "--allownullmoves --fencomments -s " +
        Quote(path) + " 2>/dev/null");
    static const std::regex fen(
        R"(\{ ([1-8pnbrqkPNBRQK/]+) [wb] [-A-Ha-hKQkq]+ [-a-h1-8]+ \d+ \d+ \})");
    std::vector<ReplayedGame> games;
    std::string joined;
    auto flush = [&]() {
        ReplayedGame game;
        for (std::sregex_iterator it(joined.begin(), joined.end(), fen), end; it != end; ++it) {
            ++game.plies;
            game.placement = (*it)[1];
        }
        games.push_back(game);
        joined.clear();
    };
    bool any = false;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string_view line(out.data() + start, end - start);
        // pgn-extract writes the seven tags first, Event first, for every game.
        if (line.starts_with("[Event ")) {
            if (any) flush();
            any = true;
        } else if (!line.starts_with("[")) {
            joined.append(line);
            joined += ' ';
        }
        start = end + 1;
    }
    if (any) flush();
    return games;
}

std::vector<ReplayedGame> ReplayWithLoader(const std::string& path) {
    std::vector<ReplayedGame> games;
    pgn::PgnFile file;
    RecordingUi ui;
    if (!file.Open(path).ok()) return games;
    const std::int32_t count = file.ScanGameFile(false, ui);
    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    pgn::LoadOptions options;
    options.quiet = true;
    for (std::int32_t game = 1; game <= count; ++game) {
        Result<int> loaded = pgn::OpenGameForDisplay(file, game, header, lines, chess, ui, options);
        ReplayedGame replayed;
        if (loaded.ok()) {
            const bool black_first = lines.Moves().WhiteMoves[0][0] == '.';
            replayed.plies = *loaded - (black_first && *loaded > 0 ? 1 : 0);
            if (replayed.plies > 0) {
                chess.RestorePosition(*loaded);
                chess::AppendPlacement(chess.CurrentBoard(), replayed.placement);
            }
        }
        games.push_back(replayed);
    }
    return games;
}

}  // namespace qorvale::test
