#pragma once

#include <functional>

#include "base/ui.h"

class QObject;
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

    // A message box with the message's icon: information, warning or error.
    void report(std::string_view message) override;
    void explain(const Error& error) override;
    bool ask(std::string_view question) override;
    // Long operations show their own progress window; a plain message box has nothing to show.
    void progress(const ProgressCounters& counters) override;
    void post(Command command) override;

  private:
    QWidget* parent_;
    CommandHandler on_command_;
};

// The Ui the worker thread talks through. Every call made on another thread is carried over to
// the receiver's thread and handed on there, in the order made: messages and questions to
// `target`, progress to `on_progress`, commands to `on_command`; a question waits for its answer.
// Calls made on the receiver's own thread are handed on at once (posted commands still queue).
class GuiThreadUi final : public Ui {
  public:
    using ProgressHandler = std::function<void(const ProgressCounters&)>;

    // `receiver` and `target` must outlive every call made through this object.
    GuiThreadUi(QObject* receiver, Ui& target, ProgressHandler on_progress,
                MessageBoxUi::CommandHandler on_command);

    void report(std::string_view message) override;
    void explain(const Error& error) override;
    bool ask(std::string_view question) override;
    void progress(const ProgressCounters& counters) override;
    void post(Command command) override;

  private:
    bool OnReceiverThread() const;

    QObject* receiver_;
    Ui& target_;
    ProgressHandler on_progress_;
    MessageBoxUi::CommandHandler on_command_;
};

}  // namespace qorvale::gui
