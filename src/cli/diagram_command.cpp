#include <string>

#include "cli/command.h"
#include "cli/diagram_source.h"
#include "output/diagram_file.h"
#include "platform/file_system.h"

namespace qorvale::cli {

// Writes the diagram of a game's position (or of a FEN placement) as GIF, BMP, PNG or JPEG,
// drawn with the install folder's board options; with --series one file per move from the
// position on, named OUT's stem + "-start", "-whitemove<n>", "-blackmove<n>".
int RunDiagramCommand(const CommandArgs& args) {
    const std::optional<output::DiagramKind> kind = DiagramKindNamed(args.FlagValue("--format"));
    const std::string out = args.FlagValue("-o");
    if (!kind || out.empty()) return UsageError("diagram");
    const bool series = args.HasFlag("--series");
    int exit_code = 0;
    std::optional<DiagramSource> source = ReadDiagramSource(args, "diagram", series, exit_code);
    if (!source) return exit_code;
    platform::FileSystem& files = platform::SystemFileSystem();
    if (series) {
        Result<std::string_view> done = output::MakeDiagramSeries(
            *kind, source->positions, source->style, source->art, WithoutExtension(out), files);
        args.ui->report(done.ok() ? *done : done.error().message());
        return done.ok() ? 0 : 1;
    }
    const std::string path = output::ChooseDiagramFile(out, *kind);
    if (Error error = output::MakeDiagram(*kind, source->positions.front(), source->style,
                                          source->art, path, files)) {
        args.ui->report(error.message());
        return 1;
    }
    if (std::string_view done = output::DiagramCompleteMessage(*kind); !done.empty()) {
        args.ui->report(done);
    }
    return 0;
}

}  // namespace qorvale::cli
