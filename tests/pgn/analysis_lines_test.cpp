#include "pgn/analysis_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/analysis_walk.h"
#include "pgn/game_lines.h"
#include "support/recording_ui.h"

namespace qorvale::pgn {
namespace {

// "move_number white|black moves..." for each line, one string per line.
std::vector<std::string> Describe(const std::vector<AnalysisLine>& found) {
    std::vector<std::string> out;
    for (const AnalysisLine& line : found) {
        std::string text = std::to_string(line.move_number) + (line.white_first ? " w:" : " b:");
        for (const std::string& move : line.half_moves) text += " " + move;
        out.push_back(text);
    }
    return out;
}

TEST(AnalysisLines, FindsTheVariationsAfterAMove) {
    struct Row {
        const char* name;
        const char* movetext;
        int half_move;
        int first_move_number;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"two lines, the nested one left out",
         "1. e4 e5 2. Nf3 {Or} (2. f4 exf4 $1 (2... d5) 3. Bc4) (2. Bc4 Nf6) Nc6 *",
         3,
         1,
         {"2 w: f4 exf4 Bc4", "2 w: Bc4 Nf6"}},
        {"black line with its own number",
         "1. e4 e5 (1... c5 2. Nf3 d6) 2. Nf3 *",
         2,
         1,
         {"1 b: c5 Nf3 d6"}},
        {"line over two text lines",
         "1. e4 e5 2. Nf3 (2. f4\nexf4 3. Nf3) Nc6 *",
         3,
         1,
         {"2 w: f4 exf4 Nf3"}},
        {"long algebraic moves reduced",
         "1. e4 (1. Ng1-f3 d7-d5 2. e2-e4 d5xe4) e5 *",
         1,
         1,
         {"1 w: Nf3 d5 e4 dxe4"}},
        {"no number: the move just played",
         "1. e4 e5 2. Nf3 (Nc3 Nf6) Nc6 *",
         3,
         1,
         {"2 w: Nc3 Nf6"}},
        {"no number, set-up numbering",
         "1. e4 e5 2. Nf3 Nc6 (Nf6 3. Nc3) *",
         4,
         23,
         {"24 b: Nf6 Nc3"}},
        {"before the first move", "{Intro} (1. d4 d5) 1. e4 e5 *", 0, 1, {"1 w: d4 d5"}},
        {"comment with parentheses is no line", "1. e4 {see (2. d4)} e5 *", 1, 1, {}},
        {"nothing follows", "1. e4 e5 2. Nf3 *", 2, 1, {}},
        {"unclosed line at the end", "1. e4 (1. d4 d5", 1, 1, {"1 w: d4 d5"}},
        {"results and marks inside are no moves",
         "1. e4 (1. d4 d5 1-0) e5 *",
         1,
         1,
         {"1 w: d4 d5"}},
        {"comments and NAGs between lines",
         "1. e4 (1. d4) $2 {or} (1. c4 e5) ; end\n1... e5 *",
         1,
         1,
         {"1 w: d4", "1 w: c4 e5"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.ParseMovetextText(row.movetext);
        EXPECT_EQ(Describe(AnalysisLinesAfter(lines, row.half_move, row.first_move_number)),
                  row.expected);
    }
}

TEST(AnalysisLines, AWalkStartedAtALinePlaysThatLine) {
    struct Row {
        const char* name;
        const char* movetext;
        std::vector<std::string> second_line;
    };
    const std::vector<Row> rows = {
        {"spaced", "1. e4 e5 2. Nf3 (2. f4 exf4) (2. Bc4 Nf6 3. d3) Nc6 *", {"Bc4", "Nf6", "d3"}},
        {"numbers against the moves",
         "1.e4 e5 2.Nf3 (2.f4 exf4) (2.Bc4 Nf6 3.d3 d5) Nc6 *",
         {"Bc4", "Nf6", "d3", "d5"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.ParseMovetextText(row.movetext);
        chess::ChessState chess;
        chess.ReplayToHalfMove(lines.Moves(), lines.FullMoves());
        chess.RestorePosition(3);
        const std::vector<AnalysisLine> found = AnalysisLinesAfter(lines, 3);
        ASSERT_EQ(found.size(), 2u);
        EXPECT_EQ(found[1].half_moves, row.second_line);
        AnalysisWalk walk;
        walk.Start(lines, 3, found[1].text_offset);
        test::RecordingUi ui;
        std::vector<std::string> played;
        while (walk.StepAnalysis(lines, chess, ui) == AnalysisWalk::Step::Played) {
            played.emplace_back(walk.LastMove().view());
        }
        EXPECT_EQ(played, row.second_line);
        EXPECT_EQ(ui.reports, std::vector<std::string>{"End of the analysis."});
        // An offset before the annotations of the move is no place to start: the first line.
        walk.Start(lines, 3, 0);
        ASSERT_EQ(walk.StepAnalysis(lines, chess, ui), AnalysisWalk::Step::Played);
        EXPECT_EQ(walk.LastMove().view(), "f4");
    }
}

TEST(AnalysisLines, SpanOfTheAnnotationsAfterAMove) {
    struct Row {
        const char* name;
        const char* movetext;
        int half_move;
        const char* expected;  // the span's text, line ends shown as "|"
    };
    const std::vector<Row> rows = {
        {"comment and line", "1. e4 e5 2. Nf3 {Or} (2. f4 exf4) Nc6 *", 3, "{Or} (2. f4 exf4)"},
        {"lines and a closing comment", "1. e4 (1. d4) (1. c4 (1. Nf3)) {both fine} 1... e5 *", 1,
         "(1. d4) (1. c4 (1. Nf3)) {both fine}"},
        {"over a line end", "1. e4 e5 (1... c5\n2. Nf3) 2. Nf3 *", 2, "(1... c5|2. Nf3)"},
        {"a NAG alone", "1. e4 $1 e5 *", 1, "$1"},
        {"nothing", "1. e4 e5 *", 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.ParseMovetextText(row.movetext);
        const TextSpan span = AnnotationSpan(lines, row.half_move);
        std::string text(lines.MovetextBuffer().substr(span.begin, span.end - span.begin));
        for (char& c : text) {
            if (c == '\0') c = '|';
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        EXPECT_EQ(text, row.expected);
    }
}

}  // namespace
}  // namespace qorvale::pgn
