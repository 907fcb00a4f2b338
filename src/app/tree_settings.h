#pragma once

#include "app/options_record.h"
#include "openings/opening_tree.h"

namespace qorvale::app {

// Where the tree settings live in the options record. The six integers at 0x2B4:
//   [0] 0x2B4  TreeAutoDisplayGame
//   [1] 0x2B8  TreeSingleNodeLimit (start-up turns a value below 1 into 10)
//   [2] 0x2BC  TreeSortMode
//   [3] 0x2C0  TreeExactVariations
//   [4] 0x2C4  TreeShowScore
//   [5] 0x2C8  TreeShowPercentage
// ManeuverLookAhead is ManeuversLookAheadCount (0x3C8); the first tree setting at 0x530 records
// that the tree help message has been shown.
openings::TreeOptions TreeOptionsFrom(const OptionsRecord& record);
void StoreTreeOptions(const openings::TreeOptions& options, OptionsRecord& record);

bool TreeHelpShown(const OptionsRecord& record);
void SetTreeHelpShown(OptionsRecord& record);

}  // namespace qorvale::app
