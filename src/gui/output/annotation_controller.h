#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "app/annotation_session.h"
#include "app/commands.h"
#include "gui/shell/controller.h"

namespace qorvale::gui {

class CommentBox;

// The annotation menu: a web page built step by step from the game on the board (title, runs of
// moves, comments, diagrams), saved and opened again to be continued. One page per window.
class AnnotationController : public Controller {
    Q_OBJECT

  public:
    explicit AnnotationController(ShellContext& context);
    ~AnnotationController() override;

    // Runs the command, asking in its dialogs what it needs.
    void Run(app::AnnotationCommand command);

    // The steps with what their dialogs would ask already answered. Each reports its message.
    void StartPage(const output::AnnotationTitle& title);
    void EndComment();
    // Appends the diagram of the position on the board; REQUIRES: the type is chosen, and the
    // file name for an image type.
    void AddDiagram();
    // Saves the page under `path` (".html" added when missing), which it keeps for later saves.
    bool SavePage(const QString& path);
    // Opens a saved page and puts its game on the board at the move it was left at.
    bool OpenPage(const QString& path);

    const app::AnnotationSession& Page() const { return page_; }
    app::AnnotationSession& Page() { return page_; }
    // The comment box while a comment is written, else null.
    CommentBox* commentBox() const { return comment_box_; }

  private:
    app::AnnotationContext Context();
    output::AnnotationGame GameOnBoard() const;
    // The save or open dialog of web pages, remembering its folder and name.
    QString AskHtmlFile(bool save);
    void Comment();
    void Diagram();
    // Puts the board back where the comment started.
    void Restore(const output::AnnotationGame& game);
    void Report(std::string_view message);

    app::AnnotationSession page_;
    CommentBox* comment_box_ = nullptr;
    // Where the board stood when the comment began.
    std::string comment_file_;
    std::int32_t comment_game_ = 0;
};

}  // namespace qorvale::gui
