#include "pgn/game_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/recording_ui.h"

namespace qorvale::pgn {
namespace {

std::vector<std::string> WhiteTexts(const GameLines& lines) {
    std::vector<std::string> texts;
    for (int index = 0; index < lines.FullMoves(); ++index) {
        texts.emplace_back(lines.Moves().WhiteMoves[static_cast<std::size_t>(index)].view());
    }
    return texts;
}

std::vector<std::string> BlackTexts(const GameLines& lines) {
    std::vector<std::string> texts;
    for (int index = 0; index < lines.FullMoves(); ++index) {
        std::string_view text = lines.Moves().BlackMoves[static_cast<std::size_t>(index)].view();
        if (!text.empty()) texts.emplace_back(text);
    }
    return texts;
}

using Texts = std::vector<std::string>;

struct MoveRow {
    const char* name;
    const char* movetext;
    int full_moves;
    Texts white;
    Texts black;
};

TEST(GameLines, SplitsTheMainLineIntoMoveTexts) {
    const MoveRow rows[] = {
        {"comment and variation",
         "1. e4 {best by test} e5 2. Nf3 (2. f4 exf4) Nc6 *",
         2,
         {"e4", "Nf3"},
         {"e5", "Nc6"}},
        {"result after white", "1. e4 e5 2. Nf3 1-0", 2, {"e4", "Nf3"}, {"e5"}},
        {"draw and star", "1. d4 d5 1/2-1/2 2. c4", 1, {"d4"}, {"d5"}},
        {"glyphs standing alone are passed over",
         "1. c4 ? e5 !? 2. d4 +- d5 =",
         2,
         {"c4", "d4"},
         {"e5", "d5"}},
        {"no space after number", "1.Nf3 Nf6 2.c4 g6 *", 2, {"Nf3", "c4"}, {"Nf6", "g6"}},
        {"number ends the line", "1.\ne4 e5 2.\nNf3", 2, {"e4", "Nf3"}, {"e5"}},
        {"black number", "1. e4 (1. d4) 1... c5 2. Nf3", 2, {"e4", "Nf3"}, {"c5"}},
        {"black first with blank", "1... e5 2. Nf3 Nc6", 2, {"..", "Nf3"}, {"e5", "Nc6"}},
        {"black first joined", "23...Qxd4 24.Rc1", 2, {"..", "Rc1"}, {"Qxd4"}},
        {"castling with zeros", "1. 0-0 0-0-0 2. o-o", 2, {"O-O", "O-O"}, {"O-O-O"}},
        {"marks stay in the move",
         "1. e4! e5?! 2. Qh5+ Ke7 3. Qxe5#",
         3,
         {"e4!", "Qh5+", "Qxe5#"},
         {"e5?!", "Ke7"}},
        {"long token cut to seven", "1. Nxe4xyz+!! e5", 1, {"Nxe4xyz"}, {"e5"}},
        {"white move right after a comment", "{Start} e4 e5 {Now} Nf3 *", 2, {"e4", "Nf3"}, {"e5"}},
        {"moves without a number",
         "1. e4 e5 Nf3 Nc6 3. Bc4",
         3,
         {"e4", "Nf3", "Bc4"},
         {"e5", "Nc6"}},
        {"no numbers at all", "e4 e5 Nf3 *", 2, {"e4", "Nf3"}, {"e5"}},
        {"number without its dot", "1. e4 e5 2 Nf3 Nc6", 2, {"e4", "Nf3"}, {"e5", "Nc6"}},
        {"number with two dots",
         "1. e4 e5 2. Nf3 {c} 2.. Nc6 3. Bb5",
         3,
         {"e4", "Nf3", "Bb5"},
         {"e5", "Nc6"}},
        {"two blanks after a move", "1. e4 e5  2. Nf3 Nc6", 2, {"e4", "Nf3"}, {"e5", "Nc6"}},
        {"two blanks after a comment", "1. e4 {c}  e5 2. Nf3", 2, {"e4", "Nf3"}, {"e5"}},
        {"nested variations", "1. e4 (1. d4 (1. c4 c5) d5) e5 2. Nf3", 2, {"e4", "Nf3"}, {"e5"}},
        {"paren closing before a comment", "1. e4 (1. d4){c} e5 2. Nf3", 2, {"e4", "Nf3"}, {"e5"}},
        {"variation opening with a comment", "1. e4 ( {c} 1... e6 ) e5", 1, {"e4"}, {"e5"}},
        {"stray closing paren", "1. e4 ) e5 2. d4", 2, {"e4", "d4"}, {"e5"}},
        {"two blanks after the number", "1.  e4 e5 *", 1, {"e4"}, {"e5"}},
        {"tab after the number", "1.\te4 e5 2.\tNf3 *", 2, {"e4", "Nf3"}, {"e5"}},
        {"numbers of several digits", "99. Kh1 Kh8 100. Kg1 *", 2, {"Kh1", "Kg1"}, {"Kh8"}},
        {"comment after the number", "1. {c} e4 e5 *", 1, {"e4"}, {"e5"}},
        {"NAG before Black's move", "1. e4 $1 e5 2. d4", 2, {"e4", "d4"}, {"e5"}},
        {"result where White's number stands", "1. e4 e5 0-1 2. d4", 1, {"e4"}, {"e5"}},
        {"star after White's number", "1. e4 e5 2. * 3. d4", 1, {"e4"}, {"e5"}},
        {"star where Black's move stands", "1. e4 * e5", 1, {"e4"}, {}},
        {"semicolon comment", "1. e4 ; a line comment 2. d4\ne5 2. Nf3", 2, {"e4", "Nf3"}, {"e5"}},
        {"percent line not scanned", "1. e4\n% 1-0 junk\ne5 2. Nf3", 2, {"e4", "Nf3"}, {"e5"}},
        {"percent line inside a comment is the comment", "1. e4 {a\n%02 b} e5", 1, {"e4"}, {"e5"}},
        {"empty lines skipped", "1. e4\n\n\n e5 2. d4", 2, {"e4", "d4"}, {"e5"}},
        {"null move", "1. e4 -- 2. d4", 2, {"e4", "d4"}, {"--"}},
        {"unclosed comment", "1. e4 {never closed e5 2. Nf3", 1, {"e4"}, {}},
        {"unclosed variation", "1. e4 (1. d4 d5 2. c4", 1, {"e4"}, {}},
        {"no moves", "*", 0, {}, {}},
        {"coordinates without numbers", "g1f3 c7c5 1-0", 1, {"g1f3"}, {"c7c5"}},
        {"German piece letters",
         "1. e4 e5 2. Sf3 Sc6 3. Lb5 Dd6 4. O-O Txa8 5. e8=D e1D",
         5,
         {"e4", "Nf3", "Bb5", "O-O", "e8=Q"},
         {"e5", "Nc6", "Qd6", "Rxa8", "e1Q"}},
    };
    for (const MoveRow& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        EXPECT_EQ(lines.ParseMovetextText(row.movetext), row.full_moves);
        EXPECT_EQ(WhiteTexts(lines), row.white);
        EXPECT_EQ(BlackTexts(lines), row.black);
        EXPECT_EQ(lines.ParsedHalfMoves(), static_cast<int>(row.white.size() + row.black.size()));
    }
}

TEST(GameLines, ReadsLongAlgebraicGames) {
    struct Row {
        const char* name;
        const char* movetext;
        bool with_pieces;
        Texts white;
        Texts black;
        Texts black_hints;
    };
    const Row rows[] = {
        {"piece letters in the line",
         "1. e2-e4 e7-e5 2. Ng1-f3 Nb8-c6 3. Bf1xc4",
         true,
         {"e4", "Nf3", "Bxc4"},
         {"e5", "Nc6"},
         {"", "b8"}},
        {"pawn captures keep the file",
         "1. e2-e4 d7-d5 2. e4-d5 Qd8xd5 3. Nb1-c3",
         true,
         {"e4", "exd5", "Nc3"},
         {"d5", "Qxd5"},
         {"", "d8"}},
        {"promotion", "1. a7-a8=Q Kg8-h7 2. b7xa8N", true, {"a8=Q", "bxa8N"}, {"Kh7"}, {"g8"}},
        {"castling stays castling",
         "1. e2-e4 O-O-O 2. O-O Kb8-a8",
         true,
         {"e4", "O-O"},
         {"O-O-O", "Ka8"},
         {"", "b8"}},
        {"no piece letter: coordinates",
         "1. e2-e4 e7-e5 2. d2-d4 e5-d4",
         false,
         {"e2e4", "d2d4"},
         {"e7e5", "e5d4"},
         {"", ""}},
        {"plain SAN is not long", "1. e4 e5 2. Nf3", false, {"e4", "Nf3"}, {"e5"}, {""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.ParseMovetextText(row.movetext);
        EXPECT_EQ(lines.IsLongAlgebraic(), row.with_pieces);
        EXPECT_EQ(WhiteTexts(lines), row.white);
        EXPECT_EQ(BlackTexts(lines), row.black);
        for (std::size_t index = 0; index < row.black_hints.size(); ++index) {
            const std::string& hint = row.black_hints[index];
            EXPECT_EQ(std::string(lines.Moves().BlackHints[index].bytes.data(), hint.size()), hint);
            EXPECT_EQ(lines.Moves().BlackHints[index].present(), !hint.empty());
        }
    }
    GameLines lines;
    lines.ParseMovetextText("1. d2-d4 Ng8-f6 2. Ng1-f3");
    EXPECT_EQ(std::string(lines.Moves().WhiteHints[1].bytes.data(), 2), "g1");
    EXPECT_FALSE(lines.Moves().WhiteHints[0].present());
}

TEST(GameLines, RecordsWhereEachAnnotationStands) {
    struct Expect {
        int half_move;
        AnnotationKind kind;
        const char* starts_with;  // the text at the recorded position
    };
    struct Row {
        const char* name;
        const char* movetext;
        int count;
        std::vector<Expect> expected;
    };
    const Row rows[] = {
        {"comment then variation",
         "1. e4 {best by test} e5 2. Nf3 (2. f4 exf4) Nc6 *",
         2,
         {{1, AnnotationKind::CommentOrNag, "{best"}, {3, AnnotationKind::Variation, "(2. f4"}}},
        {"a later variation keeps the first position",
         "1. e4 $1 {good} (1. d4) e5",
         3,
         {{1, AnnotationKind::Variation, "$1"}}},
        {"before the first move",
         "{Intro} 1. e4 e5",
         1,
         {{0, AnnotationKind::CommentOrNag, "{Intro}"}}},
        {"after black and on the next line",
         "1. e4 e5\n$14 2. Nf3",
         1,
         {{2, AnnotationKind::CommentOrNag, "$14"}}},
        {"a dollar without digits is no NAG", "1. e4 $ e5", 0, {}},
    };
    // One object for every row: nothing recorded for an earlier game may show in a later one.
    GameLines lines;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        lines.ParseMovetextText(row.movetext);
        EXPECT_EQ(lines.AnnotationCount(), row.count);
        for (const Expect& expect : row.expected) {
            const AnnotationPosition& where = lines.AnnotationIndex(expect.half_move);
            EXPECT_EQ(where.kind, expect.kind) << expect.half_move;
            std::string_view at =
                lines.MovetextLine(where.line).substr(static_cast<std::size_t>(where.column));
            EXPECT_TRUE(at.starts_with(expect.starts_with)) << at;
        }
        for (int half_move = 0; half_move < AnnotationSlots; ++half_move) {
            bool listed = false;
            for (const Expect& expect : row.expected) listed |= expect.half_move == half_move;
            if (!listed) {
                EXPECT_EQ(lines.AnnotationIndex(half_move).kind, AnnotationKind::None);
            }
        }
    }
}

TEST(GameLines, MoveTextEndPointsJustAfterEachMove) {
    GameLines lines;
    lines.ParseMovetextText("1. e4 {c} e5\n2. Nf3 Nc6 3. Bb5 *");
    std::string_view buffer = lines.MovetextBuffer();
    const char* moves[] = {"e4", "e5", "Nf3", "Nc6", "Bb5"};
    for (int half_move = 1; half_move <= 5; ++half_move) {
        SCOPED_TRACE(half_move);
        std::string_view move = moves[half_move - 1];
        std::size_t end = static_cast<std::size_t>(lines.MoveTextEnd(half_move));
        ASSERT_GE(end, move.size());
        EXPECT_EQ(buffer.substr(end - move.size(), move.size()), move);
    }
}

TEST(GameLines, AnnotationTextShowsCommentsVariationsAndNagWords) {
    struct Row {
        const char* name;
        const char* movetext;
        int half_move;
        const char* text;
    };
    const Row rows[] = {
        {"comment", "1. e4 {best by test} e5", 1, "{best by test}"},
        {"comment over lines", "1. e4 {best\nby test} e5", 1, "{best by test}"},
        {"line comment in braces", "1. e4 ;rest of line\ne5", 1, "{rest of line}"},
        {"variation with nesting", "1. e4 e5 2. Nf3 (2. f4 (2. d4) exf4) Nc6", 3,
         "(2. f4 (2. d4) exf4)"},
        {"NAG words", "1. e4 $1 e5", 1, "$Good move$"},
        {"novelty", "1. e4 e5 $146", 2, "$Novelty$"},
        {"unknown NAG", "1. e4 $140 e5", 1, "$Unknown NAG 140$"},
        {"NAG 142", "1. e4 $142 e5", 1, "$>=$"},
        {"several pieces", "1. d4 $3 {Strong} (1. e4 $2) $14 d5", 1,
         "$Very good move$ {Strong} (1. e4 $Poor move$) $White has a slight advantage$"},
        {"nothing after the move", "1. e4 {c} e5 2. Nf3", 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.ParseMovetextText(row.movetext);
        EXPECT_EQ(lines.AnnotationText(row.half_move), row.text);
    }
    GameLines lines;
    lines.ParseMovetextText("1. e4 $19 e5");
    EXPECT_EQ(lines.AnnotationText(1, NagDisplay::Numeric), "$19");
    EXPECT_EQ(lines.AnnotationText(1, NagDisplay::NumericClosed), "$19$");
}

std::string ManyMoves(int full_moves) {
    std::string text;
    for (int move = 1; move <= full_moves; ++move) {
        text += std::to_string(move) + (move % 2 ? ". Nf3 Nf6 " : ". Ng1 Ng8 ");
        if (move % 8 == 0) text += '\n';
    }
    return text + "*";
}

TEST(GameLines, StopsAtTwoHundredMovesWithAWarning) {
    struct Row {
        const char* name;
        int offered;
        bool quiet;
        int kept;
        bool warned;
    };
    const Row rows[] = {
        {"250 moves", 250, false, 200, true},
        {"250 moves quietly", 250, true, 200, false},
        {"exactly 200", 200, false, 200, false},
        {"199", 199, false, 199, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::RecordingUi ui;
        GameLines lines;
        EXPECT_EQ(lines.ParseMovetextText(ManyMoves(row.offered), 0, &ui, row.quiet), row.kept);
        EXPECT_EQ(lines.ParsedHalfMoves(), 2 * row.kept);
        EXPECT_EQ(lines.HitMoveLimit(), row.kept < row.offered);
        if (row.warned) {
            ASSERT_EQ(ui.reports.size(), 1u);
            EXPECT_EQ(ui.reports[0], "Warning: Maximum number 200 moves exceeded.");
        } else {
            EXPECT_TRUE(ui.reports.empty());
        }
    }
}

TEST(GameLines, StopsAfterTheRequestedMoves) {
    GameLines lines;
    EXPECT_EQ(lines.ParseMovetextText(ManyMoves(30), 12), 12);
    EXPECT_EQ(lines.ParsedHalfMoves(), 24);
}

TEST(GameLines, SurvivesHostileMovetext) {
    struct Row {
        const char* name;
        std::string movetext;
        int full_moves;
        int line_count;
        bool line_limit;
    };
    std::string many_lines;
    for (int line = 0; line < 3001; ++line) many_lines += "{filler line}\n";
    std::string big_comment = "1. e4 {";
    for (int line = 0; line < 50; ++line) big_comment += std::string(200, 'c') + "\n";
    big_comment += "} e5 2. Nf3 *";
    std::string with_nul = "1. e4 e5 2. Nf3";
    with_nul += '\0';
    with_nul += " garbage\n2... Nc6 3. Bb5";
    const Row rows[] = {
        {"3001 lines", many_lines, 0, MaxMovetextLines, true},
        {"10 KB comment", big_comment, 2, 51, false},
        {"NUL inside a line", with_nul, 3, 2, false},
        {"binary junk", std::string("\x01\x02\xff\xfe(((({{{{))\n$$$$;;;;", 24), 0, 2, false},
        {"deep unclosed variations", std::string(250, '('), 0, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        EXPECT_EQ(lines.ParseMovetextText(row.movetext), row.full_moves);
        EXPECT_EQ(lines.MovetextLineCount(), row.line_count);
        EXPECT_EQ(lines.HitLineLimit(), row.line_limit);
    }
    GameLines lines;
    lines.ParseMovetextText(big_comment);
    EXPECT_GT(lines.AnnotationText(1).size(), 10000u);
}

TEST(GameLines, KeepsTheNextGamesTagLine) {
    struct Row {
        const char* name;
        const char* text;
        bool kept;
        const char* record;
    };
    const Row rows[] = {
        {"tag after the moves", "1. e4 e5\n[Event \"Next\"]\n1. d4", true, "[Event \"Next\"]"},
        {"one trailing blank allowed", "1. e4\n[Site \"x\"] \n", true, "[Site \"x\"] "},
        {"lower-case is no tag", "1. e4\n[event \"x\"]\n", false, ""},
        {"tag with the next game's moves", "1. e4\n[Result \"0-1\"] d4 *\n", true,
         "[Result \"0-1\"] d4 *"},
        {"end of text", "1. e4 e5", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.ParseMovetextText(row.text);
        EXPECT_EQ(lines.HasNextGameRecord(), row.kept);
        if (row.kept) {
            EXPECT_EQ(lines.NextGameRecord(), row.record);
        }
    }
}

// The user's display letters are read too; English letters keep their meaning.
TEST(GameLines, ReadsTheUsersDisplayLetters) {
    GameLines lines;
    lines.SetDisplayLetters("RDTFC");  // French: roi, dame, tour, fou, cavalier
    lines.ParseMovetextText("1. e4 e5 2. Cf3 Cc6 3. Fb5 a6 4. Fa4 Cf6 5. Rf1 Dd5");
    EXPECT_EQ(WhiteTexts(lines), (Texts{"e4", "Nf3", "Bb5", "Ba4", "Rf1"}));
    EXPECT_EQ(BlackTexts(lines), (Texts{"e5", "Nc6", "a6", "Nf6", "Qd5"}));
    lines.SetDisplayLetters("KQRBN");
    lines.ParseMovetextText("1. e4 e5 2. Cf3 Sc6");
    EXPECT_EQ(WhiteTexts(lines), (Texts{"e4", "Cf3"}));
    EXPECT_EQ(BlackTexts(lines), (Texts{"e5", "Nc6"}));
}

// The side to move of a set-up position decides who plays first, over the move number's dots.
TEST(GameLines, FirstMoverOfTheSetUpPosition) {
    struct Row {
        const char* name;
        FirstMover mover;
        const char* movetext;
        Texts white;
        Texts black;
    } rows[] = {
        {"black, written without dots",
         FirstMover::Black,
         "12. Qxd4 13. Rc1 Nf6",
         {"..", "Rc1"},
         {"Qxd4", "Nf6"}},
        {"black, written with dots",
         FirstMover::Black,
         "12... Qxd4 13. Rc1",
         {"..", "Rc1"},
         {"Qxd4"}},
        {"white, dots read past", FirstMover::White, "12... Qxd4 Qxd4", {"Qxd4"}, {"Qxd4"}},
        {"from the text", FirstMover::FromText, "12... Qxd4 13. Rc1", {"..", "Rc1"}, {"Qxd4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameLines lines;
        lines.SetFirstMover(row.mover);
        lines.ParseMovetextText(row.movetext);
        EXPECT_EQ(WhiteTexts(lines), row.white);
        EXPECT_EQ(BlackTexts(lines), row.black);
        // Only the parse it was set for.
        lines.ParseMovetextText("1... e5");
        EXPECT_EQ(WhiteTexts(lines), Texts{".."});
    }
    for (const auto& [fen, mover] :
         {std::pair{"[FEN \"8/8/8/8/8/8/8/K6k b - - 0 40\"]", FirstMover::Black},
          std::pair{"[FEN \"8/8/8/8/8/8/8/K6k w - - 0 40\"]", FirstMover::White},
          std::pair{"", FirstMover::FromText}}) {
        EXPECT_EQ(FirstMoverOfFen(fen), mover) << fen;
    }
}

TEST(IsGameTerminator, TellsResultsFromMovesAndRewritesCastling) {
    struct Row {
        const char* token;
        bool blank_is_end;
        int result;
        const char* after;
    };
    const Row rows[] = {
        {"1-0", false, 1, "1-0"},
        {"0-1 ", false, 1, "0-1 "},
        {"1/2-1/2", false, 1, "1/2-1/2"},
        {"*", false, 1, "*"},
        {"?", false, 0, "?"},
        {"--", false, 0, "--"},
        {"+-", false, 0, "+-"},
        {"=/+", false, 0, "=/+"},
        {"0-0 e5", false, 0, "O-O e5"},
        {"0-0-0+", false, 0, "O-O-O+"},
        {"o-o-o", false, 0, "O-O-O"},
        {"O-O", false, 0, "O-O"},
        {"{1-0}", false, 0, "{1-0}"},
        {";/", false, 0, ";/"},
        {"e4", false, 0, "e4"},
        {"Nf3", false, 0, "Nf3"},
        {" e4", true, 1, " e4"},
        {" e4", false, 0, " e4"},
        {"", true, 0, ""},
        {"12.", false, 0, "12."},
        {"\te4", true, 1, "\te4"},
        {"Z0", false, 0, "Z0"},
        {"a-", false, 1, "a-"},
        {"x/", false, 1, "x/"},
        {"O/", false, 1, "O/"},
        {"o-x", false, 1, "o-x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.token);
        char buffer[32] = {};
        std::strcpy(buffer, row.token);
        EXPECT_EQ(IsGameTerminator(buffer, row.blank_is_end), row.result);
        EXPECT_STREQ(buffer, row.after);
    }
}

}  // namespace
}  // namespace qorvale::pgn
