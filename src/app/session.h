#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis_replay.h"
#include "app/game_list.h"
#include "app/game_text.h"
#include "app/modes.h"
#include "app/navigation.h"
#include "app/navigation_list.h"
#include "app/search_session.h"
#include "base/result.h"
#include "base/ui.h"
#include "chess/chess_state.h"
#include "openings/eco_table.h"
#include "openings/opening_classification.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"

namespace qorvale::app {

// The squares a move changed, for the last-move highlight; file 0 when there is none.
struct MoveSquares {
    int from_file = 0;
    int from_rank = 0;
    int to_file = 0;
    int to_rank = 0;
    bool present() const { return from_file != 0; }
};

// The move that leads from `before` to `after`: the square that received the mover (the king's
// when castling) and the square it left.
MoveSquares MoveSquaresBetween(const chess::Snapshot& before, const chess::Snapshot& after);

// How the window shows the game, beside what the options record holds.
struct ViewState {
    bool flipped = false;      // the board seen from Black's side
    bool actual_text = false;  // the game's text as the file holds it instead of the moves
};

// What the window works on: the open file, the game on display and where the user stands in
// it. One per window; the window only draws what it holds.
class Session {
  public:
    Session();

    pgn::PgnFile& File() { return file_; }
    const pgn::PgnFile& File() const { return file_; }
    const pgn::HeaderTags& Header() const { return header_; }
    const pgn::GameLines& Lines() const { return lines_; }
    const chess::ChessState& Chess() const { return chess_; }
    const NavigationState& Navigation() const { return navigation_; }
    NavigationList& Games() { return games_; }
    const NavigationList& Games() const { return games_; }
    // The ECO table, loaded at start.
    openings::EcoTable& Eco() { return eco_table_; }
    const openings::EcoTable& Eco() const { return eco_table_; }
    // The game on display as the opening matcher sees it.
    const openings::OpeningGame& OpeningMoves() const { return opening_game_; }
    NavigationState& Navigation() { return navigation_; }
    // The searches of the open file and their search list.
    SearchSession& Search() { return search_; }
    const SearchSession& Search() const { return search_; }
    ViewState& View() { return view_; }
    const ViewState& View() const { return view_; }
    // The mode the window is in.
    ModeModel& Modes() { return modes_; }
    const ModeModel& Modes() const { return modes_; }

    bool HasGame() const { return game_number_ > 0; }
    std::int32_t GameNumber() const { return game_number_; }
    std::int32_t GameCount() const { return file_.GameCount(); }

    // Opens and scans a PGN file as every front end does (OpenGameFile); the game on display
    // and the search list are forgotten.
    Error OpenFile(const std::string& path, Ui& ui);
    // The file was opened and scanned elsewhere (the file opener): forget the game on display
    // and the search list.
    void FileOpened();
    // The found games of the last search become the navigation list; nothing found returns it
    // to the whole file.
    void UseSearchResults();
    // The open file was changed by the program (a game saved, replaced or deleted): everything
    // read from it before is forgotten, the game list kept beside it too.
    void FileChanged();
    // A new file is about to be scanned: forget the game on display and the list records.
    void ForgetGame();
    pgn::PgnFile& MutableFile() { return file_; }
    // Rescans the open file ignoring the offset cache ("File has been reloaded.").
    bool Reload(Ui& ui);

    // The user's display letters (options), read in moves besides the English and German ones
    // from the next game loaded on.
    void SetDisplayLetters(std::string_view letters) { lines_.SetDisplayLetters(letters); }

    // Loads game `game_number` of the open file and puts the board at its start. A game whose
    // replay stopped part-way keeps the moves that could be played. Fails with
    // "Error finding game." and keeps the game that was on display.
    Error LoadGame(std::int32_t game_number, Ui& ui);

