#include "search/copy_target.h"

#include "platform/file.h"
#include "search/messages.h"

namespace qorvale::search {

std::unique_ptr<CopyTargetFile> CopyTargetFile::Open(const std::string& target, bool append,
                                                     const std::string& current_file, Ui& ui,
                                                     platform::FileSystem& file_system,
                                                     CopyOutcome& outcome) {
    auto refuse = [&outcome](std::string_view message) {
        outcome = CopyOutcome{false, std::string(message)};
        return nullptr;
    };
    if (!current_file.empty() && platform::SameFile(target, current_file)) {
        return refuse(messages::SameAsCurrentFile);
    }
    const bool exists = platform::FileExists(target);
    if (append && !exists) return refuse(messages::FileDoesNotExist);
    if (exists && !ui.ask(append ? messages::ContinueQuestion : messages::OverwriteFile)) {
        return refuse({});
    }
    std::unique_ptr<CopyTargetFile> file(new CopyTargetFile(file_system, target));
    if (!file->staged_.IsOpen()) return refuse(messages::ErrorCreatingNewFile);
    if (append) {
        platform::File old = platform::File::Open(target, platform::File::Mode::Read);
        if (!old.IsOpen()) return refuse(messages::ErrorCreatingNewFile);
        std::string block(1 << 16, '\0');
        while (true) {
            const std::int64_t got =
                old.Read(block.data(), static_cast<std::int64_t>(block.size()));
            if (got < 0) return refuse(messages::ErrorCreatingNewFile);
            if (got == 0) break;
            if (!file->staged_.Write(block.data(), got)) {
                return refuse(messages::ErrorCreatingNewFile);
            }
        }
    }
    return file;
}

CopyOutcome CopyTargetFile::Commit() {
    if (!staged_.Commit()) return CopyOutcome{false, std::string(messages::ErrorCreatingNewFile)};
    return CopyOutcome{true, std::string(messages::CopyGamesComplete)};
}

}  // namespace qorvale::search
