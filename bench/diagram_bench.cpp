// Diagram output: one diagram drawn and encoded in each format, one written as a file, and the
// series of one diagram per move of a long game, as GIF files and as HTML pages.
//
//   diagram_bench [PGN GAME] [ROUNDS]    (default: the sample games' game 44, 81 moves)
//
// Times are the best of ROUNDS (default 5). The signature (positions, bytes of every diagram
// encoded as GIF and BMP and an FNV-1a hash of them) does not change between runs; a change in it
// is a change in behaviour.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/app_folder.h"
#include "app/diagram_output.h"
#include "base/ui.h"
#include "chess/chess_state.h"
#include "output/diagram_file.h"
#include "output/html_diagram.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace qorvale;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time of this process, which a loaded machine stretches far less than the clock.
double ProcessorMilliseconds() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Timing {
    double wall = 1e300;       // best of the rounds
    double processor = 1e300;  // best of the rounds
};

template <typename Run>
Timing Best(int rounds, Run&& run) {
    Timing best;
    for (int round = 0; round < rounds; ++round) {
        const Clock::time_point start = Clock::now();
        const double processor = ProcessorMilliseconds();
        run();
        best.wall = std::min(best.wall, Milliseconds(start));
        best.processor = std::min(best.processor, ProcessorMilliseconds() - processor);
    }
    return best;
}

std::uint64_t Fnv(std::uint64_t hash, const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string pgn = argc > 2 ? argv[1] : app::ProgramDataFolder() + "/sample-games.pgn";
    const int game = argc > 2 ? std::atoi(argv[2]) : 44;
    const int rounds = std::max(1, argc == 2  ? std::atoi(argv[1])
                                   : argc > 3 ? std::atoi(argv[3])
                                              : 5);

    SilentUi ui;
    pgn::PgnFile file;
    if (Error error = file.Open(pgn); !error.ok()) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        return 1;
    }
    file.ScanGameFile(false, ui);
    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    Result<int> plies = pgn::OpenGameForDisplay(file, game, header, lines, chess, ui);
    if (!plies.ok()) return 1;

    app::OptionsRecord options;
    options.CoordinatesMode = 1;
    options.BorderWidth = 2;
    options.HighlightLastMove = 1;
    options.PieceStyle = 2;
    const output::DiagramStyle style = app::DiagramStyleFor(options, false, false);
    const std::string data = app::ProgramDataFolder();
    Result<output::DiagramArt> art =
        output::LoadDiagramArt({data + "/pieces", data + "/diagram"}, options.PieceStyle, 40);
    if (!art.ok()) {
        std::fprintf(stderr, "%s\n", art.error().message().c_str());
        return 1;
    }
    const std::vector<output::DiagramPosition> series =
        app::DiagramSeriesPositions(chess, lines, 0, *plies, true);
    const output::DiagramPosition& middle = series[series.size() / 2];

    std::printf("game %d of %s: %d half-moves, %zu positions, %dx%d diagrams\n", game, pgn.c_str(),
                *plies, series.size(), output::DiagramWidth(style), output::DiagramWidth(style));
    const std::pair<output::DiagramKind, const char*> kinds[] = {
        {output::DiagramKind::Gif, "GIF"},
        {output::DiagramKind::Bmp, "BMP"},
        {output::DiagramKind::Png, "PNG"},
        {output::DiagramKind::Jpeg, "JPEG"}};
    // Single diagrams are timed 50 at a time: one alone is below the clock's resolution.
    constexpr int Batch = 50;
    const Timing draw = Best(rounds, [&] {
        for (int k = 0; k < Batch; ++k) (void)output::DrawDiagram(middle, style, *art);
    });
    std::printf("draw one diagram: %.3f ms (processor %.3f ms)\n", draw.wall / Batch,
                draw.processor / Batch);
    for (const auto& [kind, name] : kinds) {
        const output::DiagramRaster raster = output::DrawDiagram(middle, style, *art);
        const Timing encode = Best(rounds, [&] {
            for (int k = 0; k < Batch; ++k) (void)output::EncodeDiagram(raster, kind);
        });
        std::printf("encode one diagram as %s: %.3f ms (processor %.3f ms)\n", name,
                    encode.wall / Batch, encode.processor / Batch);
    }

    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("qorvale-diagram-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    platform::FileSystem& files = platform::SystemFileSystem();
    const Timing single = Best(rounds, [&] {
        (void)output::MakeDiagram(output::DiagramKind::Gif, middle, style, *art,
                                  (folder / "one.gif").string(), files);
    });
    std::printf(
        "one GIF diagram written (draw, encode, write, flush, rename): %.1f ms "
        "(processor %.1f ms)\n",
        single.wall, single.processor);

    const Timing gif_memory = Best(rounds, [&] {
        for (const output::DiagramPosition& position : series) {
            (void)output::EncodeDiagram(output::DrawDiagram(position, style, *art),
                                        output::DiagramKind::Gif);
        }
    });
    const Timing gif_files = Best(rounds, [&] {
        (void)output::MakeDiagramSeries(output::DiagramKind::Gif, series, style, *art,
                                        (folder / "game").string(), files);
    });
    const Timing html_files = Best(rounds, [&] {
        (void)output::WriteHtmlDiagramSeries(series, style, *art, {}, (folder / "page").string(),
                                             files);
    });
    std::printf(
        "series of %zu GIF diagrams: %.1f ms encoded in memory (processor %.1f ms), "
        "%.1f ms written (processor %.1f ms)\n",
        series.size(), gif_memory.wall, gif_memory.processor, gif_files.wall, gif_files.processor);
    std::printf(
        "series of %zu HTML pages with their square images: %.1f ms written (processor "
        "%.1f ms)\n",
        series.size(), html_files.wall, html_files.processor);

    std::uint64_t hash = 0xcbf29ce484222325ull;
    std::size_t bytes = 0;
    // Only the program's own encoders: PNG and JPEG bytes change with the libraries' versions.
    for (const output::DiagramPosition& position : series) {
        for (output::DiagramKind kind : {output::DiagramKind::Gif, output::DiagramKind::Bmp}) {
            Result<std::vector<std::uint8_t>> encoded =
                output::EncodeDiagram(output::DrawDiagram(position, style, *art), kind);
            if (!encoded.ok()) return 1;
            bytes += encoded->size();
            hash = Fnv(hash, *encoded);
        }
    }
    std::printf("signature: %zu positions, %zu bytes, hash %016llx\n", series.size(), bytes,
                static_cast<unsigned long long>(hash));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
