#include "support/pgn_extract.h"

#include <cstdio>
#include <sstream>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "support/recording_ui.h"

namespace qorvale::test {

namespace {

constexpr const char* PgnExtractPath = "/usr/games/pgn-extract";

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

std::string Output(const std::string& path, const std::vector<std::string>& arguments) {
    std::string command = std::string(PgnExtractPath) + " -s -w100000";
    for (const std::string& argument : arguments) command += " " + Quote(argument);
    return RunForOutput(command + " " + Quote(path) + " 2>/dev/null");
}

// The placement of a FEN comment's text ("rnbqkbnr/... w KQkq - 0 1"): six fields, the first of
// placement characters, the second the side to move, the last two numbers.
bool FenCommentPlacement(std::string_view text, std::string& placement) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        fields.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    auto only = [](std::string_view field, std::string_view allowed) {
        return !field.empty() && field.find_first_not_of(allowed) == std::string_view::npos;
    };
    if (fields.size() != 6 || !only(fields[0], "12345678pnbrqkPNBRQK/") ||
        (fields[1] != "w" && fields[1] != "b") || !only(fields[2], "-ABCDEFGHabcdefghKQkq") ||
        !only(fields[3], "-abcdefgh12345678") || !only(fields[4], "0123456789") ||
        !only(fields[5], "0123456789")) {
        return false;
    }
    placement = fields[0];
    return true;
}

}  // namespace

std::vector<ReplayedGame> ReplayWithPgnExtract(const std::string& path) {
    // Comments, NAGs and variations left out, so that the only comments are the FEN ones.
    const std::string out = RunForOutput(std::string(PgnExtractPath) +
                                         " -C -N -V --keepbroken "
                                         "--allownullmoves --fencomments -s " +
                                         Quote(path) + " 2>/dev/null");
    std::vector<ReplayedGame> games;
    std::string joined;
    auto flush = [&]() {
        ReplayedGame game;
        for (std::size_t open = joined.find("{ "); open != std::string::npos;
             open = joined.find("{ ", open + 1)) {
            const std::size_t close = joined.find(" }", open);
            if (close == std::string::npos) break;
            if (std::string placement; FenCommentPlacement(
                    std::string_view(joined).substr(open + 2, close - open - 2), placement)) {
                ++game.plies;
                game.placement = placement;
            }
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

std::vector<std::string> PgnExtractMainLines(const std::string& path,
                                             const std::vector<std::string>& arguments) {
    std::vector<std::string> all = {"--notags", "-C", "-N", "-V", "--nomovenumbers", "--noresults"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::istringstream in(Output(path, all));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> StockfishLegalMoves(const std::string& fen) {
    const std::string command = "printf 'position fen %s\\ngo perft 1\\nquit\\n' " + Quote(fen) +
                                " | /usr/games/stockfish 2>/dev/null";
    std::vector<std::string> moves;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            std::string text(line);
            std::size_t colon = text.find(": ");
            if (colon >= 4 && colon <= 5 && text.find("Nodes") == std::string::npos) {
                moves.push_back(text.substr(0, colon));
            }
        }
        ::pclose(pipe);
    }
    return moves;
}

bool HavePgnExtract() { return platform::FileExists(PgnExtractPath); }

std::vector<std::string> PgnExtractGames(const std::string& path,
                                         const std::vector<std::string>& arguments) {
    const std::string output = Output(path, arguments);
    // Each game: tag lines, an empty line, the movetext line(s), an empty line.
    std::vector<std::string> games;
    std::istringstream in(output);
    std::string game;
    bool in_moves = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('[') && in_moves) {
            games.push_back(game);
            game.clear();
            in_moves = false;
        }
        if (!line.empty() && !line.starts_with('[')) in_moves = true;
        game += line + "\n";
    }
    if (!game.empty()) games.push_back(game);
    return games;
}

}  // namespace qorvale::test
