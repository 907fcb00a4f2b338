#include "gui/edit/annotate_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>

#include "gui/edit/spell_highlighter.h"
#include "gui/panels/board_widget.h"
#include "gui/shell/qt_text.h"
#include "pgn/nag.h"

namespace qorvale::gui {

namespace {

// The move marks on buttons of their own, and the positional judgements in a list.
constexpr std::array<int, 6> MoveNags = {1, 2, 3, 4, 5, 6};
constexpr std::array<int, 16> PositionNags = {10, 13, 14, 15, 16, 17, 18,  19,
                                              22, 23, 36, 37, 40, 41, 132, 146};

QString NagLabel(int nag) {
    const std::string_view glyph = pgn::NagGlyph(nag);
    const std::string words(pgn::NagWordsFor(nag));
    if (glyph.empty()) return ToQString(words.empty() ? pgn::NagTextWithoutGlyph(nag) : words);
    return words.empty() ? ToQString(glyph)
                         : ToQString(glyph) + QStringLiteral("  ") + ToQString(words);
}

}  // namespace

AnnotateBox::AnnotateBox(QWidget* parent, const QString& pieces_folder,
                         const app::OptionsRecord& options, app::AnnotationEditor& editor,
                         std::function<chess::Board(int)> position_at, Ui& ui)
    : QDialog(parent),
      editor_(editor),
      position_at_(std::move(position_at)),
      ui_(ui),
      input_(this, ui) {
    setObjectName(QStringLiteral("AnnotateBox"));
    setWindowTitle(tr("Annotate Game"));

    moves_ = new QListWidget(this);
    moves_->setObjectName(QStringLiteral("AnnotatedMoves"));
    moves_->setMinimumWidth(300);
    connect(moves_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != half_move_) SelectHalfMove(row);
    });

    board_ = new BoardWidget(pieces_folder, this);
    app::OptionsRecord shown = options;
    shown.BoardSize = 0;
    board_->ApplyOptions(shown);
    connect(board_, &BoardWidget::squareClicked, this, [this](int file, int rank) {
        if (editor_.InVariation() && input_.Click(editor_.Variation(), file, rank)) Refresh();
    });
    connect(board_, &BoardWidget::squareDropped, this, [this](int file, int rank) {
        if (editor_.InVariation() && input_.Drop(editor_.Variation(), file, rank)) Refresh();
    });

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("AnnotationText"));
    text_->setMaximumHeight(90);
    auto* apply = new QPushButton(tr("&Apply Text"), this);
    connect(apply, &QPushButton::clicked, this, [this] { ApplyText(text_->toPlainText()); });

    auto* comment_after = new QPushButton(tr("Comment &After..."), this);
    auto* comment_before = new QPushButton(tr("Comment &Before..."), this);
    connect(comment_after, &QPushButton::clicked, this, [this] { AskComment(false); });
    connect(comment_before, &QPushButton::clicked, this, [this] { AskComment(true); });

    auto* marks = new QHBoxLayout;
    for (int nag : MoveNags) {
        auto* button = new QPushButton(ToQString(pgn::NagGlyph(nag)), this);
        button->setToolTip(ToQString(pgn::NagWordsFor(nag)));
        button->setMaximumWidth(44);
        connect(button, &QPushButton::clicked, this, [this, nag] { AddNag(nag); });
        marks->addWidget(button);
    }
    auto* judgements = new QComboBox(this);
    judgements->addItem(tr("Position..."), 0);
    for (int nag : PositionNags) judgements->addItem(NagLabel(nag), nag);
    connect(judgements, &QComboBox::activated, this, [this, judgements](int index) {
        const int nag = judgements->itemData(index).toInt();
        if (nag > 0) AddNag(nag);
        judgements->setCurrentIndex(0);
    });
    marks->addWidget(judgements, 1);
    auto* remove_nags = new QPushButton(tr("&Remove NAGs"), this);
    connect(remove_nags, &QPushButton::clicked, this, &AnnotateBox::RemoveNags);

    begin_variation_ = new QPushButton(tr("Start &Variation"), this);
    end_variation_ = new QPushButton(tr("&End Variation"), this);
    cancel_variation_ = new QPushButton(tr("Drop Varia&tion"), this);
    connect(begin_variation_, &QPushButton::clicked, this, &AnnotateBox::BeginVariation);
    connect(end_variation_, &QPushButton::clicked, this, &AnnotateBox::EndVariation);
    connect(cancel_variation_, &QPushButton::clicked, this, &AnnotateBox::CancelVariation);

    auto* tools = new QGridLayout;
    tools->addWidget(comment_after, 0, 0);
    tools->addWidget(comment_before, 0, 1);
    tools->addLayout(marks, 1, 0, 1, 2);
    tools->addWidget(remove_nags, 2, 0);
    tools->addWidget(apply, 2, 1);
    tools->addWidget(begin_variation_, 3, 0);
    tools->addWidget(end_variation_, 3, 1);
    tools->addWidget(cancel_variation_, 4, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(board_, 0, Qt::AlignHCenter);
    right->addWidget(new QLabel(tr("Annotation of the move:"), this));
    right->addWidget(text_);
    right->addLayout(tools);
    right->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        // A variation still being played would be lost without a word.
        if (editor_.InVariation()) EndVariation();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addWidget(moves_, 1);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    SelectHalfMove(std::min(1, editor_.HalfMoves()));
}

