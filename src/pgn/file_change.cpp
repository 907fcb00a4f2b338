#include "pgn/file_change.h"

#include <algorithm>

#include "base/bytes.h"
#include "pgn/display_stem.h"
#include "pgn/rewrap.h"
#include "platform/folder.h"

namespace qorvale::pgn {

namespace {

// Writes go to the disk in blocks of this size, however small the pieces they are made of.
constexpr std::size_t ChangeBlockSize = std::size_t{1} << 20;
constexpr std::string_view JournalMagic = "QJ01";
constexpr std::size_t JournalHeaderSize = 24;

std::string TempPathBeside(const std::string& path) {
    return platform::JoinPath(platform::FolderOf(path), RewriteTempName);
}

template <typename Flush>
bool Append(std::vector<char>& buffer, std::string_view bytes, Flush&& flush) {
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    return buffer.size() < ChangeBlockSize || flush();
}

}  // namespace

// ---- ReplacementFile ---------------------------------------------------------------------------

ReplacementFile::ReplacementFile(platform::FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)), temp_path_(TempPathBeside(path_)) {}

ReplacementFile::~ReplacementFile() { Abandon(); }

ChangeFailure ReplacementFile::Begin() {
    temp_ = file_system_.Create(temp_path_);
    if (!temp_.IsOpen()) return ChangeFailure::Create;
    buffer_.reserve(ChangeBlockSize);
    return ChangeFailure::None;
}

bool ReplacementFile::FlushBuffer() {
    if (failed_) return false;
    if (!buffer_.empty() &&
        !file_system_.Write(temp_, buffer_.data(), static_cast<std::int64_t>(buffer_.size()))) {
        failed_ = true;
    }
    buffer_.clear();
    return !failed_;
}

bool ReplacementFile::Write(std::string_view bytes) {
    if (failed_ || !temp_.IsOpen()) return false;
    return Append(buffer_, bytes, [this] { return FlushBuffer(); });
}

bool ReplacementFile::CopyFrom(platform::File& source, std::int64_t from, std::int64_t to) {
    if (from >= to) return !failed_;
    if (!source.Seek(from)) return false;
    std::vector<char> block(ChangeBlockSize);
    while (from < to) {
        std::int64_t want =
            std::min<std::int64_t>(to - from, static_cast<std::int64_t>(block.size()));
        std::int64_t got = source.Read(block.data(), want);
        if (got <= 0) return false;
        if (!Write(std::string_view(block.data(), static_cast<std::size_t>(got)))) return false;
        from += got;
    }
    return true;
}

ChangeFailure ReplacementFile::Commit(std::span<const std::string> drop) {
    if (!temp_.IsOpen()) return ChangeFailure::Create;
    // The new content must be on the disk before it replaces the user's file.
    if (!FlushBuffer() || !file_system_.Flush(temp_)) {
        Abandon();
        return ChangeFailure::Write;
    }
    temp_.Close();
    platform::CopyFileMode(path_, temp_path_);
    for (const std::string& derived : drop) file_system_.Delete(derived);
    if (!file_system_.Rename(temp_path_, path_)) {
        file_system_.Delete(temp_path_);
        return ChangeFailure::Replace;
    }
    return ChangeFailure::None;
}

void ReplacementFile::Abandon() {
    if (!temp_.IsOpen()) return;
    temp_.Close();
    buffer_.clear();
    file_system_.Delete(temp_path_);
}

ChangeFailure SpliceFile(platform::FileSystem& file_system, const std::string& path,
                         std::int64_t cut_from, std::int64_t cut_to, std::string_view insert,
                         std::span<const std::string> drop) {
    // Read through a handle opened for writing: a file the user may only read is refused
    // before anything is written.
    platform::File source = file_system.Open(path, platform::File::Mode::ReadWrite);
    if (!source.IsOpen()) return ChangeFailure::Open;
    const std::int64_t size = source.Size();
    cut_to = std::clamp<std::int64_t>(cut_to, 0, size);
    cut_from = std::clamp<std::int64_t>(cut_from, 0, cut_to);
    ReplacementFile replacement(file_system, path);
    if (ChangeFailure failure = replacement.Begin(); failure != ChangeFailure::None) return failure;
    if (!replacement.CopyFrom(source, 0, cut_from) || !replacement.Write(insert) ||
        !replacement.CopyFrom(source, cut_to, size)) {
        return ChangeFailure::Write;
    }
    source.Close();
    return replacement.Commit(drop);
}

