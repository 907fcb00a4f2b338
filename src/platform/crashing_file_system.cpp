#include "platform/crashing_file_system.h"

#include <unistd.h>

namespace qorvale::platform {

void CrashingFileSystem::Point() {
    ++points_met_;
    // No destructors, no atexit handlers, no stream buffers: the process is simply gone.
    if (points_met_ == crash_point_) ::_exit(CrashExitCode);
}

File CrashingFileSystem::Create(const std::string& path) {
    Point();
    File file = FileSystem::Create(path);
    Point();
    return file;
}

bool CrashingFileSystem::Write(File& file, const void* data, std::int64_t size) {
    Point();
    std::int64_t half = size / 2;
    bool written = FileSystem::Write(file, data, half);
    Point();
    written =
        FileSystem::Write(file, static_cast<const char*>(data) + half, size - half) && written;
    Point();
    return written;
}

bool CrashingFileSystem::Flush(File& file) {
    Point();
    bool flushed = !sync_ || FileSystem::Flush(file);
    Point();
    return flushed;
}

bool CrashingFileSystem::FlushAll(std::span<File* const> files) {
    Point();
    bool flushed = FileSystem::FlushAll(files);
    Point();
    return flushed;
}

bool CrashingFileSystem::SetLength(File& file, std::int64_t length) {
    Point();
    bool set = FileSystem::SetLength(file, length);
    Point();
    return set;
}

bool CrashingFileSystem::Rename(const std::string& from, const std::string& to) {
    Point();
    bool renamed = FileSystem::Rename(from, to);
    Point();
    return renamed;
}

bool CrashingFileSystem::Delete(const std::string& path) {
    Point();
    bool deleted = FileSystem::Delete(path);
    Point();
    return deleted;
}

}  // namespace qorvale::platform
