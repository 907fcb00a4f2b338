#pragma once

#include <string>
#include <string_view>

#include "base/error.h"

namespace qorvale::app {

// Names of the program's fixed files; each lives in `AppFolder` (join with AppPath).
inline constexpr std::string_view OptionsFileName = "savinfo.opt";
inline constexpr std::string_view GameBufferFileName = "gameqqqq.xyz";
inline constexpr std::string_view OpeningsTempFileName = "openqqqq.xyz";
inline constexpr std::string_view SearchListFileName = "searchqq.xyz";
inline constexpr std::string_view TempCopyFileName = "tempqqqq.xyz";
inline constexpr std::string_view TempBitmapFileName = "tempqqqq.bmp";
inline constexpr std::string_view TempJpegFileName = "tempqqqq.jpg";
inline constexpr std::string_view TempPngFileName = "tempqqqq.png";
inline constexpr std::string_view PrintListFileName = "printerq.xyz";
inline constexpr std::string_view HtmlDiagramFileName = "diagram.html";
inline constexpr std::string_view InteractiveGameFileName = "interact.pgn";
inline constexpr std::string_view RecoveryFileName = "recover.pgn";
inline constexpr std::string_view EngineGameFileName = "craftyqq.pgn";
inline constexpr std::string_view EcoTableFileName = "qorvale.eco";
inline constexpr std::string_view EcoNamesFileName = "qorvale.ecn";
inline constexpr std::string_view EcoMovesFileName = "qorvale.ecm";
inline constexpr std::string_view EcoDataFileName = "qorvale.ecd";
inline constexpr std::string_view EcoLinesFastFileName = "openings/Ecocodes.TRF";
inline constexpr std::string_view SpellListFileName = "qorvale.spl";
inline constexpr std::string_view DownloadListFileName = "pgndlx.dat";

// The install folder from the environment's values: `qorvale_home` when set, else
// `xdg_data_home`/qorvale (only an absolute XDG path counts), else `home`/.local/share/qorvale.
// With none of them the folder is "qorvale" below the current folder.
std::string AppFolderFrom(std::string_view qorvale_home, std::string_view xdg_data_home,
                          std::string_view home);

// The install folder of this process ($QORVALE_HOME, $XDG_DATA_HOME, $HOME).
std::string AppFolder();

// `app_folder`/`name`.
std::string AppPath(std::string_view app_folder, std::string_view name);

// The program's own data folder, the one the install folder is seeded from.
std::string ProgramDataFolder();

// Creates `app_folder` when missing and copies into it every file of `data_folder`, subfolders
// included, that it does not hold yet: a user's changed ECO table or options survive. Returns
// "Error creating folder." when the folder cannot be made; a file that cannot be copied is
// skipped, as the program still runs without it.
Error SeedAppFolder(const std::string& app_folder, const std::string& data_folder);

}  // namespace qorvale::app
