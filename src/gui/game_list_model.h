#pragma once

#include <QAbstractListModel>
#include <vector>

#include "app/game_list.h"

namespace qorvale::gui {

// The lines of the game list: one row per listed game, its text made only when the view asks
// for it, so a list of 200,000 games costs nothing up front.
class GameListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    // `records` holds one record per game of the file and must outlive the model.
    explicit GameListModel(const std::vector<app::GameListRecord>& records,
                           QObject* parent = nullptr);

    void SetLayout(int layout);
    int Layout() const { return layout_; }
    // Segment 0..4 of a long list.
    void SetSegment(int segment);
    int Segment() const { return segment_; }
    // The 1-based game number shown in `row`.
    std::int32_t GameNumberAt(int row) const;
    // The row that shows `game_number`, or -1 when it is not in this segment.
    int RowOf(std::int32_t game_number) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    const std::vector<app::GameListRecord>& records_;
    int layout_ = 0;
    int segment_ = 0;
    std::int32_t first_ = 1;
    std::int32_t last_ = 0;
};

}  // namespace qorvale::gui
