#include "gui/engine/engine_boxes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "engines/messages.h"
#include "gui/shell/dialog_buttons.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

namespace text = engines::messages;

QCheckBox* Check(QWidget* parent, std::string_view label, bool on) {
    auto* box = new QCheckBox(ToQString(label), parent);
    box->setChecked(on);
    return box;
}

QLineEdit* Field(QWidget* parent, const std::string& value, int length) {
    auto* field = new QLineEdit(ToQString(value), parent);
    field->setMaxLength(length);
    return field;
}

}  // namespace

CraftyGameInfoBox::CraftyGameInfoBox(QWidget* parent, const engines::CraftyGameSettings& settings)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Craftybox"));
    setWindowTitle(ToQString(text::CraftyGameInfoTitle));
    moves_first_ = Check(this, text::CraftyMovesFirstLabel, settings.CraftyMovesFirst);
    continue_game_ = Check(this, text::ContinueGameLabel, settings.CraftyContinueGame);
    no_ponder_ = Check(this, text::DisablePonderingLabel, settings.CraftyNoPonder);
    display_general_ = Check(this, text::DisplayGeneralLabel, settings.CraftyDisplayGeneral);
    display_variation_ = Check(this, text::DisplayVariationLabel, settings.CraftyDisplayVariation);
    // The record keeps each level field in seven characters.
    level_moves_ = Field(this, settings.CraftyLevelMoves, 7);
    level_minutes_ = Field(this, settings.CraftyLevelMinutes, 7);
    level_increment_ = Field(this, settings.CraftyLevelIncrement, 7);
    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* box :
         {moves_first_, continue_game_, no_ponder_, display_general_, display_variation_}) {
        layout->addWidget(box);
    }
    auto* form = new QFormLayout;
    form->addRow(ToQString(text::LevelMovesLabel), level_moves_);
    form->addRow(ToQString(text::LevelMinutesLabel), level_minutes_);
    form->addRow(ToQString(text::LevelIncrementLabel), level_increment_);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

engines::CraftyGameSettings CraftyGameInfoBox::Settings() const {
    engines::CraftyGameSettings settings;
    settings.CraftyMovesFirst = moves_first_->isChecked();
    settings.CraftyContinueGame = continue_game_->isChecked();
    settings.CraftyNoPonder = no_ponder_->isChecked();
    settings.CraftyDisplayGeneral = display_general_->isChecked();
    settings.CraftyDisplayVariation = display_variation_->isChecked();
    settings.CraftyLevelMoves = level_moves_->text().toStdString();
    settings.CraftyLevelMinutes = level_minutes_->text().toStdString();
    settings.CraftyLevelIncrement = level_increment_->text().toStdString();
    return settings;
}

CraftyPositionInfoBox::CraftyPositionInfoBox(QWidget* parent, const chess::EnginePositionInfo& info)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CraftyPositionBox"));
    setWindowTitle(ToQString(text::CraftyPositionInfoTitle));
    white_ = new QRadioButton(ToQString(text::WhiteToMoveLabel), this);
    black_ = new QRadioButton(ToQString(text::BlackToMoveLabel), this);
    (info.black_to_move ? black_ : white_)->setChecked(true);
    white_king_ = Check(this, text::WhiteKingSideLabel, info.white_castle_king);
    white_queen_ = Check(this, text::WhiteQueenSideLabel, info.white_castle_queen);
    black_king_ = Check(this, text::BlackKingSideLabel, info.black_castle_king);
    black_queen_ = Check(this, text::BlackQueenSideLabel, info.black_castle_queen);
    en_passant_ = Field(this, info.en_passant, 2);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             white_, black_, white_king_, white_queen_, black_king_, black_queen_}) {
        layout->addWidget(widget);
    }
    auto* form = new QFormLayout;
    form->addRow(ToQString(text::EnPassantSquareLabel), en_passant_);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

chess::EnginePositionInfo CraftyPositionInfoBox::Info() const {
    chess::EnginePositionInfo info;
    info.black_to_move = black_->isChecked();
    info.white_castle_king = white_king_->isChecked();
    info.white_castle_queen = white_queen_->isChecked();
    info.black_castle_king = black_king_->isChecked();
    info.black_castle_queen = black_queen_->isChecked();
    info.en_passant = en_passant_->text().trimmed().toStdString();
    return info;
}

