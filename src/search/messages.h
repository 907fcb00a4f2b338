#pragma once

#include <string_view>

// The fast file's texts, exactly as the user sees them.
namespace qorvale::search::messages {

inline constexpr std::string_view MakeFastFileAgain =
    "Warning: You need to run 'Make Fast File' again.";
inline constexpr std::string_view FastFileOk = "Fast file OK";
inline constexpr std::string_view FastFileMissing = "Fast file does not exist.";
inline constexpr std::string_view ConfirmDelete = "Delete the fast file. Confirm.";
inline constexpr std::string_view FastFileDeleted = "Fast file deleted.";
inline constexpr std::string_view ErrorCreatingFastFile = "Error creating fast file.";
inline constexpr std::string_view ErrorMakingFastFile =
    "Error making fast file. Run 'Check File' utility.";
inline constexpr std::string_view FenWarning =
    "Warning: File contained some FEN positions. Fast file may not be correct.";
inline constexpr std::string_view FastFileComplete = "Fast file complete.";
inline constexpr std::string_view CannotCancelFastFile =
    "Sorry, cannot cancel fast file generation.";
inline constexpr std::string_view ErrorOpeningMergeFile = "Error opening merge file.";
inline constexpr std::string_view CannotCancelMergeFile =
    "Sorry, cannot cancel merge file generation.";
inline constexpr std::string_view MergeFileComplete = "Merge file complete.";
inline constexpr std::string_view ErrorMakingMergeFile = "Error making merge file.";
inline constexpr std::string_view ErrorFixingFastFile =
    "Error fixing fast file. Run 'Make Fast File' again.";
inline constexpr std::string_view ErrorGettingMemory = "Error getting memory.";
inline constexpr std::string_view NotEnoughMemory = "Not enough memory.";
inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view ErrorCreatingTempFile = "Error creating temp file.";

}  // namespace qorvale::search::messages
