#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace qorvale::platform {

// The file operations a rewrite of a user's file goes through (create the new content beside
// it, write, flush, rename over, delete; or open it, write at its end and cut it). The base class
// does the real thing; a test derives from it and makes one step fail to show that the user's file
// survives.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual File Create(const std::string& path) { return File::Create(path); }
    // Opens an existing file; a change in place opens it with read/write access first, so a
    // file the user may only read is never touched.
    virtual File Open(const std::string& path, File::Mode mode) { return File::Open(path, mode); }
    virtual bool Write(File& file, const void* data, std::int64_t size) {
        return file.Write(data, size);
    }
    virtual bool Flush(File& file) { return file.Flush(); }
    // Flush of many files at once (File::FlushAll).
    virtual bool FlushAll(std::span<File* const> files) { return File::FlushAll(files); }
    virtual bool SetLength(File& file, std::int64_t length) { return file.SetLength(length); }
    // Replaces `to` if it exists.
    virtual bool Rename(const std::string& from, const std::string& to) {
        return RenameFile(from, to);
    }
    virtual bool Delete(const std::string& path) { return DeleteFile(path); }
};

// The real file system, for code that is not under test.
FileSystem& SystemFileSystem();

// Replaces the whole content of `path` with `bytes` so that a crash at any moment leaves the old
// content or the new, never a part: the bytes are written and flushed beside it ("path.new"),
// then renamed over it. Returns false, with the old file untouched and nothing left beside it,
// when any step fails.
bool ReplaceFileContents(FileSystem& files, const std::string& path, std::string_view bytes);

// Reads a file whole, or its first `max_size` bytes when that is not negative. False when it
// cannot be opened or read.
bool ReadFileContent(const std::string& path, std::string& content, std::int64_t max_size = -1);

// Whether two paths name the same file (both exist and are one file), as on a file system that
// ignores letter case.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace qorvale::platform
