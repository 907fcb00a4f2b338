// The directory search against the single-file searches it is made of, over real games split
// into files of different sizes (one without a fast file, one with a stale one); the results
// file read back by fixed offsets; files without format flags; the .dir round trip; the copy.
#include "search/directory_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/directory_results.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/messages.h"
#include "search/pgn_game_source.h"
#include "search/position_search.h"
#include "search/variation_search.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::TempDir;

// Game `index` (0-based) of a scanned file as its bytes.
std::string GameBytes(const std::string& text, std::span<const std::uint32_t> offsets,
                      std::size_t index) {
    const std::size_t end = index + 1 < offsets.size() ? offsets[index + 1] : text.size();
    return text.substr(offsets[index], end - offsets[index]);
}

void MakeFastFileFor(const std::string& path) {
    pgn::PgnFile file;
    test::RecordingUi ui;
    ASSERT_TRUE(file.Open(path).ok());
    const std::int32_t count = file.ScanGameFile(false, ui);
    const auto offsets = file.Index().Offsets();
    PgnGameSource games(path, {offsets.begin(), offsets.end()});
    ASSERT_TRUE(games.Open().ok());
    MakeFastFile(path, count, games, {});
}

// tests/data/chess/games.pgn cut into five files of 40, 160, 300, 500 and the rest of the games,
// named so that their sorted order differs from their order by letter case. "beta" has no fast
// file; "Delta" has one made before a game of another collection was appended.
struct SplitFolder {
    TempDir dir;
    std::vector<std::string> stems = {"alpha", "Beta", "charlie", "Delta", "echo"};

    SplitFolder() {
        const std::string path = test::TestDataPath("chess/games.pgn");
        const std::string text = test::ReadWholeFile(path);
        pgn::PgnFile file;
        test::RecordingUi ui;
        EXPECT_TRUE(file.Open(path).ok());
        file.ScanGameFile(false, ui);
        const auto offsets = file.Index().Offsets();
        const std::size_t cuts[] = {0, 40, 200, 500, 1000, offsets.size()};
        for (std::size_t part = 0; part < stems.size(); ++part) {
            std::string games;
            for (std::size_t game = cuts[part]; game < cuts[part + 1]; ++game) {
                games += GameBytes(text, offsets, game);
            }
            const std::string name = stems[part] + (part == 2 ? ".PGN" : ".pgn");
            dir.Write(name, games);
            if (stems[part] != "Beta") MakeFastFileFor(dir.File(name));
        }
        // A Stein game appended after the fast file: only the text path can find it.
        const std::string stein = test::ReadWholeFile(test::TestDataPath("search/players.pgn"));
        const std::string delta = test::ReadWholeFile(dir.File("Delta.pgn"));
        dir.Write("Delta.pgn", delta + stein.substr(0, stein.find("[Event", 10)));
        dir.Write("notes.txt", "not a game file");
    }
};

struct Criteria {
    const char* name;
    DirectorySearchKind kind;
    std::uint32_t combination;
    const char* white;
    const char* black;
    const char* line;
    const char* position;
};

SearchCriteria CriteriaOf(const Criteria& row) {
    SearchCriteria criteria;
    if (row.white) criteria.header.Set(HeaderCriterion::White, row.white);
    if (row.black) criteria.header.Set(HeaderCriterion::Black, row.black);
    if (row.line) criteria.line = ParseSearchLine(row.line).value();
    if (row.position) {
        EXPECT_TRUE(ParsePositionText(row.position, criteria.position).ok());
    }
    return criteria;
}

// The same search on one file, as the window runs it on the open file.
SearchList SearchOne(const std::string& path, const Criteria& row, const SearchCriteria& criteria) {
    pgn::PgnFile file;
    test::RecordingUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    SearchSource source;
    source.pgn_path = path;
    source.game_count = file.ScanGameFile(false, ui);
    source.offsets = file.Index().Offsets();
    source.use_fast_file = FastFileStateOf(path, source.game_count) == FastFileState::Current;
    SearchList list;
    switch (row.kind) {
        case DirectorySearchKind::Header:
            SearchHeader(source, criteria, static_cast<Combination>(row.combination), list, ui);
            break;
        case DirectorySearchKind::Variation:
            SearchVariation(source, criteria, static_cast<Combination>(row.combination), list, ui);
            break;
        case DirectorySearchKind::Position:
            SearchPosition(source, criteria, list, ui);
            break;
    }
    return list;
}

