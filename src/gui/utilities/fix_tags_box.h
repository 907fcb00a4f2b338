#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <utility>

class QLineEdit;

namespace qorvale::gui {

// The "Fix Date" and "Fix Player Name" dialogs: the value to find and its replacement. OK
// closes the dialog only when `check` accepts the two texts (it says what is wrong itself), so
// the user corrects them in place.
class FixTagsBox : public QDialog {
    Q_OBJECT

  public:
    using Check = std::function<bool(const QString& fix, const QString& to)>;

    // `labels` names the two fields ("Fix Date", "To Date"); `fix` is the first field's text.
    FixTagsBox(const QString& title, const std::pair<QString, QString>& labels, const QString& fix,
               Check check, QWidget* parent);

    QString FixText() const;
    QString ToText() const;

    void accept() override;

  private:
    Check check_;
    QLineEdit* fix_;
    QLineEdit* to_;
};

}  // namespace qorvale::gui
