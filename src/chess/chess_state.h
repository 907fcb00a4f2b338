#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "chess/board.h"
#include "chess/move_text.h"
#include "chess/side_slots.h"

namespace qorvale::chess {

// One position of the history: 64 codes in file-major order a1, a2, ..., a8, b1, ..., h8.
using Snapshot = std::array<std::uint32_t, 64>;

// The squares one applied half-move wrote and what each held before it: with the board after
// the move, enough to compare the positions before and after without a copy of either. A square
// may be listed twice; every entry was taken before the first write.
struct BoardChange {
    static constexpr int MaxSquares = 5;  // castling: king, its home square, target, two rooks
    int count = 0;
    std::array<std::uint8_t, MaxSquares> squares{};  // Board64Index
    std::array<std::uint8_t, MaxSquares> before{};   // piece codes
};

// How MakeMoveFromSquares treats an accepted move.
enum class MoveMode : int {
    TextOnly = 0,  // only the SAN text is produced
    Record = 1,    // the move is also played and snapshotted
    Display = 2,   // as Record; the window then redraws
};

// Everything SaveChessState copies out: what move play reads and writes, without the history.
struct SavedChessState {
    Board CurrentBoard{};
    SideSlots white_slots;
    SideSlots black_slots;
    CastlingFlags castling;
    std::uint32_t EnPassantState = 0;
    std::array<std::uint32_t, 2> PromotionOverflow{};
    std::uint32_t PromotionChoice = 0;
    LocatedMove located;
    MoveText last_move_text;
    MoveText previous_text;
    bool squares_checked = false;
    bool en_passant_known = false;
    bool has_moves = false;
    MainLineMoves moves;
};

// The chess position the program works on and the rules that play moves on it.
//
// Moves reach CurrentBoard by two roads. MakeMoveFromSquares checks a from/to pair against the
// rules, writes its SAN text and (in the recording modes) plays it through ApplyMoveText.
// ApplyMoveText trusts a text read from a file: it finds the mover through the side's slots and
// never rejects anything. Side to move follows from the half-move number (odd = White).
//
// A ChessState is used by one thread at a time; a background operation makes its own.
class ChessState {
  public:
    // Messages (promotion overflow) go to `ui`; null means none are shown.
    explicit ChessState(Ui* ui = nullptr) : ui_(ui) {}
    void SetUi(Ui* ui) { ui_ = ui; }

    // ---- Position model -------------------------------------------------------------------
    Board& CurrentBoard() { return current_board_; }
    const Board& CurrentBoard() const { return current_board_; }
    Board& SetupBoard() { return setup_board_; }
    const Board& SetupBoard() const { return setup_board_; }
    Board& FenStartBoard() { return fen_start_board_; }
    const Board& FenStartBoard() const { return fen_start_board_; }
    Board& SavedStartBoard() { return saved_start_board_; }
    const Board& SavedStartBoard() const { return saved_start_board_; }

    SideSlots& Slots(Side side) { return slots_[Index(side)]; }
    const SideSlots& Slots(Side side) const { return slots_[Index(side)]; }
    CastlingFlags& Castling() { return castling_; }
    const CastlingFlags& Castling() const { return castling_; }

    // 0, 1 after a double step beside an enemy pawn, 2 during the move that may capture it.
    std::uint32_t EnPassantState() const { return en_passant_state_; }
    void SetEnPassantState(std::uint32_t value) { en_passant_state_ = value; }

    std::uint32_t StartMoveNumber() const { return start_move_number_; }
    // Values of 1 or less store 0.
    void SetStartMoveNumber(std::uint32_t number) { start_move_number_ = number > 1 ? number : 0; }
    bool StartsFromFen() const { return starts_from_fen_ != 0; }
    void SetStartsFromFen(bool value) { starts_from_fen_ = value ? 1 : 0; }
    // The edit-position mode's board is the game start (a game continued from a set-up).
    bool SetupActive() const { return setup_active_; }
    void SetSetupActive(bool value) { setup_active_ = value; }
    // Full-move number shown for 0-based full move `index`.
    std::uint32_t DisplayMoveNumber(std::uint32_t index) const;

