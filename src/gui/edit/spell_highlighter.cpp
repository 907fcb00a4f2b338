#include "gui/edit/spell_highlighter.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "app/spell_checker.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

// The block state: 1 while a brace comment runs on into the next line.
constexpr int InsideBrace = 1;
constexpr std::size_t MaxSuggestions = 8;

// The QString index of byte `offset` of the UTF-8 form of a text.
int CharIndex(const std::string& utf8, std::size_t offset) {
    return static_cast<int>(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(offset)).size());
}

}  // namespace

SpellHighlighter::SpellHighlighter(QTextDocument* document, app::SpellChecker& checker,
                                   bool all_comment)
    : QSyntaxHighlighter(document), checker_(checker), all_comment_(all_comment) {}

void SpellHighlighter::CheckRange(const QString& text, int start, int end) {
    if (end <= start) return;
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    const std::string utf8 = text.mid(start, end - start).toStdString();
    for (const app::MisspeltWord& word : checker_.Misspelt(utf8)) {
        const int from = CharIndex(utf8, word.offset);
        const int to = CharIndex(utf8, word.offset + word.length);
        setFormat(start + from, to - from, format);
    }
}

void SpellHighlighter::highlightBlock(const QString& text) {
    if (all_comment_) {
        CheckRange(text, 0, static_cast<int>(text.size()));
        return;
    }
    bool inside = previousBlockState() == InsideBrace;
    int start = 0;
    for (int at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (inside && c == u'}') {
            CheckRange(text, start, at);
            inside = false;
        } else if (!inside && c == u'{') {
            inside = true;
            start = at + 1;
        } else if (!inside && c == u';') {
            CheckRange(text, at + 1, static_cast<int>(text.size()));
            setCurrentBlockState(0);
            return;
        }
    }
    if (inside) CheckRange(text, start, static_cast<int>(text.size()));
    setCurrentBlockState(inside ? InsideBrace : 0);
}

void AddSpellActions(QMenu* menu, QPlainTextEdit* edit, app::SpellChecker& checker,
                     const QTextCursor& cursor, Ui& ui) {
    const QTextBlock block = cursor.block();
    const int column = cursor.positionInBlock();
    // The misspelt word under the mouse, as the highlighter marked it.
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() != QTextCharFormat::SpellCheckUnderline) continue;
        const int begin = range.start;
        const int end = range.start + range.length;
        if (column < begin || column > end) continue;
        const QString word = block.text().mid(begin, range.length);
        QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
        const std::vector<std::string> suggestions = checker.Suggestions(word.toStdString());
        for (std::size_t k = 0; k < suggestions.size() && k < MaxSuggestions; ++k) {
            const QString replacement = ToQString(suggestions[k]);
            auto* action = new QAction(replacement, menu);
            action->setObjectName(QStringLiteral("SpellSuggestion"));
            QObject::connect(action, &QAction::triggered, edit, [block, begin, end, replacement] {
                QTextCursor replace(block);
                replace.setPosition(block.position() + begin);
                replace.setPosition(block.position() + end, QTextCursor::KeepAnchor);
                replace.insertText(replacement);
            });
            menu->insertAction(first, action);
        }
        auto* add = new QAction(QObject::tr("Add to word list"), menu);
        add->setObjectName(QStringLiteral("SpellAddWord"));
        QObject::connect(add, &QAction::triggered, edit, [edit, &checker, &ui, word] {
            if (Error error = checker.AddWord(word.toStdString()); !error.ok()) ui.explain(error);
            for (auto* highlighter : edit->document()->findChildren<SpellHighlighter*>()) {
                highlighter->rehighlight();
            }
        });
        menu->insertAction(first, add);
        if (first != nullptr) menu->insertSeparator(first);
        return;
    }
}

void AttachSpellChecking(QPlainTextEdit* edit, app::SpellChecker* checker, bool all_comment,
                         Ui& ui) {
    if (checker == nullptr) return;
    new SpellHighlighter(edit->document(), *checker, all_comment);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(edit, &QPlainTextEdit::customContextMenuRequested, edit,
                     [edit, checker, &ui](const QPoint& point) {
                         QMenu* menu = edit->createStandardContextMenu(point);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         AddSpellActions(menu, edit, *checker, edit->cursorForPosition(point), ui);
                         menu->popup(edit->viewport()->mapToGlobal(point));
                     });
}

}  // namespace qorvale::gui
