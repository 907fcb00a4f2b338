#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qorvale::platform {

// A whole file mapped read-only into memory, for readers that jump about a large file (the
// database's records and chains). Move-only; the destructor unmaps it. An empty file maps to
// an empty span.
class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the file cannot be opened or mapped. `whole`: the reader will go through all of
    // it, so the mapping is filled in at once rather than page by page as it is touched.
    [[nodiscard]] bool Open(const std::string& path, bool whole = false);
    bool IsOpen() const { return open_; }
    std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }
    std::size_t Size() const { return size_; }
    void Close();

  private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    bool open_ = false;
};

}  // namespace qorvale::platform