    // The game's start: the standard position, or SetupFromBoard when the game starts from a FEN
    // tag or a set-up position. Clears the castling flags and en-passant state; takes snapshot 0.
    void SetStartPosition();
    // Rebuilds CurrentBoard and both sides' slots from FenStartBoard (when StartsFromFen) or
    // SetupBoard. A kingside-corner rook goes to rook slot B; a fourth piece of a kind stays
    // untracked. Clears the castling flags and en-passant state; takes snapshot 0.
    void SetupFromBoard();

    // Fills FenStartBoard from the placement field of a "[FEN" tag line. Lower-case letters in
    // the line are turned to upper case in place. Malformed text is not diagnosed; nothing is
    // written outside the board.
    void ParseFenPlacement(std::string& tag_line);
    // Sets StartsFromFen and StartMoveNumber from a "[FEN" tag line, and keeps its castling and
    // en-passant fields for the start position; call with an empty view for a game without one.
    void ReadFenTagExtras(std::string_view tag_line);

    // The file (1..8) of the rook that castles short (wing 0) or long (wing 1) for `side`: h and
    // a in the standard position; in a set-up position the file its FEN names (Shredder "HAha"),
    // else the outermost rook of the back rank on that side of the king (X-FEN "KQkq", which is
    // also what Chess960 positions are written with). Castling moves the king to g or c and this
    // rook to f or d, wherever they stand.
    int CastlingRookFile(Side side, int wing) const {
        return castling_rook_files_[Index(side)][static_cast<std::size_t>(wing)];
    }

    void SnapshotPosition(int half_move);
    // Copies snapshot `half_move` (0..400) back into CurrentBoard; nothing else changes.
    void RestorePosition(int half_move);
    const Snapshot& PositionHistory(int half_move) const { return history_[half_move]; }

    // Copies out (and later back) what move play changes, so that moves can be played only to
    // obtain their text. The overloads with `moves` also save the game's move arrays.
    SavedChessState SaveChessState() const;
    SavedChessState SaveChessState(const MainLineMoves& moves) const;
    void RestoreChessState(const SavedChessState& saved);
    void RestoreChessState(const SavedChessState& saved, MainLineMoves& moves);

    // ---- Legality ---------------------------------------------------------------------------
    // 1 when a piece of `attacker` attacks (file, rank). The defending king is transparent to
    // sliders, so a king cannot step back along a checking line.
    int IsSquareAttacked(int file, int rank, Side attacker) const;
    // 1 when playing the move would leave the mover's king attacked (not for king moves).
    int MoveLeavesKingInCheck(int from_file, int from_rank, int to_file, int to_rank, Side mover);
    // 1 when the move attacks the opponent's king. `promotion`: 0 none, 2..5 the promoted kind,
    // 7 short castling, 8 long castling.
    int MoveGivesCheck(int from_file, int from_rank, int to_file, int to_rank, Side mover,
                       int promotion);
    // 0 when castling is allowed, non-zero when not.
    int CanCastleShort(Side mover) const;
    int CanCastleLong(Side mover) const;
    // 0 when the pawn may move so; sets EnPassantState to 1 for a double step beside an enemy
    // pawn. `opponent_last` is the opponent's last half-move text: when that move was played
    // from text alone, a text naming the passed pawn's square ("d5") allows en passant.
    int PawnMoveRejected(int from_file, int from_rank, int to_file, int to_rank, Side mover,
                         std::string_view opponent_last);
    // Geometry and path of a knight, bishop, rook, queen or king move: 0 when allowed. King
    // targets must also be unattacked by `mover`'s opponent.
    int ShapeRejected(std::uint32_t kind, int from_file, int from_rank, int to_file, int to_rank,
                      Side mover) const;

