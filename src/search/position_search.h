#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/ui.h"
#include "chess/board.h"
#include "search/move_code.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/search_source.h"

namespace qorvale::search {

// The search position turned into tests on a 64-square board (Board64 order).
class PositionTests {
public:
    explicit PositionTests(const PositionCriteria& criteria,
                           const MoveNumberFilter& filter = MoveNumberFilter());

    // Whether the position after `half_moves` half-moves passes. `squares` holds 64 piece codes
    // in Board64 order (either the fast file's bytes or a position history's words).
    bool Holds(std::span<const std::uint8_t, 64> squares, int half_moves) const;
    bool Holds(std::span<const std::uint32_t, 64> squares, int half_moves) const;

    // The first half-move k (0..positions - 1) at which every test holds, or -1.
    template <typename Square>
    int FirstMatch(std::span<const std::array<Square, 64>> positions) const {
        for (std::size_t k = 0; k < positions.size(); ++k) {
            if (Holds(std::span<const Square, 64>(positions[k]), static_cast<int>(k))) {
                return static_cast<int>(k);
            }
        }
        return -1;
    }

    bool Empty() const { return pieces_.empty() && counts_.empty() && !never_; }

private:
    struct PieceTest {
        int square = 0;
        std::uint8_t code = 0;
    };
    enum class Relation : std::uint8_t { Equal, Fewer, More };
    struct CountTest {
        bool white = true;       // the list it came from
        std::uint8_t kind = 1;   // pawn 1 .. queen 5
        Relation relation = Relation::Equal;
        int value = 0;
    };

    template <typename Square>
    bool HoldsOn(const Square* squares, int half_moves) const;
    void ParseEntry(std::string_view entry, bool white);

    std::vector<PieceTest> pieces_;
    std::vector<CountTest> counts_;
    // Black's "*" entries: White's count test for that kind may be met by Black's count.
    std::array<bool, 6> black_may_meet_{};
    bool never_ = false;  // an entry with an unknown piece letter
    MoveNumberFilter filter_;
};

// Plays one fast-file code on `board` as ReplayMoveCodes does (castling, promotion and en
// passant told from the board), so a search can stop at the first position that matches.
void PlayMoveCode(chess::Board64& board, MoveCode code, bool white);

// SearchPosition: the games that reach the search position, each with the first half-move at
// which it stands. With a fast header file the move file is streamed and replayed from the
// standard position; otherwise the PGN text is read (a FEN tag sets the start). Returns the
// number found.
int SearchPosition(const SearchSource& source, const SearchCriteria& criteria, SearchList& list,
                   Ui& ui);

}  // namespace qorvale::search
