#include <algorithm>
#include <cstdlib>

#include "chess/chess_state.h"

namespace qorvale::chess {

namespace {

struct Step {
    int file, rank;
};
constexpr std::array<Step, 4> LineSteps = {{{0, 1}, {0, -1}, {1, 0}, {-1, 0}}};
constexpr std::array<Step, 4> DiagonalSteps = {{{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}};
constexpr std::array<Step, 8> KnightSteps = {
    {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}}};
constexpr std::array<Step, 8> KingSteps = {
    {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}}};

constexpr int Sign(int value) { return (value > 0) - (value < 0); }

// Squares strictly between two squares on one line are all empty.
bool PathClear(const Board& board, int from_file, int from_rank, int to_file, int to_rank) {
    int step_file = Sign(to_file - from_file);
    int step_rank = Sign(to_rank - from_rank);
    int file = from_file + step_file;
    int rank = from_rank + step_rank;
    while (file != to_file || rank != to_rank) {
        if (board[file][rank] != Empty) return false;
        file += step_file;
        rank += step_rank;
    }
    return true;
}

int HalfMoveIndex(int half_move) { return (half_move - 1) / 2; }

bool OnOneLine(int file_a, int rank_a, int file_b, int rank_b) {
    const int files = file_a - file_b;
    const int ranks = rank_a - rank_b;
    return files == 0 || ranks == 0 || std::abs(files) == std::abs(ranks);
}

// Whether moving a piece from `from` to `to` opens the line from the king's square through
// `from` to `attacker`'s rook, bishop or queen. The board still shows the piece on `from`.
bool LineOpened(const Board& board, int king_file, int king_rank, int from_file, int from_rank,
                int to_file, int to_rank, Side attacker) {
    if (!OnOneLine(king_file, king_rank, from_file, from_rank)) return false;
    const int step_file = Sign(from_file - king_file);
    const int step_rank = Sign(from_rank - king_rank);
    const bool straight = step_file == 0 || step_rank == 0;
    for (int file = king_file + step_file, rank = king_rank + step_rank; OnBoard(file, rank);
         file += step_file, rank += step_rank) {
        if (file == to_file && rank == to_rank) return false;  // the piece stays on the line
        if (file == from_file && rank == from_rank) continue;
        const std::uint32_t code = board[file][rank];
        if (code == Empty) continue;
        return code == PieceCode(Queen, attacker) ||
               code == PieceCode(straight ? Rook : Bishop, attacker);
    }
    return false;
}

// Whether `attacker`'s rook, bishop or queen stands first on the line from the king's square
// through `through` (a square just emptied).
bool SliderBehind(const Board& board, int king_file, int king_rank, int through_file,
                  int through_rank, Side attacker) {
    if (!OnOneLine(king_file, king_rank, through_file, through_rank)) return false;
    const int step_file = Sign(through_file - king_file);
    const int step_rank = Sign(through_rank - king_rank);
    const bool straight = step_file == 0 || step_rank == 0;
    int file = king_file + step_file;
    int rank = king_rank + step_rank;
    while (OnBoard(file, rank) && board[file][rank] == Empty) {
        file += step_file;
        rank += step_rank;
    }
    if (!OnBoard(file, rank)) return false;
    const std::uint32_t code = board[file][rank];
    return code == PieceCode(Queen, attacker) ||
           code == PieceCode(straight ? Rook : Bishop, attacker);
}

}  // namespace

