#include "support/pgn_extract.h"

#include <cstdio>
#include <sstream>

#include "platform/file.h"

namespace qorvale::test {

namespace {

constexpr const char* PgnExtractPath = "/usr/games/pgn-extract";

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Output(const std::string& path, const std::vector<std::string>& arguments) {
    std::string command = std::string(PgnExtractPath) + " -s -w100000";
    for (const std::string& argument : arguments) command += " " + Quote(argument);
    command += " " + Quote(path) + " 2>/dev/null";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char block[65536];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) {
            output.append(block, got);
        }
        ::pclose(pipe);
    }
    return output;
}

}  // namespace

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
