#pragma once

#include <string_view>

namespace qorvale::openings {

// The index of an ECO code in the group table: (letter - 'A') * 100 + the two digits, so A00 is
// 0 and E99 is 499. An empty code, or one whose index falls outside 0..500, gives 500.
int EcoGroupIndex(std::string_view code);

// The short family name of an ECO code that one game-list layout shows after the code ("B20" ->
// "Sicilian"); "???" for index 500.
std::string_view EcoGroupName(std::string_view code);

}  // namespace qorvale::openings
