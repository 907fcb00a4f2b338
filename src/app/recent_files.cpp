#include "app/recent_files.h"

#include <algorithm>
#include <fstream>

#include "platform/folder.h"

namespace qorvale::app {

RecentFiles::RecentFiles(std::string list_path, platform::FileSystem& files)
    : list_path_(std::move(list_path)), files_(files) {}

std::string RecentFilesPath(const std::string& app_folder) {
    return platform::JoinPath(app_folder, "recent.txt");
}

void RecentFiles::Load() {
    paths_.clear();
    std::ifstream in(list_path_, std::ios::binary);
    std::string line;
    while (paths_.size() < MaxFiles && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || std::find(paths_.begin(), paths_.end(), line) != paths_.end()) continue;
        paths_.push_back(line);
    }
}

void RecentFiles::Add(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > MaxFiles) paths_.resize(MaxFiles);
    (void)Save();
}

void RecentFiles::Remove(const std::string& path) {
    const auto end = std::remove(paths_.begin(), paths_.end(), path);
    if (end == paths_.end()) return;
    paths_.erase(end, paths_.end());
    (void)Save();
}

bool RecentFiles::Save() const {
    std::string text;
    for (const std::string& path : paths_) {
        text += path;
        text += "\r\n";
    }
    // A list that cannot be written costs only the next start its menu entries.
    return platform::ReplaceFileContents(files_, list_path_, text);
}

}  // namespace qorvale::app
