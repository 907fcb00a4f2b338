#include "search/directory_search.h"

#include <algorithm>
#include <set>

#include "base/bytes.h"
#include "base/message.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "platform/staged_file.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/messages.h"
#include "search/position_search.h"
#include "search/search_list.h"
#include "search/variation_search.h"

namespace qorvale::search {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessNoCase(const std::string& a, const std::string& b) {
    const std::size_t length = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        const char x = Lower(a[i]);
        const char y = Lower(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

// The cheap test of a fast file being current: both files there and the header file's stored
// count equal to the game count. Reading the files whole to check them would cost as much as
// the search itself.
bool FastFileCountMatches(const std::string& pgn_path, std::int32_t game_count) {
    const FastFileNames names = FastFileNamesOf(pgn_path);
    if (!platform::FileExists(names.trf)) return false;
    platform::File header = platform::File::Open(names.trh, platform::File::Mode::Read);
    std::uint8_t count[4];
    return header.IsOpen() && header.Read(count, 4) == 4 &&
           GetU32(count) == static_cast<std::uint32_t>(game_count);
}

// Scans without questions or warnings of its own: the folder search says what it skips.
class ScanUi final : public Ui {
  public:
    void report(std::string_view) override {}
    bool ask(std::string_view) override { return false; }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}
};

bool OpenAndScan(pgn::PgnFile& file, const std::string& path) {
    file.SetRewrapAllowed(false);
    if (!file.Open(path).ok()) return false;
    ScanUi quiet;
    file.ScanGameFile(false, quiet);
    return file.IsOpen();
}

// Runs the request's search on one file into `list`; false when the search refused.
bool SearchOneFile(const DirectorySearchRequest& request, const pgn::PgnFile& file,
                   SearchList& list, Ui& ui) {
    SearchSource source;
    source.pgn_path = file.CurrentPath();
    source.offsets = file.Index().Offsets();
    source.game_count = file.GameCount();
    source.use_fast_file = FastFileCountMatches(source.pgn_path, source.game_count);
    source.background = true;
    // The request holds the combination as its results file stores it.
    const auto combination = static_cast<Combination>(request.combination & 3u);
    switch (request.kind) {
        case DirectorySearchKind::Variation:
            return SearchVariation(source, request.criteria,
                                   HasPosition(combination) ? Combination::WithVariationAndPosition
                                                            : Combination::WithVariation,
                                   list, ui) >= 0;
        case DirectorySearchKind::Position:
            return SearchPosition(source, request.criteria, list, ui) >= 0;
        case DirectorySearchKind::Header:
            return SearchHeader(source, request.criteria, combination, list, ui) >= 0;
    }
    return false;
}

// The criteria a search of any file would refuse, said once before the first file.
std::string Refusal(const DirectorySearchRequest& request) {
    if (request.kind == DirectorySearchKind::Header &&
        request.criteria.header.Get(HeaderCriterion::Eco) == "*") {
        return std::string(messages::EcoDiffCombination);
    }
    const bool uses_line = request.kind == DirectorySearchKind::Variation ||
                           (request.kind == DirectorySearchKind::Header &&
                            (request.combination == 1 || request.combination == 3));
    if (uses_line) {
        Result<SearchLine> line = BuildSearchLine(request.criteria.line);
        if (!line) return line.error().message();
    }
    return {};
}

}  // namespace

std::vector<DirectoryFile> ListDirectoryFiles(const std::string& folder) {
    std::vector<DirectoryFile> files;
    std::size_t buffer_used = 0;
    for (const std::string& name : platform::ListFolder(folder, "*.pgn")) {
        const std::size_t dot = name.find('.');
        // "a.b.pgn" has the stem "a", under which the file could not be found again.
        if (dot == 0 || dot + 4 != name.size()) continue;
        const std::string stem = name.substr(0, dot);
        if (static_cast<int>(files.size()) >= MaxDirectoryFiles ||
            buffer_used + stem.size() + 1 > DirectoryNameBuffer) {
            break;
        }
        buffer_used += stem.size() + 1;
        files.push_back({stem, name});
    }
    std::stable_sort(
        files.begin(), files.end(),
        [](const DirectoryFile& a, const DirectoryFile& b) { return LessNoCase(a.stem, b.stem); });
    return files;
}

DirectorySearchSummary SearchDirectory(const DirectorySearchRequest& request,
                                       const DirectorySearchControl& control, Ui& ui,
                                       platform::FileSystem& file_system) {
    DirectorySearchSummary summary;
    summary.message = Refusal(request);
    if (!summary.message.empty()) return summary;
    const std::vector<DirectoryFile> files = ListDirectoryFiles(request.folder);
    summary.files_listed = static_cast<int>(files.size());
    if (files.empty()) {
        summary.message = messages::NoFilesFound;
        return summary;
    }

    DirectoryResultsHeader header;
    header.folder = request.folder;
    header.kind = request.kind;
    header.combination = request.combination;
    header.criteria = request.criteria;
    const bool half_moves = ResultsHaveHalfMoves(request.kind, request.combination);
    std::vector<std::uint8_t> records;
    pgn::PgnFile file;
    SearchList list;
    for (std::size_t index = 0; index < files.size(); ++index) {
        // A cancel ends the search after the file in work, so it is asked after each file.
        if (index > 0 && control.cancelled && control.cancelled()) {
            summary.cancelled = true;
            break;
        }
        const DirectoryFile& entry = files[index];
        if (control.progress) {
            control.progress(static_cast<int>(index), summary.games_found,
                             static_cast<int>(files.size()), entry.stem);
        }
        if (entry.stem.size() >= MaxStemBytes) {
            ui.report(FillMessage(messages::FilenameTooLong, {entry.stem}));
            continue;
        }
        if (!OpenAndScan(file, platform::JoinPath(request.folder, entry.name))) continue;
        if (file.LastScan().limit_reached) {
            ui.report(messages::TooManyGames);
            continue;
        }
        list.Clear();
        if (!SearchOneFile(request, file, list, ui)) {
            summary.message = messages::NoMatchesFound;
            return summary;
        }
        if (list.Count() == 0) continue;
        if (summary.files_with_matches == 0) header.line_length = list.MatchedLineLength();
        ++summary.files_with_matches;
        summary.games_found += list.Count();
        DirectoryFileResult result;
        result.stem = entry.stem;
        result.white_wins = static_cast<std::uint32_t>(list.ClassCount(1));
        result.black_wins = static_cast<std::uint32_t>(list.ClassCount(2));
        result.line_length = static_cast<std::uint32_t>(list.MatchedLineLength());
        result.class3 = list.ClassCount(3);
        result.class4 = list.ClassCount(4);
        for (const FoundGame& game : list.Games()) {
            result.games.push_back(game.game_number);
            if (half_moves) result.half_moves.push_back(game.half_move);
        }
        AppendFileRecord(records, header, result);
    }
    if (summary.files_with_matches == 0) {
        summary.message = messages::NoMatchesFound;
        return summary;
    }

    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() + 8192);
    AppendResultsHeader(bytes, header);
    bytes.insert(bytes.end(), records.begin(), records.end());
    AppendResultsEndMark(bytes);
    if (!platform::ReplaceFileContents(file_system, request.results_path, bytes.data(),
                                       static_cast<std::int64_t>(bytes.size()))) {
        summary.message = messages::ErrorOpeningFile;
        return summary;
    }
    summary.results_written = true;
    return summary;
}