bool ChessState::SquareAttackedOn(const Board& board, int file, int rank, Side attacker) const {
    const std::uint32_t king = PieceCode(King, attacker);
    const std::uint32_t defending_king = PieceCode(King, Opponent(attacker));
    const std::uint32_t queen = PieceCode(Queen, attacker);
    for (int pass = 0; pass < 2; ++pass) {
        const std::array<Step, 4>& steps = pass == 0 ? LineSteps : DiagonalSteps;
        const std::uint32_t slider = PieceCode(pass == 0 ? Rook : Bishop, attacker);
        for (const Step& step : steps) {
            int f = file + step.file;
            int r = rank + step.rank;
            if (!OnBoard(f, r)) continue;
            if (board[f][r] == king) return true;
            // The defending king does not block: it cannot step back along a checking line.
            while (OnBoard(f, r)) {
                std::uint32_t code = board[f][r];
                if (code != Empty && code != defending_king) {
                    if (code == slider || code == queen) return true;
                    break;
                }
                f += step.file;
                r += step.rank;
            }
        }
    }
    const std::uint32_t knight = PieceCode(Knight, attacker);
    for (const Step& step : KnightSteps) {
        int f = file + step.file;
        int r = rank + step.rank;
        if (OnBoard(f, r) && board[f][r] == knight) return true;
    }
    const int pawn_rank = attacker == Side::White ? rank - 1 : rank + 1;
    const std::uint32_t pawn = PieceCode(Pawn, attacker);
    for (int f : {file - 1, file + 1}) {
        if (OnBoard(f, pawn_rank) && board[f][pawn_rank] == pawn) return true;
    }
    return false;
}

int ChessState::IsSquareAttacked(int file, int rank, Side attacker) const {
    if (!OnBoard(file, rank)) return 0;
    return SquareAttackedOn(current_board_, file, rank, attacker) ? 1 : 0;
}

int ChessState::MoveLeavesKingInCheck(int from_file, int from_rank, int to_file, int to_rank,
                                      Side mover) {
    Board& board = current_board_;
    const std::uint32_t moving = board[from_file][from_rank];
    const std::uint32_t captured = board[to_file][to_rank];
    // Not in check, a piece can expose its king only along the line from the king through the
    // square it leaves (en passant empties a second square, so it is tested in full).
    const SlotSquare& own_king = Slots(mover).king;
    const bool maybe_en_passant =
        KindOf(moving) == Pawn && to_file != from_file && captured == Empty;
    if (mover_not_in_check_ && !own_king.empty() && !maybe_en_passant && KindOf(moving) != King) {
        return LineOpened(board, static_cast<int>(own_king.file), static_cast<int>(own_king.rank),
                          from_file, from_rank, to_file, to_rank, Opponent(mover))
                   ? 1
                   : 0;
    }
    // An accepted diagonal pawn move onto an empty square is en passant: its pawn goes as well.
    int passed_rank = 0;
    std::uint32_t passed_code = 0;
    if (KindOf(moving) == Pawn && to_file != from_file && captured == Empty &&
        to_rank == (mover == Side::White ? 6 : 3) &&
        board[to_file][from_rank] == PieceCode(Pawn, Opponent(mover))) {
        passed_rank = from_rank;
        passed_code = board[to_file][from_rank];
        board[to_file][from_rank] = Empty;
    }
    board[to_file][to_rank] = moving;
    board[from_file][from_rank] = Empty;
    const SlotSquare& king = Slots(mover).king;
    bool attacked = !king.empty() && SquareAttackedOn(board, static_cast<int>(king.file),
                                                      static_cast<int>(king.rank), Opponent(mover));
    board[from_file][from_rank] = moving;
    board[to_file][to_rank] = captured;
    if (passed_rank != 0) board[to_file][passed_rank] = passed_code;
    return attacked ? 1 : 0;
}

bool ChessState::MoveMayGiveCheck(int from_file, int from_rank, int to_file, int to_rank,
                                  Side mover) const {
    const SlotSquare& king = Slots(Opponent(mover)).king;
    if (king.empty()) return true;
    const Board& board = current_board_;
    const int king_file = static_cast<int>(king.file);
    const int king_rank = static_cast<int>(king.rank);
    const std::uint32_t kind = KindOf(board[to_file][to_rank]);
    const int files = std::abs(king_file - to_file);
    const int ranks = std::abs(king_rank - to_rank);
    switch (kind) {
        case King:
            return true;
        case Knight:
            if ((files == 1 && ranks == 2) || (files == 2 && ranks == 1)) return true;
            break;
        case Pawn:
            if (files == 1 && king_rank - to_rank == (mover == Side::White ? 1 : -1)) return true;
            break;
        case Bishop:
        case Rook:
        case Queen: {
            const bool straight = files == 0 || ranks == 0;
            const bool diagonal = files == ranks;
            const bool reaches = (kind == Queen && (straight || diagonal)) ||
                                 (kind == Rook && straight) || (kind == Bishop && diagonal);
            if (reaches && PathClear(board, to_file, to_rank, king_file, king_rank)) return true;
            break;
        }
        default:
            return true;
    }
    if (SliderBehind(board, king_file, king_rank, from_file, from_rank, mover)) return true;
    // A pawn capturing en passant also empties the square of the pawn it takes.
    return kind == Pawn && to_file != from_file &&
           SliderBehind(board, king_file, king_rank, to_file, from_rank, mover);
}

