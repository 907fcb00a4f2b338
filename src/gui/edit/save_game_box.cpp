#include "gui/edit/save_game_box.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

constexpr std::array<pgn::SaveMode, 4> ModeOrder = {pgn::SaveMode::Append, pgn::SaveMode::Insert,
                                                    pgn::SaveMode::OverwriteLast,
                                                    pgn::SaveMode::NewFile};

}  // namespace

SaveGameBox::SaveGameBox(QWidget* parent, const QString& title, pgn::SaveMode mode,
                         const QString& open_file)
    : QDialog(parent), open_file_(open_file) {
    setObjectName(QStringLiteral("SaveGameBox"));
    setWindowTitle(title);
    auto* group = new QGroupBox(tr("Save mode"), this);
    auto* group_layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < ModeOrder.size(); ++i) {
        modes_[i] = new QRadioButton(ToQString(pgn::SaveModeLabel(ModeOrder[i])), group);
        group_layout->addWidget(modes_[i]);
        modes_[i]->setChecked(ModeOrder[i] == mode);
        // The open file is the natural target of the other modes, never of a new file.
        connect(modes_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            const bool new_file = ModeOrder[i] == pgn::SaveMode::NewFile;
            if (new_file && path_->text() == open_file_) path_->clear();
            if (!new_file && path_->text().isEmpty()) path_->setText(open_file_);
        });
    }
    path_ = new QLineEdit(mode == pgn::SaveMode::NewFile ? QString() : open_file, this);
    path_->setObjectName(QStringLiteral("SavePath"));
    path_->setMinimumWidth(420);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &SaveGameBox::Browse);
    auto* file_row = new QHBoxLayout;
    file_row->addWidget(path_, 1);
    file_row->addWidget(browse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!path_->text().trimmed().isEmpty()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("File:"), file_row);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

pgn::SaveMode SaveGameBox::Mode() const {
    for (std::size_t i = 0; i < ModeOrder.size(); ++i) {
        if (modes_[i]->isChecked()) return ModeOrder[i];
    }
    return pgn::SaveMode::Append;
}

QString SaveGameBox::Path() const { return path_->text().trimmed(); }

void SaveGameBox::Browse() {
    const QString start =
        path_->text().isEmpty() ? QFileInfo(open_file_).absolutePath() : path_->text();
    const QString filter = tr("PGN files (*.pgn *.PGN);;All files (*)");
    QString chosen;
    if (Mode() == pgn::SaveMode::NewFile) {
        // The save refuses an existing file itself, with the program's message.
        chosen = QFileDialog::getSaveFileName(this, tr("New PGN File"), start, filter, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
        if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) {
            chosen += QStringLiteral(".pgn");
        }
    } else {
        chosen = QFileDialog::getOpenFileName(this, tr("PGN File"), start, filter);
    }
    if (!chosen.isEmpty()) path_->setText(chosen);
}

}  // namespace qorvale::gui
