#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace qorvale::platform {

// The new content of a file, written beside it as `path` + ".new" and put in its place by one
// rename once it is complete and flushed: until then the old file stays whole, and a crash
// leaves at most a stray ".new" file. Abandoned (the ".new" file deleted) unless committed.
class StagedFile {
  public:
    StagedFile(FileSystem& file_system, std::string path);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    static std::string StagePath(const std::string& path) { return path + ".new"; }

    bool IsOpen() const { return file_.IsOpen(); }
    File& Handle() { return file_; }
    const std::string& Path() const { return path_; }
    bool Write(const void* data, std::int64_t size);
    // Flushes and closes the new content without putting it in place (for a set of files that
    // are put in place together). False when any write or the flush failed.
    bool Finish();
    // Finish, then the rename over the old file.
    bool Commit();
    void Abandon();
    // After Finish: the caller puts the new content in place itself (a set of files renamed
    // together), so it is no longer deleted when this object goes.
    void Keep() { committed_ = true; }

  private:
    FileSystem& file_system_;
    std::string path_;
    File file_;
    bool failed_ = false;
    bool finished_ = false;
    bool committed_ = false;
};

// Replaces the whole content of `path` by `size` bytes through a StagedFile.
bool ReplaceFileContents(FileSystem& file_system, const std::string& path, const void* data,
                         std::int64_t size);

}  // namespace qorvale::platform
