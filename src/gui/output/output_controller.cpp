#include "gui/output/output_controller.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <functional>

#include "app/messages.h"
#include "gui/output/click_stop.h"
#include "gui/shell/qt_text.h"
#include "output/html_diagram.h"
#include "output/messages.h"
#include "platform/file_system.h"
#include "platform/folder.h"

namespace qorvale::gui {

OutputController::OutputController(ShellContext& context) : Controller(context) {}

void OutputController::Run(app::OutputCommand command) {
    switch (command) {
        case app::OutputCommand::SaveScreenShot: {
            const QString chosen = QFileDialog::getSaveFileName(
                window().DialogParent(), tr("Save Screen Shot"),
                SuggestedName(QStringLiteral("png")), tr("PNG pictures (*.png)"));
            if (!chosen.isEmpty()) SaveScreenShot(chosen);
            return;
        }
        case app::OutputCommand::SaveDiagram: {
            if (std::optional<ChosenDiagram> chosen = AskDiagramFile(tr("Save Diagram"))) {
                SaveDiagram(chosen->path, chosen->kind);
            }
            return;
        }
        case app::OutputCommand::DiagramSeries: {
            if (std::optional<ChosenDiagram> chosen = AskDiagramFile(tr("Diagram Series"))) {
                SaveDiagramSeries(SeriesBase(chosen->path), chosen->kind);
            }
            return;
        }
        case app::OutputCommand::HtmlDiagramSeries: {
            const QString chosen = QFileDialog::getSaveFileName(
                window().DialogParent(), tr("HTML Diagram Series"),
                SuggestedName(QStringLiteral("html")), tr("Web pages (*.html *.htm)"));
            if (!chosen.isEmpty()) SaveHtmlDiagramSeries(SeriesBase(chosen));
            return;
        }
        case app::OutputCommand::SaveHtmlDiagram: {
            const QString chosen = QFileDialog::getSaveFileName(
                window().DialogParent(), tr("Save HTML Diagram"),
                SuggestedName(QStringLiteral("html")), tr("Web pages (*.html *.htm)"));
            if (!chosen.isEmpty()) SaveHtmlDiagram(chosen);
            return;
        }
        case app::OutputCommand::CopyDiagram: {
            const QImage image = DiagramImage();
            if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
            return;
        }
    }
}

std::optional<OutputController::ChosenDiagram> OutputController::AskDiagramFile(
    const QString& title) {
    struct Format {
        QString filter;
        output::DiagramKind kind;
    };
    const Format formats[] = {
        {tr("GIF pictures (*.gif)"), output::DiagramKind::Gif},
        {tr("PNG pictures (*.png)"), output::DiagramKind::Png},
        {tr("JPEG pictures (*.jpg)"), output::DiagramKind::Jpeg},
        {tr("BMP pictures (*.bmp)"), output::DiagramKind::Bmp},
    };
    QStringList filters;
    for (const Format& format : formats) filters << format.filter;
    QString selected = formats[0].filter;
    const QString chosen = QFileDialog::getSaveFileName(
        window().DialogParent(), title, SuggestedName(QStringLiteral("gif")),
        filters.join(QStringLiteral(";;")), &selected);
    if (chosen.isEmpty()) return std::nullopt;
    for (const Format& format : formats) {
        if (format.filter == selected) return ChosenDiagram{chosen, format.kind};
    }
    return ChosenDiagram{chosen, output::DiagramKind::Gif};
}

QString OutputController::SeriesBase(const QString& chosen) {
    // The per-move names add their own endings to the name without its extension.
    const int dot = chosen.lastIndexOf(QLatin1Char('.'));
    return dot > chosen.lastIndexOf(QLatin1Char('/')) ? chosen.left(dot) : chosen;
}

QString OutputController::SuggestedName(const QString& extension) const {
    // Named after the game on display, in the folder of the open file.
    QString name = QStringLiteral("board.") + extension;
    if (session().HasGame()) {
        name = QStringLiteral("%1-game%2-move%3.%4")
                   .arg(ToQPath(platform::NameOf(session().File().CurrentPath()))
                            .section(QLatin1Char('.'), 0, 0))
                   .arg(session().GameNumber())
                   .arg((session().Navigation().currentPly + 1) / 2)
                   .arg(extension);
    }
    return ToQPath(app::GetText(options().CurrentFolder)) + QLatin1Char('/') + name;
}

std::optional<app::DiagramSource> OutputController::CurrentDiagram(bool to_end) {
    const int ply = session().Navigation().currentPly;
    Result<app::DiagramSource> source =
        app::GameDiagrams(options(), app_folder(), session().Chess(), session().Lines(), ply,
                          to_end ? session().Navigation().lastPly : ply, session().View().flipped);
    if (!source.ok()) {
        ui().report(source.error().message());
        return std::nullopt;
    }
    return std::move(*source);
}

bool OutputController::SaveDiagram(const QString& chosen, output::DiagramKind kind) {
    std::optional<app::DiagramSource> source = CurrentDiagram();
    if (!source) return false;
    const std::string path = output::ChooseDiagramFile(FromQPath(chosen), kind);
    if (Error error = output::MakeDiagram(kind, source->positions.front(), source->style,
                                          source->art, path, platform::SystemFileSystem())) {
        ui().explain(Error(error.message(), path));
        return false;
    }
    if (std::string_view done = output::DiagramCompleteMessage(kind); !done.empty()) {
        ui().report(done);
    }
    return true;
}

bool OutputController::SaveHtmlDiagram(const QString& path) {
    std::optional<app::DiagramSource> source = CurrentDiagram();
    if (!source) return false;
    std::string letters;
    const output::HtmlNotation notation = app::HtmlNotationFor(options(), letters);
    if (Error error =
            output::WriteHtmlDiagram(source->positions.front(), source->style, source->art,
                                     notation, FromQPath(path), platform::SystemFileSystem())) {
        ui().explain(Error(error.message(), FromQPath(path)));
        return false;
    }
    return true;
}

bool OutputController::SaveDiagramSeries(const QString& base, output::DiagramKind kind) {
    std::optional<app::DiagramSource> source = CurrentDiagram(true);
    if (!source) return false;
    ClickStop stop(window().DialogParent());
    return ReportSeries(
        output::MakeDiagramSeries(kind, source->positions, source->style, source->art,
                                  FromQPath(base), platform::SystemFileSystem(), std::ref(stop)),
        base);
}

bool OutputController::SaveHtmlDiagramSeries(const QString& base) {
    std::optional<app::DiagramSource> source = CurrentDiagram(true);
    if (!source) return false;
    std::string letters;
    const output::HtmlNotation notation = app::HtmlNotationFor(options(), letters);
    ClickStop stop(window().DialogParent());
    return ReportSeries(output::WriteHtmlDiagramSeries(
                            source->positions, source->style, source->art, notation,
                            FromQPath(base), platform::SystemFileSystem(), std::ref(stop)),
                        base);
}

bool OutputController::ReportSeries(const Result<std::string_view>& outcome, const QString& base) {
    if (!outcome.ok()) {
        ui().explain(Error(outcome.error().message(), FromQPath(base)));
        return false;
    }
    ui().report(*outcome);
    return *outcome == output::AllDiagramsComplete;
}

QImage OutputController::DiagramImage() {
    std::optional<app::DiagramSource> source = CurrentDiagram();
    if (!source) return {};
    const output::DiagramRaster raster =
        output::DrawDiagram(source->positions.front(), source->style, source->art);
    const std::vector<std::uint8_t> rgb = output::RasterRgb(raster);
    QImage image(rgb.data(), raster.width, raster.height, raster.width * 3, QImage::Format_RGB888);
    return image.copy();  // the bytes above go out of scope
}

bool OutputController::SaveScreenShot(const QString& path) {
    // QSaveFile writes beside the target and renames it into place only when complete.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && window().BoardImage().save(&file, "PNG") &&
        file.commit()) {
        return true;
    }
    ui().explain(Error(std::string(app::ErrorSavingScreenShot),
                       FromQPath(path) + "\n" + file.errorString().toStdString()));
    return false;
}

}  // namespace qorvale::gui
