#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/options_record.h"
#include "cli/command.h"
#include "output/diagram.h"
#include "output/diagram_art.h"
#include "output/diagram_file.h"

namespace qorvale::cli {

// What the diagram commands share: the options of the install folder with the command's
// overrides, the style and art they give, and the positions taken from a game or a FEN.
struct DiagramSource {
    app::OptionsRecord options;
    output::DiagramStyle style;
    output::DiagramArt art;
    // The position asked for, or with `series` every position from it to the game's end.
    std::vector<output::DiagramPosition> positions;
};

// Reads FILE N [--ply K] or --fen FEN, and --set, --size, --flip, --default-colours. Without
// --ply a single diagram shows the game's last position and a series starts at its first.
// Reports the failure and returns nothing (with `exit_code` set) when the command cannot go on.
std::optional<DiagramSource> ReadDiagramSource(const CommandArgs& args, std::string_view command,
                                               bool series, int& exit_code);

// The kind named by --format or --image ("gif", "bmp", "png", "jpg"/"jpeg").
std::optional<output::DiagramKind> DiagramKindNamed(std::string_view name);

// `path` without the extension of its file name ("out/game.gif" -> "out/game").
std::string WithoutExtension(std::string_view path);

}  // namespace qorvale::cli
