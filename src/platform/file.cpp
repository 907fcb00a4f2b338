#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace qorvale::platform {

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

File File::Open(const std::string& path, Mode mode) {
    int flags = (mode == Mode::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    int handle = ::open(path.c_str(), flags);
    if (handle >= 0) {
        struct stat info;
        // A folder opens for reading on POSIX but is no file to the program.
        if (::fstat(handle, &info) != 0 || S_ISDIR(info.st_mode)) {
            ::close(handle);
            handle = -1;
        }
    }
    return File(handle);
}

File File::Create(const std::string& path) {
    return File(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

std::int64_t File::ReadAt(std::int64_t offset, void* buffer, std::int64_t size) const {
    if (handle_ < 0 || offset < 0) return -1;
    auto* out = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (done < size) {
        ssize_t got = ::pread(handle_, out + done, static_cast<size_t>(size - done),
                              static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? done : -1;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

std::int64_t File::Read(void* buffer, std::int64_t size) {
    if (handle_ < 0) return -1;
    auto* out = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (done < size) {
        ssize_t got = ::read(handle_, out + done, static_cast<size_t>(size - done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? done : -1;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

bool File::Write(const void* buffer, std::int64_t size) {
    if (handle_ < 0) return false;
    const auto* in = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < size) {
        ssize_t put = ::write(handle_, in + done, static_cast<size_t>(size - done));
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += put;
    }
    return true;
}

bool File::Seek(std::int64_t offset) {
    return handle_ >= 0 && offset >= 0 && ::lseek(handle_, offset, SEEK_SET) == offset;
}

std::int64_t File::Tell() const {
    return handle_ >= 0 ? static_cast<std::int64_t>(::lseek(handle_, 0, SEEK_CUR)) : -1;
}

std::int64_t File::Size() const {
    struct stat info;
    if (handle_ < 0 || ::fstat(handle_, &info) != 0) return -1;
    return info.st_size;
}

bool File::SetLength(std::int64_t length) {
    return handle_ >= 0 && length >= 0 && ::ftruncate(handle_, length) == 0;
}

bool File::Flush() { return handle_ >= 0 && ::fsync(handle_) == 0; }

bool File::FlushAll(std::span<File* const> files) {
    std::vector<dev_t> flushed;
    for (File* file : files) {
        struct stat info;
        if (file == nullptr || file->handle_ < 0 || ::fstat(file->handle_, &info) != 0) {
            return false;
        }
        if (std::find(flushed.begin(), flushed.end(), info.st_dev) != flushed.end()) continue;
        if (::syncfs(file->handle_) != 0) return false;
        flushed.push_back(info.st_dev);
    }
    return true;
}

void File::Close() {
    if (handle_ >= 0) ::close(std::exchange(handle_, -1));
}

bool FileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::int64_t FileSize(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return info.st_size;
}

std::int64_t FileModifiedTime(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return -1;
    return info.st_mtime;
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to) {
    File in = File::Open(from, File::Mode::Read);
    if (!in.IsOpen()) return false;
    File out = File::Create(to);
    if (!out.IsOpen()) return false;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        std::int64_t got = in.Read(buffer.data(), static_cast<std::int64_t>(buffer.size()));
        if (got < 0) return false;
        if (got == 0) break;
        if (!out.Write(buffer.data(), got)) return false;
    }
    return true;
}

bool CopyFileMode(const std::string& from, const std::string& to) {
    struct stat info;
    return ::stat(from.c_str(), &info) == 0 && ::chmod(to.c_str(), info.st_mode & 07777) == 0;
}

bool CreateFolder(const std::string& path) {
    if (path.empty()) return false;
    if (FolderExists(path)) return true;
    std::string::size_type slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !CreateFolder(path.substr(0, slash))) {
        return false;
    }
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::string LastSystemError() {
    const int error = errno;
    char buffer[256];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    auto text = strerror_r(error, buffer, sizeof buffer);
    if constexpr (std::is_same_v<decltype(text), char*>) {
        return text;
    } else {
        return text == 0 ? buffer : "error " + std::to_string(error);
    }
}

}  // namespace qorvale::platform
