#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli_ui.h"
#include "cli/command.h"
#include "platform/file.h"

namespace qorvale::cli {

int RunHelp(const CommandArgs&);

static bool TakesValue(const CommandEntry& entry, std::string_view flag) {
    for (std::string_view name : entry.value_flags) {
        if (flag == name) return true;
    }
    return false;
}

static CommandArgs ParseArgs(const CommandEntry& entry, int argc, char** argv) {
    CommandArgs args;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        // A value flag may also be a short one ("-o OUT").
        if ((word.size() > 2 && word.starts_with("--")) || TakesValue(entry, word)) {
            if (word.find('=') == std::string::npos && TakesValue(entry, word) && i + 1 < argc) {
                word += '=';
                word += argv[++i];
            }
            args.flags.push_back(word);
        } else {
            args.words.push_back(word);
        }
    }
    return args;
}

}  // namespace qorvale::cli

int main(int argc, char** argv) {
    using namespace qorvale::cli;
    if (argc < 2) {
        RunHelp({});
        return 2;
    }
    std::string_view name = argv[1];
    for (const CommandEntry& entry : Commands()) {
        if (entry.name != name) continue;
        CommandArgs args = ParseArgs(entry, argc, argv);
        CliUi ui(args.HasFlag("--yes"), qorvale::platform::StandardErrorIsTerminal());
        args.ui = &ui;
        return entry.run(args);
    }
    std::fprintf(stderr, "qorvale-tool: unknown command '%s' (see 'qorvale-tool help')\n", argv[1]);
    return 2;
}
