#include "gui/shell/controller.h"

#include <QFileDialog>

#include "app/file_dialogs.h"
#include "app/options_file.h"
#include "gui/shell/qt_text.h"
#include "search/ser_file.h"

namespace qorvale::gui {

void Controller::SaveOptions() {
    (void)app::SaveOptions(context_.state.options_path, context_.state.options);
}

std::string Controller::ChooseCopyTarget() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::SecondPgn);
    const QString chosen = QFileDialog::getSaveFileName(
        window().DialogParent(), ToQString(text.title),
        ToQPath(app::GetText(options().CurrentFolder)), ToQString(text.filter), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return {};
    return search::WithExtension(FromQPath(chosen), ".pgn");
}

}  // namespace qorvale::gui