int ChessState::MoveGivesCheck(int from_file, int from_rank, int to_file, int to_rank, Side mover,
                               int promotion) {
    const SlotSquare& king = Slots(Opponent(mover)).king;
    if (king.empty()) return 0;
    Board& board = current_board_;
    const Board saved = board;
    const int back_rank = mover == Side::White ? 1 : 8;
    if (promotion == 7 || promotion == 8) {
        bool short_side = promotion == 7;
        const SlotSquare& own_king = Slots(mover).king;
        board[own_king.empty() ? 5 : own_king.file][back_rank] = Empty;
        board[CastlingRookFile(mover, short_side ? 0 : 1)][back_rank] = Empty;
        board[short_side ? 7 : 3][back_rank] = PieceCode(King, mover);
        board[short_side ? 6 : 4][back_rank] = PieceCode(Rook, mover);
    } else {
        std::uint32_t moving = board[from_file][from_rank];
        if (KindOf(moving) == Pawn && to_file != from_file && board[to_file][to_rank] == Empty) {
            board[to_file][from_rank] = Empty;
        }
        if (promotion >= static_cast<int>(Knight) && promotion <= static_cast<int>(Queen)) {
            moving = PieceCode(static_cast<std::uint32_t>(promotion), mover);
        }
        board[to_file][to_rank] = moving;
        board[from_file][from_rank] = Empty;
    }
    bool check =
        SquareAttackedOn(board, static_cast<int>(king.file), static_cast<int>(king.rank), mover);
    board = saved;
    return check ? 1 : 0;
}

bool ChessState::IsCastlingSquares(Side side, int from_file, int from_rank, int to_file,
                                   int to_rank, bool& long_side) const {
    const int rank = side == Side::White ? 1 : 8;
    if (from_rank != rank || to_rank != rank || from_file == to_file) return false;
    if (current_board_[from_file][rank] != PieceCode(King, side)) return false;
    // Onto its own castling rook, as Chess960 moves are written for engines; not in the standard
    // game, where a king never moves onto a corner rook.
    const bool standard =
        from_file == 5 && CastlingRookFile(side, 0) == 8 && CastlingRookFile(side, 1) == 1;
    for (int wing : {0, 1}) {
        if (!standard && to_file == CastlingRookFile(side, wing) &&
            current_board_[to_file][rank] == PieceCode(Rook, side)) {
            long_side = wing == 1;
            return true;
        }
    }
    // Two files from e: castling in the standard game.
    if (from_file == 5 && (to_file == 7 || to_file == 3)) {
        long_side = to_file == 3;
        return true;
    }
    return false;
}

