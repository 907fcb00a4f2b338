// Any bytes as a Yahoo game text: its records read and converted into a scratch PGN file, which
// replays every move line through the normal-layout writer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ui.h"
#include "no_sync_file_system.h"
#include "scratch_file.h"
#include "utilities/yahoo_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    const ScratchFolder& scratch = Scratch();
    const std::string target = scratch.Write("yahoo.pgn", nullptr, 0);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const utilities::YahooRecord& record : utilities::ReadYahooRecords(text)) {
        (void)utilities::YahooHeader(record);
    }
    SilentUi ui;
    NoSyncFileSystem files;
    (void)utilities::ConvertYahooGames(text, {target, ""}, ui, nullptr, files);
    return 0;
}
