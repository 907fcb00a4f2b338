#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>
#include <string_view>
#include <vector>

#include "app/game_text.h"

namespace qorvale::gui {

// What the game text panel shows: the header lines and one page of moves (or of the column
// format) with the current move marked.
struct GameTextView {
    QStringList header;
    app::RenderedGameText text;
    bool columns = false;
    app::ColumnPage column_page;
    int column_pages = 1;
    int ply = 0;                  // the current half-move, 0 at the start
    std::vector<bool> annotated;  // per half-move: a comment or variation follows it
    bool figurines = false;
};

// The figurine drawn in place of a piece letter; other characters are returned as they are.
QChar Figurine(QChar letter);

// The text panel beside the board. It draws what it is given and reports clicks on moves.
class GameTextWidget : public QWidget {
    Q_OBJECT

  public:
    explicit GameTextWidget(QWidget* parent = nullptr);

    // Font size follows the board size (0 Small, 1 Medium, 2 Large).
    void SetBoardSize(int board_size);
    void SetColours(const QColor& current_move, const QColor& annotated);
    // Shows `view`; with `auto_page` the page turns to the current move.
    void SetView(GameTextView view, bool auto_page);
    const GameTextView& View() const { return view_; }

    int Page() const { return page_; }
    int PageCount() const;
    void SetPage(int page);

    // Width of `text` in the moves font, for the line breaking of the layout.
    int TextWidth(std::string_view text) const;
    // The rectangle of half-move `ply` on the page on display (empty when not on it).
    QRect MoveRect(int ply) const;

    QSize sizeHint() const override { return {420, 400}; }

  signals:
    void plyClicked(int ply);
    // The panel's width changed: the lines must be broken again.
    void widthChanged();
    // The player on the header's White (or Black) line was double-clicked, or chosen from its
    // context menu.
    void playerActivated(bool white);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The header line at height `y`, -1 below the header.
    int HeaderLineAt(int y) const;
    int PageOfPly(int ply) const;
    int MovesTop() const;
    int LineHeight() const;
    QString DisplayLine(int index) const;
    QRect PageTabRect(int page) const;
    void PaintColumns(QPainter& painter);

    // Shrinks the moves font when a page of 20 lines would not fit the panel's height.
    void FitFont();

    GameTextView view_;
    int base_pixels_ = 14;
    QFont font_;
    QFont header_font_;
    QColor current_colour_{Qt::red};
    QColor annotated_colour_{0, 0, 128};
    int page_ = 1;
    static constexpr int Margin = 10;
};

}  // namespace qorvale::gui