TEST(DirectorySearch, ResultsAreTheSingleFileSearchesFileByFile) {
    const SplitFolder folder;
    const Criteria rows[] = {
        {"player", DirectorySearchKind::Header, 0, "Stein", nullptr, nullptr, nullptr},
        {"either colour", DirectorySearchKind::Header, 0, "Kasparov", "*", nullptr, nullptr},
        {"header and position", DirectorySearchKind::Header, 2, "K", nullptr, nullptr,
         "W:Kg1 B:Kg8"},
        {"line", DirectorySearchKind::Variation, 1, nullptr, nullptr, "1.e4 c5 2.Nf3", nullptr},
        {"line and position", DirectorySearchKind::Variation, 3, nullptr, nullptr, "1.d4 Nf6",
         "B:Bg7"},
        {"position", DirectorySearchKind::Position, 0, nullptr, nullptr, nullptr,
         "W:Kc1,Rd1 B:Kg8"},
    };
    for (const Criteria& row : rows) {
        SCOPED_TRACE(row.name);
        DirectorySearchRequest request;
        request.folder = folder.dir.path();
        request.results_path = folder.dir.File("searchqq.xyz");
        request.kind = row.kind;
        request.combination = row.combination;
        request.criteria = CriteriaOf(row);
        test::RecordingUi ui;
        const DirectorySearchSummary summary = SearchDirectory(request, {}, ui);
        ASSERT_TRUE(summary.results_written) << summary.message;
        EXPECT_EQ(summary.files_listed, 5);
        Result<DirectoryResults> results = ReadDirectoryResults(request.results_path);
        ASSERT_TRUE(results);
        EXPECT_FALSE(results->damaged);

        std::vector<std::string> expected_stems;
        std::int64_t total = 0;
        for (const std::string& stem : folder.stems) {
            const std::string path = DirectoryGameFilePath(folder.dir.path(), stem);
            const SearchList one = SearchOne(path, row, request.criteria);
            auto record =
                std::find_if(results->files.begin(), results->files.end(),
                             [&](const DirectoryFileResult& file) { return file.stem == stem; });
            if (one.Count() == 0) {
                EXPECT_EQ(record, results->files.end()) << stem;
                continue;
            }
            expected_stems.push_back(stem);
            total += one.Count();
            ASSERT_NE(record, results->files.end()) << stem;
            std::vector<std::int32_t> games;
            std::vector<std::int32_t> plies;
            for (const FoundGame& game : one.Games()) {
                games.push_back(game.game_number);
                if (ResultsHaveHalfMoves(row.kind, row.combination))
                    plies.push_back(game.half_move);
            }
            EXPECT_EQ(record->games, games) << stem;
            EXPECT_EQ(record->half_moves, plies) << stem;
            EXPECT_EQ(record->white_wins, static_cast<std::uint32_t>(one.ClassCount(1)));
            EXPECT_EQ(record->black_wins, static_cast<std::uint32_t>(one.ClassCount(2)));
            EXPECT_EQ(record->class3, one.ClassCount(3));
            EXPECT_EQ(record->line_length, static_cast<std::uint32_t>(one.MatchedLineLength()));
        }
        // Search order: the stems sorted without regard to case.
        std::vector<std::string> stems;
        for (const DirectoryFileResult& file : results->files) stems.push_back(file.stem);
        EXPECT_EQ(stems, expected_stems);
        EXPECT_EQ(summary.games_found, total);
    }
}

TEST(DirectorySearch, StaleFastFileIsPassedOverForTheText) {
    const SplitFolder folder;
    DirectorySearchRequest request;
    request.folder = folder.dir.path();
    request.results_path = folder.dir.File("searchqq.xyz");
    request.criteria.header.Set(HeaderCriterion::White, "Stein, Leonid");
    test::RecordingUi ui;
    ASSERT_TRUE(SearchDirectory(request, {}, ui).results_written);
    Result<DirectoryResults> results = ReadDirectoryResults(request.results_path);
    ASSERT_TRUE(results);
    auto delta = std::find_if(results->files.begin(), results->files.end(),
                              [](const DirectoryFileResult& file) { return file.stem == "Delta"; });
    ASSERT_NE(delta, results->files.end());
    EXPECT_EQ(delta->games.back(), 501);
}

