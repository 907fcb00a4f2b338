#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace qorvale::app {

// The window's modes. Game replay is where the program starts and where every other mode
// returns to; the others are entered from it and do not nest.
enum class Mode : std::uint8_t {
    GameReplay,      // playing through the games of the open file
    AddGame,         // entering a new game on the board
    ModifyGame,      // changing the moves of the game on display
    VariationEdit,   // entering a line on the board to name it and compare it
    Analyze,         // trying moves from a position of the game
    PositionSetup,   // placing pieces for a set-up position
    Tree,            // stepping through the opening tree
    EcoEdit,         // changing the ECO table
    Database,        // searching and showing the games of a database
    EnginePlay,      // playing against an engine
    EngineAnalysis,  // an engine analysing the position on the board
};
inline constexpr std::size_t ModeCount = 11;

// A set of modes, for the modes in which a command may run.
class ModeSet {
  public:
    constexpr ModeSet() = default;
    constexpr ModeSet(std::initializer_list<Mode> modes) {
        for (Mode mode : modes) bits_ |= Bit(mode);
    }
    static constexpr ModeSet All() {
        ModeSet set;
        set.bits_ = (1u << ModeCount) - 1;
        return set;
    }
    constexpr ModeSet Without(Mode mode) const {
        ModeSet set = *this;
        set.bits_ &= ~Bit(mode);
        return set;
    }
    constexpr bool Contains(Mode mode) const { return (bits_ & Bit(mode)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(ModeSet, ModeSet) = default;

  private:
    static constexpr std::uint32_t Bit(Mode mode) { return 1u << static_cast<unsigned>(mode); }
    std::uint32_t bits_ = 0;
};

// What the board does with a click or a drag in a mode.
enum class BoardInput : std::uint8_t {
    Navigate,     // ranks and corners step through the game
    MakeMoves,    // a piece is moved from square to square
    PlacePieces,  // pieces are put on and taken off squares
    None,         // the board only shows
};

// What each mode lets the user do; the menus, the toolbar and the board follow it.
struct ModeTraits {
    Mode mode;
    std::string_view name;  // as the status bar names it
    BoardInput board;
    bool switches_file;     // another file may be opened and the file's games browsed
    bool has_unsaved_work;  // leaving it may lose work, so it asks first
};

const ModeTraits& TraitsOf(Mode mode);

// The mode the window is in. Entering a mode is possible from game replay only, and only for a
// mode that this build provides (see ModeProvided); leaving returns to game replay.
class ModeModel {
  public:
    Mode Current() const { return current_; }
    const ModeTraits& Traits() const { return TraitsOf(current_); }

    // Returns false, and stays, when `mode` cannot be entered now.
    bool Enter(Mode mode);
    void Leave() { current_ = Mode::GameReplay; }

    // Which modes the program can be put in; the commands of a mode it cannot enter yet are
    // shown disabled with the reason in their tool tip.
    static bool ModeProvided(Mode mode);

  private:
    Mode current_ = Mode::GameReplay;
};

}  // namespace qorvale::app
