#include "platform/file_system.h"

#include <sys/stat.h>

namespace qorvale::platform {

FileSystem& SystemFileSystem() {
    // Stateless, so one shared instance holds no program state.
    static FileSystem system;
    return system;
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
