#pragma once

#include <string>
#include <string_view>

namespace qorvale::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// guard goes out of scope.
class TempDir {
  public:
    TempDir();
    // Under `base` instead, when that folder exists. Kill tests pass "/dev/shm": a killed process
    // loses nothing the kernel holds, so a memory file system tests the same and makes the
    // flushes of hundreds of runs cheap.
    explicit TempDir(const std::string& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path()/name
    std::string File(std::string_view name) const;
    // Writes `content` to path()/name and returns the path.
    std::string Write(std::string_view name, std::string_view content) const;
    // Copies the tests/data file `data_name` to path()/name and returns the path.
    std::string CopyData(std::string_view data_name, std::string_view name) const;

  private:
    std::string path_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);

// A file of tests/data/.
std::string TestDataPath(std::string_view name);

}  // namespace qorvale::test
