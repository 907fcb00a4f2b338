#include "app/app_folder.h"

#include "app/messages.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::app {

namespace {

constexpr std::string_view FolderName = "qorvale";

void CopyMissingFiles(const std::string& from, const std::string& to) {
    if (!platform::CreateFolder(to)) return;
    for (const std::string& name : platform::ListFolder(from, "*")) {
        std::string target = platform::JoinPath(to, name);
        if (platform::FileExists(target) || platform::FolderExists(target)) continue;
        // A failed copy must not leave half a file that a later start would take as the user's.
        if (!platform::CopyFile(platform::JoinPath(from, name), target)) {
            (void)platform::DeleteFile(target);
        }
    }
    for (const std::string& name : platform::ListSubfolders(from)) {
        CopyMissingFiles(platform::JoinPath(from, name), platform::JoinPath(to, name));
    }
}

}  // namespace

std::string AppFolderFrom(std::string_view qorvale_home, std::string_view xdg_data_home,
                          std::string_view home) {
    if (!qorvale_home.empty()) return std::string(qorvale_home);
    // The XDG rules say a relative XDG_DATA_HOME is invalid and must be ignored.
    if (!xdg_data_home.empty() && xdg_data_home.front() == '/') {
        return platform::JoinPath(xdg_data_home, FolderName);
    }
    if (!home.empty())
        return platform::JoinPath(platform::JoinPath(home, ".local/share"), FolderName);
    return std::string(FolderName);
}

std::string AppFolder() {
    return AppFolderFrom(platform::EnvironmentValue("QORVALE_HOME"),
                         platform::EnvironmentValue("XDG_DATA_HOME"),
                         platform::EnvironmentValue("HOME"));
}

std::string AppPath(std::string_view app_folder, std::string_view name) {
    return platform::JoinPath(app_folder, name);
}

std::string ProgramDataFolder() { return QORVALE_DATA_DIR; }

Error SeedAppFolder(const std::string& app_folder, const std::string& data_folder) {
    if (!platform::CreateFolder(app_folder)) return Error(std::string(ErrorCreatingFolder));
    if (platform::FolderExists(data_folder)) CopyMissingFiles(data_folder, app_folder);
    return Error::Ok();
}

}  // namespace qorvale::app
