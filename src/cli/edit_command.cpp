#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "pgn/game_file_edit.h"
#include "pgn/game_text_writer.h"
#include "pgn/messages.h"
#include "platform/file.h"

namespace qorvale::cli {

namespace {

// The game's text from --from, or from standard input.
bool ReadGameText(const CommandArgs& args, std::string& text) {
    const std::string from = args.FlagValue("--from");
    std::FILE* in = from.empty() ? stdin : std::fopen(from.c_str(), "rb");
    if (in == nullptr) return false;
    char block[65536];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;) {
        text.append(block, got);
        // Past the game text buffer the text is refused anyway; stop reading there.
        if (text.size() > pgn::GameTextBufferSize) break;
    }
    if (in != stdin) std::fclose(in);
    return true;
}

bool GameNumber(const std::string& word, std::int32_t& number) {
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (end == word.c_str() || *end != '\0' || value < 1 || value > pgn::MaxGamesPerFile) {
        return false;
    }
    number = static_cast<std::int32_t>(value);
    return true;
}

}  // namespace

// Changes FILE as the Game menu does: a typed game appended, inserted before game N, written
// over the last game, or into a new file; game N deleted or replaced. Questions are answered by
// --yes; without it the change is refused.
int RunEditCommand(const CommandArgs& args) {
    if (args.words.size() < 2) return UsageError("edit");
    const std::string& path = args.words[0];
    const std::string& action = args.words[1];
    const bool numbered = action == "insert" || action == "delete" || action == "replace";
    std::int32_t game = 0;
    if (args.words.size() != (numbered ? 3u : 2u)) return UsageError("edit");
    if (numbered && !GameNumber(args.words[2], game)) return UsageError("edit");
    pgn::SaveMode mode = pgn::SaveMode::Append;
    if (action == "new") {
        mode = pgn::SaveMode::NewFile;
    } else if (action == "insert") {
        mode = pgn::SaveMode::Insert;
    } else if (action == "overwrite-last") {
        mode = pgn::SaveMode::OverwriteLast;
    } else if (action != "append" && action != "delete" && action != "replace") {
        return UsageError("edit");
    }

    Ui& ui = *args.ui;
    std::string text;
    if (action != "delete") {
        std::string typed;
        if (!ReadGameText(args, typed)) {
            ui.report(pgn::ErrorOpeningFile);
            return 1;
        }
        Result<std::string> checked = pgn::CheckTypedGameText(typed);
        if (!checked.ok()) {
            ui.report(checked.error().message());
            return 1;
        }
        text = std::move(*checked);
    }

    pgn::PgnFile file;
    if (mode != pgn::SaveMode::NewFile && !OpenForCommand(file, path, ui)) return 1;
    if (numbered) file.SetCurrentGameNumber(game);
    pgn::GameFileEditor editor(file, ui);
    Result<pgn::EditDone> done = [&] {
        if (action == "delete") return editor.DeleteCurrentGame();
        if (action == "replace") return editor.ReplaceCurrentGame(text);
        return editor.SaveGameText(text, mode, path);
    }();
    if (!done.ok()) {
        ui.report(done.error().message());
        return 1;
    }
    if (done->cancelled) return 1;
    std::printf("game %d of %d\n", done->game_to_show, file.GameCount());
    return 0;
}

}  // namespace qorvale::cli
