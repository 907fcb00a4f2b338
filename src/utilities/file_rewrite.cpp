#include "utilities/file_rewrite.h"

#include "pgn/offset_cache.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::size_t WriteBlockSize = 1 << 20;

}  // namespace

RewriteFile::RewriteFile(platform::FileSystem& file_system, const std::string& pgn_path)
    : file_system_(file_system),
      pgn_path_(pgn_path),
      path_(platform::JoinPath(platform::FolderOf(pgn_path), RewriteTempName)) {}

RewriteFile::~RewriteFile() {
    if (open_) Abandon();
}

bool RewriteFile::Create() {
    file_ = file_system_.Create(path_);
    open_ = file_.IsOpen();
    failed_ = !open_;
    buffer_.reserve(WriteBlockSize);
    return open_;
}

bool RewriteFile::Write(std::string_view bytes) {
    if (failed_) return false;
    if (buffer_.size() + bytes.size() > WriteBlockSize && !WriteBuffer()) return false;
    if (bytes.size() >= WriteBlockSize) {
        if (!file_system_.Write(file_, bytes.data(), static_cast<std::int64_t>(bytes.size()))) {
            failed_ = true;
        }
        return !failed_;
    }
    buffer_.append(bytes);
    return true;
}

bool RewriteFile::WriteBuffer() {
    if (!buffer_.empty() && !failed_ &&
        !file_system_.Write(file_, buffer_.data(), static_cast<std::int64_t>(buffer_.size()))) {
        failed_ = true;
    }
    buffer_.clear();
    return !failed_;
}

bool RewriteFile::Finish() {
    if (!open_ || !WriteBuffer()) return false;
    if (!file_system_.Flush(file_)) failed_ = true;
    file_.Close();
    return !failed_;
}

bool RewriteFile::Commit() {
    if (!open_ || failed_ || !file_system_.Rename(path_, pgn_path_)) {
        Abandon();
        return false;
    }
    open_ = false;
    return true;
}

void RewriteFile::Abandon() {
    file_.Close();
    if (open_) file_system_.Delete(path_);
    open_ = false;
    buffer_.clear();
}

void DeleteDerivedFiles(platform::FileSystem& file_system, const std::string& pgn_path,
                        bool with_fast_file) {
    if (with_fast_file) {
        search::FastFileNames names = search::FastFileNamesOf(pgn_path);
        // The move file last: while it is there without its header file the fast file reads as
        // stale, never as current.
        for (const std::string* name : {&names.tre, &names.trx, &names.trh, &names.trf}) {
            if (platform::FileExists(*name)) file_system.Delete(*name);
        }
    }
    std::string cache = pgn::OffsetCachePath(pgn_path);
    if (platform::FileExists(cache)) file_system.Delete(cache);
}

Error ReplacePgnFile(RewriteFile& temp, const ReplaceOptions& options, Ui& ui,
                     std::string_view temp_failure) {
    std::string failure(temp_failure.empty() ? messages::ErrorCreatingTempFile : temp_failure);
    platform::FileSystem& file_system = temp.FileSystem();
    const std::string& pgn_path = temp.PgnPath();
    // The new text must be whole on the disk before anything else changes.
    if (!temp.Finish()) {
        temp.Abandon();
        return Error(failure);
    }
    if (options.fast_file == ReplaceOptions::FastFile::Fix) {
        if (!options.deleted_games.empty()) {
            // Quiet: the failures that matter here are reported once, below.
            SilentUi quiet;
            Error fixed = search::FixFastFile(pgn_path, options.deleted_games, quiet, file_system);
            if (fixed.message() == messages::ErrorCreatingTempFile ||
                fixed.message() == messages::NotEnoughMemory ||
                fixed.message() == messages::ErrorOpeningFile) {
                // The move file could not be rewritten: nothing has changed yet, so nothing is.
                temp.Abandon();
                ui.report(fixed.message());
                return Error(fixed.message());
            }
            if (fixed) ui.report(fixed.message());
        }
        DeleteDerivedFiles(file_system, pgn_path, false);
    } else {
        DeleteDerivedFiles(file_system, pgn_path, true);
    }
    if (!temp.Commit()) return Error(failure);
    return Error::Ok();
}

}  // namespace qorvale::utilities
