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

    // A results file may be older than the file: keep each game it can still name, once, in
    // ascending order.
    const std::int32_t count = file.GameCount();
    std::map<std::int32_t, search::FoundGame> kept;
    for (const search::FoundGame& game : choice->list.Games()) {
        if (game.game_number >= 1 && game.game_number <= count) {
            kept.emplace(game.game_number, game);
        }
    }
    list = choice->list;
    const int class3 = list.ClassCount(3);
    const int class4 = list.ClassCount(4);
    const int white = list.ClassCount(1);
    const int black = list.ClassCount(2);
    const bool half_moves = list.HasHalfMoves();
    const int line_length = list.MatchedLineLength();
    list.Clear();
    std::vector<std::int32_t> numbers;
    for (const auto& [number, game] : kept) {
        list.Add(number, 0, game.half_move);
        numbers.push_back(number);
    }
    list.SetHasHalfMoves(half_moves);
    list.SetMatchedLineLength(line_length);
    list.RestoreCounts(white, black, class3, class4);
    navigation.SetSearchList(std::move(numbers));
    return Error::Ok();
}

}  // namespace qorvale::app