// The layout read with fixed offsets, not with the reader under test.
TEST(DirectorySearch, ResultsFileLayoutFieldByField) {
    const SplitFolder folder;
    DirectorySearchRequest request;
    request.folder = folder.dir.path();
    request.results_path = folder.dir.File("searchqq.xyz");
    request.kind = DirectorySearchKind::Position;
    ASSERT_TRUE(ParsePositionText("W:Kc1,Rd1 B:Kg8", request.criteria.position).ok());
    test::RecordingUi ui;
    ASSERT_TRUE(SearchDirectory(request, {}, ui).results_written);
    const std::string text = test::ReadWholeFile(request.results_path);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(std::string(text.c_str()), folder.dir.path());
    EXPECT_EQ(GetU32(bytes + 200), 2u);
    EXPECT_EQ(GetU32(bytes + 204), 0u);
    EXPECT_EQ(GetU32(bytes + 208), 0xF0000000u);
    EXPECT_EQ(text.substr(212, 3), "Kc1");
    EXPECT_EQ(text.substr(212 + 320, 3), "Kg8");
    std::size_t at = 212 + 640;
    for (const std::string& stem : folder.stems) {
        const SearchList one =
            SearchOne(DirectoryGameFilePath(folder.dir.path(), stem),
                      {"", DirectorySearchKind::Position, 0, nullptr, nullptr, nullptr, nullptr},
                      request.criteria);
        if (one.Count() == 0) continue;
        SCOPED_TRACE(stem);
        EXPECT_EQ(std::string(text.c_str() + at), stem);
        const std::uint32_t count = GetU32(bytes + at + 56);
        ASSERT_EQ(count, static_cast<std::uint32_t>(one.Count()));
        EXPECT_EQ(GetU32(bytes + at + 60), static_cast<std::uint32_t>(one.ClassCount(1)));
        EXPECT_EQ(GetU32(bytes + at + 64), static_cast<std::uint32_t>(one.ClassCount(2)));
        EXPECT_EQ(GetU32(bytes + at + 76), static_cast<std::uint32_t>(one.ClassCount(4)));
        for (std::uint32_t n = 0; n < count; ++n) {
            EXPECT_EQ(GetU32(bytes + at + 80 + 4 * n),
                      static_cast<std::uint32_t>(one.Games()[n].game_number));
            EXPECT_EQ(GetU32(bytes + at + 80 + 4 * (count + n)),
                      static_cast<std::uint32_t>(one.Games()[n].half_move));
        }
        at += 80 + 8 * count;
    }
    EXPECT_EQ(text.substr(at), std::string(8, '\0'));
}

