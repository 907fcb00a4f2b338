// Whole-game validation checks each move's rules without writing its text; it must give the
// codes that making every move from its squares (with its text) gives.
#include <gtest/gtest.h>

#include <random>

#include "base/ui.h"
#include "chess_test_support.h"
#include "pgn/pgn_file.h"
#include "search/text_game_reader.h"
#include "support/temp_dir.h"

namespace qorvale::chess::test {
namespace {

// The validation as it was before: each located move made from squares, text and all.
int ValidateByMakingMoves(ChessState& state, MainLineMoves& moves, int full_moves) {
    state.SetStartPosition();
    int half_move = 1;
    for (int i = 0; i < full_moves && i < MaxFullMoves; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (Side side : {Side::White, Side::Black}) {
            MoveText& text =
                side == Side::White ? moves.WhiteMoves[index] : moves.BlackMoves[index];
            const FromHint& hint =
                side == Side::White ? moves.WhiteHints[index] : moves.BlackHints[index];
            if (side == Side::Black && text.empty()) break;
            const int this_half_move = half_move++;
            if (text.view() == "Z0") continue;
            int located = state.LocateMoveText(text, hint, side);
            if (located != 0) {
                if (i == 0 && side == Side::White && state.StartsFromFen() && located == 1 &&
                    text[0] == '.' && text[1] == '.') {
                    continue;
                }
                return located;
            }
            const LocatedMove& at = state.LocatedMoveSquares();
            if (state.MakeMoveFromSquares(
                    MoveMode::TextOnly, this_half_move, static_cast<int>(at.from_file),
                    static_cast<int>(at.from_rank), static_cast<int>(at.to_file),
                    static_cast<int>(at.to_rank)) != 0) {
                return i + 2;
            }
            state.ApplyMoveText(text, hint, side);
        }
    }
    return 0;
}

// The main lines of the games of a file as the program reads them (games set up from a FEN are
// left out: the comparison below starts every game from the initial position).
std::vector<MainLineGame> ReadMainLines(const std::string& path) {
    pgn::PgnFile file;
    SilentUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    file.ScanGameFile(true, ui);
    search::TextGameReader reader(path, file.Index().Offsets());
    std::vector<MainLineGame> games;
    for (std::int32_t game = 0; game < file.Index().Count(); ++game) {
        if (!reader.Read(game, search::TextGameReader::Depth::Moves) || reader.HasFen()) continue;
        MainLineGame& read = games.emplace_back();
        const MainLineMoves& moves = reader.Moves();
        for (int i = 0; i < reader.FullMoves() && i < MaxFullMoves; ++i) {
            const auto index = static_cast<std::size_t>(i);
            for (const MoveText* text : {&moves.WhiteMoves[index], &moves.BlackMoves[index]}) {
                if (!text->empty()) read.moves.emplace_back(text->view());
            }
        }
    }
    return games;
}

TEST(Validation, GivesTheCodesOfMakingEachMoveOnRealAndSpoiltGames) {
    const std::vector<MainLineGame> games =
        ReadMainLines(qorvale::test::TestDataPath("chess/games.pgn"));
    ASSERT_GT(games.size(), 1000u);
    const unsigned seed = 19;
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    // Move texts that are often illegal somewhere: a wrong piece, a king step, castling.
    const char* spoilers[] = {"Kh5", "O-O", "O-O-O", "Qd4", "Nf3", "exd5", "Bb5", "Rxe8", "e5"};
    int illegal = 0;
    for (std::size_t g = 0; g < games.size(); ++g) {
        // The answers to a check: a move that ignores the check must be refused.
        std::vector<std::size_t> after_check;
        for (std::size_t at = 1; at < games[g].moves.size(); ++at) {
            if (games[g].moves[at - 1].find('+') != std::string::npos) after_check.push_back(at);
        }
        const int spoils = 2 + (after_check.empty() ? 0 : static_cast<int>(std::size(spoilers)));
        for (int spoil = 0; spoil < spoils; ++spoil) {
            MainLineGame game = games[g];
            if (spoil == 1 && !game.moves.empty()) {
                game.moves[random() % game.moves.size()] = spoilers[random() % std::size(spoilers)];
            }
            if (spoil >= 2) {
                game.moves[after_check[random() % after_check.size()]] =
                    spoilers[static_cast<std::size_t>(spoil - 2)];
            }
            SCOPED_TRACE(testing::Message() << "game " << g + 1 << " spoilt " << spoil);
            ChessState fast;
            ChessState made;
            for (ChessState* state : {&fast, &made}) {
                state->SetQuietParse(true);
                state->SetMessagesSuppressed(true);
                std::string fen = game.fen_line;
                state->ReadFenTagExtras(fen);
                if (state->StartsFromFen()) state->ParseFenPlacement(fen);
            }
            MainLineMoves a;
            MainLineMoves b;
            const int full = FillMainLine(game, a);
            FillMainLine(game, b);
            const int code = fast.ValidateGameMoves(a, full);
            EXPECT_EQ(code, ValidateByMakingMoves(made, b, full));
            illegal += code >= 2 ? 1 : 0;
        }
    }
    // The spoilt games give the comparison illegal moves to agree on.
    EXPECT_GT(illegal, 500);
}

}  // namespace
}  // namespace qorvale::chess::test
