#include "support/placement_reference.h"

#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace qorvale::test {

std::vector<ReferenceGame> ReadPlacementReference() {
    std::vector<ReferenceGame> games;
    std::istringstream in(ReadWholeFile(TestDataPath("chess/placements.tsv")));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int number = 0;
        std::string hash;
        ReferenceGame game;
        fields >> number >> game.plies >> hash;
        game.hash = std::stoull(hash, nullptr, 16);
        games.push_back(game);
    }
    return games;
}

}  // namespace qorvale::test
