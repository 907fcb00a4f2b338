#include "app/spell_checker.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <hunspell/hunspell.hxx>
#include <set>

#include "app/app_folder.h"
#include "base/text.h"
#include "openings/eco_table.h"
#include "platform/whole_file.h"

namespace qorvale::app {

namespace {

constexpr std::string_view CannotOpenDictionary = "Cannot open the dictionary.";
constexpr std::string_view ErrorWritingWordList = "Error writing the word list.";

bool IsLetterByte(unsigned char byte) { return std::isalpha(byte) != 0 || byte >= 0x80; }
bool IsSpace(unsigned char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

bool IsCastling(std::string_view chunk) {
    while (!chunk.empty() && !std::isalnum(static_cast<unsigned char>(chunk.back()))) {
        chunk.remove_suffix(1);
    }
    while (!chunk.empty() && !std::isalnum(static_cast<unsigned char>(chunk.front()))) {
        chunk.remove_prefix(1);
    }
    return chunk == "O-O" || chunk == "O-O-O" || chunk == "0-0" || chunk == "0-0-0";
}

bool AllCapitals(std::string_view word) {
    return std::all_of(word.begin(), word.end(),
                       [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; });
}

// The dictionary's own encoding: UTF-8 words pass as they are, Latin-1 dictionaries get the
// characters they can hold.
std::string ToDictionary(const Hunspell& hunspell, const std::string& utf8) {
    const std::string& encoding = hunspell.get_dict_encoding();
    if (encoding != "ISO8859-1" && encoding != "ISO-8859-1") return utf8;
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
            out += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> SystemDictionaryFolders() {
    return {"/usr/share/hunspell", "/usr/share/myspell", "/usr/share/myspell/dicts"};
}

DictionaryFiles FindDictionary(std::span<const std::string> folders, std::string_view language) {
    namespace fs = std::filesystem;
    DictionaryFiles english;
    DictionaryFiles any;
    for (const std::string& folder : folders) {
        std::error_code error;
        std::vector<fs::path> affixes;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() == ".aff") affixes.push_back(entry.path());
        }
        std::sort(affixes.begin(), affixes.end());
        for (const fs::path& aff : affixes) {
            fs::path dic = aff;
            dic.replace_extension(".dic");
            if (!fs::exists(dic, error)) continue;
            const DictionaryFiles files{aff.string(), dic.string()};
            const std::string stem = aff.stem().string();
            if (stem == language) return files;
            if (english.aff.empty() && stem.starts_with("en")) english = files;
            if (any.aff.empty()) any = files;
        }
    }
    return english.aff.empty() ? any : english;
}

std::vector<MisspeltWord> CommentWords(std::string_view text) {
    std::vector<MisspeltWord> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSpace(static_cast<unsigned char>(text[at]))) ++at;
        std::size_t end = at;
        while (end < text.size() && !IsSpace(static_cast<unsigned char>(text[end]))) ++end;
        const std::string_view chunk = text.substr(at, end - at);
        const bool move_like =
            std::any_of(chunk.begin(), chunk.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }) ||
            IsCastling(chunk);
        for (std::size_t i = 0; !move_like && i < chunk.size();) {
            if (!IsLetterByte(static_cast<unsigned char>(chunk[i]))) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < chunk.size() && (IsLetterByte(static_cast<unsigned char>(chunk[j])) ||
                                        (chunk[j] == '\'' && j + 1 < chunk.size() &&
                                         IsLetterByte(static_cast<unsigned char>(chunk[j + 1]))))) {
                ++j;
            }
            const std::string_view word = chunk.substr(i, j - i);
            if (CharacterCount(word) >= 2 && !AllCapitals(word)) {
                words.push_back({at + i, j - i});
            }
            i = j;
        }
        at = end;
    }
    return words;
}

SpellChecker::~SpellChecker() = default;
SpellChecker::SpellChecker(SpellChecker&&) noexcept = default;
SpellChecker& SpellChecker::operator=(SpellChecker&&) noexcept = default;