bool AppendGameText(platform::File& file, std::span<const std::uint32_t> offsets,
                    std::int32_t game_number, std::string& out) {
    if (game_number < 1 || static_cast<std::size_t>(game_number) > offsets.size()) return false;
    const std::int64_t start = offsets[static_cast<std::size_t>(game_number - 1)];
    const std::int64_t end = static_cast<std::size_t>(game_number) < offsets.size()
                                 ? offsets[static_cast<std::size_t>(game_number)]
                                 : file.Size();
    if (end < start || !file.Seek(start)) return false;
    std::string text(static_cast<std::size_t>(end - start), '\0');
    if (!text.empty() && file.Read(text.data(), static_cast<std::int64_t>(text.size())) !=
                             static_cast<std::int64_t>(text.size())) {
        return false;
    }
    out.reserve(out.size() + text.size() + text.size() / 32 + 2);
    char previous = '\0';
    for (char c : text) {
        if (c == '\n' && previous != '\r') out += '\r';
        out += c;
        previous = c;
    }
    if (!text.empty() && previous != '\n') out += "\r\n";
    return true;
}

CopyOutcome CopyDirectoryGames(const DirectoryCopyRequest& request, Ui& ui,
                               platform::FileSystem& file_system) {
    Result<DirectoryResults> results = ReadDirectoryResults(request.results_path);
    if (!results) return CopyOutcome{false, std::string(messages::DirectorySearchFirst)};
    CopyOutcome outcome;
    std::unique_ptr<CopyTargetFile> target = CopyTargetFile::Open(
        request.target, request.append, request.current_file, ui, file_system, outcome);
    if (!target) return outcome;

    pgn::PgnFile file;
    std::string text;
    for (const DirectoryFileResult& record : results->files) {
        if (!OpenAndScan(file, DirectoryGameFilePath(results->header.folder, record.stem))) {
            continue;
        }
        const std::set<std::int32_t> games(record.games.begin(), record.games.end());
        for (std::int32_t game : games) {
            text.clear();
            if (!AppendGameText(file.GameFileHandle(), file.Index().Offsets(), game, text)) {
                continue;
            }
            if (!target->Write(text))
                return CopyOutcome{false, std::string(messages::ErrorCreatingNewFile)};
        }
    }
    return target->Commit();
}

}  // namespace qorvale::search
