#include <gtest/gtest.h>

#include <set>

#include "chess_test_support.h"
#include "support/read_games.h"
#include "support/temp_dir.h"

namespace qorvale::chess::test {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::TestDataPath;

std::vector<std::vector<std::string>> ReadTsv(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(ReadWholeFile(path));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1) {
            fields.push_back(line.substr(start, tab - start));
        }
        fields.push_back(line.substr(start));
        rows.push_back(fields);
    }
    return rows;
}

// The reference corpus as the program's readers read it; the loader test checks their replay
// against pgn-extract's, these tests check the rules along the same games.
const std::vector<qorvale::test::ReadGame>& CorpusGames() {
    static const std::vector<qorvale::test::ReadGame> games =
        qorvale::test::ReadGames(ReadWholeFile(TestDataPath("chess/games.pgn")));
    return games;
}

TEST(Reference, EveryCorpusGameValidates) {
    ChessState state;
    ASSERT_GT(CorpusGames().size(), 1500u);
    int game_number = 0;
    for (const qorvale::test::ReadGame& game : CorpusGames()) {
        ++game_number;
        std::string fen = game.fen_line;
        state.ReadFenTagExtras(fen);
        if (state.StartsFromFen()) state.ParseFenPlacement(fen);
        MainLineMoves moves = game.moves;
        EXPECT_EQ(state.ValidateGameMoves(moves, game.full_moves), 0) << "game " << game_number;
    }
}

// From/to pairs accepted from squares, as "e2e4" texts (promotions once, without the piece).
std::set<std::string> AcceptedPairs(ChessState& state, int half_move) {
    const Side side = half_move % 2 == 1 ? Side::White : Side::Black;
    const SavedChessState saved = state.SaveChessState();
    std::set<std::string> accepted;
    for (int from_file = 1; from_file <= 8; ++from_file) {
        for (int from_rank = 1; from_rank <= 8; ++from_rank) {
            if (!BelongsTo(state.CurrentBoard()[from_file][from_rank], side)) continue;
            for (int to_file = 1; to_file <= 8; ++to_file) {
                for (int to_rank = 1; to_rank <= 8; ++to_rank) {
                    state.RestoreChessState(saved);
                    if (state.MakeMoveFromSquares(MoveMode::TextOnly, half_move, from_file,
                                                  from_rank, to_file, to_rank) == 0) {
                        accepted.insert({FileLetter(from_file), RankDigit(from_rank),
                                         FileLetter(to_file), RankDigit(to_rank)});
                    }
                }
            }
        }
    }
    state.RestoreChessState(saved);
    return accepted;
}

// Along real games, each move made from its squares is written as the game writes it, and the
// moves accepted from squares are exactly the legal moves stockfish lists.
TEST(Reference, AcceptedMovesMatchStockfish) {
    const auto rows = ReadTsv(TestDataPath("chess/legal.tsv"));
    ASSERT_GT(rows.size(), 300u);
    const auto& games = CorpusGames();
    ChessState state;
    for (const auto& row : rows) {
        const int game_number = std::stoi(row[0]);
        const int ply = std::stoi(row[1]);
        SCOPED_TRACE("game " + row[0] + " ply " + row[1]);
        const qorvale::test::ReadGame& game = games[static_cast<std::size_t>(game_number - 1)];
        state.SetStartsFromFen(false);
        state.SetStartPosition();
        for (int half_move = 1; half_move <= ply; ++half_move) {
            const auto index = static_cast<std::size_t>((half_move - 1) / 2);
            MoveText text =
                half_move % 2 == 1 ? game.moves.WhiteMoves[index] : game.moves.BlackMoves[index];
            Side side = half_move % 2 == 1 ? Side::White : Side::Black;
            ASSERT_EQ(state.LocateMoveText(text, FromHint{}, side), 0);
            const LocatedMove& at = state.LocatedMoveSquares();
            ASSERT_EQ(state.MakeMoveFromSquares(
                          MoveMode::TextOnly, half_move, static_cast<int>(at.from_file),
                          static_cast<int>(at.from_rank), static_cast<int>(at.to_file),
                          static_cast<int>(at.to_rank)),
                      0);
            // The text written from the squares is the game's (a mate shows as check until the
            // mate test marks it).
            std::string written(state.MadeMoveText().view());
            std::string played(text.view());
            if (played.ends_with('#')) played.back() = '+';
            EXPECT_EQ(written, played) << "half-move " << half_move;
            state.ApplyMoveText(text, FromHint{}, side);
        }
        std::set<std::string> expected;
        for (const std::string& move : Words(row.size() > 2 ? row[2] : "")) {
            expected.insert(move.substr(0, 4));
        }
        EXPECT_EQ(AcceptedPairs(state, ply + 1), expected);
    }
}

// Counts the leaf positions `depth` half-moves ahead by trying every from/to pair (and every
// promotion piece) from squares: the program has no move generator.
std::uint64_t Perft(ChessState& state, int half_move, int depth) {
    const Side side = half_move % 2 == 1 ? Side::White : Side::Black;
    const SavedChessState saved = state.SaveChessState();
    std::uint64_t nodes = 0;
    for (int from_file = 1; from_file <= 8; ++from_file) {
        for (int from_rank = 1; from_rank <= 8; ++from_rank) {
            const std::uint32_t code = saved.CurrentBoard[from_file][from_rank];
            if (!BelongsTo(code, side)) continue;
            const bool promotes =
                KindOf(code) == Pawn && from_rank == (side == Side::White ? 7 : 2);
            for (int to_file = 1; to_file <= 8; ++to_file) {
                for (int to_rank = 1; to_rank <= 8; ++to_rank) {
                    state.RestoreChessState(saved);
                    if (state.MakeMoveFromSquares(MoveMode::TextOnly, half_move, from_file,
                                                  from_rank, to_file, to_rank) != 0) {
                        continue;
                    }
                    for (std::uint32_t choice : {Queen, Rook, Bishop, Knight}) {
                        if (depth == 1) {
                            ++nodes;
                        } else {
                            state.RestoreChessState(saved);
                            state.SetPromotionChoice(choice);
                            state.MakeMoveFromSquares(MoveMode::Record, half_move, from_file,
                                                      from_rank, to_file, to_rank);
                            nodes += Perft(state, half_move + 1, depth - 1);
                        }
                        if (!promotes) break;
                    }
                }
            }
        }
    }
    state.RestoreChessState(saved);
    return nodes;
}

TEST(Reference, PerftMatchesPublishedCounts) {
    struct Row {
        const char* name;
        std::string_view placement;
        std::string_view castling;
        bool black_to_move;
        std::uint64_t depth2;
        std::uint64_t depth3;
    };
    const Row rows[] = {
        {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "KQkq", false, 400, 8902},
        {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R", "KQkq", false, 2039,
         97862},
        {"rook endgame with en passant", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8", "-", false, 191, 2812},
        {"promotions and checks", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1", "kq",
         false, 264, 9467},
        {"mirrored, black to move", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R", "KQ",
         true, 264, 9467},
        {"promotion onto the back rank", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R", "KQ",
         false, 1486, 62379},
        {"middlegame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1", "-", false,
         2079, 89890},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement, row.castling);
        const int half_move = row.black_to_move ? 2 : 1;
        EXPECT_EQ(Perft(state, half_move, 2), row.depth2);
        EXPECT_EQ(Perft(state, half_move, 3), row.depth3);
    }
}

}  // namespace
}  // namespace qorvale::chess::test
