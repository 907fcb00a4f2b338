#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "chess/board.h"
#include "chess/move_text.h"
#include "pgn/record_source.h"

namespace qorvale::platform {
class File;
}

namespace qorvale::pgn {

// The tags the program keeps from a header, in the order their prefixes are compared.
enum class Tag : int {
    Event,
    Site,
    Date,
    Round,
    White,
    Black,
    Result,
    ECO,
    WhiteElo,
    BlackElo,
    FEN,
    Annotator,
    Opening,
    Variation,
};
inline constexpr std::size_t TagCount = 14;

struct TagPrefix {
    Tag tag;
    std::string_view prefix;  // compared case-sensitively against the start of the line
    bool first_wins;          // White and Black keep their first occurrence, the rest their last
    bool opening_names_only;  // read only while the game list is built with opening names
};

// "[Result" has no space so that a longer tag name beginning with Result is taken as Result.
inline constexpr std::array<TagPrefix, TagCount> TagPrefixes = {{
    {Tag::Event, "[Event ", false, false},
    {Tag::Site, "[Site ", false, false},
    {Tag::Date, "[Date ", false, false},
    {Tag::Round, "[Round ", false, false},
    {Tag::White, "[White ", true, false},
    {Tag::Black, "[Black ", true, false},
    {Tag::Result, "[Result", false, false},
    {Tag::ECO, "[ECO ", false, false},
    {Tag::WhiteElo, "[WhiteElo ", false, false},
    {Tag::BlackElo, "[BlackElo ", false, false},
    {Tag::FEN, "[FEN ", false, false},
    {Tag::Annotator, "[Annotator ", false, false},
    {Tag::Opening, "[Opening ", false, true},
    {Tag::Variation, "[Variation ", false, true},
}};

// The ten values of a header, in the order the header dialog and the writer use them.
enum class HeaderField : int {
    Event,
    Site,
    Date,
    Round,
    White,
    Black,
    Result,
    ECO,
    WhiteElo,
    BlackElo,
};
inline constexpr std::size_t HeaderFieldCount = 10;
// The ten tags as the header writer writes them: the ratings come before ECO.
struct WrittenTag {
    std::string_view name;
    HeaderField field;
};
inline constexpr std::array<WrittenTag, HeaderFieldCount> WrittenHeaderOrder = {{
    {"Event", HeaderField::Event},
    {"Site", HeaderField::Site},
    {"Date", HeaderField::Date},
    {"Round", HeaderField::Round},
    {"White", HeaderField::White},
    {"Black", HeaderField::Black},
    {"Result", HeaderField::Result},
    {"WhiteElo", HeaderField::WhiteElo},
    {"BlackElo", HeaderField::BlackElo},
    {"ECO", HeaderField::ECO},
}};

// A header value, a display value and an edit field hold at most this many characters.
inline constexpr std::size_t MaxHeaderValue = 95;
// What the header dialog accepts per field.
inline constexpr std::size_t MaxHeaderDialogField = 78;

// The value of a tag line: the text after the first double quote, leading spaces skipped, up to
// the last double quote of the line, or to the end of the line when there is no other. Quotes
// inside the value, escaped or not, stay as written. A line that does not begin with "[" has the
// empty value.
std::string_view TagValue(std::string_view line);
// The same, turning the line into its value in place. In database mode the stored text already
// is the bare value and is left as it is.
void ExtractTagValue(std::string& line, bool database_mode = false);

// The header lines of the current game that the program uses, one whole tag line per tag
// (bracket, name, quoted value, closing bracket); empty when the tag is absent.
class CurrentTagLines {
  public:
    const std::string& Line(Tag tag) const { return lines_[static_cast<std::size_t>(tag)]; }
    bool Has(Tag tag) const { return !Line(tag).empty(); }
    // Clears every line except Opening, which outlives a header read.
    void Clear();
    // Stores `record` in the slot of the first prefix it begins with; false when none matches.
    bool Take(std::string_view record, bool with_opening_names);

  private:
    std::array<std::string, TagCount> lines_;
};

// The ten values of the current game, each cut to MaxHeaderValue characters.
struct HeaderValues {
    std::array<std::string, HeaderFieldCount> values;
    const std::string& Get(HeaderField field) const {
        return values[static_cast<std::size_t>(field)];
    }
};

// The header panel's lines. The two-column lines serve the compact panel, the single lines the
// one-field-per-line panel.
struct HeaderDisplayLines {
    std::string event_site;
    std::string event;
    std::string site;
    std::string date_round;
    std::string date;
    std::string round;
    std::string white_black;
    std::string white;
    std::string black;
    std::string result_eco;
    std::string result;
    std::string eco;
};

// How ReadHeader treats the first record.
enum class FirstRecordMode {
    KeepForMovetext = 0,   // read normally; a movetext start is kept for the movetext parser
    HandedOver = 1,        // begin with the record the caller has already read; a movetext
                           // start is pushed back to the source
    KeepInSecondSlot = 2,  // as 0, into the second slot (a second game read alongside)
};

// A game's header: the tag lines read, the values, the display lines, and the first movetext
// record when the header ran straight into it.
class HeaderTags {
  public:
    // Reads tag lines from `source` (positioned at the game) until the end of the file, a blank
    // line, or the first other text (the movetext start). Records beginning with "%" and
    // bracketed text that is no tag are skipped. A blank line followed by a tag the header does
    // not have yet does not end it; the line looked at after a blank line is pushed back to the
    // source. A tag line with text after it ('[Result "1-0"] e4 *') gives its tag, and the rest
    // is read as the next record.
    void ReadHeader(RecordSource& source, FirstRecordMode mode,
                    std::string_view handed_record = {});
    // Fills the values and the display lines from the tag lines.
    void BuildHeaderDisplay(bool database_mode = false);