void AnnotateBox::SelectHalfMove(int half_move) {
    if (editor_.InVariation()) CancelVariation();
    half_move_ = std::clamp(half_move, 0, editor_.HalfMoves());
    input_.Reset();
    Refresh();
}

bool AnnotateBox::Report(const Error& error) {
    if (!error.ok()) ui_.explain(error);
    Refresh();
    return error.ok();
}

void AnnotateBox::AskComment(bool before) {
    if (half_move_ < 1) return;
    QDialog ask(this);
    ask.setObjectName(QStringLiteral("CommentBox"));
    ask.setWindowTitle(before ? tr("Comment Before the Move") : tr("Comment After the Move"));
    auto* field = new QPlainTextEdit(&ask);
    field->setObjectName(QStringLiteral("CommentText"));
    AttachSpellChecking(field, spell_, true, ui_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &ask);
    connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    auto* layout = new QVBoxLayout(&ask);
    layout->addWidget(new QLabel(ToQString(editor_.MoveLabel(half_move_)), &ask));
    layout->addWidget(field);
    layout->addWidget(buttons);
    const QString text = ask.exec() == QDialog::Accepted ? field->toPlainText() : QString();
    if (!text.trimmed().isEmpty()) AddComment(text, before);
}

void AnnotateBox::SetSpellChecker(app::SpellChecker* checker) {
    if (spell_ != nullptr || checker == nullptr) return;
    spell_ = checker;
    AttachSpellChecking(text_, spell_, false, ui_);
}

bool AnnotateBox::AddComment(const QString& text, bool before) {
    return Report(editor_.AddComment(half_move_, text.toStdString(), before));
}

bool AnnotateBox::AddNag(int nag) { return Report(editor_.AddNag(half_move_, nag)); }

void AnnotateBox::RemoveNags() {
    editor_.RemoveNags(half_move_);
    Refresh();
}

bool AnnotateBox::ApplyText(const QString& text) {
    return Report(editor_.SetAnnotation(half_move_, text.toStdString()));
}

bool AnnotateBox::BeginVariation() {
    input_.Reset();
    return Report(editor_.BeginVariation(half_move_));
}

void AnnotateBox::EndVariation() {
    editor_.EndVariation();
    input_.Reset();
    Refresh();
}

void AnnotateBox::CancelVariation() {
    editor_.CancelVariation();
    input_.Reset();
    Refresh();
}

void AnnotateBox::Refresh() {
    {
        const QSignalBlocker blocker(moves_);
        moves_->clear();
        moves_->addItem(tr("(before the first move)  ") + ToQString(editor_.Annotation(0)));
        for (int half = 1; half <= editor_.HalfMoves(); ++half) {
            moves_->addItem(ToQString(editor_.MoveLabel(half)) + QStringLiteral("  ") +
                            ToQString(editor_.Annotation(half)));
        }
        moves_->setCurrentRow(half_move_);
    }
    text_->setPlainText(ToQString(editor_.Annotation(half_move_)));
    const bool variation = editor_.InVariation();
    if (variation) {
        input_.Draw(*board_, editor_.Variation());
    } else {
        board_->SetMarks(std::nullopt, {});
        board_->SetPosition(position_at_(half_move_), {});
    }
    moves_->setEnabled(!variation);
    begin_variation_->setEnabled(!variation && half_move_ >= 1);
    end_variation_->setEnabled(variation);
    cancel_variation_->setEnabled(variation);
}

}  // namespace qorvale::gui
