#include "app/line_mode.h"

#include <algorithm>

#include "openings/messages.h"
#include "openings/next_moves.h"
#include "openings/tree_list.h"

namespace qorvale::app {

bool FindOpeningAllowed(LineMode mode) {
    return mode == LineMode::VariationEdit || mode == LineMode::Analyze;
}

int BoardLine::StartFrom(const chess::MainLineMoves& moves, int half_moves) {
    position_.Reset();
    for (int i = 0; i < half_moves && i < chess::MaxHalfMoves; ++i) {
        const auto full = static_cast<std::size_t>(i / 2);
        const chess::MoveText& text = i % 2 == 0 ? moves.WhiteMoves[full] : moves.BlackMoves[full];
        if (text.empty() || !position_.PlayText(text.view())) break;
    }
    return position_.HalfMoves();
}

bool BoardLine::Room(Ui& ui) const {
    if (mode_ == LineMode::EcoEdit && position_.HalfMoves() >= openings::MaxEcoHalfMoves) {
        ui.report(openings::messages::EcoLineTooLong);
        return false;
    }
    return true;
}

bool BoardLine::PlaySquares(int from, int to, int promotion_flags, Ui& ui) {
    return Room(ui) && position_.PlayCode(openings::MoveCodeOf(from, to, promotion_flags));
}

bool BoardLine::PlayText(std::string_view text, Ui& ui) {
    return Room(ui) && position_.PlayText(text);
}

bool BoardLine::TakeBack() {
    if (position_.HalfMoves() == 0) return false;
    position_.Truncate(position_.HalfMoves() - 1);
    return true;
}

openings::OpeningGame BoardLine::Game() const {
    return openings::OpeningGame(position_.Moves(), position_.HalfMoves());
}

std::string BoardLine::OpeningName(const openings::EcoTable& table) const {
    return openings::OpeningDisplayText(table, Game(), {}, position_.HalfMoves());
}

std::int32_t BoardLine::FindOpening(const openings::EcoTable& table, openings::FindOpeningMode find,
                                    Ui& ui) const {
    return openings::FindOpeningCommand(table, Game(), find, position_.HalfMoves(),
                                        FindOpeningAllowed(mode_), ui);
}

Error NextMovesSession::Start(const openings::TreeSourceRequest& source,
                              const openings::LinePosition& line, bool maneuvers,
                              const openings::TreeOptions& options, Ui& ui) {
    rows_.clear();
    Result<std::unique_ptr<openings::TreeSource>> opened = openings::TreeSource::Open(source);
    if (!opened) {
        ui.report(opened.error().message());
        return opened.error();
    }
    source_ = std::move(opened).value();
    options_ = options;
    maneuvers_ = maneuvers;
    line_.Reset();
    for (search::MoveCode code : line.Codes()) (void)line_.PlayCode(code);
    start_moves_ = line_.HalfMoves();
    return Scan(ui);
}

Error NextMovesSession::Scan(Ui& ui) {
    rows_.clear();
    openings::ScanSettings settings;
    settings.exact = options_.exact_variations;
    settings.look_ahead = maneuvers_ ? std::max(options_.maneuver_look_ahead, 1) : 0;
    openings::NextMoveScan scan(line_.Codes(), settings);
    if (Error error = source_->Scan(scan, 0, ui)) {
        ui.report(error.message());
        return error;
    }
    openings::NameNextMoves(scan.Moves(), line_);
    openings::TreeListStyle style;
    style.sort = static_cast<openings::TreeSort>(std::clamp(options_.sort_mode, 0, 3));
    style.show_percentage = options_.show_percentage;
    style.show_score = options_.show_score;
    style.maneuvers = maneuvers_;
    style.depth = line_.HalfMoves() + 1;
    rows_ = MakeTreeRows(scan.Moves(), style, ui);
    if (rows_.empty()) ui.report(openings::messages::EndOfBranch);
    return Error::Ok();
}

bool NextMovesSession::Choose(int row, Ui& ui) {
    if (maneuvers_ || !source_ || row < 0 || row >= static_cast<int>(rows_.size())) return false;
    if (!line_.PlayCode(rows_[static_cast<std::size_t>(row)].move.code)) return false;
    return Scan(ui).ok();
}

bool NextMovesSession::StepBack(Ui& ui) {
    if (!source_ || line_.HalfMoves() <= start_moves_) return false;
    line_.Truncate(line_.HalfMoves() - 1);
    return Scan(ui).ok();
}

}  // namespace qorvale::app