int ChessState::CanCastle(Side mover, int wing) const {
    const int rank = mover == Side::White ? 1 : 8;
    const Board& board = current_board_;
    const SlotSquare& king = Slots(mover).king;
    if (king.empty() || static_cast<int>(king.rank) != rank) return 1;
    const int king_from = static_cast<int>(king.file);
    const int rook_from = CastlingRookFile(mover, wing);
    const bool short_side = wing == 0;
    const int king_to = short_side ? 7 : 3;
    const int rook_to = short_side ? 6 : 4;
    const bool moved =
        mover == Side::White
            ? (castling_.WhiteKingMoved |
               (short_side ? castling_.WhiteRookH1Moved : castling_.WhiteRookA1Moved)) != 0
            : (castling_.BlackKingMoved |
               (short_side ? castling_.BlackRookH8Moved : castling_.BlackRookA8Moved)) != 0;
    if (board[king_from][rank] != PieceCode(King, mover) ||
        board[rook_from][rank] != PieceCode(Rook, mover) || (rook_from > king_from) != short_side ||
        moved) {
        return 1;
    }
    // Every square the king or the rook crosses or lands on is empty but for the two of them;
    // the king's squares, from where it stands, are not attacked (b1 may be: only the rook
    // crosses it in the standard game).
    auto between = [](int a, int b, auto&& visit) {
        for (int file = std::min(a, b); file <= std::max(a, b); ++file) {
            if (!visit(file)) return false;
        }
        return true;
    };
    auto vacant = [&](int file) {
        return file == king_from || file == rook_from || board[file][rank] == Empty;
    };
    if (!between(king_from, king_to, vacant) || !between(rook_from, rook_to, vacant)) return 1;
    auto safe = [&](int file) { return !SquareAttackedOn(board, file, rank, Opponent(mover)); };
    if (!between(king_from, king_to, safe)) return 2;
    return 0;
}

int ChessState::CanCastleShort(Side mover) const { return CanCastle(mover, 0); }

int ChessState::CanCastleLong(Side mover) const { return CanCastle(mover, 1); }

int ChessState::PawnMoveRejected(int from_file, int from_rank, int to_file, int to_rank, Side mover,
                                 std::string_view opponent_last) {
    const Board& board = current_board_;
    const int forward = mover == Side::White ? 1 : -1;
    const int home_rank = mover == Side::White ? 2 : 7;
    const std::uint32_t enemy_pawn = PieceCode(Pawn, Opponent(mover));
    if (to_file == from_file) {
        if (to_rank == from_rank + forward && board[to_file][to_rank] == Empty) return 0;
        if (from_rank == home_rank && to_rank == from_rank + 2 * forward &&
            board[to_file][from_rank + forward] == Empty && board[to_file][to_rank] == Empty) {
            for (int file : {to_file - 1, to_file + 1}) {
                if (OnBoard(file, to_rank) && board[file][to_rank] == enemy_pawn) {
                    en_passant_state_ = 1;
                }
            }
            return 0;
        }
        return 1;
    }
    if (std::abs(to_file - from_file) != 1 || to_rank != from_rank + forward) return 1;
    if (board[to_file][to_rank] != Empty) return 0;
    // En passant: only onto the square behind a pawn that has just made its double step.
    const int target_rank = mover == Side::White ? 6 : 3;
    if (to_rank != target_rank || board[to_file][from_rank] != enemy_pawn) return 1;
    if (en_passant_state_ == 2) return 0;
    if (en_passant_known_) return 1;
    const char double_step_rank = mover == Side::White ? '5' : '4';
    if (opponent_last.size() >= 2 && opponent_last[0] == FileLetter(to_file) &&
        opponent_last[1] == double_step_rank) {
        return 0;
    }
    return 1;
}

int ChessState::ShapeRejected(std::uint32_t kind, int from_file, int from_rank, int to_file,
                              int to_rank, Side mover) const {
    const int file_distance = std::abs(to_file - from_file);
    const int rank_distance = std::abs(to_rank - from_rank);
    const bool straight = file_distance == 0 || rank_distance == 0;
    const bool diagonal = file_distance == rank_distance;
    const Board& board = current_board_;
    switch (kind) {
        case Knight:
            return (file_distance == 1 && rank_distance == 2) ||
                           (file_distance == 2 && rank_distance == 1)
                       ? 0
                       : 1;
        case Bishop:
            return diagonal && PathClear(board, from_file, from_rank, to_file, to_rank) ? 0 : 1;
        case Rook:
            return straight && PathClear(board, from_file, from_rank, to_file, to_rank) ? 0 : 1;
        case Queen:
            return (straight || diagonal) &&
                           PathClear(board, from_file, from_rank, to_file, to_rank)
                       ? 0
                       : 1;
        case King:
            if (file_distance > 1 || rank_distance > 1) return 1;
            return SquareAttackedOn(board, to_file, to_rank, Opponent(mover)) ? 1 : 0;
        default:
            return 1;
    }
}

