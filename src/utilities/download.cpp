#include "utilities/download.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>

#include "base/message.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "platform/http_fetch.h"
#include "platform/staged_file.h"
#include "utilities/archive_unpack.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::int64_t Megabyte = 1024 * 1024;

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

std::string WithoutSuffix(std::string name, std::string_view suffix) {
    if (EndsWithNoCase(name, suffix)) name.resize(name.size() - suffix.size());
    return name;
}

std::string WithPgnExtension(std::string name) {
    name = WithoutSuffix(WithoutSuffix(std::move(name), ".gz"), ".bz2");
    if (!EndsWithNoCase(name, ".pgn")) name += ".pgn";
    return name;
}

// A file's first bytes look like PGN: after blanks and a UTF-8 byte order mark, a tag, a comment,
// an escape line or a move number. A web page begins with "<".
enum class Looks { Pgn, WebPage, Other, Empty };
Looks LooksLike(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return Looks::Empty;
    const char c = head[first];
    if (c == '<') return Looks::WebPage;
    if (c == '[' || c == '{' || c == ';' || c == '%' ||
        std::isdigit(static_cast<unsigned char>(c))) {
        return Looks::Pgn;
    }
    return Looks::Other;
}

Error ContentError(Looks looks) {
    if (looks == Looks::WebPage) return Error(std::string(messages::DownloadWebPage));
    return Error(std::string(messages::DownloadNotPgn));
}

Error FetchError(const platform::FetchOutcome& fetched, std::int64_t limit_mb) {
    using platform::FetchStatus;
    switch (fetched.status) {
        case FetchStatus::Done:
            return Error::Ok();
        case FetchStatus::Cancelled:
            return Error(std::string(messages::DownloadCancelled));
        case FetchStatus::NotHttp:
            return Error(std::string(messages::NotHttpAddress), fetched.detail);
        case FetchStatus::TooManyRedirects:
            return Error(std::string(messages::DownloadRedirectLoop));
        case FetchStatus::TooLarge:
            return Error(FillMessage(messages::DownloadTooLarge, limit_mb));
        case FetchStatus::HttpError:
            return Error(FillMessage(messages::DownloadHttpError, fetched.http_status));
        case FetchStatus::ConnectionFailed:
            return Error(std::string(messages::DownloadConnectionFailed), fetched.detail);
        case FetchStatus::WriteFailed:
            return Error(std::string(messages::DownloadWriteFailed), fetched.detail);
    }
    return Error(std::string(messages::DownloadConnectionFailed));
}

// The PGN entries of an archive, each staged beside its final name in the folder.
class FolderSink final : public UnpackSink {
  public:
    FolderSink(platform::FileSystem& file_system, std::string folder, bool single,
               const DownloadControl& control)
        : file_system_(file_system),
          folder_(std::move(folder)),
          single_(single),
          control_(control) {}

    bool Begin(const std::string& name) override {
        // A zip may carry read-me files and pictures beside its games; only PGN is taken.
        if (!single_ && !EndsWithNoCase(name, ".pgn")) return false;
        // Folders inside the archive are flattened: the name alone, in the chosen folder.
        const std::string path = platform::JoinPath(folder_, platform::NameOf(name));
        if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) return false;
        files_.push_back(std::make_unique<platform::StagedFile>(file_system_, path));
        paths_.push_back(path);
        head_.clear();
        return files_.back()->IsOpen();
    }
    bool Write(const char* data, std::size_t size) override {
        if (head_.size() < 512) {
            head_.append(data, std::min(size, 512 - head_.size()));
            const Looks looks = LooksLike(head_);
            if (looks == Looks::WebPage || looks == Looks::Other) {
                content_error_ = ContentError(looks);
                return false;
            }
        }
        return files_.back()->Write(data, static_cast<std::int64_t>(size));
    }
    bool End() override {
        if (LooksLike(head_) != Looks::Pgn) {
            content_error_ = ContentError(LooksLike(head_));
            return false;
        }
        return files_.back()->Finish();
    }
    bool Cancelled() override { return control_.cancelled && control_.cancelled(); }

    const std::vector<std::string>& Paths() const { return paths_; }
    const Error& ContentFailure() const { return content_error_; }
    // Puts every finished entry in place; the staged copies of the others go with the sink.
    bool PutInPlace() {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            files_[i]->Keep();
            if (!file_system_.Rename(platform::StagedFile::StagePath(paths_[i]), paths_[i])) {
                return false;
            }
        }
        return true;
    }

  private:
    platform::FileSystem& file_system_;
    std::string folder_;
    bool single_;
    const DownloadControl& control_;
    std::vector<std::unique_ptr<platform::StagedFile>> files_;
    std::vector<std::string> paths_;
    std::string head_;
    Error content_error_;
};

Error UnpackError(const UnpackOutcome& unpacked, const FolderSink& sink, std::int64_t limit_mb) {
    switch (unpacked.status) {
        case UnpackStatus::Done:
            return Error::Ok();
        case UnpackStatus::Damaged:
            return Error(std::string(messages::DownloadDamagedArchive), unpacked.detail);
        case UnpackStatus::UnsafePath:
            return Error(std::string(messages::DownloadUnsafeArchive), unpacked.entry);
        case UnpackStatus::TooLarge:
            return Error(FillMessage(messages::DownloadTooLarge, limit_mb));
        case UnpackStatus::WriteFailed:
            if (!sink.ContentFailure().ok()) return sink.ContentFailure();
            return Error(std::string(messages::DownloadWriteFailed), unpacked.entry);
        case UnpackStatus::Cancelled:
            return Error(std::string(messages::DownloadCancelled));
    }
    return Error(std::string(messages::DownloadDamagedArchive));
}

