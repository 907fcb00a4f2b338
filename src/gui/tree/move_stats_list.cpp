#include "gui/tree/move_stats_list.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include "gui/panels/game_text_widget.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

enum Column { TextColumn, GamesColumn, ScoreColumn, BarColumn };
constexpr int ShareRole = Qt::UserRole + 1;

// Draws the White-win, other and Black-win shares of a row side by side.
class ShareBarDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, QModelIndex());
        const QVariantList shares = index.data(ShareRole).toList();
        if (shares.size() != 3) return;
        const QRect area = option.rect.adjusted(4, 3, -4, -3);
        const std::array<QColor, 3> colours = {QColor(0xF4, 0xF4, 0xF0), QColor(0x9A, 0x9A, 0x9A),
                                               QColor(0x20, 0x20, 0x20)};
        painter->save();
        double start = 0;
        for (int part = 0; part < 3; ++part) {
            const double end = start + shares[part].toDouble();
            const int left = area.left() + static_cast<int>(start * area.width() + 0.5);
            const int right = area.left() + static_cast<int>(end * area.width() + 0.5);
            painter->fillRect(QRect(left, area.top(), right - left, area.height()),
                              colours[static_cast<std::size_t>(part)]);
            start = end;
        }
        painter->setPen(QColor(0x60, 0x60, 0x60));
        painter->drawRect(area.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

// The row's text with the moved piece's letter drawn as a figurine.
QString RowText(const app::TreeRow& row, bool figurines) {
    QString text = ToQString(row.text);
    if (!figurines) return text;
    const std::size_t at = row.text.find(row.move.text.view());
    if (at != std::string::npos && !row.move.text.view().empty()) {
        const auto column = static_cast<qsizetype>(at);
        text[column] = Figurine(text[column]);
    }
    return text;
}

}  // namespace

MoveStatsList::MoveStatsList(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("MoveStatsList"));
    setColumnCount(4);
    setHeaderLabels({tr("Move"), tr("Games"), tr("Score"), tr("White / other / Black")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegateForColumn(BarColumn, new ShareBarDelegate(this));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    header()->setStretchLastSection(true);
    setColumnWidth(TextColumn, QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0')) * 26);
    setColumnWidth(GamesColumn, 70);
    setColumnWidth(ScoreColumn, 70);
    setMinimumWidth(480);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { emit rowEntered(indexOfTopLevelItem(item)); });
}

void MoveStatsList::SetRows(const std::vector<app::TreeRow>& rows, int selected, bool figurines) {
    clear();
    QList<QTreeWidgetItem*> items;
    for (const app::TreeRow& row : rows) {
        auto* item = new QTreeWidgetItem;
        item->setText(TextColumn, RowText(row, figurines));
        item->setText(GamesColumn, QString::number(row.move.games));
        item->setTextAlignment(GamesColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(ScoreColumn, QStringLiteral("%1%").arg(row.score, 0, 'f', 1));
        item->setTextAlignment(ScoreColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(BarColumn, ShareRole,
                      QVariantList{row.white_share, row.other_share, row.black_share});
        item->setToolTip(BarColumn, tr("White won %1, Black won %2, other %3")
                                        .arg(row.move.wins.white_wins)
                                        .arg(row.move.wins.black_wins)
                                        .arg(row.move.games - row.move.wins.white_wins -
                                             row.move.wins.black_wins));
        items.append(item);
    }
    addTopLevelItems(items);
    if (selected >= 0 && selected < topLevelItemCount()) {
        setCurrentItem(topLevelItem(selected));
        scrollToItem(topLevelItem(selected));
    }
}

int MoveStatsList::CurrentRow() const {
    QTreeWidgetItem* item = currentItem();
    return item == nullptr ? -1 : indexOfTopLevelItem(item);
}

void MoveStatsList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (CurrentRow() >= 0) emit rowEntered(CurrentRow());
            return;
        case Qt::Key_Backspace:
            emit stepBack();
            return;
        default:
            QTreeWidget::keyPressEvent(event);
    }
}

void MoveStatsList::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!games_menu_ || item == nullptr) return;
    const int row = indexOfTopLevelItem(item);
    QMenu menu(this);
    QAction* games = menu.addAction(tr("Games of this move"));
    if (menu.exec(event->globalPos()) == games) emit gamesAsked(row);
}

}  // namespace qorvale::gui