EngineDisplayBox::EngineDisplayBox(QWidget* parent, const QString& title,
                                   const app::EngineSettings& settings)
    : QDialog(parent) {
    setObjectName(QStringLiteral("EngineDisplayBox"));
    setWindowTitle(title);
    fixed_font_ = Check(this, text::FixedFont, settings.EngineFixedFont);
    profile_ = Check(this, text::EvaluationProfile, settings.EngineEvalProfile);
    colours_ = new QButtonGroup(this);
    auto* group = new QGroupBox(tr("Profile colours"), this);
    auto* group_layout = new QVBoxLayout(group);
    int id = 0;
    for (std::string_view label : {text::ProfileColoursDefault, text::ProfileColoursBlackAndWhite,
                                   text::ProfileColoursSquares}) {
        auto* button = new QRadioButton(ToQString(label), group);
        button->setChecked(id == settings.EngineProfileColors);
        colours_->addButton(button, id++);
        group_layout->addWidget(button);
    }
    // A UCI engine in a game thinks until Force Move unless it is given a time per move.
    move_time_ = new QSpinBox(this);
    move_time_->setObjectName(QStringLiteral("MoveTime"));
    move_time_->setRange(0, 3'600'000);
    move_time_->setSingleStep(500);
    move_time_->setSuffix(tr(" ms"));
    move_time_->setSpecialValueText(tr("until Force Move"));
    move_time_->setValue(settings.play_milliseconds);
    auto* form = new QFormLayout;
    form->addRow(tr("UCI engine's time per move in a game:"), move_time_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fixed_font_);
    layout->addWidget(profile_);
    layout->addWidget(group);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

app::EngineSettings EngineDisplayBox::Settings(app::EngineSettings settings) const {
    settings.EngineFixedFont = fixed_font_->isChecked();
    settings.EngineEvalProfile = profile_->isChecked();
    settings.EngineProfileColors = std::max(0, colours_->checkedId());
    settings.play_milliseconds = move_time_->value();
    return settings;
}

UciOptionsBox::UciOptionsBox(QWidget* parent, const std::vector<engines::UciOption>& options)
    : QDialog(parent), options_(options) {
    setObjectName(QStringLiteral("UciOptionsBox"));
    setWindowTitle(ToQString(text::UciOptionsTitle));
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    using Type = engines::UciOption::Type;
    constexpr std::int64_t Low = std::numeric_limits<int>::min();
    constexpr std::int64_t High = std::numeric_limits<int>::max();
    for (const engines::UciOption& option : options_) {
        QWidget* field = nullptr;
        switch (option.type) {
            case Type::Check:
            case Type::Button: {
                auto* box = new QCheckBox(page);
                box->setChecked(option.type == Type::Check && option.value == "true");
                field = box;
                break;
            }
            case Type::Spin: {
                auto* box = new QSpinBox(page);
                box->setRange(static_cast<int>(std::clamp(option.min.value_or(Low), Low, High)),
                              static_cast<int>(std::clamp(option.max.value_or(High), Low, High)));
                box->setValue(QString::fromStdString(option.value).toInt());
                field = box;
                break;
            }
            case Type::Combo: {
                auto* box = new QComboBox(page);
                for (const std::string& var : option.vars) box->addItem(ToQString(var));
                box->setCurrentText(ToQString(option.value));
                field = box;
                break;
            }
            case Type::String:
            case Type::Unknown:
                field = new QLineEdit(ToQString(option.value), page);
                break;
        }
        field->setObjectName(ToQString(option.name));
        form->addRow(ToQString(option.name), field);
        fields_.push_back(field);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(OkCancelButtons(this));
    resize(420, 480);
}

std::vector<std::pair<std::string, std::string>> UciOptionsBox::Changed() const {
    std::vector<std::pair<std::string, std::string>> changed;
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const engines::UciOption& option = options_[i];
        std::string value;
        if (auto* check = qobject_cast<QCheckBox*>(fields_[i])) {
            if (option.type == engines::UciOption::Type::Button) {
                if (check->isChecked()) changed.emplace_back(option.name, "");
                continue;
            }
            value = check->isChecked() ? "true" : "false";
        } else if (auto* spin = qobject_cast<QSpinBox*>(fields_[i])) {
            value = std::to_string(spin->value());
        } else if (auto* combo = qobject_cast<QComboBox*>(fields_[i])) {
            value = combo->currentText().toStdString();
        } else if (auto* line = qobject_cast<QLineEdit*>(fields_[i])) {
            value = line->text().toStdString();
        }
        if (value != option.value) changed.emplace_back(option.name, value);
    }
    return changed;
}

}  // namespace qorvale::gui
