#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <string>

#include "app/commands.h"
#include "app/game_entry.h"
#include "app/line_mode.h"
#include "gui/edit/move_input.h"
#include "gui/shell/controller.h"
#include "openings/eco_edit.h"

namespace qorvale::gui {

class BoardListWindow;

// The modes in which a line is entered on a board of its own: Variation Edit (a line from the
// start, named as it grows), Analyze (from the position of the game on display) with Show Next
// Moves and Show Maneuvers over the open file, and the ECO edit mode, whose commands change the
// ECO table with the line on the board. The Find Opening commands work on that line.
class LineController : public Controller {
    Q_OBJECT

  public:
    explicit LineController(ShellContext& context);
    ~LineController() override;

    void Run(app::LineCommand command);
    void Run(app::EcoEditCommand command);
    // The Find Opening commands while a line is entered; false for the other commands and
    // outside the line modes, for the Openings menu to run them.
    bool FindOpening(app::OpeningsCommand command);

    // The line on the board; null outside the line modes.
    const app::BoardLine* Line() const { return line_ ? &*line_ : nullptr; }
    // Board clicks and drops, as the line window's board sends them.
    void BoardClicked(int file, int rank);
    void PieceDropped(int file, int rank);
    // Plays a move given as text ("Nf3") on the line; false when it cannot be played.
    bool PlayMove(std::string_view text);
    void TakeBack();
    // Leaves the mode; in ECO edit without saving. False when the user stays.
    bool Leave();

    // Show Next Moves (`maneuvers` false) or Show Maneuvers for the line.
    void ShowNextMoves(bool maneuvers);
    void ChooseNextMove(int row);
    void StepBackNextMoves();
    const app::NextMovesSession& NextMoves() const { return next_; }
    bool NextMovesShown() const { return next_shown_; }

    // ECO edit: the entry selected in the table's list (-1 none).
    void SelectEntry(int entry);
    const openings::EcoEditor* Editor() const { return editor_ ? &*editor_ : nullptr; }
    // The answers the name dialog gives instead of asking, for tests; nothing is a cancel.
    void SetNameAnswers(std::deque<std::optional<std::string>> answers) {
        name_answers_ = std::move(answers);
        scripted_names_ = true;
    }

    BoardListWindow* lineWindow() const { return window_; }
    MoveInput& Input() { return input_; }

  private:
    void Start(app::Mode mode);
    void End();
    void ShowLineWindow();
    void DrawLine();
    void DrawEntries();
    // The board's game follows the line (after a move not made on the board).
    void SyncEntry();
    // A move made on the board goes onto the line, or is taken back when the line refuses it.
    void TakeEnteredMove();
    void Rescan();
    // The line follows a move chosen or taken back in the next moves' list.
    void FollowNextMoves();
    std::optional<std::string> AskName(std::string_view preset);
    bool LeaveEco(bool saving);

    std::optional<app::BoardLine> line_;
    app::GameEntry entry_;
    MoveInput input_;
    BoardListWindow* window_ = nullptr;
    app::NextMovesSession next_;
    bool next_shown_ = false;
    bool maneuvers_ = false;
    std::optional<openings::EcoEditor> editor_;
    QString found_;
    std::deque<std::optional<std::string>> name_answers_;
    bool scripted_names_ = false;
};

}  // namespace qorvale::gui
