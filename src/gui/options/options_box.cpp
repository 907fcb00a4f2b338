#include "gui/options/options_box.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/board_style.h"
#include "app/game_text.h"
#include "app/options_file.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/piece_set.h"
#include "gui/shell/qt_text.h"
#include "output/diagram_art.h"

namespace qorvale::gui {

namespace {

QComboBox* Choices(QWidget* parent, std::initializer_list<const char*> names) {
    auto* box = new QComboBox(parent);
    for (const char* name : names) box->addItem(QString::fromLatin1(name));
    return box;
}

}  // namespace

Optionsbox::Optionsbox(const app::OptionsRecord& options, Ui& ui, bool game_mode, QWidget* parent)
    : QDialog(parent), original_(options), result_(options), ui_(ui), game_mode_(game_mode) {
    setObjectName(QStringLiteral("Optionsbox"));
    setWindowTitle(tr("Edit Options"));

    auto* board_group = new QGroupBox(tr("Board"), this);
    auto* board_form = new QFormLayout(board_group);
    board_size_ = Choices(this, {"Small", "Medium", "Large"});
    board_form->addRow(tr("Board Size/Style"), board_size_);
    piece_style_ = new QComboBox(this);
    for (std::string_view name : output::PieceStyleNames) piece_style_->addItem(ToQString(name));
    board_form->addRow(tr("Piece Style"), piece_style_);
    wood_ = new QCheckBox(tr("Wood"), this);
    board_form->addRow(QString(), wood_);
    border_width_ =
        Choices(this, {"No Border", "Very Thin", "Thin", "Medium", "Thick", "Very Thick"});
    board_form->addRow(tr("Set Border Width"), border_width_);
    coordinates_ = Choices(this, {"Off", "Files Above Board", "Files Below Board"});
    board_form->addRow(tr("Display Coordinates"), coordinates_);
    highlight_ = Choices(
        this, {"None", "Normal", "Thick", "Arrow", "Thicker", "Solid", "Solid with Border"});
    board_form->addRow(tr("Highlight Last Move"), highlight_);

    auto* colours = new QWidget(this);
    auto* colour_row = new QHBoxLayout(colours);
    colour_row->setContentsMargins(0, 0, 0, 0);
    std::array<std::uint32_t*, 6> fields = {&result_.LightSquareColour, &result_.DarkSquareColour,
                                            &result_.BackgroundColour,  &result_.BorderColour,
                                            &result_.HighlightColour,   &result_.ArrowColour};
    const std::array<const char*, 6> tips = {"Light squares", "Dark squares", "Background",
                                             "Border",        "Highlight",    "Arrow"};
    for (std::size_t k = 0; k < fields.size(); ++k) {
        colour_buttons_[k] = ColourButton(*fields[k]);
        colour_buttons_[k]->setToolTip(tr(tips[k]));
        colour_row->addWidget(colour_buttons_[k]);
    }
    board_form->addRow(tr("Colours"), colours);

    auto* text_group = new QGroupBox(tr("Game Text"), this);
    auto* text_form = new QFormLayout(text_group);
    notation_ = Choices(this, {"Alpha Algebraic", "Figurine Algebraic"});
    text_form->addRow(tr("Notation Style"), notation_);
    letters_ = new QLineEdit(this);
    letters_->setMaxLength(5);
    text_form->addRow(tr("Alpha Notation"), letters_);
    auto_page_ = new QCheckBox(tr("Auto Page Game Text"), this);
    hide_text_ = new QCheckBox(tr("Hide Game Text"), this);
    column_format_ = new QCheckBox(tr("Column Format"), this);
    actual_text_ = new QCheckBox(tr("Display Actual Text"), this);
    display_opening_ = new QCheckBox(tr("Display Opening"), this);
    for (QCheckBox* check :
         {auto_page_, hide_text_, column_format_, actual_text_, display_opening_}) {
        text_form->addRow(QString(), check);
    }
    auto_play_delay_ = new QLineEdit(this);
    auto_play_delay_->setMaxLength(7);
    text_form->addRow(tr("Auto Play Delay"), auto_play_delay_);
    replay_mode_ = Choices(this, {"Off", "On", "Auto"});
    text_form->addRow(tr("Analysis Replay Mode"), replay_mode_);
    replay_count_ = new QSpinBox(this);
    replay_count_->setRange(1, 999);
    text_form->addRow(tr("Auto Replay Count"), replay_count_);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Reset, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &Optionsbox::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
            &Optionsbox::Reset);

    auto* columns = new QHBoxLayout;
    columns->addWidget(board_group);
    columns->addWidget(text_group);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    Fill(options);
}

QPushButton* Optionsbox::ColourButton(std::uint32_t& colour) {
    auto* button = new QPushButton(this);
    button->setFixedSize(28, 22);
    PaintColourButton(button, colour);
    connect(button, &QPushButton::clicked, this, [this, button, &colour] {
        QColor chosen = QColorDialog::getColor(FromRecordColour(colour), this);
        if (!chosen.isValid()) return;
        colour = ToRecordColour(chosen);
        PaintColourButton(button, colour);
    });
    return button;
}

void Optionsbox::PaintColourButton(QPushButton* button, std::uint32_t colour) {
    button->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #555;")
                              .arg(FromRecordColour(colour).name()));
}

