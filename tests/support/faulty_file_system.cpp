#include "support/faulty_file_system.h"

#include "platform/folder.h"
#include "support/temp_dir.h"

namespace qorvale::test {

FolderSnapshot FolderContents(const std::string& folder) {
    FolderSnapshot contents;
    for (const std::string& name : platform::ListFolder(folder, "*")) {
        contents[name] = ReadWholeFile(platform::JoinPath(folder, name));
    }
    return contents;
}

std::string FolderDifference(const FolderSnapshot& expected, const FolderSnapshot& actual) {
    std::string difference;
    auto size_of = [](const FolderSnapshot& files, const std::string& name) {
        auto found = files.find(name);
        return found == files.end() ? std::string("missing") : std::to_string(found->second.size());
    };
    FolderSnapshot names = expected;
    names.insert(actual.begin(), actual.end());
    for (const auto& [name, ignored] : names) {
        auto want = expected.find(name);
        auto have = actual.find(name);
        if (want != expected.end() && have != actual.end() && want->second == have->second)
            continue;
        difference += name + " (" + size_of(expected, name) + " bytes expected, " +
                      size_of(actual, name) + " found) ";
    }
    return difference;
}

}  // namespace qorvale::test
