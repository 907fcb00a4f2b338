#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "app/commands.h"
#include "app/diagram_output.h"
#include "gui/shell/controller.h"
#include "output/diagram_file.h"

namespace qorvale::gui {

// Pictures of what the window shows: the board as a PNG screen shot, and diagrams of the position
// on the board as picture files, web pages or on the clipboard.
class OutputController : public Controller {
    Q_OBJECT

  public:
    explicit OutputController(ShellContext& context);

    void Run(app::OutputCommand command);
    // Writes the board as drawn to `path` (PNG); false after the failure was reported.
    bool SaveScreenShot(const QString& path);
    // Writes the diagram of the position on the board as `kind` to `chosen` (its extension made
    // the kind's); false after the failure was reported.
    bool SaveDiagram(const QString& chosen, output::DiagramKind kind);
    // Writes the HTML diagram page of the position on the board (one image, beside the page).
    bool SaveHtmlDiagram(const QString& path);
    // The diagram of the position on the board; a null image after the failure was reported.
    QImage DiagramImage();
    // One diagram (or web page) per move from the position on the board to the end of the game,
    // named from `base` ("-start", "-whitemove12", ...); a click in the window stops it. The
    // outcome is reported; true when every file was written.
    bool SaveDiagramSeries(const QString& base, output::DiagramKind kind);
    bool SaveHtmlDiagramSeries(const QString& base);

  private:
    struct ChosenDiagram {
        QString path;
        output::DiagramKind kind;
    };
    // The save dialog of the diagram formats; the kind is the format chosen.
    std::optional<ChosenDiagram> AskDiagramFile(const QString& title);
    // The chosen name without its extension.
    static QString SeriesBase(const QString& chosen);
    // The position on display as the options draw it, and with `to_end` every later one of the
    // game; nothing after the failure was reported.
    std::optional<app::DiagramSource> CurrentDiagram(bool to_end = false);
    bool ReportSeries(const Result<std::string_view>& outcome, const QString& base);
    QString SuggestedName(const QString& extension) const;
};

}  // namespace qorvale::gui
