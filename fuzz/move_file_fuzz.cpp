// Any bytes as a fast file's move file (.TRF): both reader modes to the end mark or damage,
// every record's codes replayed, and the record count the state check uses.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "chess/board.h"
#include "scratch_file.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/move_code.h"

namespace {
// Far more than the inputs hold; stops a reader that would go round forever.
constexpr int MaxRecords = 1 << 16;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::search;
    std::string path = Scratch().Write("games.TRF", data, size);

    std::vector<qorvale::chess::Board64> positions;
    for (FastFileReader::Mode mode :
         {FastFileReader::Mode::WholeOrWindow, FastFileReader::Mode::Stream}) {
        auto reader = FastFileReader::Open(path, mode);
        if (!reader) continue;
        for (int pass = 0; pass < 2; ++pass) {
            GameRecord record;
            int records = 0;
            while (reader->Next(record) == FastFileReader::Step::Record) {
                if (++records > MaxRecords) __builtin_trap();
                ReplayMoveCodes(record.codes, positions);
                if (!record.codes.empty()) (void)MoveCodeText(record.codes.front(), positions[0]);
            }
            if (!reader->Rewind()) break;
        }
    }
    (void)CountMoveRecords(path);
    return 0;
}
