#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace qorvale::platform {

MappedFile::~MappedFile() { Close(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      open_(std::exchange(other.open_, false)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Close();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        open_ = std::exchange(other.open_, false);
    }
    return *this;
}

bool MappedFile::Open(const std::string& path, bool whole) {
    Close();
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) return false;
    struct stat info;
    if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(handle);
        return false;
    }
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ > 0) {
        void* mapped =
            ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | (whole ? MAP_POPULATE : 0), handle, 0);
        if (mapped == MAP_FAILED) {
            ::close(handle);
            size_ = 0;
            return false;
        }
        data_ = static_cast<const std::uint8_t*>(mapped);
    }
    ::close(handle);
    open_ = true;
    return true;
}

void MappedFile::Close() {
    if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    open_ = false;
}

}  // namespace qorvale::platform
