#include "app/window_placement.h"

#include "app/board_style.h"

namespace qorvale::app {

namespace {

constexpr std::int32_t SmallBoard = 0;
constexpr std::int32_t MediumBoard = 1;
constexpr std::int32_t LargeBoard = 2;

WindowRect DefaultRectangle(const OptionsRecord& record, ScreenSize screen) {
    if (record.RibbonInitialised == 0) return {10, 10, 860, 590};
    bool ribbon = record.DisplayRibbon != 0;
    bool classic = record.ClassicLayout != 0;
    switch (EffectiveBoardSize(record.BoardSize, screen.height)) {
        case LargeBoard:
            return {0, 0, 1250, 960};
        case MediumBoard:
            return {5, 5, 975, ribbon ? 812 : classic ? 722 : 715};
        default: {
            std::int32_t height = ribbon ? 590 : classic ? 492 : 480;
            // Small screens get the window in their corner.
            if (screen.width == 800) return {10, 10, 860, height};
            if (screen.width == 640) return {0, 0, 860, height};
            return {60, 50, 860, height};
        }
    }
}

}  // namespace

WindowLayout CurrentWindowLayout(const OptionsRecord& record, ScreenSize screen, bool engine_mode) {
    if (engine_mode) return WindowLayout::EngineMode;
    return EffectiveBoardSize(record.BoardSize, screen.height) == SmallBoard
               ? WindowLayout::SmallBoard
               : WindowLayout::LargeBoard;
}

namespace {

WindowRect SavedRectangle(const OptionsRecord& record, ScreenSize screen, bool engine_mode) {
    WindowRect saved;
    switch (CurrentWindowLayout(record, screen, engine_mode)) {
        case WindowLayout::SmallBoard:
            saved = {record.SmallBoardWindowX, record.SmallBoardWindowY,
                     record.SmallBoardWindowWidth, record.SmallBoardWindowHeight};
            break;
        case WindowLayout::LargeBoard:
            saved = {record.LargeBoardWindow[2], record.LargeBoardWindow[3],
                     record.LargeBoardWindow[0], record.LargeBoardWindow[1]};
            break;
        case WindowLayout::EngineMode:
            saved = {record.EngineModeWindowX, record.EngineModeWindowY,
                     record.EngineModeWindowWidth, record.EngineModeWindowHeight};
            break;
    }
    return saved;
}

}  // namespace

bool HasSavedWindowRectangle(const OptionsRecord& record, ScreenSize screen, bool engine_mode) {
    return SavedRectangle(record, screen, engine_mode).width != 0;
}

WindowRect WindowRectangle(const OptionsRecord& record, ScreenSize screen, bool engine_mode) {
    WindowRect saved = SavedRectangle(record, screen, engine_mode);
    return saved.width != 0 ? saved : DefaultRectangle(record, screen);
}

void StoreWindowRectangle(OptionsRecord& record, ScreenSize screen, bool engine_mode,
                          const WindowRect& rect) {
    switch (CurrentWindowLayout(record, screen, engine_mode)) {
        case WindowLayout::SmallBoard:
            record.SmallBoardWindowX = rect.x;
            record.SmallBoardWindowY = rect.y;
            record.SmallBoardWindowWidth = rect.width;
            record.SmallBoardWindowHeight = rect.height;
            break;
        case WindowLayout::LargeBoard:
            record.LargeBoardWindow = {rect.width, rect.height, rect.x, rect.y};
            break;
        case WindowLayout::EngineMode:
            record.EngineModeWindowX = rect.x;
            record.EngineModeWindowY = rect.y;
            record.EngineModeWindowWidth = rect.width;
            record.EngineModeWindowHeight = rect.height;
            break;
    }
}

}  // namespace qorvale::app
