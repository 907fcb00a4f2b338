#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qorvale::test {

TempDir::TempDir() : TempDir(std::string()) {}

TempDir::TempDir(const std::string& base) {
    std::error_code ignored;
    std::filesystem::path folder = !base.empty() && std::filesystem::is_directory(base, ignored)
                                       ? std::filesystem::path(base)
                                       : std::filesystem::temp_directory_path();
    std::string pattern = (folder / "qorvale-test-XXXXXX").string();
    if (char* made = ::mkdtemp(pattern.data())) path_ = made;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string TempDir::Write(std::string_view name, std::string_view content) const {
    std::string path = File(name);
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return path;
}

std::string TempDir::CopyData(std::string_view data_name, std::string_view name) const {
    return Write(name, ReadWholeFile(TestDataPath(data_name)));
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string TestDataPath(std::string_view name) {
    return std::string(QORVALE_TEST_DATA) + "/" + std::string(name);
}

}  // namespace qorvale::test
