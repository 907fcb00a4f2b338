#pragma once

#include <QSyntaxHighlighter>

#include "base/ui.h"

namespace qorvale::app {
class SpellChecker;
}

class QMenu;
class QPlainTextEdit;
class QTextCursor;

namespace qorvale::gui {

// Underlines the words of comments the spell checker does not know. With `all_comment` the whole
// text is a comment; otherwise only what stands in braces or after ';' to the line's end, so the
// moves of variations and NAGs are never looked at.
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

  public:
    SpellHighlighter(QTextDocument* document, app::SpellChecker& checker, bool all_comment);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    void CheckRange(const QString& text, int start, int end);

    app::SpellChecker& checker_;
    bool all_comment_;
};

// Spell checking for `edit`: the underlining, and in its context menu the suggestions for the
// misspelt word under the mouse and "Add to word list". Nothing when `checker` is null.
void AttachSpellChecking(QPlainTextEdit* edit, app::SpellChecker* checker, bool all_comment,
                         Ui& ui);
// The spelling entries put at the top of `menu` when `cursor` stands in an underlined word.
void AddSpellActions(QMenu* menu, QPlainTextEdit* edit, app::SpellChecker& checker,
                     const QTextCursor& cursor, Ui& ui);

}  // namespace qorvale::gui
