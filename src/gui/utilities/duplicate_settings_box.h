#pragma once

#include <QDialog>

#include "utilities/duplicates.h"

class QCheckBox;
class QSpinBox;

namespace qorvale::gui {

// "Duplicate Games Settings": how far ahead the duplicate check looks, how much two games'
// lengths may differ, whether it looks through the entire file and whether the players must
// agree. "Reset" puts back the defaults; the caller stores what OK leaves.
class DuplicateSettingsBox : public QDialog {
    Q_OBJECT

  public:
    DuplicateSettingsBox(const utilities::DuplicateSettings& settings, QWidget* parent);

    utilities::DuplicateSettings Settings() const;

  private:
    void Fill(const utilities::DuplicateSettings& settings);

    QSpinBox* look_ahead_;
    QSpinBox* max_move_difference_;
    QCheckBox* entire_file_;
    QCheckBox* check_names_;
};

}  // namespace qorvale::gui
