#include "app/file_opener.h"

#include "app/game_list.h"
#include "pgn/messages.h"
#include "pgn/display_stem.h"
#include "platform/file.h"

namespace qorvale::app {

Error OpenGameFile(pgn::PgnFile& file, const OpenRequest& request, Ui& ui) {
    if (platform::FileExists(pgn::DerivedFilePath(request.path, "TRM"))) {
        ui.report(pgn::TreeMergeFileWarning);
    }
    if (platform::FileExists(pgn::DerivedFilePath(request.path, "DBG"))) {
        ui.report(pgn::DatabaseWarning);
    }
    if (Error error = file.Open(request.path); !error.ok()) return error;
    const std::int32_t count = file.ScanGameFile(request.force_scan, ui);
    if (!file.IsOpen()) return Error(std::string(pgn::ErrorOpeningFile));
    // The list records kept beside the file describe the index they were built on.
    if (!file.LastScan().from_cache) DeleteGameListCache(file.CurrentPath());
    if (count == 0 && request.warn_empty) ui.report(NoGamesInFile);
    return Error::Ok();
}

}  // namespace qorvale::app
