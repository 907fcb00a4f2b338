#include "gui/utilities/duplicate_settings_box.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "chess/move_text.h"
#include "gui/shell/qt_text.h"
#include "pgn/game_index.h"
#include "utilities/messages.h"

namespace qorvale::gui {

namespace msg = utilities::messages;

DuplicateSettingsBox::DuplicateSettingsBox(const utilities::DuplicateSettings& settings,
                                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DuplicateSettingsBox"));
    setWindowTitle(ToQString(msg::DuplicateSettingsTitle));
    look_ahead_ = new QSpinBox(this);
    look_ahead_->setObjectName(QStringLiteral("LookAhead"));
    // One game ahead compares nothing; the file holds at most MaxGamesPerFile.
    look_ahead_->setRange(2, pgn::MaxGamesPerFile);
    max_move_difference_ = new QSpinBox(this);
    max_move_difference_->setObjectName(QStringLiteral("MaxMoveDifference"));
    max_move_difference_->setRange(0, chess::MaxFullMoves);
    entire_file_ = new QCheckBox(ToQString(msg::EntireFileLabel), this);
    entire_file_->setObjectName(QStringLiteral("EntireFile"));
    check_names_ = new QCheckBox(ToQString(msg::CheckNamesLabel), this);
    check_names_->setObjectName(QStringLiteral("CheckNames"));
    connect(entire_file_, &QCheckBox::toggled, look_ahead_,
            [this](bool on) { look_ahead_->setEnabled(!on); });

    auto* form = new QFormLayout;
    form->addRow(ToQString(msg::LookAheadLabel), look_ahead_);
    form->addRow(ToQString(msg::MaxMoveDifferenceLabel), max_move_difference_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* reset =
        buttons->addButton(ToQString(msg::ResetButton), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("Reset"));
    connect(reset, &QPushButton::clicked, this,
            [this] { Fill(utilities::DuplicateSettings::Defaults()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(entire_file_);
    layout->addWidget(check_names_);
    layout->addWidget(buttons);
    Fill(settings);
}

void DuplicateSettingsBox::Fill(const utilities::DuplicateSettings& settings) {
    look_ahead_->setValue(settings.look_ahead);
    max_move_difference_->setValue(settings.max_move_difference);
    entire_file_->setChecked(settings.entire_file);
    check_names_->setChecked(settings.check_names);
    look_ahead_->setEnabled(!settings.entire_file);
}

utilities::DuplicateSettings DuplicateSettingsBox::Settings() const {
    utilities::DuplicateSettings settings;
    settings.look_ahead = look_ahead_->value();
    settings.max_move_difference = max_move_difference_->value();
    settings.entire_file = entire_file_->isChecked();
    settings.check_names = check_names_->isChecked();
    return settings;
}

}  // namespace qorvale::gui
