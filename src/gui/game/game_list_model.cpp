#include "gui/game/game_list_model.h"

#include <QFontDatabase>
#include <algorithm>

namespace qorvale::gui {

GameListModel::GameListModel(const std::vector<app::GameListRecord>& records, QObject* parent)
    : QAbstractListModel(parent), records_(records) {
    SetSegment(0);
}

void GameListModel::SetContent(GameListContent content) {
    content_ = std::move(content);
    SetSegment(segment_);
}

void GameListModel::SetLayout(int layout) {
    beginResetModel();
    layout_ = std::clamp(layout, 0, app::GameListLayouts - 1);
    endResetModel();
}

void GameListModel::SetSegment(int segment) {
    beginResetModel();
    segment_ = std::clamp(segment, 0, 4);
    auto [first, last] = app::GameListSegmentRange(segment_, ListedCount());
    first_ = first;
    last_ = last;
    endResetModel();
}

std::int32_t GameListModel::ListedCount() const {
    if (content_.from_search) return static_cast<std::int32_t>(content_.games.size());
    if (content_.opening_names != nullptr) {
        return static_cast<std::int32_t>(content_.opening_names->size());
    }
    return static_cast<std::int32_t>(records_.size());
}

std::int32_t GameListModel::GameNumberAt(int row) const {
    const std::int32_t place = first_ + row;  // 1-based place in the whole list
    if (!content_.from_search) return place;
    return content_.games[static_cast<std::size_t>(place - 1)];
}

int GameListModel::RowOf(std::int32_t game_number) const {
    std::int32_t place = game_number;
    if (content_.from_search) {
        auto at = std::find(content_.games.begin(), content_.games.end(), game_number);
        if (at == content_.games.end()) return -1;
        place = static_cast<std::int32_t>(at - content_.games.begin()) + 1;
    }
    if (place < first_ || place > last_) return -1;
    return place - first_;
}

int GameListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || last_ < first_) return 0;
    return last_ - first_ + 1;
}

std::string GameListModel::LineAt(int row) const {
    const std::int32_t game = GameNumberAt(row);
    const auto index = static_cast<std::size_t>(game - 1);
    if (content_.opening_names != nullptr) {
        if (index < content_.opening_names->size()) return (*content_.opening_names)[index];
        return app::OpeningNamesLine(game, "", "", "");
    }
    if (index >= records_.size()) return {};
    const auto place = static_cast<std::size_t>(first_ - 1 + row);
    if (layout_ == 0 && place < content_.classified.size() &&
        place < static_cast<std::size_t>(app::EcoDifferenceListedGames)) {
        return app::GameListLine(records_[index], game, layout_, content_.classified[place]);
    }
    return app::GameListLine(records_[index], game, layout_);
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) {
        const std::string line = LineAt(index.row());
        return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    }
    if (role == Qt::FontRole) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (role == Qt::UserRole) return GameNumberAt(index.row());
    return {};
}

}  // namespace qorvale::gui
