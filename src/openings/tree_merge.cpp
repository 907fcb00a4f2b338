#include "openings/tree_merge.h"

#include "openings/messages.h"
#include "platform/file.h"
#include "search/fast_file.h"

namespace qorvale::openings {

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    text.remove_prefix(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[i]) return false;
    }
    return true;
}

// A file beside `merge_path` with the same stem and the extension in either case.
bool SiblingExists(const std::string& merge_path, std::string_view upper, std::string_view lower) {
    return platform::FileExists(search::DerivedPath(merge_path, upper)) ||
           platform::FileExists(search::DerivedPath(merge_path, lower));
}

}  // namespace

std::string MergeFileName(std::string_view chosen) {
    if (EndsWithIgnoringCase(chosen, ".trm")) return std::string(chosen);
    std::string name(chosen);
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
    return name + ".trm";
}

Result<std::string> ChooseMergeFile(std::string_view chosen, bool must_exist, Ui& ui) {
    std::string path = MergeFileName(chosen);
    if (SiblingExists(path, "PGN", "pgn")) ui.report(messages::PgnFileSameName);
    if (SiblingExists(path, "DBG", "dbg")) ui.report(messages::DatabaseSameName);
    if (must_exist && !platform::FileExists(path)) {
        ui.report(messages::MergeFileMissing);
        return Error(std::string(messages::MergeFileMissing));
    }
    return path;
}

}  // namespace qorvale::openings
