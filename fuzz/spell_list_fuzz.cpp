// Any bytes as the personal word list (`qorvale.spl`) and as a comment: the list is read, a word
// added and the list written back; the comment's words are checked and offered corrections.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/spell_checker.h"
#include "base/text.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    static const ScratchFolder folder;
    static const app::DictionaryFiles dictionary = [] {
        const std::vector<std::string> folders = app::SystemDictionaryFolders();
        return app::FindDictionary(folders, "en_US");
    }();
    const std::string list = folder.Write("qorvale.spl", data, size);
    auto checker = app::SpellChecker::Open(dictionary, list);
    if (!checker.ok()) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string shown = DisplayText(text);  // what the offsets count in
    const std::vector<app::MisspeltWord> misspelt = checker->Misspelt(text);
    if (!misspelt.empty() && misspelt.front().length < 40) {
        (void)checker->Suggestions(shown.substr(misspelt.front().offset, misspelt.front().length));
    }
    (void)checker->AddWord("Zwischenzug");
    return 0;
}
