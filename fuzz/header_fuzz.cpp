// Any text as a game's header lines: the header reader in its three modes, the display lines,
// and the header dialog's reading and checking.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pgn/header_tags.h"
#include "pgn/record_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::pgn;
    std::string_view text(reinterpret_cast<const char*>(data), size);

    for (FirstRecordMode mode : {FirstRecordMode::KeepForMovetext, FirstRecordMode::HandedOver,
                                 FirstRecordMode::KeepInSecondSlot}) {
        MemoryRecordSource source(text);
        HeaderTags header;
        header.SetWithOpeningNames(mode == FirstRecordMode::KeepInSecondSlot);
        std::string_view handed = text.substr(0, text.find('\n'));
        header.ReadHeader(source, mode, mode == FirstRecordMode::HandedOver ? handed : "");
        header.BuildHeaderDisplay(false);
        header.BuildHeaderDisplay(true);
    }

    MemoryRecordSource source(text);
    HeaderEditFields fields = LoadHeaderForEdit(source);
    (void)ValidateResult(fields);
    (void)HeaderText(fields, false);
    (void)HeaderText(fields, true);

    std::string line(text.substr(0, text.find('\n')));
    (void)TagValue(line);
    ExtractTagValue(line);
    return 0;
}
