#include "app/database_session.h"

#include <algorithm>

#include "app/messages.h"
#include "base/message.h"
#include "pgn/messages.h"
#include "pgn/record_source.h"
#include "platform/folder.h"
#include "search/database_copy.h"
#include "search/messages.h"

namespace qorvale::app {

namespace {

// Results are saved with progress in steps of this many games.
constexpr std::size_t SaveProgressStep = 1000;

}  // namespace

DatabaseSession::DatabaseSession() : chess_(nullptr) {}

Error DatabaseSession::Open(const std::string& dbg_path, Ui& ui) {
    Result<search::Database> opened = search::Database::Open(dbg_path);
    if (!opened) {
        ui.report(opened.error().message());
        return opened.error();
    }
    Close();
    database_.emplace(std::move(opened).value());
    Result<std::vector<std::uint32_t>> saved = search::LoadDbResults(database_->Names());
    if (saved) {
        // Saved results of an older state of the database may name records it no longer has.
        std::erase_if(*saved,
                      [this](std::uint32_t record) { return record >= database_->RecordCount(); });
        found_ = std::move(saved).value();
    }
    return Error::Ok();
}

void DatabaseSession::Close() {
    database_.reset();
    found_.clear();
    shown_.reset();
    lines_.Clear();
    ResetNavigation(navigation_, 0);
}

std::string DatabaseSession::StatusText() const {
    if (!database_) return {};
    return pgn::FillMessage(pgn::DatabaseStatus, platform::NameOf(database_->Names().dbg));
}

int DatabaseSession::Search(Ui& ui) {
    if (!database_) return -1;
    search::DbSearchResult result = database_->Search(criteria_);
    if (!result.error.ok()) {
        ui.report(result.error.message());
        const std::string& message = result.error.message();
        const bool refused = message == search::messages::NothingToSearch ||
                             message == search::messages::AdditionalCriteria ||
                             message == search::messages::InvalidEco;
        if (refused) return -1;
    }
    ProgressCounters counters;
    counters.title = search::messages::SavingResults;
    counters.total = static_cast<std::int64_t>(result.records.size());
    for (std::size_t done = 0; done < result.records.size(); done += SaveProgressStep) {
        counters.current = static_cast<std::int64_t>(done) + 1;
        counters.text =
            FillMessage(search::messages::ResultProgress,
                        {static_cast<int>(counters.current), static_cast<int>(counters.total)});
        ui.progress(counters);
    }
    if (Error error = search::SaveDbResults(database_->Names(), result.records); !error.ok()) {
        ui.report(error.message());
    }
    found_ = std::move(result.records);
    shown_.reset();
    return static_cast<int>(found_.size());
}

std::string DatabaseSession::ListTitle() const {
    return FillMessage(search::messages::SelectGameFrom, {static_cast<int>(found_.size())});
}

DatabaseGameRow DatabaseSession::Row(std::size_t position) const {
    DatabaseGameRow row;
    if (!database_ || position >= found_.size()) return row;
    row.record = found_[position];
    // The record gives the year and where the header lies: it is read once.
    const search::DbGameRecord record = database_->Record(row.record);
    search::HeaderValues values;
    if (!database_->Header(record, values)) return row;
    auto value = [&values](search::HeaderField field) {
        return values[static_cast<std::size_t>(field)];
    };
    row.white = value(search::HeaderField::White);
    row.black = value(search::HeaderField::Black);
    row.year = record.year;
    row.result = value(search::HeaderField::Result);
    return row;
}

Error DatabaseSession::ShowGame(std::size_t position, Ui& ui) {
    if (!database_ || position >= found_.size()) {
        return Error(std::string(pgn::ErrorFindingGame));
    }
    Result<search::DbGame> game = database_->ReadGame(found_[position]);
    if (!game) {
        ui.report(game.error().message());
        return game.error();
    }
    // The game's text, as a copy of it would read, fills the move lines; its header goes through
    // the one header reader.
    bool complete = true;
    const std::string text = search::DatabaseGameText(*game, lines_, chess_, complete);
    pgn::MemoryRecordSource source(text);
    header_.ReadHeader(source, pgn::FirstRecordMode::KeepForMovetext);
    header_.BuildHeaderDisplay();
    if (!complete) ui.report(search::messages::MovesNotReplayed);
    shown_ = position;
    ResetNavigation(navigation_, lines_.ParsedHalfMoves());
    chess_.RestorePosition(0);
    return Error::Ok();
}

bool DatabaseSession::NextGame(Ui& ui) {
    const std::size_t next = shown_ ? *shown_ + 1 : 0;
    return next < found_.size() && ShowGame(next, ui).ok();
}

bool DatabaseSession::PreviousGame(Ui& ui) {
    if (!shown_ || *shown_ == 0) return false;
    return ShowGame(*shown_ - 1, ui).ok();
}

NavigationStep DatabaseSession::Go(NavigationAction action) {
    NavigationStep step = Navigate(navigation_, action);
    if (step.moved) chess_.RestorePosition(navigation_.currentPly);
    return step;
}

NavigationStep DatabaseSession::GoToPly(std::int32_t ply) {
    NavigationStep step;
    ply = std::clamp(ply, 0, navigation_.lastPly);
    if (!shown_ || ply == navigation_.currentPly) return step;
    step.moved = true;
    navigation_.previousPly = navigation_.currentPly;
    navigation_.currentPly = ply;
    chess_.RestorePosition(ply);
    return step;
}

GameTextSource DatabaseSession::TextSource() const {
    // A database game always starts from the initial position.
    return {&lines_.Moves(), shown_ ? lines_.FullMoves() : 0, 0};
}

MoveSquares DatabaseSession::LastMoveSquares() const {
    const int ply = navigation_.currentPly;
    if (!shown_ || ply < 1) return {};
    return MoveSquaresBetween(chess_.PositionHistory(ply - 1), chess_.PositionHistory(ply));
}

const std::string& DatabaseSession::ResultText() const {
    return header_.CurrentHeader().Get(pgn::HeaderField::Result);
}

std::string DatabaseSession::CounterText() const {
    if (!shown_) return {};
    return FillMessage(GameOfCountStatus,
                       {static_cast<int>(*shown_) + 1, static_cast<int>(found_.size())});
}

search::CopyOutcome DatabaseSession::CopyFound(const std::string& target, bool append,
                                               const std::string& current, Ui& ui) const {
    if (!database_)
        return search::CopyOutcome{false, std::string(search::messages::NoDatabaseGames)};
    return search::CopyDatabaseGames(*database_, found_, target, append, current, ui);
}

search::CopyOutcome DatabaseSession::CopyShownToBuffer(const std::string& buffer_path) const {
    if (!database_ || !shown_) {
        return search::CopyOutcome{false, std::string(search::messages::NoDatabaseGames)};
    }
    return search::CopyDatabaseGameToBuffer(*database_, found_[*shown_], buffer_path);
}

}  // namespace qorvale::app
