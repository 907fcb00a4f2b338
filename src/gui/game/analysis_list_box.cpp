#include "gui/game/analysis_list_box.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/messages.h"

namespace qorvale::gui {

AnalysisListBox::AnalysisListBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AnalysisListBox"));
    setWindowTitle(QString::fromUtf8(AnalysisListTitle.data(),
                                     static_cast<qsizetype>(AnalysisListTitle.size())));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("AnalysisHeading"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("AnalysisLines"));
    list_->setFont(fixed);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Wide enough for a row of 14 half-moves with their numbers.
    const int row_width = QFontMetrics(fixed).horizontalAdvance(QString(92, QLatin1Char('M')));
    list_->setMinimumSize(row_width, 120);
    connect(list_, &QListWidget::currentRowChanged, this, &AnalysisListBox::ShowDetail);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit lineChosen(list_->row(item)); });

    detail_ = new QPlainTextEdit(this);
    detail_->setObjectName(QStringLiteral("AnalysisDetail"));
    detail_->setReadOnly(true);
    detail_->setFont(fixed);
    detail_->setLineWrapMode(QPlainTextEdit::NoWrap);
    detail_->setMinimumWidth(row_width);
    detail_->setMaximumHeight(QFontMetrics(fixed).lineSpacing() * 5 + 12);

    auto* replay = new QPushButton(tr("Replay Line"), this);
    replay->setObjectName(QStringLiteral("ReplayLine"));
    replay->setAutoDefault(false);
    connect(replay, &QPushButton::clicked, this, [this] {
        if (list_->currentRow() >= 0) emit lineChosen(list_->currentRow());
    });
    auto* close = new QPushButton(tr("Close"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(replay);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(list_, 1);
    layout->addWidget(detail_);
    layout->addLayout(buttons);
}

QString AnalysisListBox::Heading() const { return heading_->text(); }

void AnalysisListBox::SetLines(const QString& heading, const QStringList& rows,
                               const std::vector<QStringList>& details) {
    heading_->setText(heading);
    details_ = details;
    list_->clear();
    list_->addItems(rows);
    if (!rows.isEmpty()) {
        list_->setCurrentRow(0);
    } else {
        detail_->clear();
    }
}

void AnalysisListBox::ShowDetail(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= details_.size()) {
        detail_->clear();
        return;
    }
    detail_->setPlainText(details_[static_cast<std::size_t>(row)].join(QLatin1Char('\n')));
}

}  // namespace qorvale::gui
