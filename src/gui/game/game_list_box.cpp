#include "gui/game/game_list_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

namespace qorvale::gui {

GameListBox::GameListBox(const std::vector<app::GameListRecord>& records, int layout,
                         std::int32_t current_game, QWidget* parent)
    : GameListBox(records, GameListContent{}, layout, current_game, parent) {}

GameListBox::GameListBox(const std::vector<app::GameListRecord>& records, GameListContent content,
                         int layout, std::int32_t current_game, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("GameListBox"));
    setWindowTitle(tr("Select Game"));
    const bool opening_names = content.opening_names != nullptr;
    model_ = new GameListModel(records, this);
    model_->SetContent(std::move(content));
    model_->SetLayout(layout);

    view_ = new QListView(this);
    view_->setModel(model_);
    // Every line has the same height: the view never measures all of them.
    view_->setUniformItemSizes(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setMinimumSize(760, 420);
    connect(view_, &QListView::activated, this, [this] { accept(); });

    layout_box_ = new QComboBox(this);
    layout_box_->addItems({tr("Players, result, date, ECO"), tr("Players with Elo, opening group"),
                           tr("Players, round, event"), tr("Players, round, site")});
    layout_box_->setCurrentIndex(model_->Layout());
    connect(layout_box_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const std::int32_t game = ChosenGame();
        model_->SetLayout(index);
        ShowGameRow(game);
    });

    segment_box_ = new QComboBox(this);
    segment_box_->addItems({tr("All games"), tr("1 - 32500"), tr("32501 - 65000"),
                            tr("65001 - 97500"), tr("97501 -")});
    segment_box_->setVisible(model_->ListedCount() > app::GameListSegmentLines);
    connect(segment_box_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_->SetSegment(index); });

    auto* top = new QHBoxLayout;
    auto* layout_label = new QLabel(tr("Layout"), this);
    top->addWidget(layout_label);
    top->addWidget(layout_box_, 1);
    // The opening-names lines have one form only.
    layout_label->setVisible(!opening_names);
    layout_box_->setVisible(!opening_names);
    top->addWidget(segment_box_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout_main = new QVBoxLayout(this);
    layout_main->addLayout(top);
    layout_main->addWidget(view_, 1);
    layout_main->addWidget(buttons);
    ShowGameRow(current_game);
}

void GameListBox::ShowGameRow(std::int32_t game_number) {
    const int row = model_->RowOf(game_number);
    if (row < 0) return;
    const QModelIndex index = model_->index(row);
    view_->setCurrentIndex(index);
    view_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

std::int32_t GameListBox::ChosenGame() const {
    const QModelIndex index = view_->currentIndex();
    return index.isValid() ? model_->GameNumberAt(index.row()) : 0;
}

void GameListBox::Choose(std::int32_t game_number) {
    ShowGameRow(game_number);
    emit view_->activated(view_->currentIndex());
}

}  // namespace qorvale::gui
