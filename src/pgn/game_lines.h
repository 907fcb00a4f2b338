#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "chess/move_text.h"
#include "chess/notation.h"
#include "pgn/nag.h"
#include "pgn/record_source.h"

namespace qorvale::chess {
class ChessState;
}

namespace qorvale::pgn {

// A game's movetext holds at most this many lines; the rest is not read.
inline constexpr int MaxMovetextLines = 3000;
// Half-move positions an annotation can follow: 0 (before the first move) to 400.
inline constexpr int AnnotationSlots = 2 * chess::MaxFullMoves + 1;

enum class AnnotationKind : std::uint8_t {
    None = 0,
    CommentOrNag = 1,
    Variation = 2,
};

// Where the first annotation after a half-move stands in the movetext lines.
struct AnnotationPosition {
    int line = 0;
    int column = 0;
    AnnotationKind kind = AnnotationKind::None;
};

// 1 when the token at `text` ends the movetext: it begins with "*"; its second character is "/"
// ("1/2-1/2") and its first is not "{" or ";"; or its second character is "-" and its first is
// not "O", "{" or ";" ("1-0", "0-1"). Annotation glyphs ("?", "+-", "=") and the null move "--"
// end nothing. With `blank_is_end` a blank at `text` ends it too.
// Castling written with zeros or lower-case o ("0-0", "o-o-o") is first rewritten in place to
// "O-O"/"O-O-O", so it is no terminator. `text` must be zero-terminated.
int IsGameTerminator(char* text, bool blank_is_end);

// A move in long algebraic form with its from-square ("Ng1-f3", "Ng1xf3", "e2-e4", "e4xd5")
// reduced to SAN: a piece's from-square goes into `hint` ("Nf3", hint g1); a pawn's is dropped,
// keeping the file and adding "x" when the file changes ("e4", "exd5"). False, and nothing
// changed, when the token is not in that form (castling never is).
bool ReduceLongMove(std::string_view token, chess::MoveText& text, chess::FromHint& hint);

// Who makes a game's first move.
enum class FirstMover {
    FromText,  // White, unless the first move number has two dots or more ("1...")
    White,     // a set-up position with White to move
    Black,     // a set-up position with Black to move: the first move is Black's however written
};

// The first mover a FEN tag line names by its side field; FromText without a tag.
FirstMover FirstMoverOfFen(std::string_view fen_tag_line);

// One loaded game: its movetext lines, the main line split into move texts per half-move, and
// where each comment, NAG and variation stands in the text. Variations and comments are not
// kept as a tree: the text is the store, found again through the recorded positions.
//
// Buffers are kept from game to game, so reading many games allocates nothing per game.
class GameLines {
  public:
    GameLines();

    // Reads the movetext lines and scans them. `first_record` is the movetext line the header
    // reader already met (with its reader length), if any. Reading stops at the end of the
    // file, at a tag line (kept as NextGameRecord), or after 3000 lines; empty lines are
    // skipped. `stop_after` full moves (0 = all). Returns the full moves filled (a final white
    // half-move counts as one). More than 200 moves shows "Warning: Maximum number 200 moves
    // exceeded." on `ui` unless `quiet`; the first 200 are kept.
    int ParseMovetext(RecordSource& source, const std::string* first_record, int first_length,
                      int stop_after, Ui* ui, bool quiet = false);

    // ParseMovetext for searches and utilities: no warnings, and the caller's chess state runs
    // with QuietParse set while it replays the moves.
    int ParseMovetextQuiet(RecordSource& source, const std::string* first_record, int first_length,
                           int stop_after) {
        return ParseMovetext(source, first_record, first_length, stop_after, nullptr, true);
    }

    // Takes the movetext from `text` (lines split at LF) and scans it, as ParseMovetext does.
    int ParseMovetextText(std::string_view text, int stop_after = 0, Ui* ui = nullptr,
                          bool quiet = true);