    // Checks the move from squares, writes its SAN text (MadeMoveText) and, in the recording
    // modes, plays it and takes snapshot `half_move`. A from-file of 0 is "no move" (text "*").
    // Returns 0 when made, 1 when rejected (nothing changes then).
    int MakeMoveFromSquares(MoveMode mode, int half_move, int from_file, int from_rank, int to_file,
                            int to_rank);
    // The rule checks of MakeMoveFromSquares without the text: 0 when the move is legal (the
    // castling flags and en-passant state are then kept as MakeMoveFromSquares keeps them; the
    // move is not played), 1 when not. For whole-game validation, where the text is not needed.
    int CheckMoveFromSquares(int half_move, int from_file, int from_rank, int to_file, int to_rank);
    // The text of the last move made from squares.
    const MoveText& MadeMoveText() const { return made_text_; }
    // Castling flags stay as they are in MakeMoveFromSquares while frozen.
    void SetCastlingFrozen(bool frozen) { castling_frozen_ = frozen; }
    // A text to be played by the next MakeMoveFromSquares instead of the squares.
    void SetPreparedMove(const MoveText& text) {
        prepared_text_ = text;
        prepared_ = true;
    }

    // Plays a half-move text of `side`, normalising it in place ("ed5" -> "exd5", "0-0" ->
    // "O-O", "e7e8q" -> "e8=Q", "Ke1f2" -> "Kf2", a missing "x" inserted). Never rejects.
    void ApplyMoveText(MoveText& text, const FromHint& hint, Side side);
    // Normalises like ApplyMoveText and finds the squares (LocatedMoveSquares) without moving.
    // 0 when located; -2, -3, -4, -5 when a promotion to knight, bishop, rook, queen would find
    // no free slot; 1 for an unknown promotion letter or a text that names no move.
    int LocateMoveText(MoveText& text, const FromHint& hint, Side side);
    const LocatedMove& LocatedMoveSquares() const { return located_; }
    // During ReplayMainLine: what the last ApplyMoveText wrote on CurrentBoard (count 0 when it
    // found no move). Other roads do not keep it.
    const BoardChange& LastChange() const { return last_change_; }

    // 1 when the tracked piece on `square` of `side` may not leave the line between its king
    // and an enemy slider for (target_file, target_rank).
    int IsPinned(const SlotSquare& square, Side side, int target_file, int target_rank) const;
    // Empties the square and the captured piece's slot.
    void RemoveCapturedPiece(int file, int rank);

    // 1 as soon as `side` has one legal move after half-move `half_move`, else 0. Castling is
    // not tried. The castling flags and en-passant state are left as they were.
    int HasLegalMove(int half_move, Side side);
    // After a move made on the board: turns its final "+" into "#" when the opponent has no
    // legal move, or sets the stalemate mark (when `mark_stalemate`) without check.
    void MarkMateOrStalemate(int half_move, MoveText& text, bool mark_stalemate);
    bool StalemateMark(int half_move) const;

    // Plays the first `full_moves` full moves of `moves` from the start, snapshotting every
    // half-move; moves with a from-hint are rewritten in the program's SAN, and after a slot
    // overflow a side's moves are re-made from squares ("*" when they cannot be). Returns the
    // half-moves played.
    int ReplayToHalfMove(MainLineMoves& moves, int full_moves);
    // ReplayToHalfMove without the position history (only snapshot 0 is taken): `played` is
    // called with each half-move's number right after it, while CurrentBoard and LastChange
    // show it. For readers that need each move's squares, not the positions kept. The chess
    // state must hold no prepared move (SetPreparedMove).
    template <typename Played>
    int ReplayMainLine(MainLineMoves& moves, int full_moves, Played&& played);
    // 0 when every move is legal; full move number + 1 of the first illegal move; -2..-5 for a
    // promotion that needs a fourth piece; 1 when a move cannot be located.
    int ValidateGameMoves(MainLineMoves& moves, int full_moves);

