#pragma once

#include <QString>

#include "app/commands.h"
#include "gui/shell/controller.h"

class QTextBrowser;
class QWidget;

namespace qorvale::gui {

// The Help menu: the user manual in a window of its own, and the About box.
class HelpController : public Controller {
    Q_OBJECT

  public:
    // `manual_folder` holds the manual's pages (index.md first).
    HelpController(ShellContext& context, QString manual_folder);

    void Run(app::HelpCommand command);
    // Opens the manual at `page` ("index.md", "searching.md").
    void ShowManual(const QString& page = QStringLiteral("index.md"));
    QWidget* manualWindow() const { return manual_window_; }
    QTextBrowser* manualView() const { return manual_view_; }

  private:
    QString manual_folder_;
    QWidget* manual_window_ = nullptr;
    QTextBrowser* manual_view_ = nullptr;
};

}  // namespace qorvale::gui
