// Any bytes as a fast file's header file (.TRH): load, the consistency check, every record.
#include <cstddef>
#include <cstdint>

#include "scratch_file.h"
#include "search/fast_file.h"
#include "search/header_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::search;
    const ScratchFolder& scratch = Scratch();
    std::string path = scratch.Write("games.TRH", data, size);

    auto file = HeaderFile::Load(path);
    if (!file) return 0;
    (void)file->Consistent(file->StoredCount());
    HeaderValues values;
    for (std::size_t offset : file->RecordOffsets()) {
        if (!file->ReadRecord(offset, values)) __builtin_trap();
        if (file->RecordLength(offset) == 0) __builtin_trap();
    }
    (void)file->ReadRecord(size, values);
    (void)file->ReadRecord(size + 1, values);
    // The state check reads the header file beside a PGN path, with no move file there.
    (void)FastFileStateOf(scratch.Path("games.pgn"),
                          static_cast<std::int32_t>(file->StoredCount()));
    return 0;
}
