#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/setup_position.h"
#include "base/result.h"
#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/game_file_edit.h"
#include "pgn/game_rewrite.h"
#include "pgn/header_tags.h"
#include "platform/file_system.h"

namespace qorvale::app {

// Where an entered game starts: the standard position, or a set-up position (its side to move,
// castling rights, en-passant file and move number included).
struct EntryStart {
    bool from_setup = false;
    SetupPosition setup;
};

// The start of a game read from a file: its FEN's own rights where the FEN can be read, else the
// program's reading of a set-up start (castling wherever king and rook stand at home). Which side
// moves first follows from the movetext, as everywhere in the program.
EntryStart StartOf(const pgn::GameRewrite& game);

struct BoardSquare {
    int file = 0;
    int rank = 0;
    friend bool operator==(const BoardSquare&, const BoardSquare&) = default;
};

// The game being entered on the board (Add Game) or changed (Modify Game): moves made from
// squares under the rules, take-back, the promotion choice, the header fields, the game text the
// moves make, and saving through the four save modes or over the game it came from. The window
// forwards clicks and drags as squares and draws Board(); the tool and the tests drive it the
// same way.
class GameEntry {
  public:
    GameEntry();

    // Add Game from the standard position; the header fields get their starting values ("?",
    // "????.??.??", Result "*").
    void StartNewGame();
    // Add Game from a set-up position, after the set-up checks (their message through `ui` and
    // false when the position may not be used). A position with Black to move begins with the
    // black-first placeholder, so the first move made is Black's.
    bool StartFromSetup(const SetupPosition& setup, Ui& ui);
    // Modify Game on game `game_number` of `file`: its header, its moves (played again from
    // squares, so that castling and en-passant rights are known), its annotations kept for the
    // rewrite. Fails with the messages of LoadGameRewrite, or "The moves of this game cannot all
    // be played, so it cannot be modified."
    Error StartModify(pgn::PgnFile& file, std::int32_t game_number);
    // Any start and the first `half_moves` of `moves` (the beginning of a variation).
    Error StartFromMoves(const EntryStart& start, const chess::MainLineMoves& moves,
                         int half_moves);

    bool Modifying() const { return game_number_ > 0; }
    std::int32_t GameNumber() const { return game_number_; }
    // Moves or header changed since the start or the last save.
    bool Changed() const { return changed_; }

    // ---- The board ------------------------------------------------------------------------
    // The position at ShownHalfMove().
    const chess::Board& Board() const { return chess_.CurrentBoard(); }
    // Half-moves held, the black-first placeholder counted.
    int HalfMoves() const { return half_moves_; }
    int ShownHalfMove() const { return shown_; }
    // Shows an earlier position (stepping through the entered moves); moves are made only at the
    // end.
    void ShowHalfMove(int half_move);
    // The side whose move comes next at the end of the game.
    chess::Side SideToMove() const;
    // The squares the piece on (file, rank) may move to: the legal-target hints. Empty when the
    // square holds no piece of the side to move or an earlier position is shown.
    std::vector<BoardSquare> LegalTargets(int file, int rank);
    // Whether the move takes a pawn to its last rank, so that the window asks for the piece.
    bool IsPromotion(int from_file, int from_rank, int to_file, int to_rank) const;

    enum class MoveOutcome {
        Made,
        Illegal,   // the rules refuse it; nothing changed
        NotAtEnd,  // an earlier position is shown: TruncateTo it first (the window asks)
        GameFull,  // 200 full moves are held
    };
    // Makes the move (a promotion becomes `promotion`: knight, bishop, rook or queen) and writes
    // its text, with "#" for mate.
    MoveOutcome MakeMove(int from_file, int from_rank, int to_file, int to_rank,
                         std::uint32_t promotion = chess::Queen);
    // Takes back the last half-move; false when there is none.
    bool TakeBack();
    // Drops the half-moves after `half_move` (a game modified from the middle).
    void TruncateTo(int half_move);

    // ---- Text -----------------------------------------------------------------------------
    const chess::MainLineMoves& Moves() const { return moves_; }
    int FullMoves() const { return (half_moves_ + 1) / 2; }
    // First move number of a set-up game; 0 when the game starts at move 1.
    std::uint32_t StartMoveNumber() const;
    // The moves as the text panel and the text editor get them ("1." when there are none).
    std::string MovesText() const;
    // The whole game as saving writes it.
    std::string GameText() const;

    // ---- Header ---------------------------------------------------------------------------
    const pgn::HeaderEditFields& Header() const { return header_; }
    // Sets a field as the header dialog does: at most 78 characters, cut at a character
    // boundary.
    void SetHeaderField(pgn::HeaderField field, std::string_view value);
    pgn::EnteredGame Entered() const;

    // ---- Saving ---------------------------------------------------------------------------
    // Saves into `target` (the file the user chose, open) with `mode`, or into a new file at
    // `new_path`: the checks and messages of SaveGameToFile.
    Result<pgn::EditDone> Save(pgn::PgnFile& target, pgn::SaveMode mode,
                               const std::string& new_path, Ui& ui,
                               platform::FileSystem& file_system = platform::SystemFileSystem());
    // The save mode of the last save, Append at first: the save dialog starts with it.
    pgn::SaveMode LastSaveMode() const { return save_mode_; }
    // Modify Game's Replace/Save Changes: the game it came from rewritten from the header and the
    // moves, keeping the annotations of the moves that were not changed.
    Result<pgn::EditDone> SaveChanges(
        pgn::PgnFile& file, Ui& ui,
        platform::FileSystem& file_system = platform::SystemFileSystem());

  private:
    // Plays the first `half_moves` half-moves again from the start, each from the squares it is
    // found on; false at the first that cannot be made.
    bool Rebuild(int half_moves);
    void ClearFrom(int half_move);
    chess::MoveText& TextOf(int half_move);
    int FirstMove() const { return BlackFirst() ? 2 : 1; }
    bool BlackFirst() const { return moves_.WhiteMoves[0][0] == '.'; }

    chess::ChessState chess_;
    EntryStart start_;
    chess::MainLineMoves moves_{};
    int half_moves_ = 0;
    int shown_ = 0;
    pgn::HeaderEditFields header_;
    std::int32_t game_number_ = 0;
    std::optional<pgn::GameRewrite> original_;
    // The original's annotations belong to the half-moves up to here, which were not changed.
    int kept_annotations_ = 0;
    bool changed_ = false;
    pgn::SaveMode save_mode_ = pgn::SaveMode::Append;
};

// `text` cut to at most `limit` bytes at a character boundary: UTF-8 when the text is valid
// UTF-8, else one byte per character (Latin-1).
std::string CutAtCharacter(std::string_view text, std::size_t limit);

}  // namespace qorvale::app
