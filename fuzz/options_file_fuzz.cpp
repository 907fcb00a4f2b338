// Any bytes as "savinfo.opt": the whole start-up over it (load, layout migration, repairs, the
// save that follows) and a save of what came out.
#include <cstddef>
#include <cstdint>

#include "app/options_file.h"
#include "app/start_up.h"
#include "no_sync_file_system.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::app;
    const ScratchFolder& scratch = Scratch();
    scratch.Clear();
    (void)scratch.Write("savinfo.opt", data, size);

    StartUpSettings settings;
    settings.app_folder = scratch.Path("");
    settings.high_dpi = size % 2 == 1;
    StartUpState state = StartUp(settings);
    NoSyncFileSystem no_sync;
    (void)SaveOptions(state.options_path, state.options, no_sync);
    (void)LoadOptions(state.options_path, settings.app_folder, settings.high_dpi);
    return 0;
}
