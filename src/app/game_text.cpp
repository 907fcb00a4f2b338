#include "app/game_text.h"

#include <cstdio>

namespace qorvale::app {

namespace {

std::string Format(const char* pattern, int number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, number);
    return buffer;
}

int Digits(int number) {
    int digits = 1;
    for (int rest = number < 0 ? -number : number; rest >= 10; rest /= 10) ++digits;
    return digits;
}

// The panel keeps a margin beside the text that grows with the board.
int PanelMargin(int board_size) {
    if (board_size >= 2) return 140;
    if (board_size == 1) return 120;
    return 100;
}

const chess::MoveText& WhiteAt(const GameTextSource& game, int index) {
    return game.moves->WhiteMoves[static_cast<std::size_t>(index)];
}
const chess::MoveText& BlackAt(const GameTextSource& game, int index) {
    return game.moves->BlackMoves[static_cast<std::size_t>(index)];
}

int UsableMoves(const GameTextSource& game) {
    if (game.moves == nullptr || game.full_moves < 0) return 0;
    return game.full_moves < chess::MaxFullMoves ? game.full_moves : chess::MaxFullMoves;
}

bool StartsWithBlack(const GameTextSource& game) {
    return UsableMoves(game) > 0 && WhiteAt(game, 0)[0] == '.';
}

// The SAN of one analysis move: up to its first blank, bracket, NAG or comment.
std::string_view AnalysisSan(std::string_view text) {
    std::size_t end = text.find_first_of(" ()${;");
    return end == std::string_view::npos ? text : text.substr(0, end);
}

}  // namespace

int DisplayedMoveNumber(int move, std::uint32_t start_move_number) {
    if (start_move_number == 0) return move;
    return move + static_cast<int>(start_move_number) - 1;
}

std::string ApplyPieceLetters(std::string_view text, std::string_view letters) {
    std::string out(text);
    if (letters.size() != 5) return out;
    constexpr std::string_view English = "KQRBN";
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::size_t kind = English.find(out[i]);
        if (kind == std::string_view::npos) continue;
        if (out[i] == 'N' && i + 2 < out.size() && out[i + 1] == 'C' && out[i + 2] == 'O') {
            continue;
        }
        out[i] = letters[kind];
    }
    return out;
}

int RenderedGameText::PageCount() const {
    int pages = 1;
    for (int start : PageStarts) {
        if (start == 0) break;
        ++pages;
    }
    return pages;
}

int RenderedGameText::PageOfLine(int line) {
    if (line < FirstMoveLine || line >= FirstMoveLine + GameTextPageLines * GameTextMaxPages) {
        return 0;
    }
    return (line - FirstMoveLine) / GameTextPageLines + 1;
}

std::vector<std::string_view> RenderedGameText::PageLines(int page) const {
    std::vector<std::string_view> lines;
    if (page < 1 || page > GameTextMaxPages) return lines;
    std::size_t first = static_cast<std::size_t>((page - 1) * GameTextPageLines);
    for (std::size_t k = first; k < TextLines.size() && k < first + GameTextPageLines; ++k) {
        lines.push_back(TextLines[k]);
    }
    return lines;
}

PlyPlace RenderedGameText::PlaceOf(int ply) const {
    if (ply < 1 || static_cast<std::size_t>(ply) >= places.size()) return {};
    return places[static_cast<std::size_t>(ply)];
}

std::optional<int> RenderedGameText::PlyAt(int line, int column) const {
    std::optional<int> first_on_line;
    std::optional<int> found;
    for (std::size_t ply = 1; ply < places.size(); ++ply) {
        const PlyPlace& place = places[ply];
        if (place.line != line) continue;
        if (!first_on_line) first_on_line = static_cast<int>(ply);
        if (place.column <= column) found = static_cast<int>(ply);
    }
    // A click on the number of the line's first move means that move.
    return found ? found : first_on_line;
}

