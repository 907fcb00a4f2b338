#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/ui.h"
#include "platform/file_system.h"
#include "platform/staged_file.h"

namespace qorvale::search {

// How a copy of games ended: `message` is what the user is shown ("Copy games complete." or
// the refusal); empty after a No.
struct CopyOutcome {
    bool copied = false;
    std::string message;
};

// The PGN file games are copied into. Its new content is staged beside it (the old content
// first, when appending) and put in place only once complete, so a failed or interrupted copy
// leaves the file as it was.
class CopyTargetFile {
  public:
    // The checks every copy of games makes: "The file specified is the same as the current
    // file." for the open file; an existing file asks "File already exists. Do you want to
    // overwrite?" (appending: "Do you want to continue?"); appending to a missing file gives
    // "File does not exist."; a file that cannot be written gives "Error creating new file.".
    // Null with `outcome` set when the copy does not go ahead.
    static std::unique_ptr<CopyTargetFile> Open(const std::string& target, bool append,
                                                const std::string& current_file, Ui& ui,
                                                platform::FileSystem& file_system,
                                                CopyOutcome& outcome);

    bool Write(std::string_view text) {
        return staged_.Write(text.data(), static_cast<std::int64_t>(text.size()));
    }
    // Puts the file in place: "Copy games complete.", or "Error creating new file.".
    CopyOutcome Commit();

  private:
    CopyTargetFile(platform::FileSystem& file_system, const std::string& target)
        : staged_(file_system, target) {}
    platform::StagedFile staged_;
};

}  // namespace qorvale::search
