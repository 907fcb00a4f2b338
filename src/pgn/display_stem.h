#pragma once

#include <string>
#include <string_view>

namespace qorvale::pgn {

// The name shown to the user for a file name: the part before the first ".", put into
// capitalised form when it begins with a lower-case letter or with two upper-case letters
// (games.pgn -> Games, my-games.pgn -> My-Games, TWIC1200.PGN -> Twic1200, MyGames.pgn stays
// MyGames). A re-wrapped file takes this stem plus ".pgn" as its new name.
std::string DisplayStem(std::string_view file_name);

// The path of a file kept beside a PGN file: the path with its last characters replaced by
// `replacement` ("PGO" for games.pgn gives games.PGO, "s" gives games.pgs). A name too short to
// lose that many characters gets "." and the replacement appended.
std::string DerivedFilePath(std::string_view pgn_path, std::string_view replacement);

}  // namespace qorvale::pgn
