#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QString>
#include <string>

#include "app/app_folder.h"
#include "app/start_up.h"
#include "gui/openings/openings_controller.h"
#include "gui/shell/main_window.h"

namespace {

// The screen counts as high-DPI when it is not at 96 dots per inch.
bool HighDpiScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr &&
           (screen->logicalDotsPerInchX() != 96.0 || screen->logicalDotsPerInchY() != 96.0);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Qorvale");
    QApplication::setDesktopFileName("qorvale");
    QApplication::setWindowIcon(
        QIcon(QString::fromStdString(qorvale::app::ProgramDataFolder() + "/qorvale.svg")));

    std::string app_folder = qorvale::app::AppFolder();
    qorvale::Error seeded =
        qorvale::app::SeedAppFolder(app_folder, qorvale::app::ProgramDataFolder());
    if (seeded) {
        QMessageBox::critical(nullptr, "Qorvale", QString::fromStdString(seeded.message()));
        return 1;
    }

    // One optional PGN path; a path with spaces may arrive in pieces or in quotes.
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        command_line += argv[i];
    }
    qorvale::app::StartUpState state =
        qorvale::app::StartUp({app_folder, command_line, HighDpiScreen()});

    qorvale::gui::MainWindow window(state);
    window.show();
    window.openings().InitialiseOpenings();
    qorvale::app::PostStartUpOpen(state, window.ui());
    return application.exec();
}
