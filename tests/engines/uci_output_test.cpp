#include "engines/uci_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/engine_output.h"

namespace qorvale::engines {
namespace {

// A position from a FEN, or from the start with the coordinate moves given.
EngineBoard BoardAt(std::string_view fen, std::string_view moves = "") {
    EnginePosition position;
    if (!fen.empty()) position = ReadEngineFen(fen)->position;
    std::size_t at = 0;
    for (std::string_view word = NextWord(moves, at); !word.empty(); word = NextWord(moves, at)) {
        position.moves.push_back(CoordinateText(*ParseCoordinateMove(word)));
    }
    EngineBoard board;
    board.Set(position);
    return board;
}

TEST(ParseInfoLine, ShowsScoreFromWhitesSideAndTheLineInSan) {
    struct Row {
        const char* name;
        const char* fen;
        const char* moves;
        const char* line;
        const char* text;
    };
    const std::vector<Row> rows = {
        {"Black to move turns the sign", "", "e2e4", "info depth 5 score cp 35 pv e7e5",
         "-0.35  1...e5"},
        {"score without a line", "", "", "info depth 1 score cp 35", "+0.35 "},
        {"neither score nor line", "", "", "info depth 7 seldepth 9 nodes 100", ""},
        {"free text is no score", "", "", "info string score cp 5 pv e2e4", ""},
        {"mate as written", "", "", "info score mate -2 pv f2f3", "Mate -2 1.f3"},
        {"line ends at an illegal move", "", "", "info score cp 10 pv e2e4 e7e5 e1e3 b8c6",
         "+0.10  1.e4 e5"},
        {"illegal first move", "", "", "info score cp 10 pv e2e5", "+0.10 "},
        {"bound", "", "", "info depth 3 score cp 20 lowerbound pv d2d4", "+0.20  1.d4"},
        {"promotion to a knight", "8/4P3/8/8/8/8/k7/7K w - - 0 1", "",
         "info score cp 300 pv e7e8n a2b3", "+3.00  1.e8=N Kb3"},
        {"mate is marked", "", "e2e4 e7e5 f1c4 b8c6 d1h5 g8f6", "info score mate 1 pv h5f7",
         "Mate 1 4.Qxf7#"},
        {"castling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 12", "", "info score cp 0 pv e1g1 e8c8",
         "+0.00  12.O-O O-O-O"},
        {"numbers follow a set-up", "4k3/8/8/8/8/8/4P3/4K3 b - - 0 23", "",
         "info score cp 50 pv e8d7 e2e4 d7d6", "-0.50  23...Kd7 24.e4 Kd6"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EngineBoard board = BoardAt(row.fen, row.moves);
        InfoLine info = ParseInfoLine(row.line, board);
        EXPECT_EQ(info.text, row.text);
        EXPECT_EQ(board.HalfMove(), BoardAt(row.fen, row.moves).HalfMove());
    }
}

TEST(ParseInfoLine, ReadsTheSearchFigures) {
    EngineBoard board;
    InfoLine info = ParseInfoLine(
        "info depth 21 seldepth 27 multipv 2 score cp -39 nodes 1111470 nps 488343 time 2276 "
        "pv c2c4 e7e5",
        board);
    EXPECT_EQ(info.depth, 21);
    EXPECT_EQ(info.seldepth, 27);
    EXPECT_EQ(info.multipv, 2);
    EXPECT_EQ(info.nodes, 1111470);
    EXPECT_EQ(info.nps, 488343);
    EXPECT_EQ(info.time_ms, 2276);
    EXPECT_EQ(info.pv_ply, 1);
    ASSERT_EQ(info.pv.size(), 2u);
    EXPECT_EQ(info.pv[1].view(), "e7e5");
}

TEST(ParseBestMove, NamesTheMoveAndThePonderMoveInSan) {
    struct Row {
        const char* name;
        const char* moves;
        const char* line;
        const char* text;
    };
    const std::vector<Row> rows = {
        {"White", "", "bestmove e2e4 ponder e7e5", "Bestmove 1.e4   Ponder 1...e5"},
        {"Black", "e2e4", "bestmove c7c5 ponder g1f3", "Bestmove 1...c5   Ponder 2.Nf3"},
        {"no ponder", "", "bestmove g1f3", "Bestmove 1.Nf3"},
        {"illegal move shows the line", "", "bestmove e2e5", "bestmove e2e5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EngineBoard board = BoardAt("", row.moves);
        std::optional<BestMove> best = ParseBestMove(row.line, board);
        ASSERT_TRUE(best.has_value());
        EXPECT_EQ(best->text, row.text);
    }
    EngineBoard board;
    EXPECT_FALSE(ParseBestMove("bestmove (none)", board).has_value());
    EXPECT_FALSE(ParseBestMove("bestmove 0000", board).has_value());
}

TEST(UciOutputParser, ShowsEachTextOnceInARow) {
    EngineBoard board;
    EngineList list;
    UciOutputParser parser;
    for (const char* line : {"info depth 1 score cp 20 pv e2e4", "info depth 2 score cp 20 pv e2e4",
                             "info depth 3 score cp 25 pv e2e4", "readyok", "readyok",
                             "info depth 1", "bestmove e2e4", "bestmove e2e4"}) {
        parser.Parse(line, board, list);
    }
    EXPECT_EQ(std::vector<std::string>(list.Rows().begin(), list.Rows().end()),
              (std::vector<std::string>{"+0.20  1.e4", "+0.25  1.e4", "readyok", "Bestmove 1.e4"}));
    EXPECT_EQ(parser.BestMoveText(), "Bestmove 1.e4");
}

TEST(EngineList, BreaksLongTextsIntoIndentedRows) {
    std::string text = "+0.24 ";
    for (int i = 0; i < 40; ++i) text += " word" + std::to_string(i);
    EngineList list;
    list.AddWrapped(text);
    ASSERT_EQ(list.Rows().size(), 4u);
    EXPECT_EQ(list.Rows()[0].size(), text.find(' ', 60));
    for (std::size_t row = 1; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(list.Rows()[row].starts_with("     w"));
        EXPECT_EQ(list.Rows()[row].find(' ', 5 + 58), std::string::npos);
    }
    for (int row = 0; row < 10; ++row) list.Add("row");
    EXPECT_EQ(list.FirstVisibleRow(), list.Rows().size() - 11);
}

TEST(ParseUciOption, ReadsEveryKind) {
    struct Row {
        const char* line;
        const char* name;
        UciOption::Type type;
        const char* default_value;
        const char* typed;
        std::optional<std::string> sent;  // the value as the engine gets it
    };
    using Type = UciOption::Type;
    const std::vector<Row> rows = {
        {"Hash type spin default 16 min 1 max 33554432", "Hash", Type::Spin, "16", "0", "1"},
        {"Hash type spin default 16 min 1 max 64", "Hash", Type::Spin, "16", "64MB", std::nullopt},
        {"Debug Log File type string default ", "Debug Log File", Type::String, "", "x", "x"},
        {"SyzygyPath type string default <empty>", "SyzygyPath", Type::String, "", "", ""},
        {"Book File type string default my book.bin", "Book File", Type::String, "my book.bin",
         "a b", "a b"},
        {"Style type combo default Normal var Solid var Normal var Risky", "Style", Type::Combo,
         "Normal", "risky", "Risky"},
        {"Style type combo default Normal var Solid var Normal", "Style", Type::Combo, "Normal",
         "Wild", std::nullopt},
        {"Ponder type check default false", "Ponder", Type::Check, "false", "TRUE", "true"},
        {"Clear Hash type button", "Clear Hash", Type::Button, "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::optional<UciOption> option = ParseUciOption(row.line);
        ASSERT_TRUE(option);
        EXPECT_EQ(option->name, row.name);
        EXPECT_EQ(option->type, row.type);
        EXPECT_EQ(option->value, row.default_value);
        EXPECT_EQ(OptionValueToSend(*option, row.typed), row.sent);
    }
    EXPECT_EQ(SetOptionCommand(*ParseUciOption("Ponder type check"), "true"),
              "setoption name Ponder value true");
    EXPECT_EQ(SetOptionCommand(*ParseUciOption("Clear Hash type button"), ""),
              "setoption name Clear Hash");
    EXPECT_FALSE(ParseUciOption("type spin default 1"));
}

}  // namespace
}  // namespace qorvale::engines
