#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qorvale::pgn {

// Whether a record (line end removed) is a tag line: "[" and an upper-case letter, closed by "]"
// (or "] "), with either a quoted value after the first space or a well-known tag name.
bool IsTagLine(std::string_view record);

// Whether a record opens movetext: it begins with "1." or "{".
bool IsMovetextStart(std::string_view record);

// A tag line followed on the same record by more text, as one-line games are written
// ('[Result "1-0"] e4 *'): the length of the tag line, or 0 when the record is not one. The rest
// (after its leading spaces) is more tags or the game's movetext.
std::size_t TagLineWithTextLength(std::string_view record);

// A tag line, or a tag line with text after it.
inline bool IsTagRecord(std::string_view record) {
    return IsTagLine(record) || TagLineWithTextLength(record) > 0;
}

// The name of a tag line ("Event" of '[Event "x"]').
std::string_view TagName(std::string_view tag_line);

// The tag names of one header, to tell a header broken by a blank line (its next tag lines name
// new tags) from the next game's header (which repeats one). Holds the first 32 names; a header
// with more is taken to repeat every name after them.
class TagNameSet {
  public:
    void Clear() { count_ = 0; }
    void Add(std::string_view name);
    bool Has(std::string_view name) const;

  private:
    static constexpr std::size_t Capacity = 32;
    std::array<std::uint32_t, Capacity> hashes_{};
    std::size_t count_ = 0;
};

// The state machine that splits a PGN file into games, one record at a time. It is shared by
// the scan that builds the game index and by the search that finds a game by counting, so both
// agree on where every game begins.
class GameScanner {
  public:
    enum class State { BeforeFirstGame, InHeader, HeaderFull, InMovetext };
    enum class Step {
        Continue,  // nothing to record
        NewGame,   // a game begins at this record
    };

    // Feeds the text of the next record.
    Step Feed(std::string_view record);

    State CurrentState() const { return state_; }
    int TagCount() const { return tag_count_; }

  private:
    // Tags after which a header is taken as complete.
    static constexpr int FullHeaderTags = 8;

    Step FeedTag(std::string_view tag_line);

    State state_ = State::BeforeFirstGame;
    int tag_count_ = 0;
    // In InMovetext: whether a line of movetext has been seen since the header.
    bool movetext_seen_ = false;
    TagNameSet names_;
};

}  // namespace qorvale::pgn
