#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace qorvale::platform {

// A file system that ends the process without any clean-up at one chosen point of a rewrite, as
// a crash or a power cut of the program would (the kernel keeps what was written). Points are
// numbered from 1 in the order they are met: before each step, after each step, and for a write
// also halfway through (the first half of the bytes written). Tests run the rewrite in a child
// process for every point in turn and then check what is left on disk.
class CrashingFileSystem final : public FileSystem {
  public:
    // The exit code of a process ended at its point.
    static constexpr int CrashExitCode = 86;

    // `crash_point` 0 never ends the process: the run only counts the points it meets.
    // `sync` false skips the flush to the disk itself (the points stay): a killed process loses
    // nothing the kernel holds, so tests of many large writes need not wait for the disk.
    explicit CrashingFileSystem(int crash_point, bool sync = true)
        : crash_point_(crash_point), sync_(sync) {}

    File Create(const std::string& path) override;
    bool Write(File& file, const void* data, std::int64_t size) override;
    bool Flush(File& file) override;
    bool FlushAll(std::span<File* const> files) override;
    bool SetLength(File& file, std::int64_t length) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;

    int PointsMet() const { return points_met_; }

  private:
    void Point();

    int crash_point_;
    bool sync_;
    int points_met_ = 0;
};

}  // namespace qorvale::platform