Result<SpellChecker> SpellChecker::Open(const DictionaryFiles& dictionary,
                                        std::string word_list_path,
                                        platform::FileSystem& file_system) {
    std::error_code error;
    if (dictionary.aff.empty() || !std::filesystem::is_regular_file(dictionary.aff, error) ||
        !std::filesystem::is_regular_file(dictionary.dic, error)) {
        return Error(std::string(CannotOpenDictionary), dictionary.dic);
    }
    SpellChecker checker;
    checker.hunspell_ = std::make_unique<Hunspell>(dictionary.aff.c_str(), dictionary.dic.c_str());
    checker.list_path_ = std::move(word_list_path);
    checker.file_system_ = &file_system;
    std::string content;
    if (platform::ReadFileContent(checker.list_path_, content)) {
        ForEachLine(DisplayText(content), [&checker](std::string_view line) {
            while (!line.empty() && IsSpace(static_cast<unsigned char>(line.back()))) {
                line.remove_suffix(1);
            }
            if (!line.empty()) checker.AddToList(std::string(line));
        });
    }
    return checker;
}

bool SpellChecker::Known(const std::string& word) const {
    return hunspell_->spell(ToDictionary(*hunspell_, word));
}

bool SpellChecker::IsCorrect(std::string_view word) const { return Known(DisplayText(word)); }

std::vector<std::string> SpellChecker::Suggestions(std::string_view word) const {
    const std::string& encoding = hunspell_->get_dict_encoding();
    std::vector<std::string> suggestions =
        hunspell_->suggest(ToDictionary(*hunspell_, DisplayText(word)));
    if (encoding != "UTF-8") {
        for (std::string& suggestion : suggestions) suggestion = DisplayText(suggestion);
    }
    return suggestions;
}

std::vector<MisspeltWord> SpellChecker::Misspelt(std::string_view text) const {
    const std::string shown = DisplayText(text);
    std::vector<MisspeltWord> misspelt;
    for (const MisspeltWord& word : CommentWords(shown)) {
        if (!Known(shown.substr(word.offset, word.length))) misspelt.push_back(word);
    }
    return misspelt;
}

bool SpellChecker::AddToList(const std::string& word) {
    const auto place = std::lower_bound(words_.begin(), words_.end(), word);
    if (place != words_.end() && *place == word) return false;
    words_.insert(place, word);
    hunspell_->add(ToDictionary(*hunspell_, word));
    return true;
}

Error SpellChecker::SaveList() {
    std::string content;
    for (const std::string& word : words_) content += word + "\r\n";
    if (!platform::WriteWholeFile(*file_system_, list_path_, content)) {
        return Error(std::string(ErrorWritingWordList), list_path_);
    }
    return Error::Ok();
}

Error SpellChecker::AddWord(std::string_view word) {
    const std::string shown = DisplayText(word);
    if (shown.empty() || !AddToList(shown)) return Error::Ok();
    return SaveList();
}

void SpellChecker::AcceptForSession(std::string_view text) {
    const std::string shown = DisplayText(text);
    for (const MisspeltWord& word : CommentWords(shown)) {
        hunspell_->add(ToDictionary(*hunspell_, shown.substr(word.offset, word.length)));
    }
}

Error SpellChecker::LearnOpeningNames(const openings::EcoTable& table) {
    std::set<std::string> seen;
    bool grew = false;
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        const std::string name = DisplayText(table.Name(entry));
        for (const MisspeltWord& word : CommentWords(name)) {
            std::string text = name.substr(word.offset, word.length);
            if (!seen.insert(text).second || Known(text)) continue;
            grew = AddToList(text) || grew;
        }
    }
    return grew ? SaveList() : Error::Ok();
}

Result<SpellChecker> OpenCommentSpellChecker(const std::string& app_folder,
                                             const openings::EcoTable& eco) {
    const std::vector<std::string> folders = SystemDictionaryFolders();
    Result<SpellChecker> checker = SpellChecker::Open(FindDictionary(folders, "en_US"),
                                                      AppPath(app_folder, SpellListFileName));
    if (checker.ok()) (void)checker->LearnOpeningNames(eco);
    return checker;
}

}  // namespace qorvale::app
