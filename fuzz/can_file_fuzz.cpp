// Any bytes as a Crafty game log: the conversion to PGN, in memory and through the files.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engines/crafty_files.h"
#include "no_sync_file_system.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::engines;
    std::string_view can(reinterpret_cast<const char*>(data), size);
    (void)ConvertCanText(can);
    const ScratchFolder& scratch = Scratch();
    scratch.Clear();
    NoSyncFileSystem no_sync;
    (void)ConvertCanFile(scratch.Write("game.can", data, size), no_sync);
    return 0;
}
