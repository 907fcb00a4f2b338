#include "platform/staged_file.h"

#include <utility>

namespace qorvale::platform {

StagedFile::StagedFile(FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)) {
    file_ = file_system_.Create(StagePath(path_));
}

StagedFile::~StagedFile() {
    if (!committed_) Abandon();
}

bool StagedFile::Write(const void* data, std::int64_t size) {
    if (failed_ || !file_.IsOpen() || !file_system_.Write(file_, data, size)) failed_ = true;
    return !failed_;
}

bool StagedFile::Finish() {
    if (finished_) return !failed_;
    finished_ = true;
    if (!file_.IsOpen() || failed_ || !file_system_.Flush(file_)) failed_ = true;
    file_.Close();
    return !failed_;
}

bool StagedFile::Commit() {
    if (!Finish() || !file_system_.Rename(StagePath(path_), path_)) {
        Abandon();
        return false;
    }
    committed_ = true;
    return true;
}

void StagedFile::Abandon() {
    file_.Close();
    if (!committed_) file_system_.Delete(StagePath(path_));
    failed_ = true;
}

bool ReplaceFileContents(FileSystem& file_system, const std::string& path, const void* data,
                         std::int64_t size) {
    StagedFile staged(file_system, path);
    return staged.Write(data, size) && staged.Commit();
}

}  // namespace qorvale::platform
