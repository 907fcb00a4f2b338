#pragma once

#include <array>
#include <cstdint>

namespace qorvale::chess {

// A tracked piece's square; file 0 marks an empty slot.
struct SlotSquare {
    std::uint32_t file = 0;
    std::uint32_t rank = 0;

    bool empty() const { return file == 0; }
    bool Is(std::uint32_t f, std::uint32_t r) const { return file == f && rank == r; }
    friend bool operator==(const SlotSquare&, const SlotSquare&) = default;
};

// Where one side's pieces stand: the king and three slots (A, B, C) per piece kind. Moves are
// resolved through these, never by scanning the board, so a fourth piece of a kind stands on the
// board untracked and can never be found as a mover.
struct SideSlots {
    SlotSquare king;
    std::array<SlotSquare, 3> queen{};
    std::array<SlotSquare, 3> rook{};
    std::array<SlotSquare, 3> bishop{};
    std::array<SlotSquare, 3> knight{};

    // The slots of knight (2), bishop (3), rook (4) or queen (5).
    std::array<SlotSquare, 3>& ForKind(std::uint32_t kind) {
        switch (kind) {
            case 2:
                return knight;
            case 3:
                return bishop;
            case 4:
                return rook;
            default:
                return queen;
        }
    }
    const std::array<SlotSquare, 3>& ForKind(std::uint32_t kind) const {
        return const_cast<SideSlots*>(this)->ForKind(kind);
    }
    friend bool operator==(const SideSlots&, const SideSlots&) = default;
};

// 0 = not moved, 1 = moved. Set when a king or a corner rook moves from squares, or when a
// piece is captured on a rook's corner square.
struct CastlingFlags {
    std::uint32_t WhiteKingMoved = 0;
    std::uint32_t BlackKingMoved = 0;
    std::uint32_t WhiteRookH1Moved = 0;
    std::uint32_t WhiteRookA1Moved = 0;
    std::uint32_t BlackRookH8Moved = 0;
    std::uint32_t BlackRookA8Moved = 0;
    friend bool operator==(const CastlingFlags&, const CastlingFlags&) = default;
};

}  // namespace qorvale::chess
