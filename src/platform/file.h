#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qorvale::platform {

// An open file, by handle. Move-only; the destructor closes it. Every call reports failure
// through its return value (false, or -1 for counts), never by throwing.
class File {
  public:
    enum class Mode { Read, ReadWrite };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens an existing file.
    [[nodiscard]] static File Open(const std::string& path, Mode mode);
    // Creates the file, or empties an existing one, for reading and writing.
    [[nodiscard]] static File Create(const std::string& path);

    bool IsOpen() const { return handle_ >= 0; }
    // Reads up to `size` bytes; returns the count read (0 at the end) or -1 on failure.
    std::int64_t Read(void* buffer, std::int64_t size);
    // Writes all `size` bytes; false if any could not be written.
    // Reads up to `size` bytes at `offset` without moving the file position (so a const reader
    // can share the handle); the count read, or -1 on failure.
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t size) const;
    bool Write(const void* buffer, std::int64_t size);
    bool Write(std::string_view text) {
        return Write(text.data(), static_cast<std::int64_t>(text.size()));
    }
    bool Seek(std::int64_t offset);
    std::int64_t Tell() const;
    std::int64_t Size() const;
    bool SetLength(std::int64_t length);
    // Pushes written data to the disk: called before a rewritten file replaces the original.
    bool Flush();
    // Pushes the data of every open file in `files` to the disk at once, by flushing each file
    // system they lie on: far cheaper than a Flush of each when many small files are written.
    static bool FlushAll(std::span<File* const> files);
    void Close();

  private:
    explicit File(int handle) : handle_(handle) {}
    int handle_ = -1;
};

bool FileExists(const std::string& path);

// The system's words for why the last file call of this thread failed ("No such file or
// directory").
std::string LastSystemError();
bool FolderExists(const std::string& path);
// The size of a file by name, or -1 when it cannot be read.
std::int64_t FileSize(const std::string& path);
// Seconds since the epoch of the last change, or -1.
std::int64_t FileModifiedTime(const std::string& path);
bool DeleteFile(const std::string& path);
// Replaces `to` if it exists.
bool RenameFile(const std::string& from, const std::string& to);
bool CopyFile(const std::string& from, const std::string& to);
// Gives `to` the access rights of `from`: a file written beside a user's file and renamed over
// it keeps the rights the user gave the original.
bool CopyFileMode(const std::string& from, const std::string& to);
// Creates the folder and any missing parents.
bool CreateFolder(const std::string& path);
// Whether standard error is a terminal (and not a pipe or a file).
bool StandardErrorIsTerminal();

}  // namespace qorvale::platform
