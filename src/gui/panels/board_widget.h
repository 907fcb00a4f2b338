#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/options_record.h"
#include "app/session.h"
#include "chess/board.h"
#include "gui/panels/piece_set.h"

namespace qorvale::gui {

// Square edge in logical pixels for "Board Size" Small, Medium and Large.
inline constexpr std::array<int, 3> SquareSizes = {54, 74, 100};

// Colours in the options record are 0x00BBGGRR.
QColor FromRecordColour(std::uint32_t colour);
std::uint32_t ToRecordColour(const QColor& colour);

// The board: squares, pieces, coordinates, border and the last-move highlight, drawn from the
// options record. Clicks and the mouse wheel are handed on as navigation requests.
class BoardWidget : public QWidget {
    Q_OBJECT

  public:
    BoardWidget(const QString& pieces_folder, QWidget* parent = nullptr);

    // Takes board size, piece style, colours, border, coordinates and highlight from `options`.
    void ApplyOptions(const app::OptionsRecord& options);
    void SetPosition(const chess::Board& board, const app::MoveSquares& last_move);
    void SetFlipped(bool flipped);
    // The square of a piece picked up to move, and the squares it may go to (files and ranks
    // 1-8); none outside the modes that enter moves.
    void SetMarks(std::optional<std::pair<int, int>> picked,
                  std::vector<std::pair<int, int>> targets);
    const std::vector<std::pair<int, int>>& Targets() const { return targets_; }
    bool Flipped() const { return flipped_; }
    int SquareSize() const { return square_size_; }
    const chess::Board& Position() const { return board_; }
    // The square (file, rank seen from White) under a point of the widget; file 0 when none.
    std::pair<int, int> SquareAt(const QPoint& point) const;
    // The top-left corner of a square, for tests and drawing.
    QRect SquareRect(int file, int rank) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  signals:
    void squareClicked(int file, int rank);
    // The mouse was pressed on one square and let go on another: a piece dragged there.
    void squareDropped(int file, int rank);
    // +1 forward, -1 back.
    void wheelStep(int direction);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QRect BoardRect() const;
    int CoordinateBand() const;
    void DrawHighlight(QPainter& painter);
    void DrawMarks(QPainter& painter);

    QString pieces_folder_;
    std::unique_ptr<PieceSet> pieces_;
    QPixmap wood_;
    QPixmap wood_scaled_;  // wood_ at the board's size and the screen's scale
    chess::Board board_{};
    app::MoveSquares last_move_;
    bool flipped_ = false;
    std::optional<std::pair<int, int>> picked_;
    std::vector<std::pair<int, int>> targets_;
    int square_size_ = SquareSizes[0];
    int border_width_ = 1;
    int coordinates_ = 1;
    int highlight_ = 0;
    bool wood_board_ = false;
    QColor light_, dark_, background_, border_, highlight_colour_, arrow_colour_;
    int wheel_rest_ = 0;
    std::pair<int, int> pressed_{0, 0};
};

}  // namespace qorvale::gui