int ChessState::DisambiguationFor(std::uint32_t kind, int from_file, int from_rank, int to_file,
                                  int to_rank, Side mover) {
    const std::array<SlotSquare, 3> slots = Slots(mover).ForKind(kind);
    int able = 0;
    SlotSquare other;
    for (const SlotSquare& slot : slots) {
        if (slot.empty() ||
            slot.Is(static_cast<std::uint32_t>(from_file), static_cast<std::uint32_t>(from_rank))) {
            continue;
        }
        int file = static_cast<int>(slot.file);
        int rank = static_cast<int>(slot.rank);
        if (current_board_[file][rank] != PieceCode(kind, mover)) continue;
        if (ShapeRejected(kind, file, rank, to_file, to_rank, mover) != 0) continue;
        if (MoveLeavesKingInCheck(file, rank, to_file, to_rank, mover) != 0) continue;
        ++able;
        other = slot;
    }
    if (able == 0) return 0;
    if (able >= 2) return 3;
    return static_cast<int>(other.file) == from_file ? 2 : 1;
}

int ChessState::MoveRulesRejected(Side mover, int from_file, int from_rank, int to_file,
                                  int to_rank, int& castling) {
    castling = 0;
    if (!OnBoard(from_file, from_rank) || !OnBoard(to_file, to_rank)) return 1;
    if (from_file == to_file && from_rank == to_rank) return 1;
    Board& board = current_board_;
    const std::uint32_t moving = board[from_file][from_rank];
    if (!BelongsTo(moving, mover)) return 1;
    const std::uint32_t kind = KindOf(moving);
    bool long_side = false;
    const bool castles =
        kind == King && IsCastlingSquares(mover, from_file, from_rank, to_file, to_rank, long_side);
    // In Chess960 the king may castle by taking its own rook's square.
    if (!castles && BelongsTo(board[to_file][to_rank], mover)) return 1;
    switch (kind) {
        case Pawn:
            if (PawnMoveRejected(from_file, from_rank, to_file, to_rank, mover,
                                 previous_text_.view()) != 0 ||
                MoveLeavesKingInCheck(from_file, from_rank, to_file, to_rank, mover) != 0) {
                return 1;
            }
            return 0;
        case King:
            if (castles) {
                if (CanCastle(mover, long_side ? 1 : 0) != 0) return 1;
                castling = long_side ? 8 : 7;
            } else if (ShapeRejected(King, from_file, from_rank, to_file, to_rank, mover) != 0) {
                return 1;
            }
            return 0;
        case Knight:
        case Bishop:
        case Rook:
        case Queen:
            if (ShapeRejected(kind, from_file, from_rank, to_file, to_rank, mover) != 0 ||
                MoveLeavesKingInCheck(from_file, from_rank, to_file, to_rank, mover) != 0) {
                return 1;
            }
            return 0;
        default:
            return 1;
    }
}

void ChessState::UpdateCastlingFlags(std::uint32_t kind, Side mover, int from_file, int from_rank,
                                     int to_file, int to_rank, bool capture) {
    if (kind == King) {
        (mover == Side::White ? castling_.WhiteKingMoved : castling_.BlackKingMoved) = 1;
    }
    // The flags of the castling rooks, on the corners in the standard game.
    auto corner_flag = [this](int file, int rank) -> std::uint32_t* {
        if (rank == 1 && file == CastlingRookFile(Side::White, 1))
            return &castling_.WhiteRookA1Moved;
        if (rank == 1 && file == CastlingRookFile(Side::White, 0))
            return &castling_.WhiteRookH1Moved;
        if (rank == 8 && file == CastlingRookFile(Side::Black, 1))
            return &castling_.BlackRookA8Moved;
        if (rank == 8 && file == CastlingRookFile(Side::Black, 0))
            return &castling_.BlackRookH8Moved;
        return nullptr;
    };
    if (kind == Rook) {
        if (std::uint32_t* flag = corner_flag(from_file, from_rank)) *flag = 1;
    }
    if (capture) {
        if (std::uint32_t* flag = corner_flag(to_file, to_rank)) *flag = 1;
    }
}

