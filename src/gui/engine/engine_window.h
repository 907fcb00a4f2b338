#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/engine_session.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace qorvale::gui {

// A vertical bar split at White's share of the evaluation: White's part at the bottom.
class EvaluationBar : public QWidget {
    Q_OBJECT

  public:
    explicit EvaluationBar(QWidget* parent = nullptr);
    // Nothing known draws an even bar.
    void SetShare(std::optional<double> white_share);
    std::optional<double> Share() const { return share_; }
    QSize sizeHint() const override { return {18, 200}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<double> share_;
};

// The engine window: the analysis lines (one per MultiPV number), the evaluation bar, the rows
// the engine wrote, the best move, and the controls: the number of lines, a command field and
// Stop. Closing it stops the engine.
class EngineWindow : public QWidget {
    Q_OBJECT

  public:
    explicit EngineWindow(QWidget* parent);

    // A new engine run: empties the views and titles the window.
    void Begin(engines::EngineKind kind, app::EngineMode mode, int multipv, bool fixed_font);
    // Draws what `update` says changed.
    void Show(const app::EngineSession& session, const app::EngineUpdate& update);

    QTreeWidget* Lines() const { return lines_; }
    QPlainTextEdit* Rows() const { return rows_; }
    QSpinBox* MultiPv() const { return multipv_; }
    QLabel* BestMove() const { return best_move_; }
    QPushButton* InsertLine() const { return insert_; }
    EvaluationBar* Bar() const { return bar_; }

  signals:
    void stopRequested();
    void multiPvChosen(int count);
    void commandTyped(const QString& text);
    // The analysis line `row` is to go into the game as a variation.
    void insertLineRequested(int row);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowLines(const app::EngineSession& session);
    void ShowRows(const app::EngineSession& session);

    QTreeWidget* lines_ = nullptr;
    QPlainTextEdit* rows_ = nullptr;
    QSpinBox* multipv_ = nullptr;
    QLineEdit* command_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* insert_ = nullptr;
    QLabel* best_move_ = nullptr;
    EvaluationBar* bar_ = nullptr;
    // Rows the list had taken in when last drawn, so that a flood appends only what is new.
    std::uint64_t rows_shown_ = 0;
};

// The evaluation profile: one point per half-move, White's advantage upwards; a point's tool
// tip names the move and its score.
class ProfileWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ProfileWindow(QWidget* parent);
    // `colours`: 0 default, 1 black and white, 2 the board's square colours (`light`, `dark`).
    void SetPoints(std::vector<engines::ProfilePoint> points, int colours, QColor light,
                   QColor dark);
    const std::vector<engines::ProfilePoint>& Points() const { return points_; }
    // The tool tip at a point of the chart; empty away from the points.
    QString ToolTipAt(QPoint position) const;
    QSize sizeHint() const override { return {480, 220}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    double X(int index) const;
    double Y(int centipawns) const;

    std::vector<engines::ProfilePoint> points_;
    int colours_ = 0;
    QColor light_;
    QColor dark_;
};

}  // namespace qorvale::gui