    // Opening and Variation are compared only while the game list is built with opening names.
    void SetWithOpeningNames(bool on) { with_opening_names_ = on; }

    const CurrentTagLines& TagLines() const { return tag_lines_; }
    CurrentTagLines& TagLines() { return tag_lines_; }
    const HeaderValues& CurrentHeader() const { return header_; }
    const HeaderDisplayLines& DisplayLines() const { return display_; }

    // The movetext record the header reader met (mode 0), with the length the reader gave it.
    bool HasFirstMovetextRecord() const { return has_first_record_; }
    const std::string& FirstMovetextRecord() const { return first_record_; }
    int FirstMovetextRecordLength() const { return first_record_length_; }
    // Hands the kept record over to the movetext reader; it is then no longer kept.
    void ReleaseFirstMovetextRecord() { has_first_record_ = false; }
    // The record the last ReadHeader stopped at: empty at a blank line or the end of the file,
    // else the movetext start, whichever mode kept it.
    const std::string& StopRecord() const { return record_; }
    bool HasSecondMovetextRecord() const { return has_second_record_; }
    const std::string& SecondMovetextRecord() const { return second_record_; }

  private:
    CurrentTagLines tag_lines_;
    HeaderValues header_;
    HeaderDisplayLines display_;
    std::string record_;
    std::string first_record_;
    int first_record_length_ = 0;
    bool has_first_record_ = false;
    std::string second_record_;
    bool has_second_record_ = false;
    bool with_opening_names_ = false;
};

// The ten fields of the header being edited, plus the starting move number of a game from a
// set-up position (below 2 means the game starts at move 1, stored as 0).
struct HeaderEditFields {
    std::array<std::string, HeaderFieldCount> fields;
    int start_move_number = 0;

    std::string& Get(HeaderField field) { return fields[static_cast<std::size_t>(field)]; }
    const std::string& Get(HeaderField field) const {
        return fields[static_cast<std::size_t>(field)];
    }
    void SetStartMoveNumber(int number) { start_move_number = number < 2 ? 0 : number; }
};

// Reads tag lines from `source` (positioned at the game's first tag line) until the first record
// that is not a tag line, filling the ten known fields.
HeaderEditFields LoadHeaderForEdit(RecordSource& source);

// Ok when the Result field is exactly "1-0", "0-1", "1/2-1/2" or "*"; otherwise the error
// "Result must be 1-0, 0-1, 1/2-1/2 or *. Game not saved."
Error ValidateResult(const HeaderEditFields& fields);

// The ten tag lines of `fields`, each ended by CR LF, field text unchanged. A game from the
// standard position gets the empty line that ends the header; a set-up game does not, as its FEN
// tag follows.
std::string HeaderText(const HeaderEditFields& fields, bool starts_from_setup);

// What the FEN tag writer needs to know of a game that starts from a set-up position.
struct FenTagGame {
    const chess::Board& start;          // the game's starting position
    const chess::MainLineMoves& moves;  // its moves (the first white text tells the side)
    int full_moves = 0;
    std::string_view result;              // the Result field, for a game without moves
    std::uint32_t start_move_number = 0;  // 0: the game starts at move 1
};
// The FEN tag line ("[FEN \"placement side - - 0 n\"]" and CR LF), plus the empty line that
// ends the header when the game has moves.
std::string FenTagText(const FenTagGame& game);

// The writers append to the game text buffer or write to a file; a file that cannot be written
// gives "Error saving game.".
void WriteHeader(std::string& buffer, const HeaderEditFields& fields, bool starts_from_setup);
Error WriteHeader(platform::File& file, const HeaderEditFields& fields, bool starts_from_setup);
void WriteFenTag(std::string& buffer, const FenTagGame& game);
Error WriteFenTag(platform::File& file, const FenTagGame& game);

// The template of a new game typed as text: the ten tags with "?" values, an empty line, "1.".
enum class TemplateKeep {
    Nothing,      // the template alone
    Moves,        // the template, then the moves after the first "1." that starts a line
    UpToMoveOne,  // the current text up to and including that "1."
};
// `current_text` is the text being replaced (used by the two keeping variants).
std::string MakeHeaderTemplate(TemplateKeep keep = TemplateKeep::Nothing,
                               std::string_view current_text = {});

}  // namespace qorvale::pgn