int ChessState::CheckMoveFromSquares(int half_move, int from_file, int from_rank, int to_file,
                                     int to_rank) {
    const Side mover = half_move % 2 == 1 ? Side::White : Side::Black;
    en_passant_state_ = en_passant_state_ == 1 ? 2 : 0;
    int castling = 0;
    if (MoveRulesRejected(mover, from_file, from_rank, to_file, to_rank, castling) != 0) return 1;
    squares_checked_ = true;
    if (half_move >= 1 && half_move <= MaxHalfMoves) {
        (mover == Side::White ? white_stalemate_ : black_stalemate_)[HalfMoveIndex(half_move)] = 0;
    }
    if (!castling_frozen_) {
        UpdateCastlingFlags(KindOf(current_board_[from_file][from_rank]), mover, from_file,
                            from_rank, to_file, to_rank,
                            castling == 0 && current_board_[to_file][to_rank] != Empty);
    }
    return 0;
}

int ChessState::MakeMoveFromSquares(MoveMode mode, int half_move, int from_file, int from_rank,
                                    int to_file, int to_rank) {
    const Side mover = half_move % 2 == 1 ? Side::White : Side::Black;
    en_passant_state_ = en_passant_state_ == 1 ? 2 : 0;
    if (prepared_) {
        prepared_ = false;
        made_text_ = prepared_text_;
        FromHint no_hint;
        ApplyMoveText(made_text_, no_hint, mover);
        SnapshotPosition(half_move);
        return 0;
    }
    if (from_file == 0) {
        made_text_ = MoveText("*");
        return 0;
    }
    Board& board = current_board_;
    int castling = 0;  // 7 short, 8 long
    if (MoveRulesRejected(mover, from_file, from_rank, to_file, to_rank, castling) != 0) return 1;
    const std::uint32_t moving = board[from_file][from_rank];
    const std::uint32_t kind = KindOf(moving);
    const bool capture = castling == 0 && board[to_file][to_rank] != Empty;
    const int last_rank = mover == Side::White ? 8 : 1;

    // The SAN text.
    std::array<char, 16> text{};
    int length = 0;
    int check_kind = 0;
    if (kind == Pawn) {
        text[length++] = FileLetter(from_file);
        if (to_file != from_file) {
            text[length++] = 'x';
            text[length++] = FileLetter(to_file);
        }
        text[length++] = RankDigit(to_rank);
        if (to_rank == last_rank) {
            std::uint32_t choice = promotion_choice_;
            if (choice != Knight && choice != Bishop && choice != Rook) choice = Queen;
            text[length++] = '=';
            text[length++] = "??NBRQ"[choice];
            check_kind = static_cast<int>(choice);
        }
    } else if (castling == 7) {
        for (char c : {'O', '-', 'O'}) text[length++] = c;
        check_kind = 7;
    } else if (castling == 8) {
        for (char c : {'O', '-', 'O', '-', 'O'}) text[length++] = c;
        check_kind = 8;
    } else {
        text[length++] = "??NBRQK"[kind];
        if (kind != King) {
            int by = DisambiguationFor(kind, from_file, from_rank, to_file, to_rank, mover);
            if (by & 1) text[length++] = FileLetter(from_file);
            if (by & 2) text[length++] = RankDigit(from_rank);
        }
        if (capture) text[length++] = 'x';
        text[length++] = FileLetter(to_file);
        text[length++] = RankDigit(to_rank);
    }
    if (MoveGivesCheck(from_file, from_rank, to_file, to_rank, mover, check_kind) != 0) {
        text[length++] = '+';
    }
    made_text_ = MoveText(std::string_view(text.data(), static_cast<std::size_t>(length)));
    squares_checked_ = true;
    if (half_move >= 1 && half_move <= MaxHalfMoves) {
        (mover == Side::White ? white_stalemate_ : black_stalemate_)[HalfMoveIndex(half_move)] = 0;
    }

    if (!castling_frozen_)
        UpdateCastlingFlags(kind, mover, from_file, from_rank, to_file, to_rank, capture);

    if (mode == MoveMode::TextOnly) return 0;
    // Played through the text road like every other move; the hint pins the mover to the
    // square the move was made from.
    MoveText played = made_text_;
    FromHint hint;
    if (kind != Pawn && kind != King) hint.Set(from_file, from_rank);
    ApplyMoveText(played, hint, mover);
    SnapshotPosition(half_move);
    return 0;
}

