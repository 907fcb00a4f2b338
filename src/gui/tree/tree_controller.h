#pragma once

#include <QString>
#include <optional>

#include "app/commands.h"
#include "app/tree_session.h"
#include "gui/shell/controller.h"
#include "openings/tree_source.h"

namespace qorvale::gui {

class BoardListWindow;
class DatabaseController;
class SearchController;

// The Tree menu: the fast file of the open file, made in the background, checked and deleted;
// the opening tree of the open file, the ECO table, a tree merge file or the open database in a
// window of its own (the Tree mode); the tree settings; making and adding to merge files.
class TreeController : public Controller {
    Q_OBJECT

  public:
    TreeController(ShellContext& context, SearchController& search,
                   const DatabaseController& database);
    ~TreeController() override;

    void Run(app::TreeCommand command);

    // Opens the tree of `request` in the tree window and enters the Tree mode; false after the
    // refusal was reported.
    bool OpenTree(const openings::TreeSourceRequest& request, bool rebuild = false);
    // The merge file tree of the file the user chose.
    bool OpenMergeTree(const QString& chosen);
    // Closes the tree window (its history is saved) and returns to game replay.
    void CloseTree();
    // Make Merge File (`append` false) or add to one, on the worker.
    bool MakeMergeFile(const QString& chosen, bool append);

    // The tree window's steps, as its keys and buttons run them.
    void EnterRow(int row);
    void StepBack();
    void Back();
    void Forward();
    void GamesOfRow(int row);
    // New settings, as the dialog's OK gives them.
    void ApplySettings(const openings::TreeOptions& settings);

    const app::TreeSession& Tree() const { return tree_; }
    BoardListWindow* treeWindow() const { return window_; }

  private:
    void ShowTreeWindow();
    void DrawTree();
    void ShowGames(search::SearchList games);
    void EditSettings();

    SearchController& search_;
    const DatabaseController& database_;
    app::TreeSession tree_;
    openings::TreeSourceRequest request_;
    BoardListWindow* window_ = nullptr;
};

}  // namespace qorvale::gui
