// Any bytes as the personal word list (`qorvale.spl`) and as a comment: the list is read, a word
// added and the list written back; the comment's words are checked and offered corrections.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/spell_checker.h"
#include "base/text.h"
#include "no_sync_file_system.h"
#include "scratch_file.h"

namespace {

// A dictionary of a few words: the system's takes Hunspell seconds to load, every run, and the
// reader under test is the word list, not Hunspell.
qorvale::app::DictionaryFiles SmallDictionary(const ScratchFolder& folder) {
    const std::string aff = "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\nSFX S Y 1\nSFX S 0 s .\n";
    const std::string dic = "6\nbishop/S\nknight/S\nrook/S\nqueen/S\nking/S\npawn/S\n";
    return {
        folder.Write("small.aff", reinterpret_cast<const std::uint8_t*>(aff.data()), aff.size()),
        folder.Write("small.dic", reinterpret_cast<const std::uint8_t*>(dic.data()), dic.size())};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    static const ScratchFolder folder;
    static const app::DictionaryFiles dictionary = SmallDictionary(folder);
    static NoSyncFileSystem no_sync;
    const std::string list = folder.Write("qorvale.spl", data, size);
    auto checker = app::SpellChecker::Open(dictionary, list, no_sync);
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