    // The piece a pawn becomes when moved from squares: 0 or 5 queen, 2 knight, 3 bishop, 4 rook.
    std::uint32_t PromotionChoice() const { return promotion_choice_; }
    void SetPromotionChoice(std::uint32_t choice) { promotion_choice_ = choice; }
    // queen -> knight -> bishop -> rook -> queen; returns the text the window shows ("" = queen).
    std::string_view CyclePromotionChoice();
    // 0, or the kind of a promotion of `side` in this game that found no free slot.
    std::uint32_t PromotionOverflow(Side side) const { return promotion_overflow_[Index(side)]; }

    // Set while games are parsed for searches and utilities: slot overflows are not recorded.
    bool QuietParse() const { return quiet_parse_; }
    void SetQuietParse(bool value) { quiet_parse_ = value; }
    // While set, the replay takes the text of moves it re-makes from squares as the stored text.
    // MakeMoveFromSquares itself never writes a move array: callers that keep its text (the
    // replay, a parse from move codes) copy MadeMoveText() into their own.
    bool ReplayNormalise() const { return replay_normalise_; }
    void SetReplayNormalise(bool value) { replay_normalise_ = value; }
    void SetMessagesSuppressed(bool value) { messages_suppressed_ = value; }

    // The game of the open file that overflow warnings are counted for; each warning is shown
    // once per game and kind. Bit (29 - warning number) of the game's word is set once shown.
    void SetCurrentGameNumber(int game_number) { game_number_ = game_number; }
    std::uint32_t WarnedPromotionKinds(int game_number) const;
    // A new file is opened: forget every warning.
    void ClearWarnedPromotionKinds() { warned_kinds_.clear(); }

    // SAN disambiguation of a knight, bishop, rook or queen move: 0 none, 1 from-file,
    // 2 from-rank, 3 both.
    int DisambiguationFor(std::uint32_t kind, int from_file, int from_rank, int to_file,
                          int to_rank, Side mover);

    // The squares changed by half-move `half_move` (snapshot n - 1 against CurrentBoard) and,
    // in engine mode, its coordinate text.
    struct LastMove {
        int from_file = 0;
        int from_rank = 0;
        int to_file = 0;
        int to_rank = 0;
        CoordinateMove coordinates;
    };
    LastMove LastMoveCoordinates(int half_move, const MoveText& text) const;

  private:
    static constexpr int Index(Side side) { return side == Side::White ? 0 : 1; }

    // A move text resolved against the position: the piece, its squares, castling's rook.
    struct Resolution {
        enum class Type { Pawn, Piece, King, CastleShort, CastleLong };
        Type type = Type::Pawn;
        int from_file = 0;
        int from_rank = 0;
        int to_file = 0;
        int to_rank = 0;
        std::uint32_t kind = 0;
        int slot = -1;
        std::uint32_t promotion = 0;
        bool unknown_promotion = false;
        int rook_file = 0;  // castling: the file the castling rook comes from
    };
    bool Resolve(MoveText& text, const FromHint& hint, Side side, Resolution& out);
    void Execute(const Resolution& move, Side side);
    // Plays the move LocateMoveText resolved last, as ApplyMoveText would resolve `text` again;
    // the position must not have changed since.
    void ApplyLocatedMove(const MoveText& text, Side side);
    void MoveTextPlayed(const MoveText& text);
    void RecordChange(const Resolution& move, Side side);
    void NormaliseText(MoveText& text, Side side) const;
    int Reach(std::uint32_t kind, const SlotSquare& x, const SlotSquare& y, int to_file,
              int to_rank, const FromHint& hint) const;
    int ChoosePair(std::uint32_t kind, Side side, int a, int b, int to_file, int to_rank,
                   const FromHint& hint) const;
    void PlacePromotedPiece(std::uint32_t kind, Side side, int file, int rank);
    void WarnOverflow(std::uint32_t kind);
    void TakeSlot(SideSlots& slots, std::uint32_t kind, int file, int rank);
    bool SquareAttackedOn(const Board& board, int file, int rank, Side attacker) const;
    // After `mover`'s move from the first square to the second is on the board: false only when
    // it surely gives no check (neither the piece moved nor a line it opened reaches the other
    // king); a king move (castling moves a rook too) always answers true.
    bool MoveMayGiveCheck(int from_file, int from_rank, int to_file, int to_rank, Side mover) const;
    int MoveRulesRejected(Side mover, int from_file, int from_rank, int to_file, int to_rank,
                          int& castling);
    void UpdateCastlingFlags(std::uint32_t kind, Side mover, int from_file, int from_rank,
                             int to_file, int to_rank, bool capture);
    void ReplayHalfMove(MainLineMoves& moves, int index, Side side, int half_move);
    template <typename Played>
    int ReplayEach(MainLineMoves& moves, int full_moves, Played& played);
    void EndReplay() {
        replay_normalise_ = false;
        promotion_overflow_ = {};
    }

