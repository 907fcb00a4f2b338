#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "platform/file_system.h"

namespace qorvale::test {

// The real file system with one kind of trouble: a read-only folder (nothing can be opened for
// writing or created), a disk that fills after `disk_bytes` more bytes (the write that meets the
// limit puts part of its bytes down and fails; bytes written over a file's own bytes take no
// room), or renames that fail.
class FaultyFileSystem final : public platform::FileSystem {
  public:
    enum class Fault { None, ReadOnly, DiskFull, RenameFails };
    explicit FaultyFileSystem(Fault fault, std::int64_t disk_bytes = 0)
        : fault_(fault), disk_bytes_(disk_bytes) {}

    platform::File Open(const std::string& path, platform::File::Mode mode) override {
        if (fault_ == Fault::ReadOnly && mode == platform::File::Mode::ReadWrite) return {};
        return FileSystem::Open(path, mode);
    }
    platform::File Create(const std::string& path) override {
        return fault_ == Fault::ReadOnly ? platform::File() : FileSystem::Create(path);
    }
    bool Write(platform::File& file, const void* data, std::int64_t size) override {
        if (fault_ != Fault::DiskFull) return FileSystem::Write(file, data, size);
        // Bytes written over the file's own bytes take no new room.
        const std::int64_t inside = std::max<std::int64_t>(0, file.Size() - file.Tell());
        const std::int64_t room = inside + disk_bytes_;
        if (size <= room) {
            disk_bytes_ -= std::max<std::int64_t>(0, size - inside);
            return FileSystem::Write(file, data, size);
        }
        FileSystem::Write(file, data, room);
        disk_bytes_ = 0;
        return false;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return fault_ != Fault::RenameFails && FileSystem::Rename(from, to);
    }

  private:
    Fault fault_;
    std::int64_t disk_bytes_;
};

// Every file of a folder by name, with its content: what a failed change must leave as it was.
using FolderSnapshot = std::map<std::string, std::string>;
FolderSnapshot FolderContents(const std::string& folder);
// "" when the two snapshots are equal, else the names that differ with their sizes.
std::string FolderDifference(const FolderSnapshot& expected, const FolderSnapshot& actual);

}  // namespace qorvale::test
