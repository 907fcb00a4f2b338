#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/game_entry.h"
#include "base/result.h"
#include "base/ui.h"
#include "pgn/game_file_edit.h"
#include "pgn/game_rewrite.h"
#include "platform/file_system.h"

namespace qorvale::app {

// An annotation that was not saved when the program stopped: the game it belongs to and the
// text it had reached.
struct PendingAnnotation {
    std::string pgn_path;
    std::int32_t game_number = 0;
    std::uint32_t offset = 0;  // where the game began in its file
    std::string game_text;
    friend bool operator==(const PendingAnnotation&, const PendingAnnotation&) = default;
};

// The recovery copy: an escape line naming the game, "%Qorvale annotation: game 12 at 34567 of
// /path/games.pgn", then the game's text. A PGN reader passes over the first line, so the copy is
// itself a one-game PGN file.
std::string RecoveryCopyText(const PendingAnnotation& pending);
// nullopt when the bytes are not a recovery copy.
std::optional<PendingAnnotation> ReadRecoveryCopy(std::string_view bytes);
// The recovery copy at `recovery_path` ("recover.pgn" in the install folder), if there is one.
// At start the window asks RestoreAnnotationQuestion and either restores it (AnnotationEditor::
// Restore) or drops it (DiscardRecoveryCopy).
std::optional<PendingAnnotation> FindPendingAnnotation(const std::string& recovery_path);
void DiscardRecoveryCopy(const std::string& recovery_path,
                         platform::FileSystem& file_system = platform::SystemFileSystem());

// The Annotate Game editor's model: the game's annotations per half-move (comments, NAGs,
// variations; those the game already has are kept), changed by inserting comments before or
// after a move, NAGs, and variations entered on the board from any move. After every change the
// text it would write is put in the recovery copy (written beside and renamed, so it is whole),
// and Save writes the game back with RewriteCurrentGame and drops the copy.
class AnnotationEditor {
  public:
    explicit AnnotationEditor(std::string recovery_path,
                              platform::FileSystem& file_system = platform::SystemFileSystem());

    // Opens game `game_number` of `file`: "Cannot annotate games in 1.e2-e4 format.", or the
    // messages of LoadGameRewrite.
    Error Open(pgn::PgnFile& file, std::int32_t game_number);
    // Takes up a recovered annotation; `file` must be open on its file. "The annotated game is
    // no longer in its file." when no game begins where it began.
    Error Restore(pgn::PgnFile& file, const PendingAnnotation& pending);
    bool IsOpen() const { return game_.has_value(); }
    std::int32_t GameNumber() const { return game_number_; }
    bool Changed() const { return changed_; }

    // Half-moves of the main line, and each one's label ("12.Nf3", "12...Nc6").
    int HalfMoves() const;
    std::string MoveLabel(int half_move) const;
    // What follows half-move `half_move` (0: what comes before the first move).
    const std::string& Annotation(int half_move) const;

    // A comment after half-move `half_move`, or before it (after the annotations of the move
    // before). "A comment cannot hold a brace."
    Error AddComment(int half_move, std::string_view text, bool before);
    // NAG `nag` (1..255) right after the move, behind the NAGs it already has.
    Error AddNag(int half_move, int nag);
    void RemoveNags(int half_move);
    // Replaces the whole annotation of a half-move, as typed: line ends become spaces; braces and
    // parentheses must balance ("Warning: Comment braces may be out of sync.", "Warning: Line
    // parens may be out of sync."), and nothing but comments, NAGs and variations may stand
    // outside them ("An annotation holds only comments, NAGs and variations.").
    Error SetAnnotation(int half_move, std::string_view text);

    // A variation for half-move `half_move`: Variation() shows the position before it, and the
    // moves made there become "(12... Nc6 13.Bb5)" after the move when EndVariation is called.
    Error BeginVariation(int half_move);
    bool InVariation() const { return variation_at_ > 0; }
    GameEntry& Variation() { return variation_; }
    // Without a move made the variation is dropped.
    void EndVariation();
    void CancelVariation() { variation_at_ = 0; }

    // The game's text as Save writes it.
    std::string GameText() const;
    // Writes the game back over itself in `file` (the file it was opened from) and drops the
    // recovery copy.
    Result<pgn::EditDone> Save(pgn::PgnFile& file, Ui& ui);
    // Leaves without saving: the recovery copy goes.
    void Close();

  private:
    bool ValidHalfMove(int half_move) const { return half_move >= 1 && half_move <= HalfMoves(); }
    std::string& Slot(int half_move);
    void AfterChange();
    // The game number of the game that begins at `offset` in `file`, 0 when none does.
    static std::int32_t GameAt(const pgn::PgnFile& file, std::int32_t hint, std::uint32_t offset);

    std::string recovery_path_;
    platform::FileSystem& file_system_;
    std::optional<pgn::GameRewrite> game_;
    std::string pgn_path_;
    std::int32_t game_number_ = 0;
    std::uint32_t offset_ = 0;
    EntryStart start_;
    GameEntry variation_;
    int variation_at_ = 0;
    bool changed_ = false;
};

}  // namespace qorvale::app
