#pragma once

#include <string>
#include <string_view>

#include "app/start_up.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::test {

// A program folder of its own with one game file copied into it, for starting the window on.
struct ProgramHome {
    TempDir home;
    RecordingUi ui;
    app::StartUpState state;
    std::string games;

    // Copies `data` (a tests/data name) in as `name`; call Start before making the window.
    ProgramHome(std::string_view data, std::string_view name) : games(home.CopyData(data, name)) {}
    void Start(const std::string& command_line = "") {
        state = app::StartUp({home.path(), command_line, false});
    }
};

}  // namespace qorvale::test
