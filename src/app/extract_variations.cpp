#include "app/extract_variations.h"

#include <memory>

#include "app/messages.h"
#include "base/message.h"
#include "pgn/variation_games.h"
#include "platform/file.h"
#include "search/copy_target.h"
#include "search/messages.h"

namespace qorvale::app {

namespace {

// The bytes of game `number` (1-based): from its offset to the next game's or the file's end.
bool ReadGame(platform::File& file, std::span<const std::uint32_t> offsets, std::int32_t number,
              std::string& text) {
    const auto index = static_cast<std::size_t>(number - 1);
    const std::int64_t begin = offsets[index];
    const std::int64_t end = index + 1 < offsets.size() ? offsets[index + 1] : file.Size();
    if (end < begin) return false;
    text.resize(static_cast<std::size_t>(end - begin));
    return file.ReadAt(begin, text.data(), end - begin) == end - begin;
}

}  // namespace

Result<ExtractVariationsDone> ExtractVariations(const ExtractVariationsRequest& request, Ui& ui,
                                                platform::FileSystem& file_system) {
    platform::File source = platform::File::Open(request.pgn_path, platform::File::Mode::Read);
    if (!source.IsOpen()) return Error(std::string(ErrorReadingGames), request.pgn_path);
    const auto count = static_cast<std::int32_t>(request.offsets.size());
    const std::int32_t first = request.game == 0 ? 1 : request.game;
    const std::int32_t last = request.game == 0 ? count : request.game;
    if (first < 1 || last > count) return Error(std::string(ErrorReadingGames));

    // The variations are found before the target is touched, so that a game without any
    // leaves no empty file and asks nothing.
    std::string output;
    int written = 0;
    std::string game;
    for (std::int32_t number = first; number <= last; ++number) {
        if (!ReadGame(source, request.offsets, number, game)) {
            return Error(std::string(ErrorReadingGames), request.pgn_path);
        }
        for (const std::string& derived : pgn::VariationGames(game)) {
            output += derived;
            ++written;
        }
    }
    ExtractVariationsDone done;
    if (written == 0) {
        ui.report(NoVariationsToExtract);
        return done;
    }
    search::CopyOutcome outcome;
    std::unique_ptr<search::CopyTargetFile> target = search::CopyTargetFile::Open(
        request.target, request.append, request.pgn_path, ui, file_system, outcome);
    if (!target) {
        if (outcome.message.empty()) {
            done.cancelled = true;
            return done;
        }
        return Error(outcome.message, request.target);
    }
    // The old file may end without a line break; a blank line keeps the games apart.
    if (request.append && !target->Write("\r\n")) {
        return Error(std::string(search::messages::ErrorCreatingNewFile), request.target);
    }
    if (!target->Write(output)) {
        return Error(std::string(search::messages::ErrorCreatingNewFile), request.target);
    }
    outcome = target->Commit();
    if (!outcome.copied) return Error(outcome.message, request.target);
    done.games_written = written;
    ui.report(FillMessage(VariationsExtracted, written));
    return done;
}

}  // namespace qorvale::app