ChangeFailure WriteNewFile(platform::FileSystem& file_system, const std::string& path,
                           std::string_view content) {
    ReplacementFile replacement(file_system, path);
    if (ChangeFailure failure = replacement.Begin(); failure != ChangeFailure::None) return failure;
    if (!replacement.Write(content)) return ChangeFailure::Write;
    return replacement.Commit();
}

// ---- EndOfFileChange ---------------------------------------------------------------------------

std::string ChangeJournalPath(const std::string& pgn_path) {
    return DerivedFilePath(pgn_path, "PGJ");
}

std::string WriteChangeJournal(const ChangeJournal& journal) {
    std::vector<std::uint8_t> bytes(JournalMagic.begin(), JournalMagic.end());
    for (std::int64_t value : {journal.old_length, journal.at}) {
        AppendU32(bytes, static_cast<std::uint32_t>(value));
        AppendU32(bytes, static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) >> 32));
    }
    AppendU32(bytes, static_cast<std::uint32_t>(journal.saved.size()));
    std::string text(bytes.begin(), bytes.end());
    return text + journal.saved;
}

std::optional<ChangeJournal> ReadChangeJournal(std::string_view bytes) {
    if (bytes.size() < JournalHeaderSize || !bytes.starts_with(JournalMagic)) return std::nullopt;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    auto read64 = [&](std::size_t at) {
        return static_cast<std::int64_t>(GetU32(data + at) |
                                         (static_cast<std::uint64_t>(GetU32(data + at + 4)) << 32));
    };
    ChangeJournal journal;
    journal.old_length = read64(4);
    journal.at = read64(12);
    std::uint32_t saved = GetU32(data + 20);
    // The saved bytes end the journal exactly and lie inside the old length.
    if (bytes.size() - JournalHeaderSize != saved || journal.old_length < 0 || journal.at < 0 ||
        journal.at > journal.old_length ||
        static_cast<std::int64_t>(saved) > journal.old_length - journal.at) {
        return std::nullopt;
    }
    journal.saved.assign(bytes.substr(JournalHeaderSize));
    return journal;
}

EndOfFileChange::EndOfFileChange(platform::FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)) {}

EndOfFileChange::~EndOfFileChange() {
    if (begun_) Undo();
}

ChangeFailure EndOfFileChange::Begin(std::int64_t at, std::int64_t overwritten) {
    file_ = file_system_.Open(path_, platform::File::Mode::ReadWrite);
    if (!file_.IsOpen()) return ChangeFailure::Open;
    old_length_ = file_.Size();
    at_ = std::clamp<std::int64_t>(at, 0, old_length_);
    const std::int64_t end =
        overwritten < 0 ? old_length_ : std::min(old_length_, at_ + overwritten);
    saved_.resize(static_cast<std::size_t>(end - at_));
    if (!file_.Seek(at_) || file_.Read(saved_.data(), end - at_) != end - at_) {
        return ChangeFailure::Open;
    }
    ChangeJournal journal{old_length_, at_, saved_};
    const std::string temp_path = TempPathBeside(path_);
    platform::File temp = file_system_.Create(temp_path);
    if (!temp.IsOpen()) return ChangeFailure::Create;
    const std::string bytes = WriteChangeJournal(journal);
    const bool written =
        file_system_.Write(temp, bytes.data(), static_cast<std::int64_t>(bytes.size())) &&
        file_system_.Flush(temp);
    temp.Close();
    if (!written || !file_system_.Rename(temp_path, ChangeJournalPath(path_))) {
        file_system_.Delete(temp_path);
        return written ? ChangeFailure::Create : ChangeFailure::Write;
    }
    begun_ = true;
    position_ = at_;
    if (!file_.Seek(at_)) {
        Undo();
        return ChangeFailure::Write;
    }
    buffer_.reserve(ChangeBlockSize);
    return ChangeFailure::None;
}

