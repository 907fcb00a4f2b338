#include "app/duplicate_check.h"

#include <algorithm>

#include "platform/file.h"
#include "search/fast_file.h"
#include "search/text_game_reader.h"
#include "utilities/messages.h"

namespace qorvale::app {

namespace msg = utilities::messages;

namespace {

constexpr std::int32_t EntireFileBit = 1;
constexpr std::int32_t CheckNamesBit = 2;
// Without a fast file, files from this many games on are worth one first.
constexpr std::int32_t FastFileAdvisedGames = 1000;
constexpr std::int32_t FastFileAdvisedGamesEntireFile = 500;

}  // namespace

utilities::DuplicateSettings DuplicateSettingsFrom(const OptionsRecord& options) {
    const auto& words = options.DuplicateSettings;
    if (words[0] == 0) return utilities::DuplicateSettings::Defaults();
    utilities::DuplicateSettings settings;
    settings.look_ahead = words[0];
    settings.max_move_difference = words[1];
    settings.entire_file = (words[2] & EntireFileBit) != 0;
    settings.check_names = (words[2] & CheckNamesBit) != 0;
    return settings;
}

void StoreDuplicateSettings(const utilities::DuplicateSettings& settings, OptionsRecord& options) {
    options.DuplicateSettings = {
        settings.look_ahead, settings.max_move_difference,
        (settings.entire_file ? EntireFileBit : 0) | (settings.check_names ? CheckNamesBit : 0)};
}

DuplicateCheck::Identity DuplicateCheck::IdentityOf(const pgn::PgnFile& file) {
    return {file.CurrentPath(), file.GameCount(), platform::FileSize(file.CurrentPath()),
            utilities::DuplicateSource::PgnFile};
}

DuplicateCheck::Begin DuplicateCheck::Start(utilities::Worker& worker, const pgn::PgnFile& file,
                                            const utilities::DuplicateSettings& settings, Ui& ui,
                                            bool text_only) {
    const Identity identity = IdentityOf(file);
    if (remembered_ && *remembered_ == identity && result_ && ui.ask(msg::UseActiveCheckFile)) {
        return Begin::Remembered;
    }
    const std::int32_t count = file.GameCount();
    const std::string& path = file.CurrentPath();
    utilities::DuplicateRequest request;
    request.settings = settings;
    search::FastFileNames names = search::FastFileNamesOf(path);
    // Loading the move file tells whether it is current: its record count must be the file's.
    if (text_only || !platform::FileExists(names.trf)) {
        std::int32_t advised =
            settings.entire_file ? FastFileAdvisedGamesEntireFile : FastFileAdvisedGames;
        if (!text_only && count >= advised) {
            ui.report(msg::FasterWithFastFile);
            if (!ui.ask(msg::ContinueWithoutFastFileMissing)) return Begin::Declined;
        }
    } else {
        qorvale::Result<utilities::DuplicateGames> loaded = utilities::LoadMoveFileGames(
            names.trf, count, settings.check_names ? names.trh : std::string(), ui);
        if (loaded) {
            request.games = std::make_shared<const utilities::DuplicateGames>(std::move(*loaded));
        } else if (loaded.error().message() == msg::MakeFastFileAgain) {
            ui.report(loaded.error().message());
            if (!ui.ask(msg::ContinueWithoutFastFileStale)) return Begin::Declined;
        } else {
            ui.report(loaded.error().message());
            return Begin::Declined;
        }
    }
    if (request.games) {
        if (!ui.ask(utilities::Formatted(msg::GamesContinue, count))) return Begin::Declined;
    } else {
        std::string question = settings.check_names
                                   ? std::string(msg::CheckNamesNeedsFastFile)
                                   : utilities::Formatted(msg::GamesContinue, count);
        if (!ui.ask(question)) return Begin::Declined;
        request.pgn_path = path;
        request.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    }
    auto result = std::make_shared<utilities::DuplicateResult>();
    if (utilities::StartFindDuplicates(worker, std::move(request), result)) {
        return Begin::Declined;
    }
    result_ = std::move(result);
    running_ = identity;
    remembered_.reset();
    return Begin::Started;
}

void DuplicateCheck::Finished() {
    if (result_ && !result_->cancelled && result_->error.ok() && !result_->duplicates.empty()) {
        remembered_ = running_;
    }
}

Error DuplicateCheck::FindCurrentGameDuplicates(const pgn::PgnFile& file,
                                                const chess::MainLineMoves& moves, int full_moves,
                                                const utilities::DuplicateSettings& settings) {
    qorvale::Result<utilities::DuplicateGames> games =
        utilities::ReadTextGames(file.CurrentPath(), file.Index().Offsets(), {});
    if (!games) return games.error();
    result_ = std::make_shared<utilities::DuplicateResult>(utilities::FindDuplicatesOfGame(
        *games, moves, full_moves, file.CurrentGameNumber(), settings));
    remembered_.reset();
    return Error::Ok();
}

std::string DuplicateCheck::Title() const {
    return result_ ? utilities::DuplicateTitle(*result_) : std::string();
}

std::vector<std::string> DuplicateCheck::Lines() const {
    return result_ ? utilities::DuplicateLines(*result_) : std::vector<std::string>();
}

search::SearchList DuplicateCheck::ViewList() const {
    search::SearchList list;
    if (!result_) return list;
    std::vector<std::int32_t> games = result_->duplicates;
    std::sort(games.begin(), games.end());
    for (std::int32_t game : games) list.Add(game, 0);
    return list;
}

bool DuplicateCheck::Delete(const pgn::PgnFile& file, Ui& ui, platform::FileSystem& file_system) {
    if (!result_ || result_->duplicates.empty() || !ui.ask(msg::ConfirmDeleteDuplicates)) {
        return false;
    }
    Error error = utilities::DeleteGamesFromFile(
        file.CurrentPath(), {file.Index().Offsets().begin(), file.Index().Offsets().end()},
        file.Index().Full(), result_->duplicates, ui, file_system);
    if (error) {
        ui.report(error.message());
        return false;
    }
    ui.report(msg::DuplicatesDeleted);
    Forget();
    return true;
}

void DuplicateCheck::Forget() {
    result_.reset();
    remembered_.reset();
}

}  // namespace qorvale::app
