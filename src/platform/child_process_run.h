#pragma once

#include <functional>

namespace qorvale::platform {

// Runs `body` in a forked copy of this process and waits for it. Returns the copy's exit code
// (body's return value when it returns), or -1 when it could not be started or was killed by a
// signal. The copy ends without running this process's exit handlers.
int RunInChildProcess(const std::function<int()>& body);

}  // namespace qorvale::platform
