#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/annotation_editor.h"
#include "app/commands.h"
#include "app/game_entry.h"
#include "app/session.h"
#include "app/spell_checker.h"
#include "gui/edit/move_input.h"
#include "gui/shell/controller.h"
#include "pgn/game_file_edit.h"

namespace qorvale::gui {

// The Edit menu: entering a new game on the board (Add Game) and changing the game on display
// (Modify Game), deleting it, copying games to other files, the game buffer and the clipboard.
// While a game is entered the window draws it from Entry() instead of the file's game.
class EditController : public Controller {
    Q_OBJECT

  public:
    explicit EditController(ShellContext& context);

    void Run(app::EditCommand command);

    // ---- Entering a game ------------------------------------------------------------------
    // The game being entered; null outside Add Game and Modify Game.
    const app::GameEntry* Entry() const { return entry_ ? &*entry_ : nullptr; }
    // A square of the board was clicked: the first click picks a piece of the side to move, the
    // second its target. Promotions ask for the piece.
    void BoardClicked(int file, int rank);
    // The piece picked by the press was let go on another square: the move when it may go
    // there, else the piece stays picked.
    void PieceDropped(int file, int rank);
    // Steps through the entered moves as the game commands do through a file's game; false for
    // the commands that are not steps.
    bool Navigate(app::GameCommand command);
    void ShowHalfMove(int half_move);
    // The pick, its targets and the last move, for the board to mark.
    MoveInput& Input() { return input_; }
    const MoveInput& Input() const { return input_; }

    // Add Game from a set-up position, after the set-up checks; false after their message.
    bool StartFromSetup(const app::SetupPosition& setup);
    // Add Game with a game made elsewhere (one played against an engine), to be saved as an
    // entered game is; false when Add Game cannot be entered now.
    bool EnterGame(app::GameEntry entry);
    // Saves the entered game with `mode` into the file at `path` (a new file, or an existing
    // one, which becomes the open file) and shows it there; false after the refusal was shown.
    bool SaveEntered(pgn::SaveMode mode, const QString& path);
    // Modify Game: the changed game over the one it came from.
    bool SaveChanges();
    // Sets the entered game's header fields.
    void SetHeader(const pgn::HeaderEditFields& fields);
    // Leaves the entry mode; asks first when entered moves would be lost, and false when the
    // user keeps them.
    bool Leave();

    // ---- Annotating ------------------------------------------------------------------------
    // The Annotate Game editor on the game on display; true when the game was saved.
    bool Annotate();
    // At start: an annotation the program could not save last time is offered back.
    void OfferRecovery();
    // Adds a variation for half-move `half_move` of the game on display, its moves made by
    // `play` on the position before that move, and saves the game; false after a refusal.
    bool AddVariation(int half_move, const std::function<void(app::GameEntry&)>& play);

    // ---- The games of the open file ---------------------------------------------------------
    bool DeleteGame();
    // The game on display, or the games of the search list, copied into `target`.
    bool CopyGame(const QString& target, bool append);
    bool CopyListedGames(const QString& target, bool append);
    bool SaveBuffer(pgn::SaveMode mode, const QString& path);
    // The game text on the clipboard, checked as typed text, saved as `mode` into `path`.
    bool SaveText(const std::string& text, pgn::SaveMode mode, const QString& path);
    // The records of the game on display as a copy puts them in a file.
    std::optional<std::string> GameText();

  private:
    void Start(app::Mode mode);
    void Enter(app::Mode mode, app::GameEntry entry);
    void Redraw();
    // Opens the target of a save unless it is the open file; false after the failure was shown.
    bool OpenTarget(pgn::SaveMode mode, const QString& path);
    // Opens the target unless it is the open file or a new one, then runs `save` on the open
    // file with the new file's path ("" for the other modes).
    using Saver =
        std::function<Result<pgn::EditDone>(pgn::PgnFile& file, const std::string& new_path)>;
    Result<pgn::EditDone> SaveInto(pgn::SaveMode mode, const QString& path, const Saver& save);
    // After a change of the file: the window forgets what it had read and shows the game the
    // change names (a new file opened first as File/Open does); false when the change failed or
    // was cancelled.
    bool Changed(const Result<pgn::EditDone>& done, bool new_file);
    // The file dialogs of the commands; empty when cancelled.
    std::optional<std::pair<pgn::SaveMode, QString>> ChooseSaveTarget(const QString& title,
                                                                      pgn::SaveMode mode);
    void EditHeader();
    void CopyText();
    void PasteText();
    std::string BufferPath() const;
    std::string RecoveryPath() const;
    bool RunAnnotation(app::AnnotationEditor& editor);
    // The comment spell checker, opened on first use; null when there is no dictionary.
    app::SpellChecker* SpellChecker();
    // Opens `path` as the file on display; false after the failure was reported.
    bool OpenOther(const std::string& path);

    std::optional<app::GameEntry> entry_;
    MoveInput input_;
    pgn::SaveMode buffer_mode_ = pgn::SaveMode::Append;
    // The last set-up position, where the next set-up begins.
    app::SetupPosition setup_;
    std::optional<app::SpellChecker> spell_;
    bool spell_tried_ = false;
};

}  // namespace qorvale::gui
