// Any bytes as the recent-files list ("recent.txt"): read, then a file added, which saves the
// list, and the saved list read back; whatever is read keeps at most nine distinct paths.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/recent_files.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    const std::string path = Scratch().Write("recent.txt", data, size);
    app::RecentFiles list(path);
    list.Load();
    auto whole = [](const std::vector<std::string>& paths) {
        for (std::size_t k = 0; k < paths.size(); ++k) {
            if (paths[k].empty() || paths[k].find('\n') != std::string::npos) return false;
            if (std::count(paths.begin(), paths.end(), paths[k]) != 1) return false;
        }
        return paths.size() <= app::RecentFiles::MaxFiles;
    };
    if (!whole(list.Paths())) std::abort();
    list.Add("/games/new.pgn");
    if (!whole(list.Paths()) || list.Paths().front() != "/games/new.pgn") std::abort();
    app::RecentFiles again(path);
    again.Load();
    // A path that ends in a carriage return loses it on the way back; every other comes back.
    if (again.Paths().size() > list.Paths().size()) std::abort();
    Scratch().Clear();
    return 0;
}
