#include "gui/tree/tree_settings_box.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace qorvale::gui {

TreeSettingsBox::TreeSettingsBox(const openings::TreeOptions& options, QWidget* parent)
    : QDialog(parent), kept_(options) {
    setWindowTitle(tr("Tree Settings"));
    setObjectName(QStringLiteral("TreeSettingsBox"));
    single_nodes_ = new QSpinBox(this);
    single_nodes_->setObjectName(QStringLiteral("SingleNodes"));
    single_nodes_->setRange(1, 99);
    auto_display_ =
        new QCheckBox(tr("Automatically display game when end of branch detected"), this);
    auto_display_->setObjectName(QStringLiteral("AutoDisplay"));
    exact_ = new QCheckBox(tr("Navigate the tree searching for exact variations"), this);
    exact_->setObjectName(QStringLiteral("ExactVariations"));
    const char* sorts[4] = {"No sorting - display moves in order of appearance",
                            "Sort moves by frequency of occurrence",
                            "Sort by move type - pawn, knight, bishop, rook, etc", "Sort by score"};
    auto* sort_box = new QGroupBox(this);
    auto* sort_layout = new QVBoxLayout(sort_box);
    for (int mode = 0; mode < 4; ++mode) {
        sort_[mode] = new QRadioButton(tr(sorts[mode]), sort_box);
        sort_[mode]->setObjectName(QStringLiteral("Sort%1").arg(mode));
        sort_layout->addWidget(sort_[mode]);
    }
    percentage_ = new QCheckBox(tr("Show percentage"), this);
    percentage_->setObjectName(QStringLiteral("ShowPercentage"));
    score_ = new QCheckBox(tr("Show score"), this);
    score_->setObjectName(QStringLiteral("ShowScore"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* reset = buttons->addButton(tr("Reset"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("Reset"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(reset, &QPushButton::clicked, this, [this] {
        openings::TreeOptions defaults = Options();
        defaults.Reset();
        Show(defaults);
    });

    auto* form = new QFormLayout;
    form->addRow(tr("Number of consecutive single nodes before terminating branch"), single_nodes_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(auto_display_);
    layout->addWidget(exact_);
    layout->addWidget(sort_box);
    layout->addWidget(percentage_);
    layout->addWidget(score_);
    layout->addWidget(buttons);
    Show(options);
}

void TreeSettingsBox::Show(const openings::TreeOptions& options) {
    single_nodes_->setValue(options.single_node_limit);
    auto_display_->setChecked(options.auto_display_game);
    exact_->setChecked(options.exact_variations);
    sort_[std::clamp(options.sort_mode, 0, 3)]->setChecked(true);
    percentage_->setChecked(options.show_percentage);
    score_->setChecked(options.show_score);
}

openings::TreeOptions TreeSettingsBox::Options() const {
    openings::TreeOptions options = kept_;
    options.single_node_limit = single_nodes_->value();
    options.auto_display_game = auto_display_->isChecked();
    options.exact_variations = exact_->isChecked();
    for (int mode = 0; mode < 4; ++mode) {
        if (sort_[mode]->isChecked()) options.sort_mode = mode;
    }
    options.show_percentage = percentage_->isChecked();
    options.show_score = score_->isChecked();
    return options;
}

}  // namespace qorvale::gui
