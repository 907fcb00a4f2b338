#include "cli/diagram_source.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_folder.h"
#include "app/diagram_output.h"
#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

namespace {

std::string Simplified(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '_') continue;
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

// A style by number, name ("Staunton 1", "staunton1") or folder ("cburnett").
std::optional<int> StyleNamed(std::string_view name) {
    const std::string wanted = Simplified(name);
    for (std::size_t style = 0; style < output::PieceStyleNames.size(); ++style) {
        if (wanted == std::to_string(style) ||
            wanted == Simplified(output::PieceStyleNames[style]) ||
            wanted == Simplified(output::PieceStyleFolders[style])) {
            return static_cast<int>(style);
        }
    }
    return std::nullopt;
}

std::optional<long> Number(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0) return std::nullopt;
    return value;
}

}  // namespace

std::optional<output::DiagramKind> DiagramKindNamed(std::string_view name) {
    if (name == "gif") return output::DiagramKind::Gif;
    if (name == "bmp") return output::DiagramKind::Bmp;
    if (name == "png") return output::DiagramKind::Png;
    if (name == "jpg" || name == "jpeg") return output::DiagramKind::Jpeg;
    return std::nullopt;
}

std::string WithoutExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::string(path);
    }
    return std::string(path.substr(0, dot));
}

std::optional<DiagramSource> ReadDiagramSource(const CommandArgs& args, std::string_view command,
                                               bool series, int& exit_code) {
    auto usage = [&]() -> std::optional<DiagramSource> {
        exit_code = UsageError(command);
        return std::nullopt;
    };
    const bool from_fen = args.HasFlag("--fen");
    if (args.words.size() != (from_fen ? 0u : 2u)) return usage();
    std::optional<long> ply;
    if (args.HasFlag("--ply")) {
        ply = Number(args.FlagValue("--ply"));
        if (!ply || from_fen) return usage();
    }
    std::optional<long> size = Number(args.FlagValue("--size", "40"));
    if (!size || (*size != 40 && *size != 60 && *size != 80)) return usage();

    DiagramSource source;
    const std::string app_folder = app::AppFolder();
    source.options = app::DiagramOptions(app_folder);
    if (args.HasFlag("--set")) {
        std::optional<int> style = StyleNamed(args.FlagValue("--set"));
        if (!style) return usage();
        source.options.PieceStyle = *style;
    }
    source.style = app::DiagramStyleFor(source.options, !args.HasFlag("--default-colours"),
                                        args.HasFlag("--flip"), static_cast<int>(*size));

    exit_code = 1;
    if (from_fen) {
        output::DiagramPosition position;
        position.board = chess::ReadPlacement(args.FlagValue("--fen"));
        source.positions.push_back(position);
    } else {
        std::optional<long> game = Number(args.words[1]);
        if (!game || *game < 1) return usage();
        pgn::PgnFile file;
        if (!OpenForCommand(file, args.words[0], *args.ui)) return std::nullopt;
        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess(args.ui);
        Result<int> loaded =
            pgn::OpenGameForDisplay(file, static_cast<int>(*game), header, lines, chess, *args.ui);
        if (!loaded.ok()) return std::nullopt;  // the loader has told the user
        const int first = static_cast<int>(ply.value_or(series ? 0 : *loaded));
        if (first > *loaded) {
            std::fprintf(stderr, "qorvale-tool: game %ld has %d half-moves; there is no ply %d\n",
                         *game, *loaded, first);
            return std::nullopt;
        }
        Result<app::DiagramSource> drawn = app::GameDiagrams(
            source.options, app_folder, chess, lines, first, series ? *loaded : first,
            args.HasFlag("--flip"), !args.HasFlag("--default-colours"), static_cast<int>(*size));
        if (!drawn.ok()) {
            args.ui->report(drawn.error().message());
            return std::nullopt;
        }
        source.style = drawn->style;
        source.positions = std::move(drawn->positions);
        source.art = std::move(drawn->art);
        exit_code = 0;
        return source;
    }
    Result<output::DiagramArt> art = output::LoadDiagramArt(
        app::DiagramArtFoldersFor(app_folder, source.options.PieceStyle, source.style.cell_size),
        source.options.PieceStyle, source.style.cell_size);
    if (!art.ok()) {
        args.ui->report(art.error().message());
        return std::nullopt;
    }
    source.art = std::move(*art);
    exit_code = 0;
    return source;
}

}  // namespace qorvale::cli
