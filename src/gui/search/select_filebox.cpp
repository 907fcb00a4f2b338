#include "gui/search/select_filebox.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/qt_text.h"
#include "search/messages.h"

namespace qorvale::gui {

namespace {

// Wide enough for most stems; the list does not grow with the longest one.
constexpr int ListWidth = 320;

}  // namespace

QString FitFileLine(const QString& stem, int count, int width,
                    const std::function<int(const QString&)>& measure) {
    const QString tail = QLatin1Char(':') + QString::number(count);
    if (measure(stem + tail) <= width) return stem + tail;
    QString cut = stem;
    while (!cut.isEmpty()) {
        // Never between the two halves of a surrogate pair.
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
        const QString line = cut + QLatin1Char('~') + tail;
        if (measure(line) <= width) return line;
    }
    return QLatin1Char('~') + tail;
}

SelectFilebox::SelectFilebox(const search::DirectoryResults& results,
                             const std::optional<std::string>& total, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SelectFilebox"));
    setWindowTitle(ToQString(search::messages::SelectFileTitle));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Files"));
    list_->setFixedWidth(ListWidth);
    const QFontMetrics metrics(list_->font());
    // The frame and the item's own margins take some of the width.
    const int room = ListWidth - 4 * list_->frameWidth() - 2 * metrics.averageCharWidth();
    for (const search::DirectoryFileResult& file : results.files) {
        list_->addItem(FitFileLine(
            ToQString(file.stem), static_cast<int>(file.games.size()), room,
            [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
    }
    auto* total_line = new QLabel(total ? ToQString(*total) : QString(), this);
    total_line->setObjectName(QStringLiteral("TotalGames"));
    total_line->setVisible(total.has_value());

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("OK"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A double click chooses as OK does.
    connect(list_, &QListWidget::itemActivated, ok_, &QPushButton::click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(total_line);
    layout->addWidget(buttons);
}

int SelectFilebox::ChosenIndex() const {
    return list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
}

}  // namespace qorvale::gui
