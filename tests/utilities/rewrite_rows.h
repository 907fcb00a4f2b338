#pragma once

// The whole-file rewrites of the utilities, as rows the crash and fault tests run over the same
// file: a real game file with a bad game and a repeated game, so that each has work to do.

#include <functional>
#include <string>
#include <vector>

#include "app/extract_variations.h"
#include "pgn/pgn_file.h"
#include "support/temp_dir.h"
#include "utilities/adjust_file.h"
#include "utilities/check_file.h"
#include "utilities/duplicates.h"
#include "utilities/fix_tags.h"
#include "utilities/split_file.h"
#include "utilities/yahoo_conversion.h"

namespace qorvale::utilities {

struct Scanned {
    std::vector<std::uint32_t> offsets;
    std::int32_t count = 0;
};

inline Scanned Scan(const std::string& path, bool force) {
    pgn::PgnFile file;
    SilentUi ui;
    Scanned scanned;
    if (file.Open(path)) return scanned;
    scanned.count = file.ScanGameFile(force, ui);
    scanned.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    return scanned;
}

// A Ui that says Yes to everything.
struct YesUi final : Ui {
    void report(std::string_view) override {}
    bool ask(std::string_view) override { return true; }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}
};

using Rewrite = std::function<void(const std::string& path, const Scanned& scanned,
                                   platform::FileSystem& file_system)>;

struct Row {
    const char* name;
    Rewrite rewrite;
    bool split = false;
};

// A bad game (an impossible king move) and a repeated game give the deleting rewrites work.
inline std::string RewriteOriginal() {
    std::string original = test::ReadWholeFile(test::TestDataPath("harden/fischer.pgn"));
    original.replace(original.find("2. Nc3"), 6, "2. Kh5");
    original += original.substr(0, original.find("[Event", 10));
    return original;
}

inline OperationControl Agreeing() {
    OperationControl agree;
    agree.ask = [](std::string_view) { return true; };
    return agree;
}

inline std::vector<Row> RewriteRows() {
    return {
        {"check file deleting bad games",
         [](const std::string& path, const Scanned& scanned, platform::FileSystem& fs) {
             CheckFileRequest request;
             request.pgn_path = path;
             request.offsets = scanned.offsets;
             request.mode = CheckMode::DeleteBadGames;
             YesUi yes;
             (void)CheckFile(request, {}, yes, fs);
         }},
        {"duplicate deletion",
         [](const std::string& path, const Scanned& scanned, platform::FileSystem& fs) {
             const std::int32_t games[] = {3, scanned.count};
             YesUi yes;
             (void)DeleteGamesFromFile(path, scanned.offsets, false, games, yes, fs);
         }},
        {"adjust",
         [](const std::string& path, const Scanned& scanned, platform::FileSystem& fs) {
             YesUi yes;
             (void)AdjustFile({path, scanned.offsets, false, 0}, Agreeing(), yes, fs);
         }},
        {"fix dates",
         [](const std::string& path, const Scanned& scanned, platform::FileSystem& fs) {
             YesUi yes;
             (void)FixGameDates({path, scanned.offsets, false}, "1959.??.??", "1959.01.01", yes,
                                fs);
         }},
        {"fix names",
         [](const std::string& path, const Scanned& scanned, platform::FileSystem& fs) {
             YesUi yes;
             (void)FixPlayerNames({path, scanned.offsets, false}, {"Fischer", "Fischer, Bobby"},
                                  yes, fs);
         }},
        {"yahoo conversion",
         [](const std::string& path, const Scanned&, platform::FileSystem& fs) {
             YesUi yes;
             (void)ConvertYahooGames(";White: a\r\n;Black: b\r\n1. e4 e5 2. Nf3\r\n\r\n",
                                     {path, ""}, yes, nullptr, fs);
         }},
        {"extract variations onto the file",
         [](const std::string& path, const Scanned&, platform::FileSystem& fs) {
             YesUi yes;
             const std::string source = test::TestDataPath("gui/annotated-matches.pgn");
             const Scanned games = Scan(source, false);
             (void)app::ExtractVariations({source, games.offsets, 0, path, true}, yes, fs);
         }},
        {"split",
         [](const std::string& path, const Scanned&, platform::FileSystem& fs) {
             (void)SplitFile({path, false}, Agreeing(), nullptr, fs);
         },
         true},
    };
}

}  // namespace qorvale::utilities