    // Castling by rook file; the FEN fields the set-up position is read with.
    void FindCastlingRooks();
    bool IsCastlingSquares(Side side, int from_file, int from_rank, int to_file, int to_rank,
                           bool& long_side) const;
    int CanCastle(Side mover, int wing) const;

    Ui* ui_ = nullptr;
    Board current_board_{};
    Board setup_board_{};
    Board fen_start_board_{};
    Board saved_start_board_{};
    std::array<SideSlots, 2> slots_{};
    CastlingFlags castling_;
    std::uint32_t en_passant_state_ = 0;
    std::uint32_t start_move_number_ = 0;
    std::uint32_t starts_from_fen_ = 0;
    std::string fen_castling_;    // the castling field of the FEN tag, "-" or empty when none
    std::string fen_en_passant_;  // its en-passant field
    std::array<std::array<int, 2>, 2> castling_rook_files_{{{8, 1}, {8, 1}}};
    bool setup_active_ = false;
    std::array<Snapshot, MaxHalfMoves + 1> history_{};

    MoveText made_text_;
    MoveText prepared_text_;
    bool prepared_ = false;
    bool castling_frozen_ = false;
    LocatedMove located_;
    Resolution located_move_;  // what located_ was taken from
    BoardChange last_change_;
    bool record_changes_ = false;
    // The last half-move text played: the opponent's last move for the en-passant test.
    MoveText previous_text_;
    // Whether the last move played was checked from squares first, so that EnPassantState is
    // known; after a move played from text alone only its text can tell a double step.
    bool squares_checked_ = false;
    // Set by ValidateGameMoves only, for the position in work: the side to move is known not to
    // be in check, so a move can expose its king only along the line through the square it
    // leaves, and that line alone is looked at.
    bool mover_not_in_check_ = false;
    bool en_passant_known_ = false;
    std::uint32_t promotion_choice_ = 0;
    std::array<std::uint32_t, 2> promotion_overflow_{};
    bool quiet_parse_ = false;
    bool replay_normalise_ = false;
    bool messages_suppressed_ = false;
    int game_number_ = 0;
    std::vector<std::uint32_t> warned_kinds_;
    std::array<std::uint8_t, MaxFullMoves> white_stalemate_{};
    std::array<std::uint8_t, MaxFullMoves> black_stalemate_{};
};

template <typename Played>
int ChessState::ReplayMainLine(MainLineMoves& moves, int full_moves, Played&& played) {
    record_changes_ = true;
    int half_moves = ReplayEach(moves, full_moves, played);
    record_changes_ = false;
    return half_moves;
}

template <typename Played>
int ChessState::ReplayEach(MainLineMoves& moves, int full_moves, Played& played) {
    if (full_moves > MaxFullMoves) full_moves = MaxFullMoves;
    replay_normalise_ = true;
    SetStartPosition();
    int half_move = 1;
    for (int i = 0; i < full_moves; ++i) {
        ReplayHalfMove(moves, i, Side::White, half_move);
        played(half_move++);
        if (!moves.BlackMoves[static_cast<std::size_t>(i)].empty()) {
            ReplayHalfMove(moves, i, Side::Black, half_move);
            played(half_move++);
        }
    }
    EndReplay();
    return half_move - 1;
}

}  // namespace qorvale::chess
