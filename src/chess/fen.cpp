#include "chess/fen.h"

#include <cstdio>

#include "chess/messages.h"

namespace qorvale::chess {

namespace {

constexpr std::array<char, 7> PieceLetters = {'?', 'P', 'N', 'B', 'R', 'Q', 'K'};

}  // namespace

void AppendPlacement(const Board& board, std::string& out) {
    for (int rank = 8; rank >= 1; --rank) {
        int empty_run = 0;
        for (int file = 1; file <= 8; ++file) {
            std::uint32_t code = board[file][rank];
            std::uint32_t kind = KindOf(code);
            if (code == Empty || kind > King) {
                ++empty_run;
                continue;
            }
            if (empty_run > 0) out.push_back(static_cast<char>('0' + empty_run));
            empty_run = 0;
            char letter = PieceLetters[kind];
            out.push_back(IsBlackCode(code) ? static_cast<char>(letter - 'A' + 'a') : letter);
        }
        if (empty_run > 0) out.push_back(static_cast<char>('0' + empty_run));
        if (rank > 1) out.push_back('/');
    }
}

std::string WritePlacement(const Board& board) {
    std::string out;
    out.reserve(72);
    AppendPlacement(board, out);
    return out;
}

Board ReadPlacement(std::string_view placement) {
    Board board{};
    // File and rank stay within a small range however long the text is, and only squares of the
    // board are written: a rank with too many squares simply loses the extra ones.
    int file = 1;
    int rank = 8;
    for (char c : placement) {
        if (c == ' ' || c == 0) break;
        if (c == '/') {
            --rank;
            file = 1;
            if (rank < -1) rank = -1;
            continue;
        }
        if (c >= '9') {
            bool black = c >= 'a' && c <= 'z';
            char upper = black ? static_cast<char>(c - 'a' + 'A') : c;
            std::uint32_t kind = Pawn;
            switch (upper) {
                case 'N':
                    kind = Knight;
                    break;
                case 'B':
                    kind = Bishop;
                    break;
                case 'R':
                    kind = Rook;
                    break;
                case 'Q':
                    kind = Queen;
                    break;
                case 'K':
                    kind = King;
                    break;
                default:
                    break;
            }
            if (OnBoard(file, rank)) board[file][rank] = kind + (black ? BlackOffset : 0);
            ++file;
        } else {
            file += c - '0';
        }
        if (file > 20) file = 20;
        if (file < -20) file = -20;
    }
    return board;
}

std::string WriteFenTag(const Board& start, const MainLineMoves& moves, int full_moves,
                        std::string_view result, std::uint32_t start_move_number) {
    std::string line = "[FEN \"";
    AppendPlacement(start, line);
    bool black_first;
    if (full_moves > 0) {
        black_first = moves.WhiteMoves[0][0] == '.';
    } else {
        black_first = result == "0-1";
    }
    line += black_first ? " b" : " w";
    char tail[32];
    std::snprintf(tail, sizeof tail, " - - 0 %u", start_move_number != 0 ? start_move_number : 1u);
    line += tail;
    line += "\"]\r\n";
    return line;
}

std::string ClipboardFenText(const Board& setup, Ui& ui) {
    std::string text = WritePlacement(setup);
    text += ui.ask(messages::WhiteToMoveFirstQuestion) ? "+w" : "+b";
    return text;
}

}  // namespace qorvale::chess
