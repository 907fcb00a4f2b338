#include "openings/next_moves.h"

#include <cstring>

#include "base/bytes.h"

namespace qorvale::openings {

namespace {

search::MoveCode CodeAt(const std::uint8_t* codes, std::size_t index) {
    return GetU16(codes + 2 * index);
}

}  // namespace

NextMoveScan::NextMoveScan(std::span<const search::MoveCode> line, const ScanSettings& settings)
    : line_(line.begin(), line.end()),
      settings_(settings),
      slots_(std::make_unique<std::array<std::uint16_t, 65536>>()) {
    slots_->fill(0);
    for (search::MoveCode code : line_) AppendU16(line_bytes_, code);
    for (std::size_t i = 0; i < line_.size(); ++i) {
        (i % 2 == 0 ? white_ : black_).moves.push_back(line_[i]);
    }
    for (Side* side : {&white_, &black_}) {
        const std::size_t n = side->moves.size();
        side->repeats.assign(n, 0);
        for (std::size_t k = 0; k < n; ++k) {
            for (std::size_t later = k + 2; later < n; ++later) {
                side->repeats[k] += side->moves[later] == side->moves[k];
            }
        }
    }
}

NextMoveScan::~NextMoveScan() = default;

bool NextMoveScan::SideMatches(const std::uint8_t* codes, const Side& side, int parity) const {
    const std::size_t n = side.moves.size();
    auto game_move = [&](std::size_t i) {
        return CodeAt(codes, 2 * i + static_cast<std::size_t>(parity));
    };
    for (std::size_t k = 0; k < n; ++k) {
        const search::MoveCode wanted = side.moves[k];
        bool found = false;
        for (std::size_t i = 0; i < n && !found; ++i) found = game_move(i) == wanted;
        if (!found) return false;
        if (side.repeats[k] > 0) {
            int repeats = 0;
            for (std::size_t i = k + 2; i < n; ++i) repeats += game_move(i) == wanted;
            if (repeats != side.repeats[k]) return false;
        }
    }
    return true;
}

bool NextMoveScan::Matches(const std::uint8_t* codes) const {
    // Most games that match at all follow the line move by move.
    if (line_bytes_.empty()) return true;
    if (std::memcmp(codes, line_bytes_.data(), line_bytes_.size()) == 0) return true;
    if (settings_.exact) return false;
    return SideMatches(codes, white_, 0) && SideMatches(codes, black_, 1);
}

void NextMoveScan::Count(search::MoveCode code, int ply, const std::uint8_t* codes, int result,
                         std::int32_t game_number) {
    std::uint16_t& slot = (*slots_)[code];
    if (slot == 0) {
        if (Full()) return;
        NextMove move;
        move.code = code;
        move.first_game = static_cast<std::uint32_t>(game_number);
        move.ply = ply;
        if (static_cast<std::size_t>(ply) > line_.size()) {
            move.lead.reserve(static_cast<std::size_t>(ply));
            for (int i = 0; i < ply; ++i)
                move.lead.push_back(CodeAt(codes, static_cast<std::size_t>(i)));
        }
        moves_.push_back(std::move(move));
        slot = static_cast<std::uint16_t>(moves_.size());
    }
    NextMove& move = moves_[slot - 1u];
    ++move.games;
    move.points += static_cast<std::uint32_t>(result);
    if (result == search::WhiteWon) ++move.wins.white_wins;
    if (result == search::BlackWon) ++move.wins.black_wins;
}

bool NextMoveScan::Offer(const std::uint8_t* codes, std::size_t count, int result,
                         std::int32_t game_number) {
    const std::size_t next = line_.size();
    // Listing the games of one move goes on to the end; otherwise the scan stops when full.
    const bool stop_when_full = settings_.games_of == 0;
    if (stop_when_full && Full()) return false;
    // A game that ends with the line has no next move to give.
    if (count <= next) return true;
    if (!Matches(codes)) return true;
    const search::MoveCode code = CodeAt(codes, next);
    if (settings_.look_ahead <= 0) {
        Count(code, static_cast<int>(next), codes, result, game_number);
        if (settings_.games_of != 0 && code == settings_.games_of) {
            games_of_.Add(game_number, search::NormalResultClass(result));
        }
    } else {
        for (int step = 0; step < settings_.look_ahead; ++step) {
            const std::size_t ply = next + 2 * static_cast<std::size_t>(step);
            if (ply >= count) break;
            Count(CodeAt(codes, ply), static_cast<int>(ply), codes, result, game_number);
        }
    }
    return !(stop_when_full && Full());
}

void NameNextMoves(std::vector<NextMove>& moves, LinePosition& at_line) {
    LinePosition earlier;
    for (NextMove& move : moves) {
        if (move.lead.empty()) {
            move.text = at_line.TextOf(move.code);
            continue;
        }
        earlier.Reset();
        for (search::MoveCode code : move.lead) {
            if (!earlier.PlayCode(code)) break;
        }
        move.text = earlier.TextOf(move.code);
    }
}

}  // namespace qorvale::openings