// Hand-made files as older writers left them: each format flag adds its fields.
TEST(DirectorySearch, ReadsResultsFilesWithFewerFormatFlags) {
    struct Row {
        const char* name;
        std::uint32_t flags;
        int header_fields;
        int extra_words;  // after the count
    };
    const Row rows[] = {
        {"no flags: name and count, nine header fields", 0, 9, 0},
        {"win counts", 0x80000000, 9, 2},
        {"win counts and line length", 0xC0000000, 9, 3},
        {"win counts and classes", 0xA0000000, 9, 4},
        {"all flags", 0xF0000000, 11, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::uint8_t> bytes;
        AppendFixedText(bytes, "C:\\games", 200);
        AppendU32(bytes, 3);
        AppendU32(bytes, 0);
        AppendU32(bytes, row.flags | 7);
        for (int field = 0; field < row.header_fields; ++field) {
            AppendFixedText(bytes, field == 4 ? "Stein" : field == 8 ? ">20" : "", 80);
        }
        for (const char* stem : {"first", "second"}) {
            AppendFixedText(bytes, stem, 56);
            AppendU32(bytes, 2);
            for (int word = 0; word < row.extra_words; ++word) AppendU32(bytes, 10 + word);
            AppendU32(bytes, 4);
            AppendU32(bytes, 9);
        }
        bytes.insert(bytes.end(), 8, 0);
        Result<DirectoryResults> results = ParseDirectoryResults(bytes);
        ASSERT_TRUE(results) << results.error().message();
        EXPECT_FALSE(results->damaged);
        EXPECT_EQ(results->header.line_length, row.flags == 0 ? 7u : 7u);
        EXPECT_EQ(results->header.criteria.header.Get(HeaderCriterion::White), "Stein");
        EXPECT_EQ(results->header.criteria.header.Get(HeaderCriterion::NumberOfMoves), ">20");
        ASSERT_EQ(results->files.size(), 2u);
        EXPECT_EQ(results->files[1].stem, "second");
        EXPECT_EQ(results->files[1].games, (std::vector<std::int32_t>{4, 9}));
        EXPECT_EQ(results->files[1].white_wins, row.extra_words >= 2 ? 10u : 0u);
        EXPECT_EQ(results->files[1].line_length,
                  row.extra_words == 3 || row.extra_words == 5 ? 12u : 0u);
    }
}

TEST(DirectorySearch, DirFileRoundTripRestoresTheCriteria) {
    const SplitFolder folder;
    DirectorySearchRequest request;
    request.folder = folder.dir.path();
    request.results_path = folder.dir.File("searchqq.xyz");
    request.kind = DirectorySearchKind::Header;
    request.combination = 3;
    request.criteria.header.Set(HeaderCriterion::White, "K");
    request.criteria.header.Set(HeaderCriterion::Date, ">1950");
    request.criteria.line = ParseSearchLine("1.d4 Nf6").value();
    ASSERT_TRUE(ParsePositionText("W:Kg1", request.criteria.position).ok());
    test::RecordingUi ui;
    ASSERT_TRUE(SearchDirectory(request, {}, ui).results_written);
    const std::string saved = folder.dir.File("kasparov.dir");
    ASSERT_TRUE(SaveDirectoryResults(request.results_path, saved).ok());

    // A later search replaces the results; loading the .dir brings them back whole.
    DirectorySearchRequest other = request;
    other.kind = DirectorySearchKind::Position;
    other.combination = 0;
    ASSERT_TRUE(SearchDirectory(other, {}, ui).results_written);
    ASSERT_TRUE(LoadDirectoryResults(saved, request.results_path).ok());
    Result<DirectoryResults> results = ReadDirectoryResults(request.results_path);
    ASSERT_TRUE(results);
    EXPECT_EQ(results->header.kind, DirectorySearchKind::Header);
    EXPECT_EQ(results->header.combination, 3u);
    EXPECT_EQ(results->header.criteria.header.fields, request.criteria.header.fields);
    EXPECT_EQ(results->header.criteria.line.WhiteMoves, request.criteria.line.WhiteMoves);
    EXPECT_EQ(results->header.criteria.line.BlackMoves, request.criteria.line.BlackMoves);
    EXPECT_EQ(results->header.criteria.position.White, request.criteria.position.White);

    EXPECT_EQ(SaveDirectoryResults(folder.dir.File("none.xyz"), saved).message(),
              messages::MustPerformDirectorySearch);
    EXPECT_EQ(LoadDirectoryResults(folder.dir.File("none.dir"), request.results_path).message(),
              messages::ErrorOpeningFile);
}

TEST(DirectorySearch, FoldersWithoutGamesAndOverlongNames) {
    TempDir dir;
    const std::string results = dir.File("searchqq.xyz");
    dir.Write("searchqq.xyz", "earlier results");
    DirectorySearchRequest request;
    request.folder = dir.path();
    request.results_path = results;
    request.criteria.header.Set(HeaderCriterion::White, "Fischer");
    test::RecordingUi ui;
    EXPECT_EQ(SearchDirectory(request, {}, ui).message, messages::NoFilesFound);
    EXPECT_EQ(test::ReadWholeFile(results), "earlier results");

    const std::string long_stem(52, 'x');
    dir.CopyData("harden/fischer.pgn", long_stem + ".pgn");
    dir.CopyData("harden/fischer.pgn", std::string(51, 'y') + ".pgn");
    const DirectorySearchSummary summary = SearchDirectory(request, {}, ui);
    EXPECT_EQ(summary.files_with_matches, 1);
    EXPECT_EQ(ui.reports, std::vector<std::string>{"Filename " + long_stem + " is too long."});
}

TEST(DirectorySearch, CopiesTheFoundGamesAsTheirFilesHoldThem) {
    const SplitFolder folder;
    DirectorySearchRequest request;
    request.folder = folder.dir.path();
    request.results_path = folder.dir.File("searchqq.xyz");
    request.criteria.header.Set(HeaderCriterion::White, "Kasparov");
    test::RecordingUi ui;
    ASSERT_TRUE(SearchDirectory(request, {}, ui).results_written);
    Result<DirectoryResults> results = ReadDirectoryResults(request.results_path);
    ASSERT_TRUE(results);

    std::string expected;
    for (const DirectoryFileResult& record : results->files) {
        const std::string path = DirectoryGameFilePath(folder.dir.path(), record.stem);
        pgn::PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        file.ScanGameFile(false, ui);
        for (std::int32_t game : record.games) {
            ASSERT_TRUE(
                AppendGameText(file.GameFileHandle(), file.Index().Offsets(), game, expected));
        }
    }
    const std::string target = folder.dir.File("copy.out");
    DirectoryCopyRequest copy{request.results_path, target, false, {}};
    CopyOutcome outcome = CopyDirectoryGames(copy, ui);
    EXPECT_EQ(outcome.message, messages::CopyGamesComplete);
    EXPECT_EQ(test::ReadWholeFile(target), expected);
    EXPECT_EQ(expected.find("\n"), expected.find("\r\n") + 1);

    struct Row {
        const char* name;
        DirectoryCopyRequest request;
        bool answer;
        std::string_view message;
    };
    const Row rows[] = {
        {"existing target, No", {request.results_path, target, false, {}}, false, ""},
        {"appending to a missing file",
         {request.results_path, folder.dir.File("missing"), true, {}},
         true,
         messages::FileDoesNotExist},
        {"the open file",
         {request.results_path, target, false, target},
         true,
         messages::SameAsCurrentFile},
        {"no results",
         {folder.dir.File("none.xyz"), target, false, {}},
         true,
         messages::DirectorySearchFirst},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.answers = {row.answer};
        outcome = CopyDirectoryGames(row.request, ui);
        EXPECT_FALSE(outcome.copied);
        EXPECT_EQ(outcome.message, row.message);
        EXPECT_EQ(test::ReadWholeFile(target), expected);
    }
    ui.answers = {true};
    outcome = CopyDirectoryGames({request.results_path, target, true, {}}, ui);
    EXPECT_EQ(test::ReadWholeFile(target), expected + expected);
}

// The copy over an existing file, killed at any point: the file is the old one or the new one.
TEST(DirectorySearch, CopyKilledAtAnyPointLeavesTheOldOrTheNewFile) {
    TempDir dir;
    dir.CopyData("harden/fischer.pgn", "fischer.pgn");
    DirectorySearchRequest request;
    request.folder = dir.path();
    request.results_path = dir.File("searchqq.xyz");
    request.criteria.header.Set(HeaderCriterion::Black, "Petrosian");
    test::RecordingUi ui;
    ASSERT_TRUE(SearchDirectory(request, {}, ui).results_written);
    const std::string target = dir.File("target.pgn");
    const std::string old = "[Event \"old\"]\r\n\r\n1.e4 *\r\n";
    dir.Write("target.pgn", old);
    ui.answers = {true};
    ASSERT_TRUE(CopyDirectoryGames({request.results_path, target, false, {}}, ui).copied);
    const std::string copied = test::ReadWholeFile(target);
    test::KillAtEveryPoint(
        [&] { dir.Write("target.pgn", old); },
        [&](platform::FileSystem& file_system) {
            test::RecordingUi yes;
            yes.answers = {true};
            (void)CopyDirectoryGames({request.results_path, target, false, {}}, yes, file_system);
        },
        [&](int) {
            const std::string now = test::ReadWholeFile(target);
            EXPECT_TRUE(now == old || now == copied);
        });
}

}  // namespace
}  // namespace qorvale::search
