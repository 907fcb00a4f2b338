// Any bytes as a search criteria file (.ser): every loader, then the criteria it gave run as a
// search over a few real games, once through their fast file and once through the PGN text.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "scratch_file.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/pgn_game_source.h"
#include "search/search_list.h"
#include "search/search_source.h"
#include "search/ser_file.h"

namespace {

constexpr std::string_view Games =
    "[Event \"Hastings\"]\n[White \"Steinitz\"]\n[Black \"Zukertort\"]\n[Result \"1-0\"]\n"
    "[WhiteElo \"2600\"]\n[ECO \"C45\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. d4 exd4 4. Nxd4 Nf6 5. Nxc6 bxc6 6. Bd3 d5 7. exd5 cxd5 1-0\n\n"
    "[Event \"Casual\"]\n[White \"Anderssen\"]\n[Black \"Kieseritzky\"]\n[Result \"1-0\"]\n\n"
    "1. e4 e5 2. f4 exf4 3. Bc4 Qh4+ 4. Kf1 b5 5. Bxb5 Nf6 6. Nf3 Qh6 1-0\n\n"
    "[Event \"Set-up\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"0-1\"]\n"
    "[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 40\"]\n\n40... Kd7 41. e4 Kd6 0-1\n";

// The games with their index and fast file, made once for the process.
struct SearchedFile {
    SearchedFile() {
        using namespace qorvale;
        path = Scratch().Write("searched.pgn", reinterpret_cast<const std::uint8_t*>(Games.data()),
                               Games.size());
        SilentUi ui;
        pgn::PgnFile file;
        if (file.Open(path)) return;
        count = file.ScanGameFile(true, ui);
        offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
        search::PgnGameSource games(path, offsets);
        if (games.Open()) return;
        (void)search::MakeFastFile(path, count, games, {});
    }
    std::string path;
    std::int32_t count = 0;
    std::vector<std::uint32_t> offsets;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    using namespace qorvale::search;
    static const SearchedFile searched;
    std::string ser = Scratch().Write("criteria.ser", data, size);

    SearchCriteria criteria;
    (void)LoadVariation(ser, criteria);
    (void)LoadPosition(ser, criteria);
    (void)LoadHeader(ser, criteria);
    SerKind kind = SerKind::Header;
    SearchCriteria loaded;
    Combination loaded_combination = Combination::Alone;
    if (LoadAny(ser, loaded, kind, loaded_combination)) return 0;

    SilentUi ui;
    for (bool fast : {true, false}) {
        SearchSource source;
        source.pgn_path = searched.path;
        source.offsets = searched.offsets;
        source.game_count = searched.count;
        source.use_fast_file = fast;
        for (Combination combination :
             {Combination::Alone, Combination::WithVariation, Combination::WithPosition,
              Combination::WithVariationAndPosition}) {
            SearchList list;
            (void)SearchHeader(source, loaded, combination, list, ui);
        }
    }
    return 0;
}