int ChessState::HasLegalMove(int half_move, Side side) {
    const CastlingFlags saved_castling = castling_;
    const std::uint32_t saved_en_passant = en_passant_state_;
    const MoveText saved_text = made_text_;
    const bool saved_checked = squares_checked_;
    const int trial_half_move = half_move + 1;
    const Board& board = current_board_;
    const int forward = side == Side::White ? 1 : -1;
    bool found = false;
    auto attempt = [&](int from_file, int from_rank, int to_file, int to_rank) {
        if (found || !OnBoard(to_file, to_rank)) return;
        castling_ = saved_castling;
        en_passant_state_ = saved_en_passant;
        found = MakeMoveFromSquares(MoveMode::TextOnly, trial_half_move, from_file, from_rank,
                                    to_file, to_rank) == 0;
    };
    for (int file = 1; file <= 8 && !found; ++file) {
        for (int rank = 1; rank <= 8 && !found; ++rank) {
            std::uint32_t code = board[file][rank];
            if (!BelongsTo(code, side)) continue;
            switch (KindOf(code)) {
                case Pawn: {
                    int ahead = rank + forward;
                    attempt(file, rank, file, ahead);
                    for (int target : {file - 1, file + 1}) {
                        if (OnBoard(target, ahead) && board[target][ahead] != Empty) {
                            attempt(file, rank, target, ahead);
                        }
                    }
                    if (rank == (side == Side::White ? 2 : 7)) {
                        attempt(file, rank, file, rank + 2 * forward);
                    }
                    if (rank == (side == Side::White ? 5 : 4)) {
                        for (int target : {file - 1, file + 1}) {
                            if (OnBoard(target, ahead) && board[target][ahead] == Empty &&
                                board[target][rank] == PieceCode(Pawn, Opponent(side))) {
                                attempt(file, rank, target, ahead);
                            }
                        }
                    }
                    break;
                }
                case Knight:
                    for (const Step& step : KnightSteps) {
                        attempt(file, rank, file + step.file, rank + step.rank);
                    }
                    break;
                case King:
                    for (const Step& step : KingSteps) {
                        attempt(file, rank, file + step.file, rank + step.rank);
                    }
                    break;
                case Bishop:
                case Rook:
                case Queen: {
                    std::uint32_t kind = KindOf(code);
                    for (const Step& step : KingSteps) {
                        bool diagonal = step.file != 0 && step.rank != 0;
                        if ((kind == Bishop && !diagonal) || (kind == Rook && diagonal)) continue;
                        int f = file + step.file;
                        int r = rank + step.rank;
                        while (OnBoard(f, r) && !found && !BelongsTo(board[f][r], side)) {
                            attempt(file, rank, f, r);
                            if (board[f][r] != Empty) break;
                            f += step.file;
                            r += step.rank;
                        }
                    }
                    break;
                }
                default:
                    break;
            }
        }
    }
    castling_ = saved_castling;
    en_passant_state_ = saved_en_passant;
    made_text_ = saved_text;
    squares_checked_ = saved_checked;
    return found ? 1 : 0;
}

void ChessState::MarkMateOrStalemate(int half_move, MoveText& text, bool mark_stalemate) {
    const Side opponent = half_move % 2 == 1 ? Side::Black : Side::White;
    std::string_view view = text.view();
    bool check = !view.empty() && view.back() == '+';
    if (check) {
        if (HasLegalMove(half_move, opponent) == 0) text[view.size() - 1] = '#';
        return;
    }
    if (mark_stalemate && half_move >= 1 && half_move <= MaxHalfMoves &&
        HasLegalMove(half_move, opponent) == 0) {
        (half_move % 2 == 1 ? white_stalemate_ : black_stalemate_)[HalfMoveIndex(half_move)] = 1;
    }
}

}  // namespace qorvale::chess
