#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qorvale::utilities {

// The forms a downloaded file comes in, told by its first bytes rather than its name.
enum class PackedForm { Plain, Zip, Gzip, Bzip2 };
PackedForm DetectPackedForm(std::string_view first_bytes);

// Why an archive could not be unpacked.
enum class UnpackStatus {
    Done,
    Damaged,      // the library could not read it
    UnsafePath,   // an entry names a path outside the target folder ("../x", "/etc/x")
    TooLarge,     // the unpacked bytes passed the limit
    WriteFailed,  // the sink refused
    Cancelled,
};

struct UnpackOutcome {
    UnpackStatus status = UnpackStatus::Done;
    std::string entry;   // the entry concerned
    std::string detail;  // the library's words
};

// Where the entries go. Begin is called for every regular file with its name as the archive
// gives it (already checked to stay inside the folder); returning false skips that entry.
class UnpackSink {
  public:
    virtual ~UnpackSink() = default;
    virtual bool Begin(const std::string& name) = 0;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool End() = 0;
    virtual bool Cancelled() { return false; }
};

// Whether an archive entry's name stays inside the folder it is unpacked into: relative, no
// ".." component, no drive letter or backslash tricks.
bool IsSafeEntryName(std::string_view name);

// Unpacks `form` (not Plain) read from the file at `path`, or from memory with the second form.
// A gzip or bzip2 file is one entry named `single_name`. Every entry's name is checked before
// any entry is written, so an archive with an unsafe name writes nothing. `max_bytes` bounds
// the sum of the unpacked sizes (0: no bound).
UnpackOutcome UnpackArchiveFile(const std::string& path, PackedForm form,
                                const std::string& single_name, std::int64_t max_bytes,
                                UnpackSink& sink);
UnpackOutcome UnpackArchiveMemory(std::string_view bytes, PackedForm form,
                                  const std::string& single_name, std::int64_t max_bytes,
                                  UnpackSink& sink);

}  // namespace qorvale::utilities
