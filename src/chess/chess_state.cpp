#include "chess/chess_state.h"

#include <cstring>

#include "chess/fen.h"
#include "chess/messages.h"

namespace qorvale::chess {

std::uint32_t ChessState::DisplayMoveNumber(std::uint32_t index) const {
    if (starts_from_fen_ != 0 && start_move_number_ != 0) return index + start_move_number_;
    return index + 1;
}

void ChessState::SetStartPosition() {
    castling_ = CastlingFlags{};
    en_passant_state_ = 0;
    previous_text_ = MoveText();
    squares_checked_ = false;
    en_passant_known_ = false;
    if (starts_from_fen_ != 0 || setup_active_) {
        SetupFromBoard();
        return;
    }
    current_board_ = StartBoard();
    castling_rook_files_ = {{{8, 1}, {8, 1}}};
    for (Side side : {Side::White, Side::Black}) {
        SideSlots& slots = Slots(side);
        std::uint32_t rank = side == Side::White ? 1 : 8;
        slots = SideSlots{};
        slots.rook[0] = {1, rank};
        slots.rook[1] = {8, rank};
        slots.knight[0] = {2, rank};
        slots.knight[1] = {7, rank};
        slots.bishop[0] = {3, rank};
        slots.bishop[1] = {6, rank};
        slots.queen[0] = {4, rank};
        slots.king = {5, rank};
    }
    SnapshotPosition(0);
}

void ChessState::SetupFromBoard() {
    // Neither a FEN tag nor the set-up dialog tells whether the kings and rooks have moved, so a
    // set-up game starts with castling allowed wherever king and rook stand at home.
    castling_ = CastlingFlags{};
    en_passant_state_ = 0;
    previous_text_ = MoveText();
    squares_checked_ = false;
    en_passant_known_ = false;
    slots_ = {};
    const Board& source = starts_from_fen_ != 0 ? fen_start_board_ : setup_board_;
    for (std::uint32_t file = 1; file <= 8; ++file) {
        for (std::uint32_t rank = 1; rank <= 8; ++rank) {
            current_board_[file][rank] = Empty;
            std::uint32_t code = source[file][rank];
            std::uint32_t kind = KindOf(code);
            if (code == Empty || kind > King) continue;
            current_board_[file][rank] = code;
            Side side = IsBlackCode(code) ? Side::Black : Side::White;
            SideSlots& slots = Slots(side);
            if (kind == King) {
                slots.king = {file, rank};
            } else if (kind != Pawn) {
                // A rook on its kingside corner is always rook B, the rook short castling moves.
                std::uint32_t corner_rank = side == Side::White ? 1 : 8;
                if (kind == Rook && slots.rook[0].empty() && file == 8 && rank == corner_rank &&
                    slots.rook[1].empty()) {
                    slots.rook[1] = {file, rank};
                } else {
                    TakeSlot(slots, kind, static_cast<int>(file), static_cast<int>(rank));
                }
            }
        }
    }
    FindCastlingRooks();
    // The FEN's en-passant square stands for the double step just played: the text road's test
    // of the opponent's last move then allows the capture, and only onto that square.
    const std::string& square = fen_en_passant_;
    if (starts_from_fen_ != 0 && square.size() == 2 && IsFileLetter(square[0]) &&
        (square[1] == '3' || square[1] == '6')) {
        const char passed_rank = square[1] == '6' ? '5' : '4';
        previous_text_ = MoveText(std::string{square[0], passed_rank});
    }
    SnapshotPosition(0);
}

void ChessState::FindCastlingRooks() {
    castling_rook_files_ = {{{8, 1}, {8, 1}}};
    const std::string_view field = starts_from_fen_ != 0 ? fen_castling_ : std::string_view();
    for (Side side : {Side::White, Side::Black}) {
        const SlotSquare& king = Slots(side).king;
        const int rank = side == Side::White ? 1 : 8;
        if (king.empty() || static_cast<int>(king.rank) != rank) continue;
        const int king_file = static_cast<int>(king.file);
        const std::uint32_t rook = PieceCode(Rook, side);
        auto& files = castling_rook_files_[Index(side)];
        // The outermost rook on each side of the king.
        for (int file = 8; file > king_file; --file) {
            if (current_board_[file][rank] == rook) {
                files[0] = file;
                break;
            }
        }
        for (int file = 1; file < king_file; ++file) {
            if (current_board_[file][rank] == rook) {
                files[1] = file;
                break;
            }
        }
        // Shredder-FEN names the files itself.
        const char first = side == Side::White ? 'A' : 'a';
        for (char c : field) {
            if (c < first || c > first + 7) continue;
            const int file = c - first + 1;
            if (file != king_file) files[file > king_file ? 0 : 1] = file;
        }
    }
}

void ChessState::TakeSlot(SideSlots& slots, std::uint32_t kind, int file, int rank) {
    for (SlotSquare& slot : slots.ForKind(kind)) {
        if (slot.empty()) {
            slot = {static_cast<std::uint32_t>(file), static_cast<std::uint32_t>(rank)};
            return;
        }
    }
}

void ChessState::ParseFenPlacement(std::string& tag_line) {
    fen_start_board_ = Board{};
    std::size_t quote = tag_line.size() > 5 ? tag_line.find('"', 5) : std::string::npos;
    if (quote == std::string::npos) return;
    std::size_t start = quote + 1;
    std::size_t end = tag_line.find(' ', start);
    if (end == std::string::npos) end = tag_line.size();
    fen_start_board_ = ReadPlacement(std::string_view(tag_line).substr(start, end - start));
    for (std::size_t i = start; i < end; ++i) {
        char& c = tag_line[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

void ChessState::ReadFenTagExtras(std::string_view tag_line) {
    starts_from_fen_ = 0;
    fen_castling_.clear();
    fen_en_passant_.clear();
    if (tag_line.size() < 6) return;
    std::string_view value = tag_line.substr(6);
    std::string_view standard = StandardStartFen.substr(0, 56);
    if (value.substr(0, 56) == standard) return;
    starts_from_fen_ = 1;
    start_move_number_ = 0;
    // The castling and en-passant fields: the third and fourth of the value.
    std::string_view fields = value.substr(0, value.find('"'));
    for (int field = 0; field < 4 && !fields.empty(); ++field) {
        std::size_t blank = fields.find(' ');
        std::string_view text = fields.substr(0, blank);
        if (field == 2) fen_castling_.assign(text.substr(0, 8));
        if (field == 3) fen_en_passant_.assign(text.substr(0, 2));
        fields = blank == std::string_view::npos ? std::string_view() : fields.substr(blank + 1);
        while (fields.starts_with(' ')) fields.remove_prefix(1);
    }
    std::string_view line = tag_line;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    // The closing quote and bracket.
    line = line.substr(0, line.size() >= 2 ? line.size() - 2 : 0);
    std::size_t blank = line.rfind(' ');
    if (blank == std::string_view::npos) return;
    std::uint32_t number = 0;
    for (std::size_t i = blank + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c < '0' || c > '9') break;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
        if (number > 100000) break;
    }
    if (number > 1) start_move_number_ = number;
}

void ChessState::SnapshotPosition(int half_move) {
    if (half_move < 0 || half_move > MaxHalfMoves) return;
    std::uint32_t* out = history_[half_move].data();
    for (int file = 1; file <= 8; ++file) {
        std::memcpy(out + (file - 1) * 8, &current_board_[file][1], 8 * sizeof(std::uint32_t));
    }
}

void ChessState::RestorePosition(int half_move) {
    if (half_move < 0 || half_move > MaxHalfMoves) return;
    const std::uint32_t* in = history_[half_move].data();
    for (int file = 1; file <= 8; ++file) {
        std::memcpy(&current_board_[file][1], in + (file - 1) * 8, 8 * sizeof(std::uint32_t));
    }
}

SavedChessState ChessState::SaveChessState() const {
    SavedChessState saved;
    saved.CurrentBoard = current_board_;
    saved.white_slots = slots_[0];
    saved.black_slots = slots_[1];
    saved.castling = castling_;
    saved.EnPassantState = en_passant_state_;
    saved.PromotionOverflow = promotion_overflow_;
    saved.PromotionChoice = promotion_choice_;
    saved.located = located_;
    saved.last_move_text = made_text_;
    saved.previous_text = previous_text_;
    saved.squares_checked = squares_checked_;
    saved.en_passant_known = en_passant_known_;
    return saved;
}

SavedChessState ChessState::SaveChessState(const MainLineMoves& moves) const {
    SavedChessState saved = SaveChessState();
    saved.has_moves = true;
    saved.moves = moves;
    return saved;
}

void ChessState::RestoreChessState(const SavedChessState& saved) {
    current_board_ = saved.CurrentBoard;
    slots_[0] = saved.white_slots;
    slots_[1] = saved.black_slots;
    castling_ = saved.castling;
    en_passant_state_ = saved.EnPassantState;
    promotion_overflow_ = saved.PromotionOverflow;
    promotion_choice_ = saved.PromotionChoice;
    located_ = saved.located;
    made_text_ = saved.last_move_text;
    previous_text_ = saved.previous_text;
    squares_checked_ = saved.squares_checked;
    en_passant_known_ = saved.en_passant_known;
}

void ChessState::RestoreChessState(const SavedChessState& saved, MainLineMoves& moves) {
    RestoreChessState(saved);
    if (saved.has_moves) moves = saved.moves;
}

std::string_view ChessState::CyclePromotionChoice() {
    switch (promotion_choice_) {
        case Knight:
            promotion_choice_ = Bishop;
            return messages::PromoteToBishop;
        case Bishop:
            promotion_choice_ = Rook;
            return messages::PromoteToRook;
        case Rook:
            promotion_choice_ = 0;
            return "";
        default:
            promotion_choice_ = Knight;
            return messages::PromoteToKnight;
    }
}

std::uint32_t ChessState::WarnedPromotionKinds(int game_number) const {
    if (game_number < 0 || static_cast<std::size_t>(game_number) >= warned_kinds_.size()) return 0;
    return warned_kinds_[static_cast<std::size_t>(game_number)];
}

bool ChessState::StalemateMark(int half_move) const {
    if (half_move < 1 || half_move > MaxHalfMoves) return false;
    int index = (half_move - 1) / 2;
    return (half_move % 2 == 1 ? white_stalemate_ : black_stalemate_)[index] != 0;
}

ChessState::LastMove ChessState::LastMoveCoordinates(int half_move, const MoveText& text) const {
    LastMove last;
    if (half_move < 1 || half_move > MaxHalfMoves) return last;
    const Snapshot& before = history_[half_move - 1];
    struct Changed {
        int file, rank;
        bool now_empty;
    };
    std::array<Changed, 64> changed{};
    int count = 0;
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            if (before[(file - 1) * 8 + rank - 1] != current_board_[file][rank]) {
                changed[count++] = {file, rank, current_board_[file][rank] == Empty};
            }
        }
    }
    if (count == 2) {
        const Changed& from = changed[0].now_empty ? changed[0] : changed[1];
        const Changed& to = changed[0].now_empty ? changed[1] : changed[0];
        last = {from.file, from.rank, to.file, to.rank, {}};
    } else if (count == 3) {
        // En passant: the target is the square on rank 3 or 6 that is now occupied; the captured
        // pawn left the target's file, the capturing pawn another one.
        const Changed* to = nullptr;
        for (int i = 0; i < 3; ++i) {
            if (!changed[i].now_empty && (changed[i].rank == 3 || changed[i].rank == 6)) {
                to = &changed[i];
            }
        }
        if (to == nullptr) return last;
        for (int i = 0; i < 3; ++i) {
            if (changed[i].now_empty && changed[i].file != to->file) {
                last = {changed[i].file, changed[i].rank, to->file, to->rank, {}};
            }
        }
    } else if (count == 4) {
        bool queen_side = false;
        for (int i = 0; i < 4; ++i) queen_side = queen_side || changed[i].file == 1;
        int rank = changed[0].rank;
        last = {5, rank, queen_side ? 3 : 7, rank, {}};
    } else {
        return last;
    }
    if (last.from_file == 0) return last;
    char* out = last.coordinates.bytes.data();
    out[0] = FileLetter(last.from_file);
    out[1] = RankDigit(last.from_rank);
    out[2] = FileLetter(last.to_file);
    out[3] = RankDigit(last.to_rank);
    std::string_view view = text.view();
    std::size_t equals = view.find('=');
    if (equals != std::string_view::npos && equals + 1 < view.size()) {
        char letter = view[equals + 1];
        if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
        out[4] = letter;
    }
    return last;
}

}  // namespace qorvale::chess
