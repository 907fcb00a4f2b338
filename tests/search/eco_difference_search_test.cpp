#include "search/eco_difference_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "openings/eco_position_file.h"
#include "openings/eco_table.h"
#include "openings/opening_files.h"
#include "platform/file.h"
#include "search/fast_file_reader.h"
#include "search/messages.h"
#include "search/variation_search.h"
#include "search_file_fixture.h"
#include "support/fast_file_copy.h"

namespace qorvale::search {
namespace {

class EcoDifferenceFile : public SearchFileTest {
  protected:
    void SetUp() override {
        Open("search/crafted.pgn");
        lines_path_ = test::CopyWithFastFile(dir_, "search/ecocodes.pgn", "ecocodes.pgn").move_file;
    }
    std::string lines_path_;
};

TEST(EcoCodeLines, ClassifiesByPositionAndByMoves) {
    test::TempDir dir;
    test::RecordingUi ui;
    Result<EcoCodeLines> lines = EcoCodeLines::Load(
        test::CopyWithFastFile(dir, "search/ecocodes.pgn", "ecocodes.pgn").move_file,
        dir.File("qorvale.ecd"), ui);
    ASSERT_TRUE(lines.ok());
    ASSERT_EQ(lines->Count(), 4);
    EXPECT_EQ(lines->Code(1), "C88");
    EXPECT_EQ(lines->Length(1), 14);

    struct Row {
        const char* name;
        const char* game;
        const char* by_position;  // "" for none
        const char* by_moves;
    };
    const Row rows[] = {
        {"the line itself", "1.d4 Nf6 2.c4 e6 3.Nc3 Bb4", "E20", "E20"},
        {"transposed", "1.c4 e6 2.d4 Nf6 3.Nc3 d5", "D35", "D35"},
        // Only two half-moves played: the first longer line they begin.
        {"short", "1.d4 Nf6", "D35", "D35"},
        // Black castles a move late: the positions follow the long line to 7.Bb3, the moves
        // contain only the short one.
        {"left the long line",
         "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 d6 8.c3 O-O", "C88", "C60"},
        {"nothing", "1.Nf3 d5", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Result<VariationCriteria> parsed = ParseSearchLine(row.game);
        ASSERT_TRUE(parsed.ok());
        Result<SearchLine> line = BuildSearchLine(*parsed);
        ASSERT_TRUE(line.ok());
        std::vector<MoveCode> codes;
        for (int i = 0; i < line->white_count; ++i) {
            codes.push_back(line->SearchWhite[static_cast<std::size_t>(i)]);
            if (i < line->black_count)
                codes.push_back(line->SearchBlack[static_cast<std::size_t>(i)]);
        }
        std::vector<chess::Board64> positions;
        ReplayMoveCodes(codes, positions);
        int by_position =
            lines->ClassifyByPosition(std::span<const chess::Board64>(positions).subspan(1));
        int by_moves = lines->ClassifyByMoves(codes);
        EXPECT_EQ(by_position < 0 ? "" : lines->Code(by_position), row.by_position);
        EXPECT_EQ(by_moves < 0 ? "" : lines->Code(by_moves), row.by_moves);
    }
}

TEST_P(EcoDifferenceFile, FindsGamesWhoseTagNamesNeitherClassification) {
    SearchCriteria criteria;
    criteria.header.Set(HeaderCriterion::Eco, "*");
    SearchList list;
    std::vector<std::string> classified;
    const int found = SearchEcoDifference(source_, criteria, lines_path_, list, classified, ui_);
    if (!GetParam()) {
        EXPECT_EQ(found, -1);
        EXPECT_EQ(ui_.reports,
                  (std::vector<std::string>{std::string(messages::EcoDiffNeedsFastFile)}));
        return;
    }
    // 1, 2 and 5 carry their line's code, 3 and 8 no code.
    EXPECT_EQ(Numbers(list), (std::vector<std::int32_t>{4, 6, 7}));
    EXPECT_EQ(classified, (std::vector<std::string>{"C60", "D35", ""}));

    // The other criteria still apply.
    criteria.header.Set(HeaderCriterion::Site, "Leiden");
    SearchEcoDifference(source_, criteria, lines_path_, list, classified, ui_);
    EXPECT_EQ(Numbers(list), (std::vector<std::int32_t>{4, 7}));

    EXPECT_EQ(SearchEcoDifference(source_, criteria, dir_.File("none.TRF"), list, classified, ui_),
              -1);
    EXPECT_EQ(ui_.reports.back(), messages::MissingEcocodes);
}

// The position file is made by the first search, read by the next, and made again when it does
// not fit the lines; a fast file that does not hold every game whole is refused.
TEST_P(EcoDifferenceFile, UsesThePositionFileAndRefusesADamagedFastFile) {
    if (!GetParam()) GTEST_SKIP() << "needs the fast file";
    SearchCriteria criteria;
    criteria.header.Set(HeaderCriterion::Eco, "*");
    SearchList list;
    std::vector<std::string> classified;
    const std::string ecd = openings::EcoPositionFilePathFor(lines_path_);
    EXPECT_EQ(ecd, dir_.File("qorvale.ecd"));
    const std::vector<std::int32_t> expected = {4, 6, 7};
    for (const char* state : {"missing", "made", "damaged"}) {
        SCOPED_TRACE(state);
        if (std::string_view(state) == "damaged") {
            platform::File file = platform::File::Create(ecd);
            ASSERT_TRUE(file.Write("junk"));
        }
        SearchEcoDifference(source_, criteria, lines_path_, list, classified, ui_);
        EXPECT_EQ(Numbers(list), expected);
        EXPECT_EQ(platform::FileSize(ecd), (5 + 14 + 6 + 6) * 64);
    }
    EXPECT_TRUE(ui_.reports.empty());

    // Cut in half, the move file no longer holds a record for every game.
    const std::string move_file = FastFileNamesOf(path_).trf;
    std::string bytes = test::ReadWholeFile(move_file);
    platform::File file = platform::File::Create(move_file);
    ASSERT_TRUE(file.Write(bytes.substr(0, bytes.size() / 4 * 2)));
    file.Close();
    EXPECT_EQ(SearchEcoDifference(source_, criteria, lines_path_, list, classified, ui_), -1);
    EXPECT_EQ(ui_.reports, (std::vector<std::string>{std::string(messages::MakeFastFileAgain)}));
    EXPECT_EQ(list.Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(TextAndFastFile, EcoDifferenceFile, ::testing::Bool(), PathName);

// The classifications by their definitions: entries in table order, the whole table walked.
int PositionByDefinition(const EcoCodeLines& lines,
                         const std::vector<std::vector<chess::Board64>>& boards,
                         std::span<const chess::Board64> game) {
    int best = -1;
    int depth = 0;
    for (int entry = 0; entry < lines.Count(); ++entry) {
        const int length = lines.Length(entry);
        for (int k = depth; k < std::min(length, static_cast<int>(game.size())); ++k) {
            if (game[static_cast<std::size_t>(k)] ==
                boards[static_cast<std::size_t>(entry)][static_cast<std::size_t>(k) + 1]) {
                best = entry;
                depth = k + 1;
            }
        }
    }
    return best;
}

bool SideByDefinition(const std::vector<MoveCode>& wanted, const std::vector<MoveCode>& game) {
    const std::size_t count = wanted.size();
    for (std::size_t i = 0; i < count; ++i) {
        int repeats = 0;
        int recurs = 0;
        bool present = false;
        for (std::size_t k = 0; k < count && k < game.size(); ++k) present |= game[k] == wanted[i];
        for (std::size_t k = i + 2; k < count && count >= 3; ++k) {
            repeats += wanted[k] == wanted[i];
            recurs += k < game.size() && game[k] == wanted[i];
        }
        if (!present || (repeats > 0 && recurs != repeats)) return false;
    }
    return true;
}

int MovesByDefinition(const EcoCodeLines& lines, const std::vector<std::vector<MoveCode>>& moves,
                      const std::vector<MoveCode>& game) {
    auto side = [](const std::vector<MoveCode>& codes, std::size_t limit, std::size_t parity) {
        std::vector<MoveCode> out;
        for (std::size_t i = parity; i < std::min(limit, codes.size()); i += 2)
            out.push_back(codes[i]);
        return out;
    };
    auto matches = [&](int entry, int limit) {
        const auto& line = moves[static_cast<std::size_t>(entry)];
        const auto white = side(line, static_cast<std::size_t>(limit), 0);
        const auto game_white = side(game, game.size(), 0);
        return white.size() <= game_white.size() && SideByDefinition(white, game_white) &&
               SideByDefinition(side(line, static_cast<std::size_t>(limit), 1),
                                side(game, game.size(), 1));
    };
    const int length = static_cast<int>(game.size());
    int within = -1, within_length = 0, limited = -1, limited_length = 0;
    for (int entry = 0; entry < lines.Count(); ++entry) {
        const int entry_length = lines.Length(entry);
        if (entry_length == 0) continue;
        if (entry_length <= length && entry_length > within_length &&
            matches(entry, entry_length)) {
            within = entry;
            within_length = entry_length;
        }
        if (entry_length > limited_length && matches(entry, std::min(entry_length, length))) {
            limited = entry;
            limited_length = entry_length;
        }
    }
    if (within < 0) return limited;
    if (limited_length > within_length && length > within_length) return limited;
    return within;
}

// The indexed classifications give what walking the whole shipped table gives, on real games
// and on their first half-moves alone.
TEST(EcoCodeLines, AgreeWithTheirDefinitionsOnTheShippedTableAndRealGames) {
    test::TempDir dir;
    test::RecordingUi ui;
    openings::EcoTable table;
    ASSERT_TRUE(
        openings::LoadEcoTable(openings::EcoTableFilesIn(QORVALE_DATA_DIR), table, ui).ok());
    openings::EcoDataOptions options;
    openings::ExportOpeningFiles(table, dir.path(), options);
    ASSERT_TRUE(openings::RebuildEcoCodesFastFile(dir.path(), ui).ok());
    const std::string lines_path = openings::EcoCodesFastFilePath(dir.path());
    Result<EcoCodeLines> lines = EcoCodeLines::Load(lines_path, dir.File("qorvale.ecd"), ui);
    ASSERT_TRUE(lines.ok());
    ASSERT_GT(lines->Count(), 3000);
    std::vector<std::vector<MoveCode>> line_moves;
    std::vector<std::vector<chess::Board64>> line_boards;
    Result<FastFileReader> line_reader = FastFileReader::Open(lines_path);
    GameRecord record;
    while (line_reader->Next(record) == FastFileReader::Step::Record) {
        line_moves.push_back(record.codes);
        line_boards.emplace_back();
        ReplayMoveCodes(record.codes, line_boards.back());
    }

    test::FastFileCopy games = test::CopyWithFastFile(dir, "chess/games.pgn", "games.pgn");
    Result<FastFileReader> reader = FastFileReader::Open(games.move_file);
    std::vector<chess::Board64> positions;
    int compared = 0;
    for (int game = 0; reader->Next(record) == FastFileReader::Step::Record && game < 600; ++game) {
        for (std::size_t played :
             {std::size_t{4}, std::size_t{11}, std::size_t{EcoDifferenceHalfMoves}}) {
            SCOPED_TRACE(testing::Message() << "game " << game + 1 << ", " << played);
            const std::vector<MoveCode> opening(
                record.codes.begin(), record.codes.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                 played, record.codes.size())));
            ReplayMoveCodes(opening, positions);
            const std::span<const chess::Board64> boards =
                std::span<const chess::Board64>(positions).subspan(1);
            ASSERT_EQ(lines->ClassifyByPosition(boards),
                      PositionByDefinition(*lines, line_boards, boards));
            ASSERT_EQ(lines->ClassifyByMoves(opening),
                      MovesByDefinition(*lines, line_moves, opening));
            ++compared;
        }
    }
    EXPECT_EQ(compared, 1800);
}

}  // namespace
}  // namespace qorvale::search
