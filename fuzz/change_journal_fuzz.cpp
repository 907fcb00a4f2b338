// Any bytes as the undo journal beside a PGN file ("games.PGJ"): read, written back when it is
// one, and used by the open that mends an interrupted change; the file is then scanned.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ui.h"
#include "no_sync_file_system.h"
#include "pgn/file_change.h"
#include "pgn/pgn_file.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (std::optional<pgn::ChangeJournal> journal = pgn::ReadChangeJournal(bytes)) {
        (void)pgn::ReadChangeJournal(pgn::WriteChangeJournal(*journal));
    }

    const ScratchFolder& scratch = Scratch();
    scratch.Clear();
    static constexpr std::string_view Games =
        "[Event \"a\"]\r\n\r\n1.e4 e5  1-0\r\n\r\n[Event \"b\"]\r\n\r\n1.d4 d5  *\r\n";
    const std::string path = scratch.Write(
        "games.pgn", reinterpret_cast<const std::uint8_t*>(Games.data()), Games.size());
    (void)scratch.Write("games.PGJ", data, size);
    SilentUi ui;
    NoSyncFileSystem no_sync;
    pgn::PgnFile file(no_sync);
    if (file.Open(path).ok()) (void)file.ScanGameFile(false, ui);
    return 0;
}
