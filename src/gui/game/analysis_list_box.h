#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace qorvale::gui {

// The analysis lines that follow the move on display: one row per line, and the whole of the
// chosen line below, wrapped. Choosing a line (double click, Enter or the button) asks the
// window to walk through it. The box stays open beside the window and follows the game.
class AnalysisListBox : public QDialog {
    Q_OBJECT

  public:
    explicit AnalysisListBox(QWidget* parent = nullptr);

    // `heading` names the position; `rows` are the list rows and `details` the wrapped rows of
    // each line.
    void SetLines(const QString& heading, const QStringList& rows,
                  const std::vector<QStringList>& details);

    QListWidget* List() const { return list_; }
    QPlainTextEdit* Detail() const { return detail_; }
    QString Heading() const;

  signals:
    void lineChosen(int index);

  private:
    void ShowDetail(int row);

    QLabel* heading_ = nullptr;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* detail_ = nullptr;
    std::vector<QStringList> details_;
};

}  // namespace qorvale::gui