RenderedGameText RenderGameText(const GameTextSource& game, const GameTextLayout& layout) {
    RenderedGameText text;
    const int full_moves = UsableMoves(game);
    text.places.assign(static_cast<std::size_t>(2 * full_moves + 1), PlyPlace{});
    const int max_lines = GameTextPageLines * GameTextMaxPages;
    const int usable_width =
        layout.panel_width > 0 ? layout.panel_width - PanelMargin(layout.board_size) : 0;

    auto fits = [&](const std::string& line, const std::string& token) {
        if (line.empty()) return true;
        if (line.size() + token.size() >= TextLineLimit) return false;
        if (!layout.measure || layout.panel_width <= 0) return true;
        return layout.measure(line + token) <= usable_width;
    };

    std::string line;
    for (int index = 0; index < full_moves; ++index) {
        const int white_ply = 2 * index + 1;
        const int black_ply = white_ply + 1;
        if (layout.hide_moves && white_ply > layout.hide_limit) break;
        const int number = DisplayedMoveNumber(index + 1, game.start_move_number);
        std::string white = ApplyPieceLetters(WhiteAt(game, index).view(), layout.piece_letters);
        std::string black = ApplyPieceLetters(BlackAt(game, index).view(), layout.piece_letters);
        const bool show_black =
            !black.empty() && !(layout.hide_moves && black_ply > layout.hide_limit);

        std::string token = std::to_string(number) + "." + white;
        if (show_black) token += " " + black + " ";

        if (!fits(line, token)) {
            text.TextLines.push_back(line);
            line.clear();
            const int emitted = static_cast<int>(text.TextLines.size());
            if (emitted >= max_lines) break;
            if (emitted % GameTextPageLines == 0) {
                text.PageStarts[static_cast<std::size_t>(emitted / GameTextPageLines - 1)] = index;
            }
        }
        const int display_line = FirstMoveLine + static_cast<int>(text.TextLines.size());
        const int white_column = static_cast<int>(line.size()) + Digits(number) + 1;
        text.places[static_cast<std::size_t>(white_ply)] = {display_line, white_column};
        if (show_black) {
            text.places[static_cast<std::size_t>(black_ply)] = {
                display_line, white_column + static_cast<int>(white.size()) + 1};
        }
        line += token;
    }
    if (!line.empty() && static_cast<int>(text.TextLines.size()) < max_lines) {
        text.TextLines.push_back(line);
    }
    // A page whose first move was never written is no page.
    for (std::size_t page = 0; page < text.PageStarts.size(); ++page) {
        if (static_cast<int>(text.TextLines.size()) <=
            GameTextPageLines * static_cast<int>(page + 1)) {
            text.PageStarts[page] = 0;
        }
    }
    return text;
}

std::vector<std::string> GameTextHeaderLines(std::string_view white_black, std::string_view date,
                                             std::string_view result, std::string_view status,
                                             bool hide_date, bool hide_result) {
    auto value_after = [](std::string_view text, std::string_view label) {
        std::size_t at = text.find(label);
        if (at == std::string_view::npos) return std::string_view();
        text.remove_prefix(at + label.size());
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        return text;
    };
    std::string_view white_part = white_black;
    std::size_t black_at = white_black.find("Black:");
    if (black_at != std::string_view::npos) white_part = white_black.substr(0, black_at);
    std::string_view black_part =
        black_at == std::string_view::npos ? std::string_view() : white_black.substr(black_at);

    std::vector<std::string> lines;
    lines.push_back("White: " + std::string(value_after(white_part, "White:")));
    lines.push_back("Black: " + std::string(value_after(black_part, "Black:")));
    if (!hide_date) lines.push_back("Date: " + std::string(date));
    if (!hide_result) lines.push_back("Result: " + std::string(result));
    lines.emplace_back(status);
    return lines;
}

ColumnPage RenderColumns(const GameTextSource& game, int page, std::string_view piece_letters) {
    ColumnPage out;
    const int full_moves = UsableMoves(game);
    if (page < 1 || page > GameTextMaxPages) return out;
    auto fill = [&](ColumnRow& row, int index) {
        if (index >= full_moves) return;
        row.number = DisplayedMoveNumber(index + 1, game.start_move_number);
        row.white = ApplyPieceLetters(WhiteAt(game, index).view(), piece_letters);
        row.black = ApplyPieceLetters(BlackAt(game, index).view(), piece_letters);
        row.indented = row.number < 10 || (row.number >= 80 && row.number <= 98);
    };
    const int first = ColumnPageMoves * (page - 1);
    for (int row = 0; row < ColumnRows; ++row) {
        fill(out.left[static_cast<std::size_t>(row)], first + row);
        fill(out.right[static_cast<std::size_t>(row)], first + ColumnRows + row);
    }
    return out;
}

std::array<int, GameTextMaxPages - 1> ColumnPageStarts(int full_moves) {
    std::array<int, GameTextMaxPages - 1> starts{};
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const int start = ColumnPageMoves * static_cast<int>(k + 1);
        starts[k] = full_moves > start ? start : 0;
    }
    return starts;
}

int ColumnPageCount(int full_moves) {
    int pages = 1;
    for (int start : ColumnPageStarts(full_moves)) {
        if (start != 0) ++pages;
    }
    return pages;
}

ColumnPlace ColumnPlaceOf(int ply, int full_moves) {
    if (ply < 1) return {};
    const int index = (ply - 1) / 2;
    if (index >= full_moves || index >= ColumnPageMoves * GameTextMaxPages) return {};
    const int within = index % ColumnPageMoves;
    return {index / ColumnPageMoves + 1, within % ColumnRows, within >= ColumnRows, ply % 2 == 0};
}

