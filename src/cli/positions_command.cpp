#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "cli/command.h"

namespace qorvale::cli {

namespace {

// A small reader of the main line of each game: tag lines start a game, comments, variations,
// NAGs, move numbers and results are passed over. It stands in for the full game loader.
class MainLineReader {
public:
    explicit MainLineReader(std::istream& in) : in_(in) {}

    // Reads the next game; false at the end of the file.
    bool Next(chess::MainLineMoves& moves, int& full_moves, std::string& fen_line) {
        moves = chess::MainLineMoves{};
        full_moves = 0;
        fen_line.clear();
        half_moves_ = 0;
        comment_depth_ = 0;
        variation_depth_ = 0;
        bool in_game = false;
        bool seen_moves = false;
        std::string line;
        while (true) {
            if (!pending_.empty()) {
                line = std::move(pending_);
                pending_.clear();
            } else if (!std::getline(in_, line)) {
                break;
            }
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (comment_depth_ == 0 && !line.empty() && line[0] == '[') {
                if (seen_moves) {
                    pending_ = line;
                    break;
                }
                in_game = true;
                if (line.starts_with("[FEN ")) fen_line = line;
                continue;
            }
            if (comment_depth_ == 0 && !line.empty() && line[0] == '%') continue;
            if (ScanMovetext(line, moves)) {
                in_game = true;
                seen_moves = true;
            }
        }
        full_moves = (half_moves_ + 1) / 2;
        return in_game;
    }

private:
    bool ScanMovetext(const std::string& line, chess::MainLineMoves& moves) {
        bool any = false;
        std::size_t i = 0;
        while (i < line.size()) {
            char c = line[i];
            if (comment_depth_ > 0) {
                if (c == '}') comment_depth_ = 0;
                ++i;
                continue;
            }
            if (c == '{') {
                comment_depth_ = 1;
                ++i;
                continue;
            }
            if (c == ';') break;
            if (c == '(') {
                ++variation_depth_;
                ++i;
                continue;
            }
            if (c == ')') {
                if (variation_depth_ > 0) --variation_depth_;
                ++i;
                continue;
            }
            if (c == ' ' || c == '\t') {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '{' &&
                   line[end] != '(' && line[end] != ')' && line[end] != ';') {
                ++end;
            }
            std::string_view token(line.data() + i, end - i);
            i = end;
            any = true;
            if (variation_depth_ > 0) continue;
            Token(token, moves);
        }
        return any;
    }

    void Token(std::string_view token, chess::MainLineMoves& moves) {
        if (token.empty() || token[0] == '$' || token == "*" || token == "1-0" ||
            token == "0-1" || token == "1/2-1/2") {
            return;
        }
        // A move number, possibly glued to its move ("12.Nf3", "3...Bb4").
        std::size_t digits = 0;
        while (digits < token.size() && token[digits] >= '0' && token[digits] <= '9') ++digits;
        if (digits > 0 && digits < token.size() && token[digits] == '.') {
            std::size_t dots = digits;
            while (dots < token.size() && token[dots] == '.') ++dots;
            // "1..." before any white move: Black moves first.
            if (dots - digits >= 3 && half_moves_ == 0) {
                moves.WhiteMoves[0] = chess::MoveText("...");
                half_moves_ = 1;
            }
            token.remove_prefix(dots);
            if (token.empty()) return;
        }
        // "1. ... e5": the dots on their own.
        if (token.starts_with("...") && half_moves_ == 0) {
            moves.WhiteMoves[0] = chess::MoveText("...");
            half_moves_ = 1;
            return;
        }
        char first = token[0];
        bool move_like = (first >= 'a' && first <= 'h') || first == 'K' || first == 'Q' ||
                         first == 'R' || first == 'B' || first == 'N' || first == 'O' ||
                         first == 'o' || first == '0' || first == 'Z';
        if (!move_like) return;
        if (half_moves_ >= 2 * chess::MaxFullMoves) return;
        int index = half_moves_ / 2;
        chess::MoveText text(token);
        if (half_moves_ % 2 == 0) {
            moves.WhiteMoves[static_cast<std::size_t>(index)] = text;
        } else {
            moves.BlackMoves[static_cast<std::size_t>(index)] = text;
        }
        ++half_moves_;
    }

    std::istream& in_;
    std::string pending_;
    int half_moves_ = 0;
    int comment_depth_ = 0;
    int variation_depth_ = 0;
};

}  // namespace

int RunPositionsCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("positions");
    long wanted = 0;
    if (args.HasFlag("--game")) {
        std::string value = args.FlagValue("--game");
        char* end = nullptr;
        wanted = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != 0 || wanted < 1) return UsageError("positions");
    }
    std::ifstream in(args.words[0], std::ios::binary);
    if (!in) {
        args.ui->report("Error opening file.");
        return 1;
    }
    MainLineReader reader(in);
    chess::ChessState state(args.ui);
    chess::MainLineMoves moves;
    std::string fen_line;
    std::string out;
    int full_moves = 0;
    long game = 0;
    while (reader.Next(moves, full_moves, fen_line)) {
        ++game;
        if (wanted != 0 && game != wanted) continue;
        state.SetCurrentGameNumber(static_cast<int>(game));
        state.ReadFenTagExtras(fen_line);
        if (state.StartsFromFen()) state.ParseFenPlacement(fen_line);
        int plies = state.ReplayToHalfMove(moves, full_moves);
        for (int ply = 1; ply <= plies; ++ply) {
            const auto index = static_cast<std::size_t>((ply - 1) / 2);
            const chess::MoveText& text =
                ply % 2 == 1 ? moves.WhiteMoves[index] : moves.BlackMoves[index];
            if (text[0] == '.') continue;  // the place of White's move in a game Black begins
            chess::Board board{};
            const chess::Snapshot& snapshot = state.PositionHistory(ply);
            for (int file = 1; file <= 8; ++file) {
                for (int rank = 1; rank <= 8; ++rank) {
                    board[file][rank] = snapshot[(file - 1) * 8 + rank - 1];
                }
            }
            out.clear();
            out += std::to_string(game);
            out += '\t';
            out += std::to_string(ply);
            out += '\t';
            out += text.view();
            out += '\t';
            chess::AppendPlacement(board, out);
            out += '\n';
            std::fwrite(out.data(), 1, out.size(), stdout);
        }
        if (wanted != 0) break;
    }
    if (wanted != 0 && game < wanted) {
        std::fprintf(stderr, "qorvale-tool: the file has %ld games\n", game);
        return 1;
    }
    return 0;
}

}  // namespace qorvale::cli
