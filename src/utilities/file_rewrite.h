#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace qorvale::utilities {

// The temporary file of whole-file rewrites, in the PGN file's own folder.
inline constexpr const char* RewriteTempName = "tempqqqq.xyz";

// The new text of a whole-file rewrite, written beside the user's file in large blocks through
// the file system seam (so tests can fail or kill any step). Nothing reaches the user's file
// until ReplacePgnFile.
class RewriteFile {
  public:
    // Writes "tempqqqq.xyz" in the folder of `pgn_path`.
    RewriteFile(platform::FileSystem& file_system, const std::string& pgn_path);
    ~RewriteFile();
    RewriteFile(const RewriteFile&) = delete;
    RewriteFile& operator=(const RewriteFile&) = delete;

    // False when the file cannot be created (a read-only folder).
    bool Create();
    // Appends; a failed write (a full disk) is remembered and later writes are dropped.
    bool Write(std::string_view bytes);
    bool Failed() const { return failed_; }
    // Writes what is buffered, pushes it all to the disk and closes the file; false when
    // anything failed.
    bool Finish();
    // Closes and deletes the file: the user's file stays as it was.
    void Abandon();
    // Renames the finished file over the PGN file; false (and the file abandoned) on failure.
    bool Commit();

    const std::string& Path() const { return path_; }
    const std::string& PgnPath() const { return pgn_path_; }
    platform::FileSystem& FileSystem() { return file_system_; }

  private:
    bool WriteBuffer();

    platform::FileSystem& file_system_;
    std::string pgn_path_;
    std::string path_;
    platform::File file_;
    std::string buffer_;
    bool failed_ = false;
    bool open_ = false;
};

// What a rewrite does to the fast file beside the PGN file.
struct ReplaceOptions {
    enum class FastFile {
        Fix,   // games were only deleted: the fast file drops their records (FixFastFile)
        Drop,  // games were changed: the fast file and the tree files built on it go
    };
    FastFile fast_file = FastFile::Drop;
    std::vector<std::int32_t> deleted_games;  // 1-based, for Fix
};

// Puts the complete temporary file in place of the PGN file. In order: the new text is flushed
// to the disk; the fast file is fixed (or deleted); the offset cache is deleted; the temporary
// file is renamed over the PGN file. A kill at any moment so leaves the old file or the new one,
// and beside it a fast file that is current for it or seen as stale by its game count, and no
// offset cache that could be taken for the new text. The caller reopens the file and rescans it.
//
// Fails with "Error creating temp file." when the text cannot be completed or the rename fails
// (the user's file is then as it was, the temporary file removed), or when the fast file's own
// temporary file cannot be made (then nothing has changed). A header file that cannot be
// rewritten is reported ("Error fixing fast file. Run 'Make Fast File' again.") and the
// replacement goes on. `temp_failure` replaces the message for the utilities that name their
// own ("Error changing date.").
Error ReplacePgnFile(RewriteFile& temp, const ReplaceOptions& options, Ui& ui,
                     std::string_view temp_failure = {});

// Deletes the files derived from the PGN file's text that a rewrite makes wrong without a change
// of game count: the fast file, the tree files and the offset cache.
void DeleteDerivedFiles(platform::FileSystem& file_system, const std::string& pgn_path,
                        bool with_fast_file);

}  // namespace qorvale::utilities
