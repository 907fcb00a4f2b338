#include <string>

#include "app/diagram_output.h"
#include "cli/command.h"
#include "cli/diagram_source.h"
#include "output/diagram_file.h"
#include "output/html_diagram.h"
#include "output/messages.h"
#include "platform/file_system.h"

namespace qorvale::cli {

// Writes the HTML diagram of a game's position: the board built of square images (written
// beside the page), or with --image one diagram image beside it. With --series one page per
// move from the position on, named OUT's stem + "-start.html", "-whitemove<n>.html", ...
int RunHtmlDiagramCommand(const CommandArgs& args) {
    const std::string out = args.FlagValue("-o");
    std::optional<output::DiagramKind> image_kind;
    if (args.HasFlag("--image")) {
        image_kind = DiagramKindNamed(args.FlagValue("--image"));
        if (!image_kind) return UsageError("html-diagram");
    }
    if (out.empty() || args.HasFlag("--fen")) return UsageError("html-diagram");
    const bool series = args.HasFlag("--series");
    int exit_code = 0;
    std::optional<DiagramSource> source =
        ReadDiagramSource(args, "html-diagram", series, exit_code);
    if (!source) return exit_code;
    std::string letters;
    const output::HtmlNotation notation = app::HtmlNotationFor(source->options, letters);
    platform::FileSystem& files = platform::SystemFileSystem();
    const std::string base = WithoutExtension(out);
    if (series && !image_kind) {
        Result<std::string_view> done = output::WriteHtmlDiagramSeries(
            source->positions, source->style, source->art, notation, base, files);
        args.ui->report(done.ok() ? *done : done.error().message());
        return done.ok() ? 0 : 1;
    }
    for (const output::DiagramPosition& position : source->positions) {
        const std::string page = series ? output::PerMoveName(base, position.caption, "html") : out;
        std::string image;
        if (image_kind) {
            // The image lies beside the page and is named after the position.
            const std::string image_path =
                output::PerMoveName(base, position.caption, output::DiagramExtension(*image_kind));
            image = image_path.substr(output::FolderOf(image_path).size());
            if (Error error = output::MakeDiagram(*image_kind, position, source->style, source->art,
                                                  image_path, files)) {
                args.ui->report(error.message());
                return 1;
            }
        }
        if (Error error = output::WriteHtmlDiagram(position, source->style, source->art, notation,
                                                   page, files, image)) {
            args.ui->report(error.message());
            return 1;
        }
    }
    if (series) args.ui->report(output::AllDiagramsComplete);
    return 0;
}

}  // namespace qorvale::cli
