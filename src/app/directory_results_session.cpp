#include "app/directory_results_session.h"

#include <algorithm>
#include <map>

#include "app/file_opener.h"
#include "base/message.h"
#include "search/messages.h"

namespace qorvale::app {

bool DirectoryResultsSession::Load(const std::string& results_path, Ui& ui) {
    Result<search::DirectoryResults> read = search::ReadDirectoryResults(results_path);
    if (!read) {
        ui.report(read.error().message());
        return false;
    }
    results_ = std::move(read).value();
    if (results_.over_limit) {
        ui.report(FillMessage(search::messages::MaximumSearchFiles, {search::MaxResultFiles}));
    }
    if (results_.damaged) ui.report(search::messages::InvalidSearchFile);
    return true;
}

std::vector<std::string> DirectoryResultsSession::Lines() const {
    std::vector<std::string> lines;
    for (const search::DirectoryFileResult& file : results_.files) {
        lines.push_back(search::ResultFileLine(file));
    }
    return lines;
}

std::optional<std::string> DirectoryResultsSession::TotalLine() const {
    if (results_.files.size() < 2) return std::nullopt;
    long long total = 0;
    for (const search::DirectoryFileResult& file : results_.files) total += file.games.size();
    return FillMessage(search::messages::TotalGames, {static_cast<int>(total)});
}

std::optional<DirectoryResultsSession::Choice> DirectoryResultsSession::Choose(int index,
                                                                               Ui& ui) const {
    if (index < 0 || static_cast<std::size_t>(index) >= results_.files.size()) {
        ui.report(search::messages::SelectFileFirst);
        return std::nullopt;
    }
    const search::DirectoryFileResult& file = results_.files[static_cast<std::size_t>(index)];
    Choice choice;
    choice.pgn_path = search::DirectoryGameFilePath(results_.header.folder, file.stem);
    search::SearchList& list = choice.list;
    list.Clear();
    const bool half_moves = !file.half_moves.empty();
    for (std::size_t n = 0; n < file.games.size(); ++n) {
        list.Add(file.games[n], 0, half_moves ? file.half_moves[n] : 0);
    }
    list.SetHasHalfMoves(half_moves);
    list.SetMatchedLineLength(static_cast<int>(file.line_length));
    list.RestoreCounts(static_cast<int>(file.white_wins), static_cast<int>(file.black_wins),
                       file.class3, file.class4);
    return choice;
}

Error DirectoryResultsSession::OpenChoice(int index, pgn::PgnFile& file, search::SearchList& list,
                                          NavigationList& navigation, Ui& ui) const {
    std::optional<Choice> choice = Choose(index, ui);
    if (!choice) return Error(std::string(search::messages::SelectFileFirst));
    OpenRequest request;
    request.path = choice->pgn_path;
    if (Error error = OpenGameFile(file, request, ui); !error.ok()) return error;

    list = KeptGames(choice->list, file.GameCount());
    std::vector<std::int32_t> numbers;
    for (const search::FoundGame& game : list.Games()) numbers.push_back(game.game_number);
    navigation.SetSearchList(std::move(numbers));
    return Error::Ok();
}

search::SearchList KeptGames(const search::SearchList& list, std::int32_t game_count) {
    std::map<std::int32_t, search::FoundGame> kept;
    for (const search::FoundGame& game : list.Games()) {
        if (game.game_number >= 1 && game.game_number <= game_count) {
            kept.emplace(game.game_number, game);
        }
    }
    search::SearchList result;
    for (const auto& [number, game] : kept) result.Add(number, 0, game.half_move);
    result.SetHasHalfMoves(list.HasHalfMoves());
    result.SetMatchedLineLength(list.MatchedLineLength());
    result.RestoreCounts(list.ClassCount(1), list.ClassCount(2), list.ClassCount(3),
                         list.ClassCount(4));
    return result;
}

}  // namespace qorvale::app
