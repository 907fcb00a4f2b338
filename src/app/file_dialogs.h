#pragma once

#include <array>
#include <span>
#include <string_view>

#include "app/options_record.h"

namespace qorvale::app {

// The program's file dialogs. Each remembers its last folder and file name in the options
// record: the dialog opens there and writes its result back.
enum class FileDialogId {
    OpenPgn,
    SearchCriteria,
    Html,
    SecondPgn,
    Bitmap,
    PreviousFile,
    Jpeg,
    TreeMerge,
    SplitPgn,
    CraftyPosition,
    CraftyGame,
    CraftyAnnotation,
    CraftyExecutable,
    Database,
    YahooGame,
    YahooPgn,
    Gif,
    Png,
    ExtractedVariations,
    UciEngine,
};

struct FileDialogText {
    std::string_view title;   // "" for the previous file, which has no dialog of its own
    std::string_view filter;  // "" for none
};

inline constexpr std::array<FileDialogText, 20> FileDialogTexts = {{
    {"Select PGN File", "*.pgn"},
    {"Select Search Criteria File", "*.ser"},
    {"Select Html File", "*.html"},
    {"Select PGN File", "*.pgn"},
    {"Select Bitmap File", "*.bmp"},
    {"", ""},
    {"Select JPEG File", "*.jpg"},
    {"Select Tree Merge File", "*.trm"},
    {"Select PGN File to Split", "*.pgn"},
    {"Select Crafty Position File", "*.pos"},
    {"Select Crafty Game File", "*.pgn"},
    {"Select Crafty Annotation File", "*.can"},
    {"Select Crafty Executable", "*.exe"},
    {"Select Database", "*.dbg"},
    {"Select Yahoo Game File", "*.txt"},
    {"Select Yahoo PGN File", "*.pgn"},
    {"Select GIF File", "*.gif"},
    {"Select PNG File", "*.png"},
    {"Select PGN File for Extracted Variations", "*.pgn"},
    {"Select UCI Chess Engine", "*.exe"},
}};

inline const FileDialogText& DialogText(FileDialogId dialog) {
    return FileDialogTexts[static_cast<std::size_t>(dialog)];
}

// The dialog's remembered folder and file name fields, NUL-terminated texts inside `record`.
std::span<char> DialogFolder(OptionsRecord& record, FileDialogId dialog);
std::span<char> DialogFileName(OptionsRecord& record, FileDialogId dialog);

}  // namespace qorvale::app
