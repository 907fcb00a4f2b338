#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/child_process_run.h"
#include "platform/crashing_file_system.h"

namespace qorvale::test {

// With QORVALE_KILL_POINTS set, prints how many points a run met (the robustness notes' figures).
inline int ReportKillPoints(int points) {
    if (std::getenv("QORVALE_KILL_POINTS") != nullptr) {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::printf("kill points: %s.%s: %d\n", test->test_suite_name(), test->name(), points);
    }
    return points;
}

// Runs `operation` in a child process once for every point at which CrashingFileSystem can end
// it, and after each run calls `check` in this process with the point (the state left on disk is
// checked there). The last run meets no point and completes; `check` gets 0 for it. Returns how
// many points were met. `sync` false leaves out the flushes to the disk (CrashingFileSystem).
inline int KillAtEveryPoint(const std::function<void()>& prepare,
                            const std::function<void(platform::FileSystem&)>& operation,
                            const std::function<void(int point)>& check, bool sync = true) {
    // A rewrite meets far fewer points than this; more would mean it never ends.
    constexpr int MaxPoints = 10000;
    for (int point = 1; point <= MaxPoints; ++point) {
        prepare();
        int code = platform::RunInChildProcess([&] {
            platform::CrashingFileSystem file_system(point, sync);
            operation(file_system);
            return 0;
        });
        bool crashed = code == platform::CrashingFileSystem::CrashExitCode;
        EXPECT_TRUE(crashed || code == 0) << "exit code " << code << " at point " << point;
        if (!crashed && code != 0) return ReportKillPoints(point);
        SCOPED_TRACE(testing::Message() << "killed at point " << point);
        check(crashed ? point : 0);
        if (!crashed) return ReportKillPoints(point - 1);
    }
    ADD_FAILURE() << "the operation met more than " << MaxPoints << " points";
    return MaxPoints;
}

}  // namespace qorvale::test
