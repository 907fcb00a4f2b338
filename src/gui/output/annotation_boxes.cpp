#include "gui/output/annotation_boxes.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/dialog_buttons.h"
#include "gui/shell/qt_text.h"
#include "output/messages.h"

namespace qorvale::gui {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const std::string& text) {
    auto* field = new QLineEdit(ToQString(text), parent);
    field->setObjectName(QLatin1String(name));
    return field;
}

}  // namespace

AnnotationTitleBox::AnnotationTitleBox(const output::AnnotationTitle& title, QWidget* parent)
    : QDialog(parent),
      title_(Field(this, "Title", title.title)),
      heading_(Field(this, "Heading", title.heading)),
      subheading_(Field(this, "Subheading", title.subheading)) {
    setWindowTitle(tr("Annotation Title"));
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Title"), title_);
    form->addRow(tr("&Heading"), heading_);
    form->addRow(tr("&Subheading"), subheading_);
    form->addRow(OkCancelButtons(this));
    title_->setMinimumWidth(360);
}

output::AnnotationTitle AnnotationTitleBox::Title() const {
    return {title_->text().toStdString(), heading_->text().toStdString(),
            subheading_->text().toStdString()};
}

DiagramTypeBox::DiagramTypeBox(QWidget* parent) : QDialog(parent), types_(new QListWidget(this)) {
    setWindowTitle(ToQString(output::SelectDiagramTypeTitle));
    types_->setObjectName(QStringLiteral("DiagramTypes"));
    for (std::string_view name : output::AnnotationDiagramTypeNames) {
        types_->addItem(ToQString(name));
    }
    types_->setCurrentRow(0);
    connect(types_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(types_);
    layout->addWidget(OkCancelButtons(this));
}

output::AnnotationDiagramType DiagramTypeBox::Type() const {
    return static_cast<output::AnnotationDiagramType>(std::max(0, types_->currentRow()));
}

CommentBox::CommentBox(QWidget* parent) : QDialog(parent), text_(new QPlainTextEdit(this)) {
    setWindowTitle(tr("Comment"));
    setModal(false);
    text_->setObjectName(QStringLiteral("CommentText"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* end = buttons->addButton(tr("&End Comment"), QDialogButtonBox::AcceptRole);
    end->setObjectName(QStringLiteral("EndComment"));
    connect(end, &QPushButton::clicked, this, &CommentBox::endRequested);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(480, 240);
}

QString CommentBox::Text() const { return text_->toPlainText(); }
void CommentBox::Clear() { text_->clear(); }
void CommentBox::Insert(const QString& text) { text_->insertPlainText(text); }

}  // namespace qorvale::gui
