#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "chess/board.h"
#include "search/move_code.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/search_source.h"

namespace qorvale::search {

// The ECO table's lines as the ECO codes fast file holds them (one record per table entry, the
// entry's code in the record's ECO field), with the position after each half-move of each line
// from the ECO position file (qorvale.ecd). Built once per search and then only read, with the
// indexes that let a game be classified without a walk of the whole table.
class EcoCodeLines {
  public:
    // Reads the move file at `trf_path` and its header file beside it ("Missing Ecocodes fast
    // file." when either cannot be read, is damaged or they disagree), and the positions from
    // the position file at `ecd_path`, built first when it is missing or does not fit the lines
    // ("Initialization error." when it cannot be written).
    static Result<EcoCodeLines> Load(const std::string& trf_path, const std::string& ecd_path,
                                     Ui& ui);

    int Count() const { return static_cast<int>(codes_.size()); }
    const std::string& Code(int entry) const { return codes_[Index(entry)]; }
    int Length(int entry) const { return static_cast<int>(moves_[Index(entry)].size()); }

    // The line whose positions the game's reaches deepest: entries in order, each longer than
    // the best depth so far compared position by position from that depth. -1 when none.
    // `positions[k]` is the game's board after half-move k + 1 (n boards).
    int ClassifyByPosition(std::span<const chess::Board64> positions) const;
    // The line the game's first n half-moves contain, each side's moves in any order: the
    // longest such line not longer than n, or the longest whose first n half-moves match when
    // that one is longer and the game goes beyond the first. -1 when none.
    int ClassifyByMoves(std::span<const MoveCode> game) const;

  private:
    // A set of move codes, one bit per code out of 256, to reject lines cheaply.
    using MoveBits = std::array<std::uint64_t, 4>;
    struct SideMoves;

    static std::size_t Index(int entry) { return static_cast<std::size_t>(entry); }
    bool LineMatches(int entry, const SideMoves& game, int limit) const;
    void BuildIndexes();

    std::vector<std::string> codes_;
    std::vector<std::vector<MoveCode>> moves_;
    std::vector<std::vector<MoveCode>> white_;  // each line's moves by side
    std::vector<std::vector<MoveCode>> black_;
    std::vector<MoveBits> white_bits_;
    std::vector<MoveBits> black_bits_;
    std::vector<int> by_length_;               // entries longest first, in table order among equals
    std::vector<chess::Board64> positions_;    // every line's boards, one line after another
    std::vector<std::size_t> position_start_;  // where each line's boards begin
    // Open addressing from (half-move, board) to the entries that stand there, in table order.
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t first = 0;  // in slot_entries_
        std::uint32_t count = 0;  // 0: the slot is empty
    };
    std::vector<Slot> slots_;
    std::vector<int> slot_entries_;
    int longest_ = 0;
};

// The half-moves of a game both classifications look at.
inline constexpr int EcoDifferenceHalfMoves = 52;
// Found games whose classification is kept for the game list.
inline constexpr std::size_t MaxEcoDifferenceGames = 125000;

// SearchEcoDifference: the games that pass the other header criteria and whose ECO tag names
// neither the line their moves nor the line their positions classify as (its first three
// characters compared). Games without an ECO tag, or one beginning with "?" or a space, are
// skipped. Needs the open file's fast file ("ECO diff requires a fast file."; "Warning: You need
// to run 'Make Fast File' again." when it does not hold one whole record for every game) and the
// ECO codes fast file at `eco_lines_path` ("Missing Ecocodes fast file."), with the position file
// EcoPositionFilePathFor(eco_lines_path). `classified` receives, per found game (up to 125,000),
// the code the moves classify it as ("" when none). Returns the number found, or -1 after a
// refusal was reported.
int SearchEcoDifference(const SearchSource& source, const SearchCriteria& criteria,
                        const std::string& eco_lines_path, SearchList& list,
                        std::vector<std::string>& classified, Ui& ui);

}  // namespace qorvale::search
