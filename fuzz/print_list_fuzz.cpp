// Any bytes as the print list ("printerq.xyz"): its entries read and laid out on pages, which
// measures and breaks every text the file claims to hold.
#include <cstddef>
#include <cstdint>
#include <span>

#include "output/print_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    const auto entries = output::ReadPrintEntries(std::span<const std::uint8_t>(data, size));
    output::PrintPage page;
    page.width = 600;
    page.height = 800;
    page.line_advance = 12;
    page.text_width = [](std::string_view text) { return static_cast<int>(text.size()) * 7; };
    (void)output::LayOutPrintList(entries, page);
    for (const output::PrintEntry& entry : entries) (void)output::EncodePrintEntry(entry);
    return 0;
}
