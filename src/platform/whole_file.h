#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace qorvale::platform {

// Writes `content` as the whole of the file at `path`: into `path`.new beside it, flushed, then
// renamed over `path`. A failure at any step leaves `path` as it was (absent, or its old content)
// and removes the new file. Returns false on failure.
bool WriteWholeFile(FileSystem& files, const std::string& path,
                    std::span<const std::uint8_t> content);
bool WriteWholeFile(FileSystem& files, const std::string& path, std::string_view content);

struct FileContent {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

// Writes several files as WriteWholeFile does, with one flush for all of them before the first
// rename. They are renamed in order, so a later file may name an earlier one (a page its images)
// and never be seen without it. On a failure no new file is left beside its target; files
// renamed before a failed rename keep their new content. Returns false on failure.
bool WriteWholeFiles(FileSystem& files, std::span<const FileContent> contents);

// The first `most_bytes` bytes of the file at `path` (all of it when it is shorter), or nothing
// when it cannot be opened or read or memory runs out.
std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                       std::int64_t most_bytes);

}  // namespace qorvale::platform
