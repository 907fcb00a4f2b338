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
    if (!image_kind) {
        Error error = output::WriteHtmlDiagram(source->positions.front(), source->style,
                                               source->art, notation, out, files);
        if (error) args.ui->report(error.message());
        return error ? 1 : 0;
    }
    // Each page with its image beside it, named after the position.
    Result<std::string_view> done = output::RunSeries(
        source->positions, {}, files, output::ErrorCreatingFile,
        [&](const output::DiagramPosition& position,
            std::vector<platform::FileContent>& batch) -> Error {
            std::string image =
                output::PerMoveName(base, position.caption, output::DiagramExtension(*image_kind));
            Result<std::vector<std::uint8_t>> bytes = output::EncodeDiagram(
                output::DrawDiagram(position, source->style, source->art), *image_kind);
            if (!bytes.ok()) return bytes.error();
            batch.push_back({image, std::move(*bytes)});
            image.erase(0, output::FolderOf(image).size());
            const std::string page =
                output::HtmlDiagramText(position, source->style.flipped, image, notation);
            batch.push_back({series ? output::PerMoveName(base, position.caption, "html") : out,
                             {page.begin(), page.end()}});
            return Error::Ok();
        });
    if (!done.ok() || series) args.ui->report(done.ok() ? *done : done.error().message());
    return done.ok() ? 0 : 1;
}

}  // namespace qorvale::cli
