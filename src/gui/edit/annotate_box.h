#pragma once

#include <QDialog>
#include <functional>

#include "app/annotation_editor.h"
#include "app/options_record.h"
#include "app/spell_checker.h"
#include "base/ui.h"
#include "chess/board.h"
#include "gui/edit/move_input.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace qorvale::gui {

class BoardWidget;

// The Annotate Game editor: the moves of the game with what follows each, a board at the chosen
// move, and the ways to annotate it: comments before and after the move, NAGs, the annotation
// typed as text, and variations played on the board. Every change is kept in the recovery copy
// at once; Save (accept) writes the game back, which the caller does.
class AnnotateBox : public QDialog {
    Q_OBJECT

  public:
    // `position_at` gives the main line's position after a half-move (0: the start).
    AnnotateBox(QWidget* parent, const QString& pieces_folder, const app::OptionsRecord& options,
                app::AnnotationEditor& editor, std::function<chess::Board(int)> position_at,
                Ui& ui);

    // The half-move whose annotation is edited (0: before the first move).
    int HalfMove() const { return half_move_; }
    void SelectHalfMove(int half_move);

    bool AddComment(const QString& text, bool before);
    bool AddNag(int nag);
    void RemoveNags();
    // The annotation of the chosen move as typed in its field.
    bool ApplyText(const QString& text);
    // A variation from the chosen move, played on the board.
    bool BeginVariation();
    void EndVariation();
    void CancelVariation();

    // Underlines misspelt words of the comments typed and offers corrections; null for none.
    // `checker` must outlive the box.
    void SetSpellChecker(app::SpellChecker* checker);
    QPlainTextEdit* TextField() const { return text_; }

    BoardWidget* Board() const { return board_; }
    MoveInput& Input() { return input_; }

  private:
    void Refresh();
    bool Report(const Error& error);
    void AskComment(bool before);

    app::AnnotationEditor& editor_;
    std::function<chess::Board(int)> position_at_;
    Ui& ui_;
    MoveInput input_;
    int half_move_ = 0;
    QListWidget* moves_ = nullptr;
    BoardWidget* board_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    app::SpellChecker* spell_ = nullptr;
    QPushButton* begin_variation_ = nullptr;
    QPushButton* end_variation_ = nullptr;
    QPushButton* cancel_variation_ = nullptr;
};

}  // namespace qorvale::gui
