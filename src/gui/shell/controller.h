#pragma once

#include <QObject>
#include <string>

#include "app/session.h"
#include "app/start_up.h"
#include "gui/shell/window_port.h"

namespace qorvale::gui {

// What every subsystem's controller shares: the context it works in, and the events of the
// window it may want to follow. A controller owns its dialogs and secondary windows.
class Controller : public QObject {
    Q_OBJECT

  public:
    explicit Controller(ShellContext& context) : context_(context) {}

    // Another file is on display (its first game not shown yet).
    virtual void FileOpened() {}
    // A game was loaded, or the board moved within it.
    virtual void PositionChanged() {}
    // The options record changed.
    virtual void OptionsChanged() {}

  protected:
    app::Session& session() { return context_.session; }
    const app::Session& session() const { return context_.session; }
    app::OptionsRecord& options() { return context_.state.options; }
    const app::OptionsRecord& options() const { return context_.state.options; }
    WindowPort& window() { return context_.window; }
    Ui& ui() { return context_.ui; }
    const std::string& app_folder() const { return context_.state.app_folder; }
    // Writes the options record to its file; a record that cannot be written costs only the
    // next start its settings.
    void SaveOptions();
    // The PGN file that games are copied into, from the save dialog ("" when cancelled), with
    // the ".pgn" extension; the copy itself asks before it overwrites a file.
    std::string ChooseCopyTarget();

    ShellContext& context_;
};

}  // namespace qorvale::gui
