#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// A folder of its own for one fuzzing process, for the readers that take a path. The input is
// written to a file there before each run; the folder goes when the process ends normally.
class ScratchFolder {
  public:
    ScratchFolder()
        : folder_(std::filesystem::temp_directory_path() /
                  ("qorvale-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    // Writes `size` bytes of `data` to `name` and returns its path.
    std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        std::string path = Path(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }

    // Removes everything a run left behind (derived files, temporary files).
    void Clear() const {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder_, ignored)) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }

  private:
    std::filesystem::path folder_;
};

inline ScratchFolder& Scratch() {
    static ScratchFolder folder;
    return folder;
}
