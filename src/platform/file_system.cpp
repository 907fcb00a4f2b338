#include "platform/file_system.h"

#include <sys/stat.h>

#include <new>

namespace qorvale::platform {

FileSystem& SystemFileSystem() {
    // Stateless, so one shared instance holds no program state.
    static FileSystem system;
    return system;
}

bool ReadFileContent(const std::string& path, std::string& content, std::int64_t max_size) {
    content.clear();
    File file = File::Open(path, File::Mode::Read);
    if (!file.IsOpen()) return false;
    std::int64_t size = file.Size();
    if (size < 0) return false;
    if (max_size >= 0 && size > max_size) size = max_size;
    try {
        content.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::int64_t done = 0;
    while (done < size) {
        std::int64_t got = file.Read(content.data() + done, size - done);
        if (got <= 0) break;
        done += got;
    }
    content.resize(static_cast<std::size_t>(done));
    return done == size;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first;
    struct stat second;
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool ReplaceFileContents(FileSystem& files, const std::string& path, std::string_view bytes) {
    const std::string new_path = path + ".new";
    File file = files.Create(new_path);
    if (!file.IsOpen()) return false;
    const bool written = files.Write(file, bytes.data(), static_cast<std::int64_t>(bytes.size())) &&
                         files.Flush(file);
    file.Close();
    if (written && files.Rename(new_path, path)) return true;
    (void)files.Delete(new_path);
    return false;
}

}  // namespace qorvale::platform
