#include "openings/eco_table_builder.h"

#include <memory>

#include "chess/chess_state.h"
#include "openings/eco_table.h"

namespace qorvale::openings {

namespace {

// A move text without its check or mate mark, for comparing the file's text with the rules'.
std::string_view Unmarked(std::string_view text) {
    while (!text.empty() && (text.back() == '+' || text.back() == '#')) text.remove_suffix(1);
    return text;
}

bool ValidCode(std::string_view code) {
    return code.size() == 3 && code[0] >= 'A' && code[0] <= 'E' && code[1] >= '0' &&
           code[1] <= '9' && code[2] >= '0' && code[2] <= '9';
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (true) {
        std::size_t end = text.find(separator, at);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(at));
            return parts;
        }
        parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
}

}  // namespace

std::string ReplayTableLine(std::string_view moves) {
    // The state holds a 400-position history: keep it off the stack.
    auto chess = std::make_unique<chess::ChessState>();
    chess->SetStartPosition();
    int half_move = 0;
    std::string previous_number;
    for (std::string_view token : Split(moves, ' ')) {
        if (token.empty()) return "empty token";
        std::size_t dot = token.rfind('.');
        if (dot != std::string_view::npos) {
            std::string_view number = token.substr(0, token.find('.'));
            if (half_move % 2 != 0 || number != std::to_string(half_move / 2 + 1)) {
                return "move number " + std::string(number) + " out of turn";
            }
            token.remove_prefix(dot + 1);
        } else if (half_move % 2 == 0) {
            return "White's move " + std::string(token) + " without a move number";
        }
        if (token.empty() || token.size() > chess::MoveText::Capacity) {
            return "move text '" + std::string(token) + "'";
        }
        ++half_move;
        const chess::Side side = half_move % 2 == 1 ? chess::Side::White : chess::Side::Black;
        chess::MoveText text(token);
        const chess::FromHint no_hint{};
        if (chess->LocateMoveText(text, no_hint, side) != 0) {
            return "no move " + std::string(token) + " at half-move " + std::to_string(half_move);
        }
        const chess::LocatedMove squares = chess->LocatedMoveSquares();
        if (chess->MakeMoveFromSquares(
                chess::MoveMode::TextOnly, half_move, static_cast<int>(squares.from_file),
                static_cast<int>(squares.from_rank), static_cast<int>(squares.to_file),
                static_cast<int>(squares.to_rank)) != 0) {
            return "illegal move " + std::string(token) + " at half-move " +
                   std::to_string(half_move);
        }
        if (Unmarked(chess->MadeMoveText().view()) != Unmarked(token)) {
            return "move " + std::string(token) + " at half-move " + std::to_string(half_move) +
                   " is written " + std::string(chess->MadeMoveText().view()) + " by the rules";
        }
        chess->ApplyMoveText(text, no_hint, side);
        chess->SnapshotPosition(half_move);
    }
    return {};
}

void AddOpeningList(std::string_view list_text, std::string_view source, EcoTableTexts& texts) {
    int line_number = 0;
    for (std::string_view line : Split(list_text, '\n')) {
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        std::string where = std::string(source) + ":" + std::to_string(line_number) + ": ";
        std::vector<std::string_view> fields = Split(line, '\t');
        if (line_number == 1 && fields.size() >= 1 && fields[0] == "eco") continue;
        if (fields.size() != 3) {
            texts.notes.push_back(where + "not three tab-separated fields");
            continue;
        }
        if (!ValidCode(fields[0])) {
            texts.notes.push_back(where + "code '" + std::string(fields[0]) + "'");
            continue;
        }
        if (fields[1].empty() || fields[1].find('\r') != std::string_view::npos) {
            texts.notes.push_back(where + "no name");
            continue;
        }
        std::string moves = FuseMoveNumbers(fields[2]);
        if (moves.empty()) {
            texts.notes.push_back(where + "no moves");
            continue;
        }
        int half_moves = 1;
        for (char c : moves) half_moves += c == ' ';
        if (half_moves > MaxEcoHalfMoves) {
            texts.notes.push_back(where + "longer than 30 moves (" + std::to_string(half_moves) +
                                  " half-moves)");
            continue;
        }
        if (std::string why = ReplayTableLine(moves); !why.empty()) {
            texts.notes.push_back(where + why);
            continue;
        }
        texts.codes += fields[0];
        texts.codes += "\r\n";
        texts.names += fields[1];
        texts.names += "\r\n";
        texts.moves += moves;
        texts.moves += "\r\n";
        ++texts.entries;
    }
}

}  // namespace qorvale::openings
