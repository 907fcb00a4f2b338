#include "gui/game_list_model.h"

#include <QFontDatabase>
#include <algorithm>

namespace qorvale::gui {

GameListModel::GameListModel(const std::vector<app::GameListRecord>& records, QObject* parent)
    : QAbstractListModel(parent), records_(records) {
    SetSegment(0);
}

void GameListModel::SetLayout(int layout) {
    beginResetModel();
    layout_ = std::clamp(layout, 0, app::GameListLayouts - 1);
    endResetModel();
}

void GameListModel::SetSegment(int segment) {
    beginResetModel();
    segment_ = std::clamp(segment, 0, 4);
    auto [first, last] =
        app::GameListSegmentRange(segment_, static_cast<std::int32_t>(records_.size()));
    first_ = first;
    last_ = last;
    endResetModel();
}

std::int32_t GameListModel::GameNumberAt(int row) const { return first_ + row; }

int GameListModel::RowOf(std::int32_t game_number) const {
    if (game_number < first_ || game_number > last_) return -1;
    return game_number - first_;
}

int GameListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || last_ < first_) return 0;
    return last_ - first_ + 1;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const std::int32_t game = GameNumberAt(index.row());
    if (role == Qt::DisplayRole) {
        const std::string line =
            app::GameListLine(records_[static_cast<std::size_t>(game - 1)], game, layout_);
        return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    }
    if (role == Qt::FontRole) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (role == Qt::UserRole) return game;
    return {};
}

}  // namespace qorvale::gui
