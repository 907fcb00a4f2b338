// Any bytes as the game list cache (`name.pgs`) of a file of 1001 games: the input is repeated to
// the size the cache must have to be used, the list built from it, and its lines made in every
// layout.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/game_list.h"
#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "scratch_file.h"

namespace {

constexpr std::int32_t Games = qorvale::app::GameListCacheThreshold + 1;
constexpr std::int32_t LinesShown = 64;

// The PGN file the cache belongs to, written and scanned once for the process.
struct ListedFile {
    ListedFile() {
        std::string text;
        for (std::int32_t game = 1; game <= Games; ++game) {
            text += "[White \"W" + std::to_string(game) + "\"]\n[Black \"B\"]\n\n1. e4 *\n\n";
        }
        path = Scratch().Write("listed.pgn", reinterpret_cast<const std::uint8_t*>(text.data()),
                               text.size());
        // A scan that is not answered from the offset cache drops the list cache: leave an
        // offset cache for the runs to find.
        qorvale::SilentUi ui;
        qorvale::pgn::PgnFile file;
        if (!file.Open(path)) (void)file.ScanGameFile(true, ui);
    }
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    using namespace qorvale::app;
    static const ListedFile listed;
    if (size == 0) return 0;

    // Records straight from the input, as far as it has whole ones.
    for (std::size_t at = 0; at + GameListRecordSize <= size; at += GameListRecordSize) {
        GameListRecord record = DecodeGameListRecord(data + at);
        for (int layout = 0; layout < GameListLayouts; ++layout) {
            (void)GameListLine(record, 1, layout);
        }
    }

    std::vector<std::uint8_t> cache(static_cast<std::size_t>(Games) * GameListRecordSize);
    for (std::size_t at = 0; at < cache.size(); ++at) cache[at] = data[at % size];
    (void)Scratch().Write("listed.pgs", cache.data(), cache.size());

    SilentUi ui;
    pgn::PgnFile file;
    if (file.Open(listed.path)) return 0;
    if (file.ScanGameFile(false, ui) != Games || !file.LastScan().from_cache) __builtin_trap();
    GameListBuild build = BuildGameListRecords(file, ui);
    if (build.source != GameListSource::Cache) __builtin_trap();
    for (std::int32_t line = 0; line < LinesShown; ++line) {
        const GameListRecord& record = build.records[static_cast<std::size_t>(line)];
        (void)GameListLine(record, line + 1, line % GameListLayouts);
    }
    return 0;
}
