#pragma once

#include <QDialog>

#include "output/annotation_file.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace qorvale::gui {

// The title step of an annotation page: title, heading and subheading, each optional.
class AnnotationTitleBox : public QDialog {
    Q_OBJECT

  public:
    AnnotationTitleBox(const output::AnnotationTitle& title, QWidget* parent);
    output::AnnotationTitle Title() const;

  private:
    QLineEdit* title_;
    QLineEdit* heading_;
    QLineEdit* subheading_;
};

// "Select Diagram Type": how the diagrams of a page are drawn, asked once per page.
class DiagramTypeBox : public QDialog {
    Q_OBJECT

  public:
    explicit DiagramTypeBox(QWidget* parent);
    output::AnnotationDiagramType Type() const;

  private:
    QListWidget* types_;
};

// The comment being written. It stays open beside the board, so that the user can move through
// the game (and generate moves into it) while writing; "End Comment" adds it to the page.
class CommentBox : public QDialog {
    Q_OBJECT

  public:
    explicit CommentBox(QWidget* parent);
    QString Text() const;
    void Clear();
    // Generated moves go where the cursor stands.
    void Insert(const QString& text);

  signals:
    void endRequested();

  private:
    QPlainTextEdit* text_;
};

}  // namespace qorvale::gui
