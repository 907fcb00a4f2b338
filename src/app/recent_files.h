#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace qorvale::app {

// The PGN files opened last, newest first, for the File menu. Kept in "recent.txt" in the
// install folder, one path per line; a file that cannot be read is an empty list.
class RecentFiles {
  public:
    static constexpr std::size_t MaxFiles = 9;

    // `list_path` is the list's file; `files` carries its rewrites and must outlive the list.
    explicit RecentFiles(std::string list_path,
                         platform::FileSystem& files = platform::SystemFileSystem());

    const std::vector<std::string>& Paths() const { return paths_; }
    // Reads the list from its file.
    void Load();
    // `path` becomes the newest; the oldest beyond MaxFiles goes. Saved at once.
    void Add(const std::string& path);
    // A file that could no longer be opened leaves the list. Saved at once.
    void Remove(const std::string& path);

  private:
    bool Save() const;

    std::string list_path_;
    platform::FileSystem& files_;
    std::vector<std::string> paths_;
};

// The name of the list in the install folder.
std::string RecentFilesPath(const std::string& app_folder);

}  // namespace qorvale::app
