#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "chess/move_text.h"

namespace qorvale::openings {

// The three table files of the install folder. All hold one line per entry, in table order.
//   qorvale.eco  5-byte records: three code characters ("A00".."E99"), CR, LF; count = size / 5
//   qorvale.ecn  the name, CR LF
//   qorvale.ecm  the moves, CR LF: SAN with the move number fused to White's move and single
//                spaces ("1.e4 c5 2.Nf3 d6"), at most 30 full moves
inline constexpr std::string_view EcoCodesFileName = "qorvale.eco";
inline constexpr std::string_view EcoNamesFileName = "qorvale.ecn";
inline constexpr std::string_view EcoMovesFileName = "qorvale.ecm";
inline constexpr std::string_view EcoPositionFileName = "qorvale.ecd";
inline constexpr std::size_t EcoCodeRecordSize = 5;
// A table line holds at most this many half-moves.
inline constexpr int MaxEcoHalfMoves = 60;

struct EcoTableFiles {
    std::string codes;
    std::string names;
    std::string moves;
};
// The table files of `folder`.
EcoTableFiles EcoTableFilesIn(std::string_view folder);

// One bit (of 64) standing for a move text. A set of moves is the OR of its bits: when a move's
// bit is missing from a set, the move is not in it. The matcher rejects most entries this way
// before comparing texts.
std::uint64_t MoveBit(const chess::MoveText& text);

// The loaded ECO table: the three files whole in memory with each line's CR turned into NUL,
// where each entry starts, its half-move count, three sort orders and the ECO list's row map.
// Entries are numbered 0..count-1 in table order. Read-only once loaded, so the window and a
// worker may classify against it at the same time.
class EcoTable {
  public:
    std::int32_t count() const { return count_; }
    bool empty() const { return count_ == 0; }

    // The entry accessors; `entry` must be in 0..count-1.
    std::string_view Code(std::int32_t entry) const;
    std::string_view Name(std::int32_t entry) const;
    std::string_view Moves(std::int32_t entry) const;
    // Half-moves of the entry: the tokens of its moves text (spaces + 1).
    int PlyCount(std::int32_t entry) const { return ply_count_[Index(entry)]; }

    // The entry's moves split by colour, as the matcher compares them: White's k-th move is the
    // text after the k-th '.', Black's the token after it. The `Plain` forms have a trailing
    // '+' removed.
    std::span<const chess::MoveText> WhiteMoves(std::int32_t entry) const;
    std::span<const chess::MoveText> BlackMoves(std::int32_t entry) const;
    std::span<const chess::MoveText> PlainWhiteMoves(std::int32_t entry) const;
    std::span<const chess::MoveText> PlainBlackMoves(std::int32_t entry) const;
    // The MoveBit set of the first `count` plain moves of the entry's colour (count >= 1).
    std::uint64_t PlainWhiteBits(std::int32_t entry, std::size_t count) const {
        return white_bits_[first_white_[Index(entry)] + count - 1];
    }
    std::uint64_t PlainBlackBits(std::int32_t entry, std::size_t count) const {
        return black_bits_[first_black_[Index(entry)] + count - 1];
    }

    // Permutations of 0..count-1. By code (byte-wise), ties by moves ignoring ASCII case, then
    // by moves byte-wise; by name byte-wise; by moves ignoring ASCII case. Not stable: entries
    // equal under an order stand in no particular order.
    const std::vector<std::int32_t>& CodeOrder() const { return code_order_; }
    const std::vector<std::int32_t>& NameOrder() const { return name_order_; }
    const std::vector<std::int32_t>& MovesOrder() const { return moves_order_; }

    // ECO list row -> entry. Sized count + extra rows + 8, one extra row for each entry longer
    // than 18 half-moves, one more beyond 32 and one more beyond 46 (the long form spreads such
    // entries over several rows); the window fills it.
    std::vector<std::int32_t>& ListRowMap() { return list_row_map_; }
    const std::vector<std::int32_t>& ListRowMap() const { return list_row_map_; }

    // The raw buffers as loaded (CRs turned into NULs), for the consistency check.
    std::string_view CodeText() const { return code_text_; }
    std::string_view NameText() const { return name_text_; }
    std::string_view MoveText() const { return move_text_; }
    std::int64_t NameTextSize() const { return static_cast<std::int64_t>(name_text_.size()); }
    std::int64_t MoveTextSize() const { return static_cast<std::int64_t>(move_text_.size()); }

    // Builds the table from the three files' contents. Fails with "ECO table corruption." when
    // the names or moves hold fewer CR-ended lines than the codes file holds records (CR-less
    // line ends count as none); the table is then left as it was.
    Error LoadFromText(std::string codes, std::string names, std::string moves);

  private:
    static std::size_t Index(std::int32_t entry) { return static_cast<std::size_t>(entry); }
    void SplitMoves();
    void SortOrders();
    void SizeListRowMap();

    std::int32_t count_ = 0;
    std::string code_text_;
    std::string name_text_;
    std::string move_text_;
    std::vector<std::uint32_t> name_;   // offset of each name in name_text_
    std::vector<std::uint32_t> moves_;  // offset of each moves text in move_text_
    std::vector<int> ply_count_;
    // Split moves of every entry, flat; entry e owns [first_move_[e], first_move_[e + 1]).
    std::vector<chess::MoveText> white_;
    std::vector<chess::MoveText> black_;
    std::vector<chess::MoveText> plain_white_;
    std::vector<chess::MoveText> plain_black_;
    // Per entry, the MoveBit set of its first 1, 2, ... plain moves, parallel to plain_*_.
    std::vector<std::uint64_t> white_bits_;
    std::vector<std::uint64_t> black_bits_;
    std::vector<std::uint32_t> first_white_;
    std::vector<std::uint32_t> first_black_;
    std::vector<std::int32_t> code_order_;
    std::vector<std::int32_t> name_order_;
    std::vector<std::int32_t> moves_order_;
    std::vector<std::int32_t> list_row_map_;
};

// LoadEcoTable: first completes a change of the table files that a crash interrupted
// (RecoverEcoTableFiles), then reads the three files of `files` whole into `table`. When one cannot
// be read, or the texts do not hold a line per code record, reports and returns "ECO table
// corruption." and leaves the table as it was. Called at start-up and after every change of the
// table.
Error LoadEcoTable(const EcoTableFiles& files, EcoTable& table, Ui& ui);

// CheckEcoTable: compares the files on disk with the loaded table and reports one message,
// stopping at the first disagreement ("The ECO file is missing.", "The ECO file has %d
// entries.", ... , or "The ECO table is OK and has %d entries."). Returns whether it was OK.
bool CheckEcoTable(const EcoTableFiles& files, const EcoTable& table, Ui& ui);

// The moves text of a table line in the table's form: "1. e4 e5 2. Nf3" -> "1.e4 e5 2.Nf3"
// (move numbers fused to White's move, single spaces).
std::string FuseMoveNumbers(std::string_view moves);

}  // namespace qorvale::openings
