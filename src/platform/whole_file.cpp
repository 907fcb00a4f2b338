#include "platform/whole_file.h"

#include <new>

namespace qorvale::platform {

namespace {

std::string NewPath(const std::string& path) { return path + ".new"; }

// Writes every content into its new file; false at the first failure, with every new file made
// so far removed.
bool WriteNewFiles(FileSystem& files, std::span<const FileContent> contents,
                   std::vector<File>& opened) {
    for (const FileContent& content : contents) {
        opened.push_back(files.Create(NewPath(content.path)));
        if (!opened.back().IsOpen() ||
            !files.Write(opened.back(), content.bytes.data(),
                         static_cast<std::int64_t>(content.bytes.size()))) {
            return false;
        }
    }
    std::vector<File*> handles;
    for (File& file : opened) handles.push_back(&file);
    // One file is flushed alone: flushing its whole file system would cost more.
    return handles.size() == 1 ? files.Flush(opened.front()) : files.FlushAll(handles);
}

}  // namespace

bool WriteWholeFiles(FileSystem& files, std::span<const FileContent> contents) {
    std::vector<File> opened;
    opened.reserve(contents.size());
    bool written = WriteNewFiles(files, contents, opened);
    for (File& file : opened) file.Close();
    std::size_t renamed = 0;
    while (written && renamed < contents.size()) {
        written = files.Rename(NewPath(contents[renamed].path), contents[renamed].path);
        if (written) ++renamed;
    }
    for (std::size_t k = renamed; k < opened.size(); ++k) {
        (void)files.Delete(NewPath(contents[k].path));
    }
    return written;
}

bool WriteWholeFile(FileSystem& files, const std::string& path,
                    std::span<const std::uint8_t> content) {
    const FileContent whole[] = {{path, {content.begin(), content.end()}}};
    return WriteWholeFiles(files, whole);
}

bool WriteWholeFile(FileSystem& files, const std::string& path, std::string_view content) {
    return WriteWholeFile(
        files, path,
        std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                       std::int64_t most_bytes) {
    File file = File::Open(path, File::Mode::Read);
    if (!file.IsOpen()) return std::nullopt;
    const std::int64_t size = file.Size();
    if (size < 0) return std::nullopt;
    const std::int64_t wanted = size < most_bytes ? size : most_bytes;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(wanted));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::int64_t total = 0;
    while (total < wanted) {
        const std::int64_t got = file.Read(bytes.data() + total, wanted - total);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        total += got;
    }
    bytes.resize(static_cast<std::size_t>(total));
    return bytes;
}

}  // namespace qorvale::platform
