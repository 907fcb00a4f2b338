#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "gui/shell/controller.h"
#include "output/openings_list.h"
#include "output/player_table.h"
#include "output/print_list.h"

class QPrinter;

namespace qorvale::gui {

class CrossTableWindow;
class ListWindow;
class PlayerScoresWindow;

// Player scores, the cross table and the openings list of the open file (or of the games the last
// search found), the print list, and games converted from Yahoo records.
class StatisticsController : public Controller {
    Q_OBJECT

  public:
    explicit StatisticsController(ShellContext& context);
    ~StatisticsController() override;

    void Run(app::StatisticsCommand command);
    void FileOpened() override;

    // Prints the print list on `printer` and closes the list; false when nothing was printed.
    bool PrintOn(QPrinter& printer);
    // At exit: "Flush the print list?" when entries wait; Yes prints them.
    void FlushPrintListOnExit();
    const output::PrintList& List() const { return print_list_; }
    output::PlayerMatch Match() const { return match_; }

    // Converts the Yahoo records of `text` into `target`; the headers are shown for their
    // results as the conversion asks. False when nothing was converted.
    bool ConvertYahoo(const std::string& text, const QString& target);

    PlayerScoresWindow* ScoresWindow() const { return scores_window_; }
    CrossTableWindow* TableWindow() const { return cross_window_; }
    ListWindow* OpeningsWindow() const { return openings_window_; }

  private:
    output::PlayerTableRequest Request(bool cross_table) const;
    void ShowPlayerScores();
    void ShowCrossTable();
    void ShowOpeningsList();
    void SaveCrossTablePage();
    void ShowGames(std::vector<std::int32_t> games);
    void AddToPrintList(bool as_text);
    void Print(bool preview);
    void ConvertYahooDialog();

    output::PlayerMatch match_ = output::PlayerMatch::Key;
    std::vector<std::int32_t> listed_;  // the navigation list the windows were built on
    output::PlayerTable cross_table_;
    std::vector<output::OpeningRow> openings_;
    bool openings_by_name_ = false;
    output::PrintList print_list_;
    PlayerScoresWindow* scores_window_ = nullptr;
    CrossTableWindow* cross_window_ = nullptr;
    ListWindow* openings_window_ = nullptr;
};

}  // namespace qorvale::gui
