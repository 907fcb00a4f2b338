#include "app/analysis_replay.h"

#include "app/game_text.h"
#include "chess/chess_state.h"
#include "pgn/analysis_lines.h"
#include "pgn/game_lines.h"

namespace qorvale::app {

void AnalysisReplay::Reset() {
    walk_.Reset();
    text_offset_.reset();
    start_ply_ = 0;
    steps_ = 0;
    started_ = false;
    ended_ = false;
    on_board_ = false;
}

void AnalysisReplay::Start(const pgn::GameLines& lines, int ply,
                           std::optional<std::size_t> text_offset) {
    Reset();
    if (text_offset) {
        walk_.Start(lines, ply, *text_offset);
    } else {
        walk_.Start(lines, ply);
    }
    text_offset_ = text_offset;
    start_ply_ = ply;
    started_ = true;
}

void AnalysisReplay::RestoreMainLine(const pgn::GameLines& lines, chess::ChessState& chess) const {
    chess::MainLineMoves moves = lines.Moves();
    chess.ReplayToHalfMove(moves, lines.FullMoves());
    chess.RestorePosition(start_ply_);
}

AnalysisReplay::Outcome AnalysisReplay::Next(const pgn::GameLines& lines, chess::ChessState& chess,
                                             int ply, Ui& ui) {
    if (!started_) Start(lines, ply);
    const bool was_ended = ended_;
    if (walk_.StepAnalysis(lines, chess, ui) == pgn::AnalysisWalk::Step::Played) {
        ++steps_;
        on_board_ = true;
        return Outcome::Played;
    }
    // The walk has put the main line's positions back; the board returns to its move.
    ended_ = true;
    on_board_ = false;
    if (!was_ended) chess.RestorePosition(start_ply_);
    return Outcome::End;
}

AnalysisReplay::Outcome AnalysisReplay::Previous(const pgn::GameLines& lines,
                                                 chess::ChessState& chess) {
    if (!started_ || steps_ == 0) return Outcome::Nothing;
    const int target = ended_ ? steps_ : steps_ - 1;
    if (!ended_) RestoreMainLine(lines, chess);
    const int ply = start_ply_;
    const std::optional<std::size_t> offset = text_offset_;
    Start(lines, ply, offset);
    // Walking again to an earlier step repeats messages the user has already seen.
    SilentUi silent;
    for (int step = 0; step < target; ++step) {
        if (walk_.StepAnalysis(lines, chess, silent) != pgn::AnalysisWalk::Step::Played) break;
        ++steps_;
        on_board_ = true;
    }
    if (!on_board_) chess.RestorePosition(start_ply_);
    return Outcome::Back;
}

void AnalysisReplay::Stop(const pgn::GameLines& lines, chess::ChessState& chess, int ply) {
    if (started_ && !ended_) {
        chess::MainLineMoves moves = lines.Moves();
        chess.ReplayToHalfMove(moves, lines.FullMoves());
    }
    if (started_) chess.RestorePosition(ply);
    Reset();
}

std::string AnalysisMoveText(int half_move, std::string_view move,
                             std::uint32_t start_move_number) {
    if (half_move < 1) return {};
    const int number = DisplayedMoveNumber((half_move + 1) / 2, start_move_number);
    std::string text = std::to_string(number);
    text += half_move % 2 == 1 ? ". " : "...";
    text += move;
    return text;
}

MarkedAnnotation MarkWalkInAnnotation(const pgn::GameLines& lines, const AnalysisReplay& replay) {
    MarkedAnnotation marked;
    const std::string_view buffer = lines.MovetextBuffer();
    const pgn::TextSpan span = pgn::AnnotationSpan(lines, replay.StartPly());
    const std::size_t at = replay.TextPosition();
    if (span.empty() || at <= span.begin || at > span.end || at > buffer.size()) return marked;
    auto is_break = [](char c) {
        return c == '\0' || c == ' ' || c == '\t' || c == '(' || c == ')' || c == '}';
    };
    std::size_t token = at;
    while (token > span.begin && !is_break(buffer[token - 1])) --token;
    // The buffer ends its records with zero bytes; the screen shows them as blanks.
    auto text = [&buffer](std::size_t from, std::size_t to) {
        std::string part(buffer.substr(from, to - from));
        for (char& c : part) {
            if (c == '\0') c = ' ';
        }
        return part;
    };
    marked.found = true;
    marked.before = text(span.begin, token);
    marked.marked = text(token, at);
    marked.after = text(at, span.end);
    return marked;
}

}  // namespace qorvale::app