bool EndOfFileChange::FlushBuffer() {
    if (failed_) return false;
    if (!buffer_.empty()) {
        if (!file_system_.Write(file_, buffer_.data(), static_cast<std::int64_t>(buffer_.size()))) {
            failed_ = true;
        } else {
            position_ += static_cast<std::int64_t>(buffer_.size());
        }
    }
    buffer_.clear();
    return !failed_;
}

bool EndOfFileChange::Write(std::string_view bytes) {
    if (failed_ || !begun_) return false;
    return Append(buffer_, bytes, [this] { return FlushBuffer(); });
}

ChangeFailure EndOfFileChange::Finish(bool cut) {
    if (!begun_) return ChangeFailure::Open;
    bool done = FlushBuffer();
    new_length_ = std::max(position_, old_length_);
    if (done && cut && position_ < old_length_) {
        done = file_system_.SetLength(file_, position_);
        new_length_ = position_;
    }
    if (done) done = file_system_.Flush(file_);
    if (!done) {
        Undo();
        return ChangeFailure::Write;
    }
    return ChangeFailure::None;
}

void EndOfFileChange::Commit() {
    if (!begun_) return;
    begun_ = false;
    file_.Close();
    file_system_.Delete(ChangeJournalPath(path_));
}

bool EndOfFileChange::Undo() {
    begun_ = false;
    buffer_.clear();
    // The journal stays until the old bytes are back on the disk, so that a failure here is
    // mended at the next open.
    bool restored =
        file_.IsOpen() && file_.Seek(at_) &&
        file_system_.Write(file_, saved_.data(), static_cast<std::int64_t>(saved_.size())) &&
        file_system_.SetLength(file_, old_length_) && file_system_.Flush(file_);
    file_.Close();
    if (restored) file_system_.Delete(ChangeJournalPath(path_));
    return restored;
}

bool RecoverInterruptedChange(platform::FileSystem& file_system, const std::string& pgn_path) {
    const std::string journal_path = ChangeJournalPath(pgn_path);
    if (!platform::FileExists(journal_path)) return false;
    std::string bytes;
    {
        platform::File journal_file =
            platform::File::Open(journal_path, platform::File::Mode::Read);
        std::int64_t size = journal_file.Size();
        if (size < 0) return false;
        bytes.resize(static_cast<std::size_t>(size));
        if (journal_file.Read(bytes.data(), size) != size) return false;
    }
    std::optional<ChangeJournal> journal = ReadChangeJournal(bytes);
    platform::File file = file_system.Open(pgn_path, platform::File::Mode::ReadWrite);
    // Without write access the journal waits for a later open that has it.
    if (!file.IsOpen()) return false;
    // A change only ever wrote from `at` on; a file shorter than that has been changed by
    // something else since, and the journal no longer describes it.
    // Nor does one that would make the file longer than it or the saved bytes ever made it.
    if (!journal || file.Size() < journal->at ||
        journal->old_length >
            std::max<std::int64_t>(
                file.Size(), journal->at + static_cast<std::int64_t>(journal->saved.size()))) {
        file.Close();
        file_system.Delete(journal_path);
        return false;
    }
    bool restored = file.Seek(journal->at) &&
                    file_system.Write(file, journal->saved.data(),
                                      static_cast<std::int64_t>(journal->saved.size())) &&
                    file_system.SetLength(file, journal->old_length) && file_system.Flush(file);
    file.Close();
    if (restored) file_system.Delete(journal_path);
    return restored;
}

}  // namespace qorvale::pgn
