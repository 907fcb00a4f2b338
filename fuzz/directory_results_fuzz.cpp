// Any bytes as a directory search's results file (searchqq.xyz or a .dir copy): the reader,
// the "Select File" list and every choice in it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/directory_results_session.h"
#include "base/ui.h"
#include "scratch_file.h"
#include "search/directory_results.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    (void)search::ParseDirectoryResults({data, size}, 4096);
    const std::string path = Scratch().Write("searchqq.xyz", data, size);
    SilentUi ui;
    app::DirectoryResultsSession session;
    if (!session.Load(path, ui)) return 0;
    (void)session.Lines();
    (void)session.TotalLine();
    for (int index = -1; index <= static_cast<int>(session.Results().files.size()); ++index) {
        std::optional<app::DirectoryResultsSession::Choice> choice = session.Choose(index, ui);
        if (choice) (void)choice->list.FormatWinStatistics();
    }
    return 0;
}
