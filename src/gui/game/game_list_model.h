#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "app/game_list.h"

namespace qorvale::gui {

// What "Select Game" lists besides the records: after a search only the search list's games, in
// its order, with, after an ECO difference search, the code found per listed game; for the
// openings files the opening-names lines instead of records.
struct GameListContent {
    bool from_search = false;
    std::vector<std::int32_t> games;      // with from_search: the listed 1-based game numbers
    std::vector<std::string> classified;  // per listed game; empty after other searches
    // One line per game of the file in opening-names mode, else null. Must outlive the model.
    const std::vector<std::string>* opening_names = nullptr;
};

// The lines of the game list: one row per listed game, its text made only when the view asks
// for it, so a list of 200,000 games costs nothing up front.
class GameListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    // `records` holds one record per game of the file and must outlive the model.
    explicit GameListModel(const std::vector<app::GameListRecord>& records,
                           QObject* parent = nullptr);

    // The games listed and their extra texts; every game of the file until this is called.
    void SetContent(GameListContent content);
    void SetLayout(int layout);
    int Layout() const { return layout_; }
    // Segment 0..4 of a long list.
    void SetSegment(int segment);
    int Segment() const { return segment_; }
    // Lines of the whole list (before segments).
    std::int32_t ListedCount() const;
    // The 1-based game number shown in `row`.
    std::int32_t GameNumberAt(int row) const;
    // The row that shows `game_number`, or -1 when it is not in this segment.
    int RowOf(std::int32_t game_number) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    std::string LineAt(int row) const;

    const std::vector<app::GameListRecord>& records_;
    GameListContent content_;
    int layout_ = 0;
    int segment_ = 0;
    std::int32_t first_ = 1;
    std::int32_t last_ = 0;
};

}  // namespace qorvale::gui
