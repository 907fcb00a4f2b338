#pragma once

#include <cstdint>
#include <string>

#include "base/ui.h"

class QImage;
class QWidget;

namespace qorvale::app {
class Session;
struct StartUpState;
}  // namespace qorvale::app

namespace qorvale::gui {

class OperationRunner;

// The parts of the main window a controller may ask to be drawn again.
enum class WindowPart : std::uint32_t {
    Board = 1,        // the position and the last-move highlight
    Text = 2,         // the game text panel
    MoveLines = 4,    // the move, result and comment lines under the board
    OpeningLine = 8,  // the opening named under the board
    Status = 16,      // the file and game counters of the status bar
    Title = 32,       // the window title
    Commands = 64,    // which commands are enabled
    Layout = 128,     // sizes and colours after the options changed
    Game = Board | Text | MoveLines | OpeningLine | Status | Commands,
    All = 0xFFFF,
};
constexpr WindowPart operator|(WindowPart a, WindowPart b) {
    return static_cast<WindowPart>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr bool Has(WindowPart set, WindowPart part) {
    return (static_cast<std::uint32_t>(set) & static_cast<std::uint32_t>(part)) != 0;
}

// What a controller may ask of the main window. Controllers never reach the window's widgets;
// they change the session and say what to draw again.
class WindowPort {
  public:
    virtual ~WindowPort() = default;
    // The parent of dialogs and message boxes.
    virtual QWidget* DialogParent() = 0;
    // Loads game `game_number` of the open file and shows it at its start; false after the
    // failure was reported.
    virtual bool ShowGame(std::int32_t game_number) = 0;
    // Opens `path` as File/Open does (it becomes the current and a recent file) and shows it;
    // false after the failure was reported, with the old file kept.
    virtual bool OpenFile(const std::string& path) = 0;
    // Puts the board at half-move `ply` of the game on display.
    virtual void GoToPly(std::int32_t ply) = 0;
    // A file was opened: shows its game `game_number` at `ply` (as far as it has them).
    virtual void ShowOpenedFile(std::int32_t game_number, std::int32_t ply) = 0;
    virtual void Redraw(WindowPart parts) = 0;
    // The board as drawn now, for a screen shot.
    virtual QImage BoardImage() = 0;
};

// What every controller works with. All of it outlives the controllers.
struct ShellContext {
    app::StartUpState& state;  // the options record and the install folder
    app::Session& session;
    WindowPort& window;
    OperationRunner& runner;
    Ui& ui;  // message boxes on the window
};

}  // namespace qorvale::gui
