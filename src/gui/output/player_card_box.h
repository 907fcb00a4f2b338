#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "gui/shell/controller.h"
#include "output/player_card.h"

class QLabel;
class QTableWidget;

namespace qorvale::gui {

// The player's ratings over time: one point per rated game in date order, joined by a line,
// the lowest and highest rating written on the left.
class RatingChart : public QWidget {
    Q_OBJECT

  public:
    explicit RatingChart(QWidget* parent = nullptr);
    void SetRatings(std::vector<output::CardRating> ratings);
    QSize sizeHint() const override { return {360, 140}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<output::CardRating> ratings_;
};

// A player's card: names, games and score by colour, the rating chart, the events and the score
// per opening family.
class PlayerCardBox : public QDialog {
    Q_OBJECT

  public:
    explicit PlayerCardBox(QWidget* parent);
    void Show(const output::PlayerCard& card);
    const output::PlayerCard& Card() const { return card_; }

  private:
    output::PlayerCard card_;
    QLabel* summary_ = nullptr;
    RatingChart* chart_ = nullptr;
    QTableWidget* events_ = nullptr;
    QTableWidget* openings_ = nullptr;
};

// Opens player cards from the games of the open file and the open database.
class PlayerCardController : public Controller {
    Q_OBJECT

  public:
    explicit PlayerCardController(ShellContext& context);
    ~PlayerCardController() override;

    // The card of `name` (as written in a game's header) over the open file's games and the open
    // database's, in its window; nothing when no game names the player.
    void ShowPlayerCard(const std::string& name,
                        output::PlayerMatch match = output::PlayerMatch::Key);
    // Where the open database is found (null while none is open).
    void SetDatabaseSource(std::function<const search::Database*()> source) {
        database_ = std::move(source);
    }
    PlayerCardBox* Box() const { return box_.get(); }

  private:
    std::unique_ptr<PlayerCardBox> box_;
    std::function<const search::Database*()> database_;
};

}  // namespace qorvale::gui
