#include <cstdio>
#include <cstdlib>
#include <string>

#include "chess/chess_state.h"
#include "cli/command.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

namespace {

void PrintAnnotation(const pgn::GameLines& lines, int half_move, std::string& line) {
    std::string text = lines.AnnotationText(half_move);
    if (text.empty()) return;
    line += ' ';
    line += text;
}

}  // namespace

// What the window shows for game N: the header lines, then the main line after its replay with
// move numbers, each annotation after the half-move it follows.
int RunShowCommand(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("show");
    char* end = nullptr;
    long game_number = std::strtol(args.words[1].c_str(), &end, 10);
    if (end == args.words[1].c_str() || *end != '\0' || game_number < 1) return UsageError("show");

    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;

    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess(args.ui);
    Result<int> loaded = pgn::OpenGameForDisplay(file, static_cast<int>(game_number), header, lines,
                                                 chess, *args.ui);
    if (!loaded.ok()) return 1;

    const pgn::HeaderDisplayLines& display = header.DisplayLines();
    for (const std::string* text :
         {&display.event_site, &display.date_round, &display.white_black, &display.result_eco}) {
        std::printf("%s\n", text->c_str());
    }
    std::printf("\n");

    std::string intro = lines.AnnotationText(0);
    if (!intro.empty()) std::printf("%s\n", intro.c_str());
    const chess::MainLineMoves& moves = lines.Moves();
    int half_move = 0;
    for (int index = 0; index < lines.FullMoves(); ++index) {
        const auto slot = static_cast<std::size_t>(index);
        unsigned number = chess.DisplayMoveNumber(static_cast<std::uint32_t>(index));
        std::string line = std::to_string(number);
        ++half_move;
        if (moves.WhiteMoves[slot][0] == '.') {
            line += "... ";
        } else {
            line += ". ";
            line += moves.WhiteMoves[slot].view();
            PrintAnnotation(lines, half_move, line);
        }
        if (!moves.BlackMoves[slot].empty()) {
            ++half_move;
            if (line.back() != ' ') line += ' ';
            line += moves.BlackMoves[slot].view();
            PrintAnnotation(lines, half_move, line);
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

}  // namespace qorvale::cli
