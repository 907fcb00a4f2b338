#pragma once

#include <string_view>

// The background operations' own texts, exactly as the user sees them.
namespace qorvale::utilities::messages {

inline constexpr std::string_view MustTerminateDirectorySearch =
    "Must terminate directory search first.";
inline constexpr std::string_view MustTerminateFileCheck = "Must terminate file check first.";
inline constexpr std::string_view MustTerminateDuplicates =
    "Must terminate duplicate games check first.";
inline constexpr std::string_view MustTerminateFastFile =
    "Must terminate fast file generation first.";
inline constexpr std::string_view MustTerminateMergeFile =
    "Must terminate merge file generation first.";
inline constexpr std::string_view MustTerminateAdjust = "Must terminate file adjust first.";
inline constexpr std::string_view MustTerminateSplit = "Must terminate file split first.";
inline constexpr std::string_view MustTerminateCurrent = "Must terminate current operation first.";
inline constexpr std::string_view MustTerminateEcoDiff = "Must terminate ECO diff search first.";

inline constexpr std::string_view TitleDirectorySearch = "Search Directory";
inline constexpr std::string_view TitleCheckFile = "Check File";
inline constexpr std::string_view TitleDeleteFenGames = "Delete FEN Games";
inline constexpr std::string_view TitleDeleteSearchListGames = "Delete Search List Games";
inline constexpr std::string_view TitleDuplicates = "Duplicate Games";
inline constexpr std::string_view TitleMakeFastFile = "Make Fast File";
inline constexpr std::string_view TitleMakeMergeFile = "Make Merge File";
inline constexpr std::string_view TitleAdjust = "Adjust File";
inline constexpr std::string_view TitleSplit = "Split File";
inline constexpr std::string_view TitleMakeDatabase = "Make Database";
inline constexpr std::string_view TitleEcoDiff = "Search ECO Diff";

inline constexpr std::string_view SearchingFirstFile = "Searching first file...";
inline constexpr std::string_view CalculatingGames = "Calculating number of games...";

// printf formats of the progress line; two spaces between fields.
inline constexpr const char* FileProgress = "File:  %d of %d  %.0f%%  %s";
inline constexpr const char* GameComplete = "Game:  %d of %d    %.0f%% complete";
inline constexpr const char* GameFound = "Game:  %d of %d  %0.f%%  %d %s";

inline constexpr std::string_view Duplicate = "duplicate";
inline constexpr std::string_view Duplicates = "duplicates";
inline constexpr std::string_view Dups = "dups";
inline constexpr std::string_view Deleted = "deleted";
inline constexpr std::string_view Fen = "FEN";
inline constexpr std::string_view Fens = "FEN's";
inline constexpr std::string_view Error = "error";
inline constexpr std::string_view Errors = "errors";

}  // namespace qorvale::utilities::messages