// Removes the downloaded bytes whatever way the operation leaves.
struct PartFile {
    platform::FileSystem& file_system;
    std::string path;
    platform::File file;
    ~PartFile() {
        file.Close();
        if (platform::FileExists(path)) file_system.Delete(path);
    }
};

bool AskOverwrite(const std::vector<std::string>& paths, Ui& ui) {
    for (const std::string& path : paths) {
        if (platform::FileExists(path) && !ui.ask(messages::DownloadOverwrite)) return false;
    }
    return true;
}

}  // namespace

std::string DownloadFileName(const std::string& url) {
    std::string path = url.substr(0, url.find_first_of("?#"));
    const std::size_t scheme = path.find("://");
    path = scheme == std::string::npos ? path : path.substr(scheme + 3);
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    for (char& c : name) {
        const bool plain =
            std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    if (name.empty() || name.front() == '.') name = "download" + name;
    return name;
}

Result<std::vector<std::string>> DownloadPgn(const DownloadRequest& request,
                                             const DownloadControl& control, Ui& ui,
                                             platform::FileSystem& file_system) {
    const std::int64_t limit = request.limit_mb * Megabyte;
    if (!platform::IsHttpUrl(request.url)) {
        return Error(std::string(messages::NotHttpAddress));
    }
    if (!platform::FolderExists(request.folder) && !platform::CreateFolder(request.folder)) {
        return Error(std::string(messages::DownloadFolderMissing), request.folder);
    }
    const std::string url_name = DownloadFileName(request.url);
    const std::string single_name =
        request.file_name.empty() ? WithPgnExtension(url_name) : request.file_name;
    const std::string final_path = platform::JoinPath(request.folder, single_name);

    PartFile part{file_system, platform::JoinPath(request.folder, "." + url_name + ".part"), {}};
    part.file = file_system.Create(part.path);
    if (!part.file.IsOpen()) {
        return Error(std::string(messages::DownloadWriteFailed), part.path);
    }
    std::string head;
    platform::FetchOptions options;
    options.max_bytes = limit;
    const platform::FetchOutcome fetched = platform::FetchUrl(
        request.url, options,
        [&](const char* data, std::size_t size) {
            if (head.size() < 512) head.append(data, std::min(size, 512 - head.size()));
            return file_system.Write(part.file, data, static_cast<std::int64_t>(size));
        },
        [&](std::int64_t received, std::int64_t total) {
            if (control.progress) control.progress(received, total);
            return control.cancelled && control.cancelled();
        });
    if (fetched.status != platform::FetchStatus::Done) return FetchError(fetched, request.limit_mb);
    if (!file_system.Flush(part.file)) {
        return Error(std::string(messages::DownloadWriteFailed), part.path);
    }
    part.file.Close();

    const PackedForm form = DetectPackedForm(head);
    if (form == PackedForm::Plain) {
        const Looks looks = LooksLike(head);
        // The bytes decide, not the announced type: servers label PGN as anything.
        if (looks != Looks::Pgn) return ContentError(looks);
        if (!AskOverwrite({final_path}, ui)) return Error(std::string(messages::DownloadCancelled));
        if (!file_system.Rename(part.path, final_path)) {
            return Error(std::string(messages::DownloadWriteFailed), final_path);
        }
        return std::vector<std::string>{final_path};
    }

    FolderSink sink(file_system, request.folder, form != PackedForm::Zip, control);
    const UnpackOutcome unpacked = UnpackArchiveFile(part.path, form, single_name, limit, sink);
    if (Error error = UnpackError(unpacked, sink, request.limit_mb)) return error;
    if (sink.Paths().empty()) return Error(std::string(messages::DownloadNoPgnInArchive));
    if (!AskOverwrite(sink.Paths(), ui)) return Error(std::string(messages::DownloadCancelled));
    if (!sink.PutInPlace()) return Error(std::string(messages::DownloadWriteFailed));
    return sink.Paths();
}

Error StartDownload(Worker& worker, DownloadRequest request,
                    std::shared_ptr<DownloadResult> result) {
    WorkerJob job;
    job.operation = WorkerOperation::Download;
    return worker.StartWorker(
        job, 0, [request = std::move(request), result = std::move(result)](WorkerTask& task) {
            DownloadControl control;
            control.cancelled = [&task] { return task.CancelRequested(); };
            control.progress = [&task](std::int64_t received, std::int64_t total) {
                task.ReportProgress(std::max<std::int64_t>(received / 1024 - 1, 0), 0,
                                    total / 1024);
            };
            WorkerTaskUi ui(task);
            Result<std::vector<std::string>> files =
                DownloadPgn(request, control, ui, platform::SystemFileSystem());
            WorkerOutcome outcome;
            if (files.ok()) {
                result->files = std::move(files.value());
            } else {
                result->error = files.error();
                outcome.message = result->error.message();
            }
            return outcome;
        });
}

}  // namespace qorvale::utilities
