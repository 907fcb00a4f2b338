#include "gui/database/database_game_list_box.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/shell/qt_text.h"

namespace qorvale::gui {

DatabaseGameListBox::DatabaseGameListBox(const QString& title,
                                         const std::vector<app::DatabaseGameRow>& rows, int current,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DatabaseGameListBox"));
    setWindowTitle(title);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("Games"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({tr("White"), tr("Black"), tr("Year"), tr("Result")});
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const app::DatabaseGameRow& row : rows) {
        items << new QTreeWidgetItem(QStringList{
            ToQString(row.white), ToQString(row.black),
            row.year == 0 ? QString() : QString::number(row.year), ToQString(row.result)});
    }
    list_->addTopLevelItems(items);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumSize(520, 360);
    if (current >= 0 && current < list_->topLevelItemCount()) {
        list_->setCurrentItem(list_->topLevelItem(current));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int DatabaseGameListBox::ChosenRow() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item == nullptr ? -1 : list_->indexOfTopLevelItem(item);
}

}  // namespace qorvale::gui
