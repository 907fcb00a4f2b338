#pragma once

#include <QDialog>

#include "openings/opening_tree.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace qorvale::gui {

// The "Tree Settings" dialog: when a branch ends, what the rows show and how they are sorted;
// "Reset" puts back the defaults.
class TreeSettingsBox : public QDialog {
    Q_OBJECT

  public:
    TreeSettingsBox(const openings::TreeOptions& options, QWidget* parent);

    // The dialog's fields over `options` (the look-ahead is kept).
    openings::TreeOptions Options() const;
    void Show(const openings::TreeOptions& options);

  private:
    openings::TreeOptions kept_;
    QSpinBox* single_nodes_;
    QCheckBox* auto_display_;
    QCheckBox* exact_;
    QRadioButton* sort_[4];
    QCheckBox* percentage_;
    QCheckBox* score_;
};

}  // namespace qorvale::gui
