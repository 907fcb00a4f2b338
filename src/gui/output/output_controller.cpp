#include "gui/output/output_controller.h"

#include <QFileDialog>
#include <QImage>
#include <QSaveFile>

#include "app/messages.h"
#include "gui/shell/qt_text.h"
#include "platform/folder.h"

namespace qorvale::gui {

OutputController::OutputController(ShellContext& context) : Controller(context) {}

void OutputController::Run(app::OutputCommand command) {
    switch (command) {
        case app::OutputCommand::SaveScreenShot: {
            // Named after the game on display, in the folder of the open file.
            QString name = QStringLiteral("board.png");
            if (session().HasGame()) {
                name = QStringLiteral("%1-game%2-move%3.png")
                           .arg(ToQPath(platform::NameOf(session().File().CurrentPath()))
                                    .section(QLatin1Char('.'), 0, 0))
                           .arg(session().GameNumber())
                           .arg((session().Navigation().currentPly + 1) / 2);
            }
            const QString folder = ToQPath(app::GetText(options().CurrentFolder));
            const QString chosen = QFileDialog::getSaveFileName(
                window().DialogParent(), tr("Save Screen Shot"), folder + QLatin1Char('/') + name,
                tr("PNG pictures (*.png)"));
            if (!chosen.isEmpty()) SaveScreenShot(chosen);
            return;
        }
    }
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
