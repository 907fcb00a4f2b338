#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "openings/eco_table.h"

namespace qorvale::openings {

// The exported opening files live in this subfolder of the install folder.
inline constexpr std::string_view OpeningsFolderName = "openings";
inline constexpr std::string_view EcoCodesGamesName = "Ecocodes.pgn";
inline constexpr std::string_view EcoMovesGamesName = "Ecomoves.pgn";
inline constexpr std::string_view EcoNamesGamesName = "Econames.pgn";
inline constexpr std::string_view OpeningsGamesName = "Openings.pgn";
// The version EcoDataVersion holds once the three exported files are current.
inline constexpr std::int32_t CurrentEcoDataVersion = 5;

// `app_folder`/openings/`name`.
std::string OpeningsFilePath(std::string_view app_folder, std::string_view name);
// The move file of Ecocodes.pgn's fast file, the one the ECO-difference search reads.
std::string EcoCodesFastFilePath(std::string_view app_folder);

// A name as the exported files write it: one of 70 characters or more is cut at the last space
// at or before index 69 (one without such a space is kept whole).
std::string ExportedName(std::string_view name);

// A moves text as exported lines: shorter than 76 characters it is one line; a longer one is
// cut before the move number found scanning back from index 74, and the rest carried to the next
// line behind one space, again while 76 or longer, into at most four lines.
std::vector<std::string> BreakMovesLines(std::string_view moves);

// The texts of the exported files (CR LF line ends), entries in the given order.
//   tag-and-name form: [ECO "%s"], [Opening "%s"], an empty line, the moves lines
//   games form: White, Black, Date, Result and ECO tags, then the moves lines, the last with " *"
// Entries are separated by one empty line.
std::string OpeningFileText(const EcoTable& table, const std::vector<std::int32_t>& order);
std::string OpeningsGamesText(const EcoTable& table);

// The options ExportOpeningFiles and ExportOpeningsGames set, and how they are saved. The
// fields point into the caller's options record.
struct EcoDataOptions {
    std::int32_t* EcoDataReady = nullptr;
    std::int32_t* EcoDataVersion = nullptr;
    std::int32_t* OpeningsPrepared = nullptr;
    std::function<void()> save;  // saves the options record whole
};

// ExportOpeningFiles: writes Ecocodes.pgn (code order), Ecomoves.pgn (moves order) and
// Econames.pgn (name order) into the openings folder, creating it when missing; a file that
// cannot be created is skipped silently. Then sets EcoDataReady to 1 and EcoDataVersion to 5
// and saves the options.
void ExportOpeningFiles(const EcoTable& table, std::string_view app_folder,
                        EcoDataOptions& options);

// ExportOpeningsGames: writes Openings.pgn, sets OpeningsPrepared and saves the options.
void ExportOpeningsGames(const EcoTable& table, std::string_view app_folder,
                         EcoDataOptions& options);

// RebuildEcoCodesFastFile: indexes openings/Ecocodes.pgn and makes its fast file. Reports and
// returns "Error opening Ecocodes.pgn" when the file cannot be opened. The open game file of the
// window is not touched: the file is read through a PgnFile of its own.
Error RebuildEcoCodesFastFile(std::string_view app_folder, Ui& ui);

// The ECO steps of start-up, after the options are read: loads the table and, when EcoDataReady
// is 0 or EcoDataVersion is not 5, exports the three files, rebuilds Ecocodes.pgn's fast file and
// deletes qorvale.ecd; when OpeningsPrepared is 0, writes Openings.pgn. A table that cannot be
// loaded is reported ("ECO table corruption.") and the program goes on without one.
void InitialiseEcoData(EcoTable& table, std::string_view app_folder, EcoDataOptions& options,
                       Ui& ui);

}  // namespace qorvale::openings
