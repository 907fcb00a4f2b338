#include "search/search_list.h"

#include <algorithm>
#include <iterator>

#include "base/message.h"
#include "search/messages.h"
#include "search/move_code.h"

namespace qorvale::search {

namespace {

double Share(double part, int total) { return total > 0 ? part * 100.0 / total : 0.0; }

}  // namespace

int NormalResultClass(int fast_file_result) {
    return fast_file_result == WhiteWon ? 1 : fast_file_result == BlackWon ? 2 : 0;
}

void SearchList::Clear() {
    games_.clear();
    counters_ = {0, 0, 0, either_colour_ ? 0 : -1, 0};
    matched_line_length_ = 0;
    has_half_moves_ = false;
}

void SearchList::SetEitherColour(bool on) {
    either_colour_ = on;
    Recount();
}

void SearchList::Add(std::int32_t game_number, int result_class, std::int32_t half_move) {
    games_.push_back({game_number, half_move, result_class});
    if (result_class >= 1 && result_class <= 4) ++counters_[static_cast<std::size_t>(result_class)];
}

void SearchList::Recount() {
    counters_ = {0, 0, 0, either_colour_ ? 0 : -1, 0};
    for (const FoundGame& game : games_) {
        if (game.result_class >= 1 && game.result_class <= 4) {
            ++counters_[static_cast<std::size_t>(game.result_class)];
        }
    }
}

void SearchList::RestoreCounts(int white_wins, int black_wins, int class3, int class4) {
    either_colour_ = class3 >= 0;
    counters_ = {0, white_wins, black_wins, class3, class4};
}

void SearchList::IntersectWith(const SearchList& other) {
    // Both lists ascend, so one merge walk finds the common games.
    std::vector<FoundGame> kept;
    auto theirs = other.games_.begin();
    for (const FoundGame& game : games_) {
        theirs = std::lower_bound(
            theirs, other.games_.end(), game.game_number,
            [](const FoundGame& found, std::int32_t number) { return found.game_number < number; });
        if (theirs == other.games_.end()) break;
        if (theirs->game_number == game.game_number) {
            FoundGame common = game;
            if (other.has_half_moves_) common.half_move = theirs->half_move;
            kept.push_back(common);
        }
    }
    games_ = std::move(kept);
    has_half_moves_ = has_half_moves_ || other.has_half_moves_;
    Recount();
}

namespace {

bool Before(const FoundGame& found, std::int32_t number) { return found.game_number < number; }

}  // namespace

std::int32_t SearchList::NextGame(std::int32_t game_number) const {
    auto next = std::upper_bound(
        games_.begin(), games_.end(), game_number,
        [](std::int32_t number, const FoundGame& found) { return number < found.game_number; });
    return next == games_.end() ? 0 : next->game_number;
}

std::int32_t SearchList::PreviousGame(std::int32_t game_number) const {
    auto at = std::lower_bound(games_.begin(), games_.end(), game_number, Before);
    return at == games_.begin() ? 0 : std::prev(at)->game_number;
}

int SearchList::IndexOf(std::int32_t game_number) const {
    auto at = std::lower_bound(games_.begin(), games_.end(), game_number, Before);
    if (at == games_.end() || at->game_number != game_number) return -1;
    return static_cast<int>(at - games_.begin());
}

std::vector<std::string> SearchList::FormatWinStatistics() const {
    const int total = Count();
    const int white = std::max(counters_[1], 0);
    const int black = std::max(counters_[2], 0);
    const bool either = counters_[3] >= 0;
    // Wide enough for the counts of a damaged results file.
    const long long others = static_cast<long long>(total) - white - black;
    const long long draws_white = either ? counters_[3] : others;
    const long long draws_black = either ? counters_[4] : others;
    const long long draws = either ? static_cast<long long>(counters_[3]) + counters_[4] : others;
    std::vector<std::string> lines;
    lines.push_back(FillMessage(messages::GamesFound, {total}));
    lines.push_back(FillMessage(messages::WhiteWinsLine, {white, Share(white, total)}));
    lines.push_back(FillMessage(messages::BlackWinsLine, {black, Share(black, total)}));
    lines.push_back(FillMessage(messages::DrawsLine, {draws, Share(draws, total)}));
    double white_score = white + draws_white / 2.0;
    double black_score = black + draws_black / 2.0;
    lines.push_back(FillMessage(messages::ScoreLine, {white_score, Share(white_score, total)}));
    lines.push_back(FillMessage(messages::ScoreLine, {black_score, Share(black_score, total)}));
    if (either) {
        double performance = static_cast<double>(white) + black + draws / 2.0;
        lines.push_back(
            FillMessage(messages::PerformanceLine, {performance, Share(performance, total)}));
    }
    return lines;
}

}  // namespace qorvale::search