    // Database mode: the moves come as 16-bit move codes (low byte: from-square index
    // (file - 1) * 8 + (rank - 1) in bits 0-5, promotion in bits 6-7: 0 queen, 0x40 knight,
    // 0x80 bishop, 0xC0 rook; high byte: to-square index in bits 0-5; a code of 0x8000 or more
    // ends the list). Each is made from squares on `chess` from the start position to obtain
    // its SAN text, played and snapshotted; the start position is set again at the end.
    // Returns the number of full moves. A code the rules refuse ends the list there.
    int LoadMoveCodes(std::span<const std::uint16_t> codes, chess::ChessState& chess);

    // Who moves first in the game parsed next (its FEN tag's side); only that parse.
    void SetFirstMover(FirstMover mover) { first_mover_ = mover; }
    // Letters moves may be written with besides the English and German ones: the user's display
    // letters, king queen rook bishop knight. Kept from game to game.
    void SetDisplayLetters(std::string_view letters);
    const chess::PieceLetterReader& Letters() const { return letters_; }

    // ---- The tables -----------------------------------------------------------------------
    chess::MainLineMoves& Moves() { return moves_; }
    const chess::MainLineMoves& Moves() const { return moves_; }
    int FullMoves() const { return full_moves_; }
    int ParsedHalfMoves() const { return parsed_half_moves_; }
    // The first white hint's first byte is 1 in a long-algebraic game with piece letters.
    bool IsLongAlgebraic() const { return moves_.WhiteHints[0].bytes[0] == 1; }
    // More than 200 moves were offered; the parse kept 200.
    bool HitMoveLimit() const { return hit_move_limit_; }
    // The movetext had more than 3000 lines; the rest was not read.
    bool HitLineLimit() const { return hit_line_limit_; }

    int MovetextLineCount() const { return static_cast<int>(line_start_.size()); }
    std::string_view MovetextLine(int line) const;
    // The bytes line `line` took in the file.
    int MovetextLineLength(int line) const { return line_length_[static_cast<std::size_t>(line)]; }
    // The whole movetext, lines separated by a zero byte; offsets into it are what
    // MoveTextEnd and the annotation positions count in.
    std::string_view MovetextBuffer() const { return text_; }

    const AnnotationPosition& AnnotationIndex(int half_move) const {
        return annotation_index_[static_cast<std::size_t>(half_move)];
    }
    int AnnotationCount() const { return annotation_count_; }
    // Offset in MovetextBuffer just after half-move `half_move`'s last character (1-based).
    int MoveTextEnd(int half_move) const {
        return move_text_end_[static_cast<std::size_t>(half_move)];
    }

    // A tag line met while reading movetext: the first line of the next game.
    bool HasNextGameRecord() const { return has_next_game_record_; }
    const std::string& NextGameRecord() const { return next_game_record_; }

    // Records an annotation after half-move `half_move`; the first one fixes the position, a
    // later variation turns the kind into Variation.
    void RecordAnnotation(int half_move, int line, int column, AnnotationKind kind);

    // The comments, NAGs and variations that follow half-move `half_move`, as shown in the game
    // text: "{...}" comments (";" comments shown in braces), "(...)" variations, NAGs in words.
    // Empty when nothing follows.
    std::string AnnotationText(int half_move, NagDisplay display = NagDisplay::Words) const;

    // Forgets the game: no lines, no moves.
    void Clear();

  private:
    class Scanner;
    friend class Scanner;

    bool AppendLine(std::string_view text, int length);
    int Scan(int stop_after, Ui* ui, bool quiet);

    std::string text_;
    std::vector<std::uint32_t> line_start_;
    std::vector<int> line_length_;
    chess::MainLineMoves moves_;
    int full_moves_ = 0;
    int parsed_half_moves_ = 0;
    std::array<AnnotationPosition, AnnotationSlots> annotation_index_{};
    int annotation_count_ = 0;
    // One past the highest annotation slot written, so that Clear resets only those.
    std::size_t annotation_slots_used_ = 0;
    std::array<int, AnnotationSlots> move_text_end_{};
    bool hit_move_limit_ = false;
    bool hit_line_limit_ = false;
    std::string record_;
    std::string next_game_record_;
    bool has_next_game_record_ = false;
    FirstMover first_mover_ = FirstMover::FromText;
    chess::PieceLetterReader letters_;
};

}  // namespace qorvale::pgn