void Optionsbox::Fill(const app::OptionsRecord& options) {
    board_size_->setCurrentIndex(std::clamp(options.BoardSize, 0, 2));
    piece_style_->setCurrentIndex(std::clamp(options.PieceStyle, 0, 8));
    wood_->setChecked(options.WoodBoard != 0);
    border_width_->setCurrentIndex(std::clamp(options.BorderWidth, 0, 5));
    coordinates_->setCurrentIndex(std::clamp(options.CoordinatesMode, 0, 2));
    highlight_->setCurrentIndex(std::clamp(options.HighlightLastMove, 0, 6));
    notation_->setCurrentIndex(options.FigurineNotation != 0 ? 1 : 0);
    letters_->setText(QString::fromStdString(app::GetText(options.AlphaPieceLetters)));
    auto_play_delay_->setText(QString::fromStdString(app::GetText(options.AutoPlayDelay)));
    auto_page_->setChecked(options.AutoPageGameText != 0);
    hide_text_->setChecked(options.HideGameText != 0);
    column_format_->setChecked(options.ColumnFormat != 0);
    actual_text_->setChecked(options.DisplayActualText != 0);
    display_opening_->setChecked(options.DisplayOpening != 0);
    replay_mode_->setCurrentIndex(std::clamp(options.AnalysisReplayMode, 0, 2));
    replay_count_->setValue(options.AutoReplayCount > 0 ? options.AutoReplayCount : 10);
    std::array<std::uint32_t, 6> colours = {options.LightSquareColour, options.DarkSquareColour,
                                            options.BackgroundColour,  options.BorderColour,
                                            options.HighlightColour,   options.ArrowColour};
    for (std::size_t k = 0; k < colours.size(); ++k)
        PaintColourButton(colour_buttons_[k], colours[k]);
}

void Optionsbox::Reset() {
    app::OptionsRecord reset = result_;
    reset.AutoPageGameText = 1;
    reset.HideGameText = 0;
    reset.BoardSize = 0;
    reset.AnalysisReplayMode = 2;
    reset.DisplayOpening = 0;
    reset.HighlightLastMove = 0;
    reset.CoordinatesMode = 1;
    reset.ColumnFormat = 0;
    reset.WoodBoard = 1;
    reset.PieceStyle = static_cast<std::int32_t>(app::PieceStyleId::ModWood);
    reset.FigurineNotation = 1;
    reset.DisplayActualText = 0;
    app::SetText(reset.AutoPlayDelay, "1");
    app::SetText(reset.AlphaPieceLetters, "KQRBN");
    Fill(reset);
}

bool Optionsbox::TakeEntries() {
    app::OptionsRecord taken = result_;
    const std::string letters = letters_->text().toStdString();
    if (std::string_view problem = app::CheckAlphaPieceLetters(letters); !problem.empty()) {
        ui_.report(problem);
        return false;
    }
    const bool column_format = column_format_->isChecked();
    if (column_format != (original_.ColumnFormat != 0) && !game_mode_) {
        ui_.report(app::ColumnFormatGameModeOnly);
        return false;
    }
    app::BoardStyleOutcome style =
        app::CheckBoardStyle({original_.PieceStyle, original_.WoodBoard != 0,
                              piece_style_->currentIndex(), wood_->isChecked()});
    if (!style.message.empty()) ui_.report(style.message);
    if (!style.accepted) return false;
    piece_style_->setCurrentIndex(style.style);
    wood_->setChecked(style.wood);

    if (taken.HighlightColour != original_.HighlightColour) taken.HighlightColourSet = 1;
    taken.PieceStyle = style.style;
    taken.WoodBoard = style.wood ? 1 : 0;
    taken.BoardSize = board_size_->currentIndex();
    taken.BorderWidth = border_width_->currentIndex();
    taken.BorderWidthSet = 1;
    taken.CoordinatesMode = coordinates_->currentIndex();
    taken.HighlightLastMove = highlight_->currentIndex();
    taken.FigurineNotation = notation_->currentIndex();
    app::SetAlphaPieceLetters(taken, letters);
    std::string delay = auto_play_delay_->text().trimmed().toStdString();
    app::SetText(taken.AutoPlayDelay, delay.empty() ? std::string("1") : delay);
    taken.AutoPageGameText = auto_page_->isChecked() ? 1 : 0;
    taken.HideGameText = hide_text_->isChecked() ? 1 : 0;
    taken.ColumnFormat = column_format ? 1 : 0;
    taken.DisplayActualText = actual_text_->isChecked() ? 1 : 0;
    taken.DisplayOpening = display_opening_->isChecked() ? 1 : 0;
    taken.AnalysisReplayMode = replay_mode_->currentIndex();
    // Off clears replay, On sets it, Auto leaves it.
    if (taken.AnalysisReplayMode == 0) taken.AnalysisReplayActive = 0;
    if (taken.AnalysisReplayMode == 1) taken.AnalysisReplayActive = 1;
    taken.AutoReplayCount = replay_count_->value();
    result_ = taken;
    return true;
}

void Optionsbox::accept() {
    if (TakeEntries()) QDialog::accept();
}

}  // namespace qorvale::gui
