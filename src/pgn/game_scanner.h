#pragma once

#include <cstdint>
#include <string_view>

namespace qorvale::pgn {

// Whether a record (line end removed) is a tag line: "[" and an upper-case letter, closed by "]"
// (or "] "), with either a quoted value after the first space or a well-known tag name.
bool IsTagLine(std::string_view record);

// Whether a record opens movetext: it begins with "1." or "{".
bool IsMovetextStart(std::string_view record);

// The state machine that splits a PGN file into games, one record at a time. It is shared by
// the scan that builds the game index and by the search that finds a game by counting, so both
// agree on where every game begins.
class GameScanner {
  public:
    enum class State { BeforeFirstGame, InHeader, HeaderFull, InMovetext };
    enum class Step {
        Continue,  // nothing to record
        NewGame,   // a game begins at this record
        Stop,      // a header of 8 or more tags ran into text that is no movetext: end the scan
    };

    // Feeds the text of the next record.
    Step Feed(std::string_view record);

    State CurrentState() const { return state_; }
    int TagCount() const { return tag_count_; }

  private:
    // Tags after which a header is taken as complete.
    static constexpr int FullHeaderTags = 8;

    State state_ = State::BeforeFirstGame;
    int tag_count_ = 0;
};

}  // namespace qorvale::pgn