    // Performs a navigation action and sets the board to the new ply. A single step whose two
    // positions differ in more than four squares reports "Error in display move." and leaves
    // the board where it was.
    NavigationStep Go(NavigationAction action, Ui& ui);
    // Goes straight to `ply` (a click on a move), clamped to the game.
    NavigationStep GoToPly(std::int32_t ply);

    // The position at the current ply, or the analysis position while a walk shows one.
    const chess::Board& CurrentBoard() const { return chess_.CurrentBoard(); }
    // The squares of the move that led to the position on the board.
    MoveSquares LastMoveSquares() const;

    // The analysis replay walk after the current main-line move. Leaving it (any navigation,
    // ReplayStop) puts the board back on the main line.
    const AnalysisReplay& Replay() const { return replay_; }
    AnalysisReplay::Outcome ReplayNext(Ui& ui);
    AnalysisReplay::Outcome ReplayPrevious();
    // Begins the walk again at the current move: at its first variation, or at the one whose
    // "(" stands at `text_offset`. The board shows the main-line move.
    void ReplayStart(std::optional<std::size_t> text_offset = std::nullopt);
    void ReplayStop();

    // The records of the game list, built on first use after a file is opened or rescanned.
    const std::vector<GameListRecord>& GameList(Ui& ui);
    bool HasGameList() const { return game_list_built_; }
    // The lines of the opening-names list when the open file is one of the openings files of
    // the install folder `app_folder` (UsesOpeningNames), else null. Built on first use.
    const std::vector<std::string>* OpeningNames(std::string_view app_folder, Ui& ui);
    // "Game: %d" of the game on display.
    const std::string& GameStatus() const { return game_status_; }
    // The status line's game counter: "Game:  5 of 381", and after a search where the game
    // stands in the search list.
    std::string GameCounterText() const;
    // The game shown before the one on display, for "Return to Last Game"; 0 when none.
    std::int32_t PreviousShownGame() const { return previous_shown_game_; }

    // While the moves are hidden (the option, or study mode) only the moves up to the farthest
    // one reached are shown; in study mode only those up to the current one. Returns the limit
    // for the text, or -1 when nothing is hidden, and remembers the farthest move reached.
    std::int32_t HiddenMovesLimit(bool hide_option);

    // "Show Opening": names the opening of the position on the board through `ui`; returns the
    // table entry or -1.
    std::int32_t ShowOpening(Ui& ui) const;
    // The Find Opening commands: the line on the board matched against the table; refused
    // outside the Variation Edit and Analyze modes. Returns the entry for the ECO list or -1.
    std::int32_t FindOpening(openings::FindOpeningMode mode, Ui& ui) const;

    // The opening line under the board at the current ply: the ECO code and name of the
    // position; "" without a table or a game.
    std::string OpeningText() const;

    GameTextSource TextSource() const;
    // The Result tag value of the game on display.
    const std::string& ResultText() const;
    // The game's text exactly as the file holds it.
    std::string ActualGameText();

    // The game begins with Black's move: its first White half-move is an empty place holder.
    bool StartsWithBlack() const;

  private:
    void ShowPly(std::int32_t ply);
    // A scan that did not come from the offset cache makes the list records stale.
    void ForgetGameList();

    pgn::PgnFile file_;
    pgn::HeaderTags header_;
    pgn::GameLines lines_;
    chess::ChessState chess_;
    NavigationState navigation_;
    NavigationList games_;
    openings::EcoTable eco_table_;
    openings::OpeningGame opening_game_;
    std::int32_t game_number_ = 0;
    std::int32_t previous_shown_game_ = 0;
    std::int32_t hide_reached_ = 0;
    std::string game_status_;
    SearchSession search_;
    ModeModel modes_;
    ViewState view_;
    std::vector<GameListRecord> game_list_;
    bool game_list_built_ = false;
    AnalysisReplay replay_;
    std::vector<std::string> opening_names_;
    bool opening_names_checked_ = false;
    bool opening_names_mode_ = false;
};

}  // namespace qorvale::app
