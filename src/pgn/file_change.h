#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"

namespace qorvale::pgn {

// Why a change of a user's file did not happen. Whatever the failure, the file holds exactly
// what it held before.
enum class ChangeFailure {
    None,
    Open,     // the file cannot be opened for writing (it is read-only, or gone)
    Create,   // the new content or the journal cannot be created beside it
    Write,    // a write or the flush failed (the disk is full)
    Replace,  // the new content could not take the file's place
};

// A file's new content, written beside it under the name "tempqqqq.xyz" (the same folder, so
// that the rename is atomic), flushed, and then renamed over it. Until Commit the file is
// untouched; a ReplacementFile dropped before Commit removes what it wrote.
class ReplacementFile {
  public:
    ReplacementFile(platform::FileSystem& file_system, std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    ChangeFailure Begin();
    // Buffered; false once a write has failed.
    bool Write(std::string_view bytes);
    // Copies bytes [from, to) of `source`.
    bool CopyFrom(platform::File& source, std::int64_t from, std::int64_t to);
    // Flushes the new content, deletes the files in `drop` (caches that describe the old
    // content), and renames it over the file. The new file gets the old one's access rights.
    ChangeFailure Commit(std::span<const std::string> drop = {});
    void Abandon();

  private:
    bool FlushBuffer();

    platform::FileSystem& file_system_;
    std::string path_;
    std::string temp_path_;
    platform::File temp_;
    std::vector<char> buffer_;
    bool failed_ = false;
};

// Writes old[0, cut_from) + `insert` + old[cut_to, end) beside the file at `path` and puts it in
// the file's place (a delete, an insert or a replace of one game). `drop` as in Commit.
ChangeFailure SpliceFile(platform::FileSystem& file_system, const std::string& path,
                         std::int64_t cut_from, std::int64_t cut_to, std::string_view insert,
                         std::span<const std::string> drop = {});

// The same for a file that does not exist yet: it appears complete or not at all.
ChangeFailure WriteNewFile(platform::FileSystem& file_system, const std::string& path,
                           std::string_view content);

// A change at the end of a file made in place (an append, an overwrite of the last game, a cut
// of the last game), cheap however long the file is. Before the first byte is written, what the
// change overwrites or cuts and the old length are kept in a journal beside the file
// ("games.pgn" -> "games.PGJ"); Commit deletes it. A change that fails is undone at once; one
// that never finishes (the program was killed) is undone by RecoverInterruptedChange when the
// file is next opened. Journal layout, little-endian:
//   0   4 bytes  "QJ01"
//   4   u32 x 2  the file's old length (low word, high word)
//   12  u32 x 2  where the change begins (low, high)
//   20  u32      n, the number of saved bytes
//   24  n bytes  the old bytes from where the change begins
// The journal itself is written beside, flushed and renamed into place, so it is whole or absent.
class EndOfFileChange {
  public:
    EndOfFileChange(platform::FileSystem& file_system, std::string path);
    // An unfinished change is undone.
    ~EndOfFileChange();
    EndOfFileChange(const EndOfFileChange&) = delete;
    EndOfFileChange& operator=(const EndOfFileChange&) = delete;

    // Opens the file for writing and journals the bytes [at, at + overwritten) of it (all the
    // bytes from `at` on when `overwritten` is negative). REQUIRES: at <= the file's length.
    ChangeFailure Begin(std::int64_t at, std::int64_t overwritten);
    // Buffered; false once a write has failed.
    bool Write(std::string_view bytes);
    // Writes what is buffered, cuts the file at the write position when `cut` and the file is
    // longer, and flushes. On failure the change is undone.
    ChangeFailure Finish(bool cut);
    // The change is complete: the journal goes.
    void Commit();
    // Puts the old bytes and length back and deletes the journal.
    bool Undo();

    std::int64_t OldLength() const { return old_length_; }
    // The file's length after Finish.
    std::int64_t NewLength() const { return new_length_; }

  private:
    bool FlushBuffer();

    platform::FileSystem& file_system_;
    std::string path_;
    platform::File file_;
    std::int64_t at_ = 0;
    std::int64_t old_length_ = 0;
    std::int64_t position_ = 0;
    std::int64_t new_length_ = 0;
    std::string saved_;
    std::vector<char> buffer_;
    bool begun_ = false;
    bool failed_ = false;
};

// The journal beside a PGN file.
std::string ChangeJournalPath(const std::string& pgn_path);

struct ChangeJournal {
    std::int64_t old_length = 0;
    std::int64_t at = 0;
    std::string saved;
};
// The journal's bytes as written by EndOfFileChange; nullopt when they are not one.
std::optional<ChangeJournal> ReadChangeJournal(std::string_view bytes);
std::string WriteChangeJournal(const ChangeJournal& journal);

// Undoes a change at the end of `pgn_path` that was cut short, when its journal lies beside it.
// Returns true when the file was put back. A journal that does not fit the file is dropped.
bool RecoverInterruptedChange(platform::FileSystem& file_system, const std::string& pgn_path);

}  // namespace qorvale::pgn
