#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"

namespace qorvale::search {

// Reads games of a PGN file for the searches' text path, through its own handle, chess state
// and game lines, so it never disturbs the window's game.
class TextGameReader {
  public:
    enum class Depth {
        Header,     // the tag values only
        Moves,      // and the main line's move texts as read
        Positions,  // and the main line replayed from the game's start (FEN or standard), with
                    // the move texts normalised and a board after every half-move
    };

    // `display_letters`: the user's piece letters, read besides the English and German ones.
    TextGameReader(const std::string& pgn_path, std::span<const std::uint32_t> offsets,
                   std::string_view display_letters = {});
    ~TextGameReader();
    TextGameReader(const TextGameReader&) = delete;
    TextGameReader& operator=(const TextGameReader&) = delete;

    bool IsOpen() const;
    // Game `index` (0-based); false when it cannot be found.
    bool Read(std::int32_t index, Depth depth);

    const pgn::HeaderValues& Values() const;
    bool HasFen() const;
    const chess::MainLineMoves& Moves() const;
    int FullMoves() const { return full_moves_; }
    int HalfMoves() const { return half_moves_; }
    // Board after half-move `half_move` (0 = start), Board64 order.
    const chess::Snapshot& Position(int half_move) const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::span<const std::uint32_t> offsets_;
    int full_moves_ = 0;
    int half_moves_ = 0;
};

}  // namespace qorvale::search
