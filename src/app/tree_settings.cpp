#include "app/tree_settings.h"

#include <algorithm>

namespace qorvale::app {

namespace {

constexpr int DefaultLookAhead = 10;

}  // namespace

openings::TreeOptions TreeOptionsFrom(const OptionsRecord& record) {
    const auto& tree = record.TreeSettings;
    openings::TreeOptions options;
    options.auto_display_game = tree[0] != 0;
    options.single_node_limit = std::max(tree[1], 1);
    options.sort_mode = tree[2] >= 0 && tree[2] <= 3 ? tree[2] : 1;
    options.exact_variations = tree[3] != 0;
    options.show_score = tree[4] != 0;
    options.show_percentage = tree[5] != 0;
    options.maneuver_look_ahead =
        record.ManeuversLookAheadCount > 0 ? record.ManeuversLookAheadCount : DefaultLookAhead;
    return options;
}

void StoreTreeOptions(const openings::TreeOptions& options, OptionsRecord& record) {
    auto& tree = record.TreeSettings;
    tree[0] = options.auto_display_game ? 1 : 0;
    tree[1] = std::max(options.single_node_limit, 1);
    tree[2] = options.sort_mode;
    tree[3] = options.exact_variations ? 1 : 0;
    tree[4] = options.show_score ? 1 : 0;
    tree[5] = options.show_percentage ? 1 : 0;
    record.ManeuversLookAheadCount = std::max(options.maneuver_look_ahead, 1);
}

bool TreeHelpShown(const OptionsRecord& record) { return record.TreeMergeSettings[0] != 0; }

void SetTreeHelpShown(OptionsRecord& record) { record.TreeMergeSettings[0] = 1; }

}  // namespace qorvale::app
