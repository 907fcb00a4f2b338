#pragma once

#include <functional>

#include "base/ui.h"

class QWidget;

namespace qorvale::gui {

// The window's Ui: messages in message boxes with the program's fixed text, questions as Yes/No
// boxes, and posted commands queued to the window's event loop so they run after the current
// command has finished. Main thread only.
class MessageBoxUi final : public Ui {
  public:
    using CommandHandler = std::function<void(Command)>;

    // `parent` owns the boxes and receives the queued commands; it must outlive this object.
    MessageBoxUi(QWidget* parent, CommandHandler on_command);

    void report(std::string_view message) override;
    bool ask(std::string_view question) override;
    // Long operations show their own progress window; a plain message box has nothing to show.
    void progress(const ProgressCounters& counters) override;
    void post(Command command) override;

  private:
    QWidget* parent_;
    CommandHandler on_command_;
};

}  // namespace qorvale::gui