std::string MoveLineText(const GameTextSource& game, int ply, std::string_view piece_letters) {
    if (ply < 1 || ply > 2 * UsableMoves(game)) return {};
    const int index = (ply - 1) / 2;
    const int number = DisplayedMoveNumber(index + 1, game.start_move_number);
    const bool black_first = index == 0 && StartsWithBlack(game);
    std::string white = ApplyPieceLetters(WhiteAt(game, index).view(), piece_letters);
    std::string black = ApplyPieceLetters(BlackAt(game, index).view(), piece_letters);
    if (black_first) {
        std::string line = game.start_move_number == 0 ? "1..." : Format("%3d...", number);
        return ply % 2 == 0 ? line + black : line;
    }
    std::string line = Format("%3d. ", number) + white;
    if (ply % 2 == 0) line += " " + black;
    return line;
}

std::string CurrentMoveText(const GameTextSource& game, int ply) {
    if (ply < 1 || ply > 2 * UsableMoves(game)) return {};
    const int index = (ply - 1) / 2;
    const int number = DisplayedMoveNumber(index + 1, game.start_move_number);
    if (ply % 2 == 1) {
        if (index == 0 && StartsWithBlack(game)) return {};
        return Format("%d. ", number) + std::string(WhiteAt(game, index).view());
    }
    return Format("%d...", number) + std::string(BlackAt(game, index).view());
}

int ChangedSquares(const std::array<std::uint32_t, 64>& from,
                   const std::array<std::uint32_t, 64>& to) {
    int changed = 0;
    for (std::size_t square = 0; square < from.size(); ++square) {
        if (from[square] != to[square]) ++changed;
    }
    return changed;
}

namespace {

// Appends half-move `k` of an analysis line; `k` counts from 0 in the row or line being built.
void AppendAnalysisMove(std::string& out, int k, bool first_in_row, bool white_to_move,
                        int move_number, std::string_view san) {
    const bool white_move = white_to_move ? k % 2 == 0 : k % 2 == 1;
    if (!first_in_row) {
        if (white_move) {
            const int number = move_number + (white_to_move ? k / 2 : (k + 1) / 2);
            out += Format(" %d.", number);
        } else {
            out += ' ';
        }
    }
    out += san;
}

}  // namespace

std::string FormatAnalysisLine(int line_number, int move_number, bool white_to_move,
                               const std::vector<std::string>& half_moves) {
    std::string out = Format("%d- ", line_number);
    out += white_to_move ? Format("%d.", move_number) : Format("%d... ", move_number);
    const int count = static_cast<int>(half_moves.size());
    for (int k = 0; k < count && k < AnalysisLineHalfMoves; ++k) {
        AppendAnalysisMove(out, k, k == 0, white_to_move, move_number,
                           AnalysisSan(half_moves[static_cast<std::size_t>(k)]));
    }
    if (count > AnalysisLineHalfMoves) out += "...";
    return out;
}

std::vector<std::string> FormatAnalysisDetail(int move_number, bool white_to_move,
                                              const std::vector<std::string>& half_moves) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(half_moves.size());
    for (int k = 0; k < count; ++k) {
        const bool row_start = k % AnalysisLineHalfMoves == 0;
        if (row_start) {
            const bool white_move = white_to_move ? k % 2 == 0 : k % 2 == 1;
            const int number = move_number + (white_to_move ? k / 2 : (k + 1) / 2);
            rows.push_back(white_move ? Format("%d.", number) : Format("%d... ", number));
        }
        AppendAnalysisMove(rows.back(), k, row_start, white_to_move, move_number,
                           AnalysisSan(half_moves[static_cast<std::size_t>(k)]));
    }
    return rows;
}

ReplayCheck CheckAnalysisReplay(const ReplayCheckInput& input) {
    if (input.mode == 2) {
        if (!input.active) {
            if ((input.annotations >= input.auto_replay_count && !input.hide_game_text) ||
                input.interactive_annotation) {
                return ReplayCheck::SwitchOn;
            }
            return ReplayCheck::None;
        }
        if (input.interactive_annotation) return ReplayCheck::None;
        const bool few = input.auto_replay_count < 5 ? input.annotations < input.auto_replay_count
                                                     : input.annotations < 5;
        return few ? ReplayCheck::SwitchOff : ReplayCheck::None;
    }
    if (input.first_load) return ReplayCheck::None;
    if (!input.active && !input.hint_shown && input.annotations >= 10) return ReplayCheck::ShowHint;
    return ReplayCheck::None;
}

std::string CommentLineText(std::string_view annotation) {
    std::string text;
    text.reserve(annotation.size());
    bool blank = false;
    for (char c : annotation) {
        if (c == '{' || c == '}') continue;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0') {
            blank = !text.empty();
            continue;
        }
        if (blank) text += ' ';
        blank = false;
        text += c;
    }
    return text;
}

}  // namespace qorvale::app
