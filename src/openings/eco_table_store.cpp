#include "openings/eco_table_store.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::openings {

namespace {

constexpr std::string_view NewSuffix = ".new";
constexpr std::array<EcoFileSet, 3> AllSets = {EcoFileSet::Current, EcoFileSet::WorkingCopy,
                                               EcoFileSet::PreviousVersion};

struct Rename {
    std::string from;  // names inside the folder
    std::string to;
};

std::array<std::string, 3> NamesOf(EcoFileSet set) {
    const char letter = set == EcoFileSet::Current       ? 'e'
                        : set == EcoFileSet::WorkingCopy ? 'b'
                                                         : 'a';
    std::array<std::string, 3> names;
    const char* endings[3] = {"co", "cn", "cm"};
    for (std::size_t i = 0; i < 3; ++i) names[i] = std::string("qorvale.") + letter + endings[i];
    return names;
}

// A journal may only move the table's own files: anything else in it is damage.
bool IsSetFile(std::string_view name) {
    for (EcoFileSet set : AllSets) {
        for (const std::string& file : NamesOf(set)) {
            if (name == file) return true;
        }
    }
    return false;
}

bool IsSetFileOrNew(std::string_view name) {
    if (name.size() > NewSuffix.size() && name.ends_with(NewSuffix)) {
        name.remove_suffix(NewSuffix.size());
    }
    return IsSetFile(name);
}

void Apply(std::string_view folder, const std::vector<Rename>& renames,
           platform::FileSystem& files) {
    for (const Rename& rename : renames) {
        const std::string from = platform::JoinPath(folder, rename.from);
        // A file already moved is gone: the rename is done.
        if (platform::FileExists(from))
            (void)files.Rename(from, platform::JoinPath(folder, rename.to));
    }
}

std::vector<Rename> ParseJournal(std::string_view text) {
    std::vector<Rename> renames;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return {};
        std::string_view from = line.substr(0, tab);
        std::string_view to = line.substr(tab + 1);
        if (!IsSetFileOrNew(from) || !IsSetFile(to)) return {};
        renames.push_back({std::string(from), std::string(to)});
    }
    return renames;
}

bool Commit(std::string_view folder, const std::vector<Rename>& renames,
            platform::FileSystem& files) {
    std::string journal;
    for (const Rename& rename : renames) journal += rename.from + '\t' + rename.to + "\r\n";
    const std::string journal_path = platform::JoinPath(folder, EcoJournalName);
    if (!platform::ReplaceFileContents(
            files, journal_path,
            std::string_view(reinterpret_cast<const char*>(journal.data()), journal.size()))) {
        return false;
    }
    Apply(folder, renames, files);
    (void)files.Delete(journal_path);
    return true;
}

}  // namespace

EcoTableFiles EcoFileSetIn(std::string_view folder, EcoFileSet set) {
    const std::array<std::string, 3> names = NamesOf(set);
    return {platform::JoinPath(folder, names[0]), platform::JoinPath(folder, names[1]),
            platform::JoinPath(folder, names[2])};
}

EcoTableContents ContentsOf(const EcoTable& table) {
    auto restore = [](std::string_view text) {
        std::string file(text);
        std::replace(file.begin(), file.end(), '\0', '\r');
        return file;
    };
    return {restore(table.CodeText()), restore(table.NameText()), restore(table.MoveText())};
}

void RecoverEcoTableFiles(std::string_view folder, platform::FileSystem& files) {
    const std::string journal_path = platform::JoinPath(folder, EcoJournalName);
    std::string journal;
    if (platform::ReadFileContent(journal_path, journal)) {
        Apply(folder, ParseJournal(journal), files);
        (void)files.Delete(journal_path);
    }
    // What is left beside the sets was never committed.
    (void)files.Delete(journal_path + std::string(NewSuffix));
    for (EcoFileSet set : AllSets) {
        for (const std::string& name : NamesOf(set)) {
            const std::string leftover = platform::JoinPath(folder, name + std::string(NewSuffix));
            if (platform::FileExists(leftover)) (void)files.Delete(leftover);
        }
    }
}

bool WriteEcoFileSet(std::string_view folder, EcoFileSet set, const EcoTableContents& contents,
                     platform::FileSystem& files) {
    RecoverEcoTableFiles(folder, files);
    const std::array<std::string, 3> names = NamesOf(set);
    const std::array<const std::string*, 3> texts = {&contents.codes, &contents.names,
                                                     &contents.moves};
    std::vector<Rename> renames;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string name = names[i] + std::string(NewSuffix);
        const std::string path = platform::JoinPath(folder, name);
        platform::File file = files.Create(path);
        const bool written =
            file.IsOpen() &&
            files.Write(file, texts[i]->data(), static_cast<std::int64_t>(texts[i]->size())) &&
            files.Flush(file);
        file.Close();
        if (!written) {
            RecoverEcoTableFiles(folder, files);
            return false;
        }
        renames.push_back({name, names[i]});
    }
    if (!Commit(folder, renames, files)) {
        RecoverEcoTableFiles(folder, files);
        return false;
    }
    return true;
}

bool MoveEcoFileSet(std::string_view folder, EcoFileSet from, EcoFileSet to,
                    platform::FileSystem& files) {
    RecoverEcoTableFiles(folder, files);
    const std::array<std::string, 3> sources = NamesOf(from);
    const std::array<std::string, 3> targets = NamesOf(to);
    std::vector<Rename> renames;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!platform::FileExists(platform::JoinPath(folder, sources[i]))) return false;
        renames.push_back({sources[i], targets[i]});
    }
    return Commit(folder, renames, files);
}

}  // namespace qorvale::openings
