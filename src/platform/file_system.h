#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"

namespace qorvale::platform {

// The file operations a rewrite of a user's file goes through (create the new content beside
// it, write, flush, rename over, delete). The base class does the real thing; a test derives
// from it and makes one step fail to show that the user's file survives.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual File Create(const std::string& path) { return File::Create(path); }
    virtual bool Write(File& file, const void* data, std::int64_t size) {
        return file.Write(data, size);
    }
    virtual bool Flush(File& file) { return file.Flush(); }
    // Replaces `to` if it exists.
    virtual bool Rename(const std::string& from, const std::string& to) {
        return RenameFile(from, to);
    }
    virtual bool Delete(const std::string& path) { return DeleteFile(path); }
};

// The real file system, for code that is not under test.
FileSystem& SystemFileSystem();

// Replaces the whole content of `path` the safe way: the bytes go to `path` + ".new", are
// flushed, and that file is renamed over `path`. The old content stays whole until then; on
// failure the ".new" file is removed and false returned.
bool ReplaceFileContent(FileSystem& files, const std::string& path, const void* data,
                        std::int64_t size);

// Reads a file whole, or its first `max_size` bytes when that is not negative. False when it
// cannot be opened or read.
bool ReadFileContent(const std::string& path, std::string& content, std::int64_t max_size = -1);

// Whether two paths name the same file (both exist and are one file), as on a file system that
// ignores letter case.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace qorvale::platform
