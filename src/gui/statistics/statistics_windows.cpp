#include "gui/statistics/statistics_windows.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/text.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

// A cell that sorts by its number, not by its text.
class NumberItem : public QTableWidgetItem {
  public:
    NumberItem(double value, int decimals)
        : QTableWidgetItem(QString::number(value, 'f', decimals)), value_(value) {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        if (const auto* number = dynamic_cast<const NumberItem*>(&other)) {
            return value_ < number->value_;
        }
        return QTableWidgetItem::operator<(other);
    }

  private:
    double value_;
};

QCheckBox* ExactBox(QWidget* parent) {
    auto* box = new QCheckBox(QObject::tr("Exact player match"), parent);
    box->setObjectName(QStringLiteral("ExactPlayerMatch"));
    box->setToolTip(QObject::tr(
        "Off: \"Smith, J.\" and \"Smith, John\" are one player. On: only names that are equal "
        "(ignoring case) are."));
    return box;
}

}  // namespace

PlayerScoresWindow::PlayerScoresWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PlayerScores"));
    setModal(false);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("Players"));
    const QStringList headings = {tr("Player"), tr("Rating"), tr("Score"), tr("Games"), tr("w+"),
                                  tr("b+"),     tr("w="),     tr("b="),    tr("w-"),    tr("b-")};
    table_->setColumnCount(static_cast<int>(headings.size()));
    table_->setHorizontalHeaderLabels(headings);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    exact_ = ExactBox(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(exact_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(exact_, &QCheckBox::toggled, this, &PlayerScoresWindow::exactChanged);
    connect(table_, &QTableWidget::itemActivated, this, [this](QTableWidgetItem* item) {
        if (const int player = PlayerAt(item->row()); player >= 0) emit playerChosen(player);
    });
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int player = PlayerAt(table_->rowAt(at.y()));
        if (player < 0) return;
        QMenu menu(this);
        QAction* games = menu.addAction(tr("List the Player's Games"));
        QAction* card = menu.addAction(tr("Player Information..."));
        QAction* chosen = menu.exec(table_->viewport()->mapToGlobal(at));
        if (chosen == games) emit playerChosen(player);
        if (chosen == card) emit playerCardAsked(player);
    });
    resize(760, 520);
}

int PlayerScoresWindow::PlayerAt(int row) const {
    const QTableWidgetItem* name = row >= 0 ? table_->item(row, 0) : nullptr;
    if (name == nullptr) return -1;
    const int player = name->data(Qt::UserRole).toInt();
    return player >= 0 && player < static_cast<int>(names_.size()) ? player : -1;
}

void PlayerScoresWindow::Show(const QString& title, const output::PlayerTable& table) {
    setWindowTitle(title);
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(table.order.size()));
    names_.clear();
    int row = 0;
    for (std::int32_t index : table.order) {
        const output::PlayerRecord& p = table.players[static_cast<std::size_t>(index)];
        auto* name = new QTableWidgetItem(ToQString(DisplayText(p.name)));
        name->setData(Qt::UserRole, static_cast<int>(names_.size()));
        names_.push_back(p.name);
        table_->setItem(row, 0, name);
        const double numbers[] = {
            static_cast<double>(p.rating),      static_cast<double>(p.score),
            static_cast<double>(p.Games()),     static_cast<double>(p.wins_white),
            static_cast<double>(p.wins_black),  static_cast<double>(p.draws_white),
            static_cast<double>(p.draws_black), static_cast<double>(p.losses_white),
            static_cast<double>(p.losses_black)};
        int column = 1;
        for (double value : numbers) {
            // The score has its half points; the counts are whole.
            table_->setItem(row, column, new NumberItem(value, column == 2 ? 1 : 0));
            ++column;
        }
        ++row;
    }
    // The table comes sorted by score; the headers sort it again by any column.
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
    if (row > 0) table_->setCurrentCell(0, 0);
    show();
    raise();
    activateWindow();
}

CrossTableWindow::CrossTableWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CrossTable"));
    setModal(false);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Table"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    exact_ = ExactBox(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* save = buttons->addButton(tr("Save as Web Page..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("SaveAsPage"));
    save->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(exact_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &CrossTableWindow::saveAsPage);
    connect(exact_, &QCheckBox::toggled, this, &CrossTableWindow::exactChanged);
    resize(900, 480);
}

void CrossTableWindow::Show(const QString& title, const QString& text) {
    setWindowTitle(title);
    text_->setPlainText(text);
    show();
    raise();
    activateWindow();
}

}  // namespace qorvale::gui
