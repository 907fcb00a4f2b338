#pragma once

#include <cstdint>

#include "app/options_record.h"

namespace qorvale::app {

struct WindowRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The rectangle the record keeps per layout: the small board, the large board (the medium board
// shares it) and engine mode.
enum class WindowLayout { SmallBoard, LargeBoard, EngineMode };

WindowLayout CurrentWindowLayout(const OptionsRecord& record, ScreenSize screen, bool engine_mode);

// Whether the window's place for this layout was remembered from an earlier run.
bool HasSavedWindowRectangle(const OptionsRecord& record, ScreenSize screen, bool engine_mode);

// Where the main window opens (`WindowRectangle`): a default by screen and board size, replaced
// by the saved rectangle of the current layout when its width is not 0.
WindowRect WindowRectangle(const OptionsRecord& record, ScreenSize screen, bool engine_mode);

// Remembers `rect` as the current layout's rectangle.
void StoreWindowRectangle(OptionsRecord& record, ScreenSize screen, bool engine_mode,
                          const WindowRect& rect);

}  // namespace qorvale::app
