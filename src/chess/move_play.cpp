#include <cstdlib>
#include <string>

#include "chess/chess_state.h"
#include "chess/messages.h"
#include "chess/notation.h"

namespace qorvale::chess {

namespace {

constexpr int Sign(int value) { return (value > 0) - (value < 0); }

// Inserts `c` at `position`, dropping the seventh character when the text is full.
void InsertAt(MoveText& text, std::size_t position, char c) {
    for (std::size_t i = MoveText::Capacity - 1; i > position; --i) text[i] = text[i - 1];
    text[position] = c;
    text[MoveText::Capacity] = 0;
}

std::uint32_t KindForLetter(char c) {
    switch (c) {
        case 'N':
        case 'n':
            return Knight;
        case 'B':
        case 'b':
            return Bishop;
        case 'R':
        case 'r':
            return Rook;
        case 'Q':
        case 'q':
            return Queen;
        case 'K':
            return King;
        default:
            return 0;
    }
}

bool OnDiagonal(const SlotSquare& square, int file, int rank) {
    return std::abs(static_cast<int>(square.file) - file) ==
           std::abs(static_cast<int>(square.rank) - rank);
}

bool OnLine(const SlotSquare& square, int file, int rank) {
    return static_cast<int>(square.file) == file || static_cast<int>(square.rank) == rank;
}

bool PathClear(const Board& board, int from_file, int from_rank, int to_file, int to_rank) {
    int step_file = Sign(to_file - from_file);
    int step_rank = Sign(to_rank - from_rank);
    int file = from_file + step_file;
    int rank = from_rank + step_rank;
    while ((file != to_file || rank != to_rank) && OnBoard(file, rank)) {
        if (board[file][rank] != Empty) return false;
        file += step_file;
        rank += step_rank;
    }
    return true;
}

}  // namespace

// Coordinate texts ("e2e4", "e5xd6", "e7e8q", "g1f3") become SAN for pawns and get the piece
// letter in front otherwise, so that the rest of the resolution reads them as SAN.
void ChessState::NormaliseText(MoveText& text, Side side) const {
    if (!IsFileLetter(text[0]) || !IsRankDigit(text[1])) return;
    std::size_t target = 2;
    if (text[2] == 'x' || text[2] == '-') target = 3;
    if (!IsFileLetter(text[target]) || !IsRankDigit(text[target + 1])) return;
    const int from_file = text[0] - 'a' + 1;
    const int from_rank = text[1] - '0';
    const std::uint32_t code = current_board_[from_file][from_rank];
    const std::uint32_t kind = KindOf(code);
    bool long_side = false;
    if (BelongsTo(code, side) && kind == King &&
        IsCastlingSquares(side, from_file, from_rank, text[target] - 'a' + 1,
                          text[target + 1] - '0', long_side)) {
        // Castling written as the king's squares ("e1g1", or "e1h1" onto its own rook).
        std::string castled(long_side ? "O-O-O" : "O-O");
        for (std::size_t rest = target + 2; rest < MoveText::Capacity && text[rest] != 0; ++rest) {
            castled += text[rest];
        }
        text = MoveText(castled);
        return;
    }
    if (BelongsTo(code, side) && kind != Pawn) {
        InsertAt(text, 0, "??NBRQK"[kind]);
        return;
    }
    const char to_file = text[target];
    const char to_rank = text[target + 1];
    std::size_t rest = target + 2;
    std::array<char, 16> out{};
    std::size_t length = 0;
    out[length++] = text[0];
    if (to_file != text[0]) {
        out[length++] = 'x';
        out[length++] = to_file;
    }
    out[length++] = to_rank;
    const char last_rank = side == Side::White ? '8' : '1';
    if (to_rank == last_rank) {
        if (text[rest] == '=') ++rest;
        std::uint32_t promoted = KindForLetter(text[rest]);
        if (promoted >= Knight && promoted <= Queen) {
            out[length++] = '=';
            out[length++] = "??NBRQ"[promoted];
            ++rest;
        }
    }
    while (rest < MoveText::Capacity && text[rest] != 0 && length < MoveText::Capacity) {
        out[length++] = text[rest++];
    }
    text = MoveText(std::string_view(out.data(), length));
}

bool ChessState::Resolve(MoveText& text, const FromHint& hint, Side side, Resolution& out) {
    if (text[0] == '0' || text[0] == 'o') {
        NormaliseCastling(std::span<char>(text.bytes.data(), MoveText::Capacity));
    }
    const int back_rank = side == Side::White ? 1 : 8;
    const Board& board = current_board_;
    const char first = text[0];
    if (first == 'O' && text[1] == '-') {
        bool long_side = text[3] == '-';
        out.type = long_side ? Resolution::Type::CastleLong : Resolution::Type::CastleShort;
        out.kind = King;
        // The king castles from wherever it stands on its back rank (e1 in the standard game).
        const SlotSquare& king = Slots(side).king;
        const bool home = !king.empty() && static_cast<int>(king.rank) == back_rank;
        out.from_file = home ? static_cast<int>(king.file) : 5;
        out.from_rank = back_rank;
        out.to_file = long_side ? 3 : 7;
        out.to_rank = back_rank;
        out.rook_file = CastlingRookFile(side, long_side ? 1 : 0);
        return true;
    }
    if (IsFileLetter(first)) {
        NormaliseText(text, side);
        if (text[0] != first) return Resolve(text, hint, side, out);  // became a piece move
    }
    if (IsFileLetter(text[0])) {
        // Pawn move; "ed5" is a capture written without its "x".
        if (IsFileLetter(text[1]) && IsRankDigit(text[2])) InsertAt(text, 1, 'x');
        const bool capture = text[1] == 'x';
        const std::size_t square = capture ? 2 : 0;
        if (!IsFileLetter(text[square]) || !IsRankDigit(text[square + 1])) return false;
        const int forward = side == Side::White ? 1 : -1;
        out.type = Resolution::Type::Pawn;
        out.kind = Pawn;
        out.to_file = text[square] - 'a' + 1;
        out.to_rank = text[square + 1] - '0';
        out.from_file = capture ? text[0] - 'a' + 1 : out.to_file;
        out.from_rank = out.to_rank - forward;
        if (!OnBoard(out.from_file, out.from_rank)) return false;
        if (!capture && out.to_rank == (side == Side::White ? 4 : 5) &&
            board[out.to_file][out.from_rank] == Empty) {
            out.from_rank = side == Side::White ? 2 : 7;
        }
        if (out.to_rank == (side == Side::White ? 8 : 1)) {
            std::size_t letter = square + 2;
            if (text[letter] == '=') ++letter;
            char c = text[letter];
            out.promotion = Queen;
            if (c >= 'B') {
                std::uint32_t kind = KindForLetter(c);
                if (kind >= Knight && kind <= Queen) {
                    out.promotion = kind;
                } else {
                    out.unknown_promotion = true;
                }
            }
        }
        return true;
    }
    const std::uint32_t kind = KindForLetter(first);
    if (kind < Knight || first < 'B' || first > 'R') return false;
    // Squares of the text after the letter; "x" and "-" are read past.
    std::array<std::size_t, 4> positions{};
    std::size_t count = 0;
    bool has_x = false;
    bool has_dash = false;
    std::size_t i = 1;
    for (; i < MoveText::Capacity && text[i] != 0; ++i) {
        char c = text[i];
        if (c == 'x' || c == '-') {
            (c == 'x' ? has_x : has_dash) = true;
            continue;
        }
        if (!IsFileLetter(c) && !IsRankDigit(c)) break;
        if (count == positions.size()) return false;
        positions[count++] = i;
    }
    if (count < 2) return false;
    const std::size_t target = positions[count - 2];
    if (!IsFileLetter(text[target]) || !IsRankDigit(text[target + 1]) ||
        positions[count - 1] != target + 1) {
        return false;
    }
    int by = 0;  // 1 file, 2 rank, 3 square
    int named_file = 0;
    int named_rank = 0;
    if (count == 3) {
        char c = text[positions[0]];
        if (IsFileLetter(c)) {
            by = 1;
            named_file = c - 'a' + 1;
        } else {
            by = 2;
            named_rank = c - '0';
        }
    } else if (count == 4) {
        if (!IsFileLetter(text[positions[0]]) || !IsRankDigit(text[positions[1]])) return false;
        by = 3;
        named_file = text[positions[0]] - 'a' + 1;
        named_rank = text[positions[1]] - '0';
    } else if (count != 2) {
        return false;
    }
    out.to_file = text[target] - 'a' + 1;
    out.to_rank = text[target + 1] - '0';
    out.kind = kind;
    bool long_side = false;
    if (kind == King && by == 3 &&
        IsCastlingSquares(side, named_file, named_rank, out.to_file, out.to_rank, long_side)) {
        // "Ke1g1": castling written as the king's squares with its letter.
        std::string castled(long_side ? "O-O-O" : "O-O");
        for (std::size_t k = target + 2; k < MoveText::Capacity && text[k] != 0; ++k) {
            castled += text[k];
        }
        text = MoveText(castled);
        return Resolve(text, hint, side, out);
    }
    if (kind == King) {
        out.type = Resolution::Type::King;
        // A king needs no from-square ("Ke1f2" is "Kf2"), and its capture mark is added when the
        // target holds an enemy piece.
        const bool capture = has_x || BelongsTo(board[out.to_file][out.to_rank], Opponent(side));
        std::array<char, 16> rebuilt{};
        std::size_t length = 0;
        rebuilt[length++] = 'K';
        if (capture) rebuilt[length++] = 'x';
        for (std::size_t k = target; k < MoveText::Capacity && text[k] != 0; ++k) {
            rebuilt[length++] = text[k];
        }
        text = MoveText(std::string_view(rebuilt.data(), length));
        const SlotSquare& king = Slots(side).king;
        if (king.empty()) return false;
        out.from_file = static_cast<int>(king.file);
        out.from_rank = static_cast<int>(king.rank);
        return true;
    }
    if (!has_x && !has_dash && BelongsTo(board[out.to_file][out.to_rank], Opponent(side))) {
        InsertAt(text, target, 'x');
    }
    out.type = Resolution::Type::Piece;
    const std::array<SlotSquare, 3>& slots = Slots(side).ForKind(kind);
    int chosen = -1;
    if (by == 3) {
        for (int s = 0; s < 3; ++s) {
            if (slots[s].Is(static_cast<std::uint32_t>(named_file),
                            static_cast<std::uint32_t>(named_rank))) {
                chosen = s;
            }
        }
        if (chosen < 0) return false;
    } else {
        auto matches = [&](int s) {
            return by == 1 ? static_cast<int>(slots[s].file) == named_file
                           : static_cast<int>(slots[s].rank) == named_rank;
        };
        auto pair = [&](int a, int b) {
            return ChoosePair(kind, side, a, b, out.to_file, out.to_rank, hint);
        };
        auto reach = [&](int x, int y) {
            return Reach(kind, slots[x], slots[y], out.to_file, out.to_rank, hint);
        };
        auto pinned = [&](int s) { return IsPinned(slots[s], side, out.to_file, out.to_rank); };
        if (slots[2].empty()) {
            chosen = by != 0 ? (matches(0) ? 0 : 1) : pair(0, 1);
        } else if (by != 0) {
            if (matches(0)) {
                chosen = matches(1) ? pair(0, 1) : matches(2) ? pair(0, 2) : 0;
            } else {
                chosen = !matches(1) ? 2 : matches(2) ? pair(1, 2) : 1;
            }
        } else {
            int a_against_b = reach(0, 1);
            if (a_against_b == 0) {
                chosen = pair(1, 2);
            } else if (a_against_b == 1) {
                chosen = pair(0, 2);
            } else {
                int b_against_a = reach(1, 0);
                if (b_against_a == 0) {
                    chosen = pair(0, 2);
                } else if (b_against_a == 1) {
                    chosen = pair(1, 2);
                } else if (reach(0, 2) != 1 && reach(2, 0) != 0) {
                    chosen = pinned(0) == 0 ? 0 : pinned(1) == 0 ? 1 : 2;
                } else {
                    chosen = pinned(0) != 0 ? 1 : 0;
                }
            }
        }
    }
    if (slots[chosen].empty()) return false;
    out.slot = chosen;
    out.from_file = static_cast<int>(slots[chosen].file);
    out.from_rank = static_cast<int>(slots[chosen].rank);
    return true;
}

int ChessState::ChoosePair(std::uint32_t kind, Side side, int a, int b, int to_file, int to_rank,
                           const FromHint& hint) const {
    const std::array<SlotSquare, 3>& slots = Slots(side).ForKind(kind);
    int a_reach = Reach(kind, slots[a], slots[b], to_file, to_rank, hint);
    if (a_reach == 1) return a;
    if (a_reach == 0) return b;
    int b_reach = Reach(kind, slots[b], slots[a], to_file, to_rank, hint);
    if (b_reach != 0 && IsPinned(slots[a], side, to_file, to_rank) != 0) return b;
    return a;
}

// Whether slot `x` can make the move, knowing the other candidate `y`: 0 no, 1 yes and `y`
// need not be asked, 2 yes by geometry (the other candidate may be able to as well).
int ChessState::Reach(std::uint32_t kind, const SlotSquare& x, const SlotSquare& y, int to_file,
                      int to_rank, const FromHint& hint) const {
    if (x.empty()) return 0;
    if (y.empty()) return 1;
    const int file = static_cast<int>(x.file);
    const int rank = static_cast<int>(x.rank);
    const bool hinted = hint.present();
    const bool on_hint = hinted && file == hint.file() && rank == hint.rank();
    if (kind == Rook || (kind == Queen && OnLine(x, to_file, to_rank))) {
        if (!OnLine(x, to_file, to_rank)) return 0;
        bool other_may =
            OnLine(y, to_file, to_rank) || (kind == Queen && OnDiagonal(y, to_file, to_rank));
        if (!other_may) return 1;
        if (hinted) return on_hint ? 1 : 0;
        return PathClear(current_board_, file, rank, to_file, to_rank) ? 2 : 0;
    }
    if (hinted) return on_hint ? 1 : 0;
    if (kind == Knight) {
        int df = std::abs(file - to_file);
        int dr = std::abs(rank - to_rank);
        return (df == 1 && dr == 2) || (df == 2 && dr == 1) ? 2 : 0;
    }
    // Bishop, or a queen off the target's file and rank.
    if (!OnDiagonal(x, to_file, to_rank)) return 0;
    bool other_may =
        OnDiagonal(y, to_file, to_rank) || (kind == Queen && OnLine(y, to_file, to_rank));
    if (!other_may) return 1;
    return PathClear(current_board_, file, rank, to_file, to_rank) ? 2 : 0;
}

int ChessState::IsPinned(const SlotSquare& square, Side side, int target_file,
                         int target_rank) const {
    const SlotSquare& king = Slots(side).king;
    if (king.empty() || square.empty()) return 0;
    const int df = static_cast<int>(square.file) - static_cast<int>(king.file);
    const int dr = static_cast<int>(square.rank) - static_cast<int>(king.rank);
    if (df == 0 && dr == 0) return 0;
    const bool diagonal = df != 0 && dr != 0;
    if (diagonal && std::abs(df) != std::abs(dr)) return 0;
    const int step_file = Sign(df);
    const int step_rank = Sign(dr);
    int file = static_cast<int>(king.file) + step_file;
    int rank = static_cast<int>(king.rank) + step_rank;
    while (file != static_cast<int>(square.file) || rank != static_cast<int>(square.rank)) {
        if (current_board_[file][rank] != Empty) return 0;
        if (file == target_file && rank == target_rank) return 0;
        file += step_file;
        rank += step_rank;
    }
    file += step_file;
    rank += step_rank;
    const Side enemy = Opponent(side);
    while (OnBoard(file, rank)) {
        if (file == target_file && rank == target_rank) return 0;
        std::uint32_t code = current_board_[file][rank];
        if (code != Empty) {
            if (!BelongsTo(code, enemy)) return 0;
            std::uint32_t kind = KindOf(code);
            return kind == Queen || (kind == Rook && !diagonal) || (kind == Bishop && diagonal) ? 1
                                                                                                : 0;
        }
        file += step_file;
        rank += step_rank;
    }
    return 0;
}

void ChessState::RemoveCapturedPiece(int file, int rank) {
    if (!OnBoard(file, rank)) return;
    const std::uint32_t code = current_board_[file][rank];
    current_board_[file][rank] = Empty;
    const std::uint32_t kind = KindOf(code);
    if (kind < Knight || kind > Queen) return;
    // Only a tracked piece frees its slot; an untracked fourth piece has none.
    for (SlotSquare& slot : Slots(IsBlackCode(code) ? Side::Black : Side::White).ForKind(kind)) {
        if (slot.Is(static_cast<std::uint32_t>(file), static_cast<std::uint32_t>(rank))) {
            slot = SlotSquare{};
            return;
        }
    }
}

void ChessState::PlacePromotedPiece(std::uint32_t kind, Side side, int file, int rank) {
    current_board_[file][rank] = PieceCode(kind, side);
    for (SlotSquare& slot : Slots(side).ForKind(kind)) {
        if (slot.empty()) {
            slot = {static_cast<std::uint32_t>(file), static_cast<std::uint32_t>(rank)};
            return;
        }
    }
    // No free slot: the piece stands untracked, and the replay re-makes this side's later moves
    // from squares so that a move it would need is dropped rather than given to another piece.
    if (quiet_parse_) return;
    promotion_overflow_[Index(side)] = kind;
    WarnOverflow(kind);
}

void ChessState::WarnOverflow(std::uint32_t kind) {
    if (messages_suppressed_ || ui_ == nullptr || game_number_ < 0) return;
    // Warning numbers: 2 bishop, 3 knight, 4 rook, 5 queen.
    const int warning = kind == Bishop ? 2 : kind == Knight ? 3 : static_cast<int>(kind);
    const std::uint32_t bit = 1u << (29 - warning);
    const auto index = static_cast<std::size_t>(game_number_);
    if (index >= warned_kinds_.size()) warned_kinds_.resize(index + 1, 0);
    if ((warned_kinds_[index] & bit) != 0) return;
    warned_kinds_[index] |= bit;
    switch (kind) {
        case Bishop:
            ui_->report(messages::OnlyThreeBishops);
            ui_->report(messages::TryingQueenInstead);
            break;
        case Knight:
            ui_->report(messages::OnlyThreeKnights);
            break;
        case Rook:
            ui_->report(messages::OnlyThreeRooks);
            ui_->report(messages::TryingQueenInstead);
            break;
        default:
            ui_->report(messages::OnlyThreeQueens);
            break;
    }
}

// The squares Execute is about to write for `move`, with what they hold now.
void ChessState::RecordChange(const Resolution& move, Side side) {
    const Board& board = current_board_;
    BoardChange& change = last_change_;
    auto set = [&](int n, int file, int rank, std::uint32_t code) {
        change.squares[static_cast<std::size_t>(n)] =
            static_cast<std::uint8_t>(Board64Index(file, rank));
        change.before[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(code);
    };
    switch (move.type) {
        case Resolution::Type::Pawn:
        case Resolution::Type::King:
        case Resolution::Type::Piece: {
            // Read before the first byte store, which the compiler must take to alias the board.
            const std::uint32_t from_code = board[move.from_file][move.from_rank];
            const std::uint32_t to_code = board[move.to_file][move.to_rank];
            const bool en_passant = move.type == Resolution::Type::Pawn && to_code == Empty &&
                                    move.to_file != move.from_file;
            const std::uint32_t passed_code = board[move.to_file][move.from_rank];
            set(0, move.from_file, move.from_rank, from_code);
            set(1, move.to_file, move.to_rank, to_code);
            change.count = 2;
            if (en_passant) {
                set(2, move.to_file, move.from_rank, passed_code);
                change.count = 3;
            }
            return;
        }
        case Resolution::Type::CastleShort:
        case Resolution::Type::CastleLong: {
            const SlotSquare& king = Slots(side).king;
            BoardChange gathered;
            auto touch = [&](int file, int rank) {
                const auto n = static_cast<std::size_t>(gathered.count++);
                gathered.squares[n] = static_cast<std::uint8_t>(Board64Index(file, rank));
                gathered.before[n] = static_cast<std::uint8_t>(board[file][rank]);
            };
            if (!king.empty()) touch(static_cast<int>(king.file), static_cast<int>(king.rank));
            touch(move.from_file, move.from_rank);
            touch(move.to_file, move.from_rank);
            touch(move.rook_file, move.from_rank);
            touch(move.type == Resolution::Type::CastleLong ? 4 : 6, move.from_rank);
            change = gathered;
            return;
        }
    }
}

void ChessState::Execute(const Resolution& move, Side side) {
    Board& board = current_board_;
    SideSlots& slots = Slots(side);
    switch (move.type) {
        case Resolution::Type::Pawn: {
            if (board[move.to_file][move.to_rank] != Empty) {
                RemoveCapturedPiece(move.to_file, move.to_rank);
            } else if (move.to_file != move.from_file) {
                RemoveCapturedPiece(move.to_file, move.from_rank);  // en passant
            }
            board[move.from_file][move.from_rank] = Empty;
            if (move.promotion != 0) {
                PlacePromotedPiece(move.promotion, side, move.to_file, move.to_rank);
            } else {
                board[move.to_file][move.to_rank] = PieceCode(Pawn, side);
            }
            return;
        }
        case Resolution::Type::King: {
            if (board[move.to_file][move.to_rank] != Empty) {
                RemoveCapturedPiece(move.to_file, move.to_rank);
            }
            board[move.from_file][move.from_rank] = Empty;
            board[move.to_file][move.to_rank] = PieceCode(King, side);
            slots.king = {static_cast<std::uint32_t>(move.to_file),
                          static_cast<std::uint32_t>(move.to_rank)};
            return;
        }
        case Resolution::Type::CastleShort:
        case Resolution::Type::CastleLong: {
            const bool long_side = move.type == Resolution::Type::CastleLong;
            const std::uint32_t rank = static_cast<std::uint32_t>(move.from_rank);
            const auto rook_from = static_cast<std::uint32_t>(move.rook_file);
            const std::uint32_t rook_to = long_side ? 4 : 6;
            // Both leave before either lands: in a Chess960 position one may land where the
            // other stood.
            if (!slots.king.empty()) board[slots.king.file][slots.king.rank] = Empty;
            board[static_cast<std::size_t>(move.from_file)][rank] = Empty;
            board[rook_from][rank] = Empty;
            board[static_cast<std::size_t>(move.to_file)][rank] = PieceCode(King, side);
            slots.king = {static_cast<std::uint32_t>(move.to_file), rank};
            board[rook_to][rank] = PieceCode(Rook, side);
            // The corner rook is rook B (kingside) or rook A (queenside) unless captures and
            // promotions have moved it to another slot.
            SlotSquare* rook = &slots.rook[long_side ? 0 : 1];
            for (SlotSquare& slot : slots.rook) {
                if (slot.Is(rook_from, rank)) rook = &slot;
            }
            *rook = {rook_to, rank};
            return;
        }
        case Resolution::Type::Piece: {
            if (board[move.to_file][move.to_rank] != Empty) {
                RemoveCapturedPiece(move.to_file, move.to_rank);
            }
            board[move.from_file][move.from_rank] = Empty;
            board[move.to_file][move.to_rank] = PieceCode(move.kind, side);
            slots.ForKind(move.kind)[static_cast<std::size_t>(move.slot)] = {
                static_cast<std::uint32_t>(move.to_file), static_cast<std::uint32_t>(move.to_rank)};
            return;
        }
    }
}

void ChessState::ApplyMoveText(MoveText& text, const FromHint& hint, Side side) {
    Resolution move;
    if (Resolve(text, hint, side, move)) {
        if (record_changes_) RecordChange(move, side);
        Execute(move, side);
    } else if (record_changes_) {
        last_change_.count = 0;
    }
    MoveTextPlayed(text);
}

void ChessState::ApplyLocatedMove(const MoveText& text, Side side) {
    if (record_changes_) RecordChange(located_move_, side);
    Execute(located_move_, side);
    MoveTextPlayed(text);
}

void ChessState::MoveTextPlayed(const MoveText& text) {
    previous_text_ = text;
    en_passant_known_ = squares_checked_;
    squares_checked_ = false;
}

int ChessState::LocateMoveText(MoveText& text, const FromHint& hint, Side side) {
    Resolution& move = located_move_;
    move = Resolution{};
    if (!Resolve(text, hint, side, move)) return 1;
    located_ = {static_cast<std::uint32_t>(move.from_file),
                static_cast<std::uint32_t>(move.from_rank),
                static_cast<std::uint32_t>(move.to_file), static_cast<std::uint32_t>(move.to_rank)};
    const bool castling =
        move.type == Resolution::Type::CastleShort || move.type == Resolution::Type::CastleLong;
    if (castling && (move.from_file != 5 || move.rook_file != (move.to_file == 3 ? 1 : 8))) {
        // Away from the standard squares castling is told from squares as the king taking its
        // own rook, as Chess960 moves are written.
        located_.to_file = static_cast<std::uint32_t>(move.rook_file);
    }
    if (move.type != Resolution::Type::Pawn || move.promotion == 0) return 0;
    if (move.unknown_promotion) return 1;
    promotion_choice_ = move.promotion;
    for (const SlotSquare& slot : Slots(side).ForKind(move.promotion)) {
        if (slot.empty()) return 0;
    }
    return -static_cast<int>(move.promotion);
}

}  // namespace qorvale::chess
