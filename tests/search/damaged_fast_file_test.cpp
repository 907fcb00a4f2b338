// A fast file that does not describe its PGN file whole is never used for an answer: every
// search that reads it finds the damage, warns, and answers from the PGN text instead.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/file.h"
#include "search/eco_difference_search.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/messages.h"
#include "search/position_search.h"
#include "search/variation_search.h"
#include "support/fast_file_copy.h"
#include "support/recording_ui.h"

namespace qorvale::search {
namespace {

using Bytes = std::string;

void Rewrite(const std::string& path, const std::function<void(Bytes&)>& damage) {
    Bytes bytes = test::ReadWholeFile(path);
    damage(bytes);
    platform::File file = platform::File::Create(path);
    ASSERT_TRUE(file.Write(bytes));
}

// The word offset of the first code with bit 15 clear from the middle of a move file on.
std::size_t MiddleCode(const Bytes& bytes) {
    std::size_t at = bytes.size() / 4 * 2;
    while ((static_cast<unsigned char>(bytes[at + 1]) & 0x80) != 0) at += 2;
    return at;
}

std::vector<std::int32_t> Numbers(const SearchList& list) {
    std::vector<std::int32_t> numbers;
    for (const FoundGame& game : list.Games()) numbers.push_back(game.game_number);
    return numbers;
}

TEST(DamagedFastFile, EverySearchAnswersFromTheTextInstead) {
    struct Damage {
        const char* name;
        const char* extension;
        std::function<void(Bytes&)> apply;
    } damages[] = {
        {"move file cut in half", "TRF", [](Bytes& b) { b.resize(b.size() / 4 * 2); }},
        {"a code split into two records", "TRF",
         [](Bytes& b) { b[MiddleCode(b) + 1] = static_cast<char>(b[MiddleCode(b) + 1] | 0x80); }},
        {"end mark missing", "TRF", [](Bytes& b) { b.resize(b.size() - 2); }},
        {"bytes after the end mark", "TRF", [](Bytes& b) { b += std::string(4, '\x19'); }},
        // The count stays right; every record after the first is read out of step.
        {"header record shifted", "TRH", [](Bytes& b) { b[4] = static_cast<char>(b[4] + 1); }},
        {"header file cut", "TRH", [](Bytes& b) { b.resize(b.size() / 2); }},
    };
    struct Search {
        const char* name;
        std::function<int(const SearchSource&, SearchList&, Ui&)> run;
    } searches[] = {
        {"position",
         [](const SearchSource& source, SearchList& list, Ui& ui) {
             SearchCriteria criteria;
             criteria.position.White[0].Assign("Kg1");
             criteria.position.Black[0].Assign("Kg8");
             return SearchPosition(source, criteria, list, ui);
         }},
        {"variation",
         [](const SearchSource& source, SearchList& list, Ui& ui) {
             SearchCriteria criteria;
             criteria.line = *ParseSearchLine("1.e4 c5");
             return SearchVariation(source, criteria, Combination::WithVariation, list, ui);
         }},
        {"header with a move count",
         [](const SearchSource& source, SearchList& list, Ui& ui) {
             SearchCriteria criteria;
             criteria.header.Set(HeaderCriterion::NumberOfMoves, ">40");
             return SearchHeader(source, criteria, Combination::Alone, list, ui);
         }},
        {"header",
         [](const SearchSource& source, SearchList& list, Ui& ui) {
             SearchCriteria criteria;
             criteria.header.Set(HeaderCriterion::Date, ">1963");
             return SearchHeader(source, criteria, Combination::Alone, list, ui);
         }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        test::TempDir dir;
        test::FastFileCopy copy = test::CopyWithFastFile(dir, "search/players.pgn", "games.pgn");
        SearchSource source;
        source.pgn_path = copy.path;
        source.offsets = copy.offsets;
        source.game_count = static_cast<std::int32_t>(copy.offsets.size());
        Rewrite(DerivedPath(copy.path, damage.extension), damage.apply);
        for (const Search& search : searches) {
            SCOPED_TRACE(search.name);
            source.use_fast_file = false;
            test::RecordingUi ui;
            SearchList from_text;
            search.run(source, from_text, ui);
            ASSERT_GT(from_text.Count(), 0);
            source.use_fast_file = true;
            SearchList found;
            EXPECT_EQ(search.run(source, found, ui), from_text.Count());
            EXPECT_EQ(Numbers(found), Numbers(from_text));
            // A damaged file a search does not read needs no word.
            const bool reads_it = std::string_view(damage.extension) == "TRH"
                                      ? std::string_view(search.name) != "variation" &&
                                            std::string_view(search.name) != "position"
                                      : std::string_view(search.name) != "header";
            if (reads_it) {
                EXPECT_EQ(ui.reports,
                          std::vector<std::string>{std::string(messages::MakeFastFileAgain)});
            }
        }
    }
}

}  // namespace
}  // namespace qorvale::search
