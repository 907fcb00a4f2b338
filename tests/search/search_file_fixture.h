#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "search/search_list.h"
#include "search/search_source.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {

// A PGN file of tests/data copied to a temporary folder and opened, searched through the PGN
// text (parameter false) or through a fast file made from it (true).
class SearchFileTest : public ::testing::TestWithParam<bool> {
  protected:
    void Open(const std::string& data_name) {
        path_ = dir_.CopyData(data_name, "games.pgn");
        ASSERT_TRUE(file_.Open(path_).ok());
        count_ = file_.ScanGameFile(false, ui_);
        ASSERT_GT(count_, 0);
        if (GetParam()) {
            auto offsets = file_.Index().Offsets();
            PgnGameSource games(path_, {offsets.begin(), offsets.end()});
            ASSERT_TRUE(games.Open().ok());
            MakeResult made = MakeFastFile(path_, count_, games, {});
            ASSERT_NE(made.outcome, MakeOutcome::CreateFailed);
        }
        source_.pgn_path = path_;
        source_.offsets = file_.Index().Offsets();
        source_.game_count = count_;
        source_.use_fast_file = GetParam();
    }

    static std::vector<std::int32_t> Numbers(const SearchList& list) {
        std::vector<std::int32_t> numbers;
        for (const FoundGame& game : list.Games()) numbers.push_back(game.game_number);
        return numbers;
    }

    test::TempDir dir_;
    std::string path_;
    pgn::PgnFile file_;
    std::int32_t count_ = 0;
    SearchSource source_;
    test::RecordingUi ui_;
};

inline std::string PathName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "FastFile" : "Text";
}

}  // namespace qorvale::search
