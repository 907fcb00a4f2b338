#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "platform/file_system.h"

class Hunspell;

namespace qorvale::openings {
class EcoTable;
}

namespace qorvale::app {

// A word of a comment the dictionary does not know: where it stands in the UTF-8 text.
struct MisspeltWord {
    std::size_t offset = 0;  // in bytes
    std::size_t length = 0;
    friend bool operator==(const MisspeltWord&, const MisspeltWord&) = default;
};

// The dictionary of a language: its affix and word files.
struct DictionaryFiles {
    std::string aff;
    std::string dic;
};
// The system's dictionary for `language` ("en_US"), else any English one, else any at all, in
// `folders`; nothing found gives empty paths.
DictionaryFiles FindDictionary(std::span<const std::string> folders, std::string_view language);
// Where the system keeps its Hunspell dictionaries.
std::vector<std::string> SystemDictionaryFolders();

// The words of `text` a spell checker looks at: runs of letters (any non-ASCII character counts
// as one), apostrophes inside a word kept. Moves (anything holding a digit, castling), NAG-like
// tokens, single letters and words in capitals (ECO, GM) are left out.
std::vector<MisspeltWord> CommentWords(std::string_view utf8_text);

// Comments are checked against a Hunspell dictionary plus the personal word list, a text file in
// the install folder (one UTF-8 word per line) that learns chess words: the words of the ECO
// table's opening names and whatever the user adds. The list file is always replaced whole, so a
// crash leaves the old list or the new.
class SpellChecker {
  public:
    ~SpellChecker();
    SpellChecker(SpellChecker&&) noexcept;
    SpellChecker& operator=(SpellChecker&&) noexcept;

    // "Cannot open the dictionary." when the dictionary files are missing. A missing word list is
    // an empty one.
    static Result<SpellChecker> Open(
        const DictionaryFiles& dictionary, std::string word_list_path,
        platform::FileSystem& file_system = platform::SystemFileSystem());

    // Comment text as read from a file (UTF-8 when valid, else Latin-1) or typed.
    bool IsCorrect(std::string_view word) const;
    std::vector<std::string> Suggestions(std::string_view word) const;
    // The words of `text` the checker does not know, offsets into DisplayText(text).
    std::vector<MisspeltWord> Misspelt(std::string_view text) const;

    // Adds `word` to the list and writes the list. "Error writing the word list." when it could
    // not be written (the word is still known for this run).
    Error AddWord(std::string_view word);
    // Known for this run only: the names of the players of the game being annotated.
    void AcceptForSession(std::string_view text);
    // The words of the table's opening names that the dictionary lacks join the list, which is
    // written once when it grew.
    Error LearnOpeningNames(const openings::EcoTable& table);

    const std::vector<std::string>& WordList() const { return words_; }

  private:
    SpellChecker() = default;
    bool Known(const std::string& word) const;
    bool AddToList(const std::string& word);
    Error SaveList();

    std::unique_ptr<Hunspell> hunspell_;
    std::string list_path_;
    platform::FileSystem* file_system_ = nullptr;
    std::vector<std::string> words_;  // sorted, unique
};

// The checker of the annotation editor: the system's English dictionary and the word list of the
// install folder, taught the opening names of `eco` (a failure to write the list is no reason
// not to check: the words are known for this run).
Result<SpellChecker> OpenCommentSpellChecker(const std::string& app_folder,
                                             const openings::EcoTable& eco);

}  // namespace qorvale::app
