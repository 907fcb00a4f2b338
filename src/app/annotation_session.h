#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/options_record.h"
#include "base/result.h"
#include "chess/chess_state.h"
#include "output/annotation_file.h"
#include "pgn/game_lines.h"
#include "platform/file_system.h"

namespace qorvale::app {

// The game on the board as an annotation file keeps it: its moves, start and movetext, and
// `ply` as the place reached.
output::AnnotationGame CaptureAnnotationGame(const chess::ChessState& chess,
                                             const pgn::GameLines& lines, int ply);

// What the annotation commands draw with and where they write: the options (board colours,
// piece style, notation), the install folder (art), the board's orientation and the files.
struct AnnotationContext {
    const OptionsRecord& options;
    std::string app_folder;
    bool flipped = false;
    platform::FileSystem& files;
};

// The annotation file in progress: the page built step by step from the game on the board
// (title, runs of moves, comments, diagrams), saved and reopened with its side file. One per
// window; it lives from its title step until the next title step starts another. Each step
// returns the message to show ("" for none).
class AnnotationSession {
  public:
    enum class Stage { None = 0, EnteringMoves = 2, EnteringComment = 3 };

    Stage CurrentStage() const { return stage_; }
    const std::string& Page() const { return page_; }
    const std::string& FileName() const { return file_name_; }
    int MarkPly() const { return mark_; }
    const output::AnnotationTitle& Title() const { return title_; }

    // Title: a new page with the title, heading and subheading; the diagram type and the file
    // name of an earlier page are forgotten.
    void Start(const output::AnnotationTitle& title);

    // Mark: the next run of moves starts after half-move `ply`. "OK to enter a move.".
    std::string_view Mark(int ply);

    // Generate moves: the moves from the mark to `ply`, appended to the page ("Move
    // generated."), or handed back in `comment_text` while a comment is open. "No move was
    // generated." when no half-move was played since the mark.
    struct Generated {
        std::string_view message;
        std::string comment_text;
    };
    Generated GenerateMoves(const chess::ChessState& chess, const pgn::GameLines& lines, int ply,
                            const AnnotationContext& context);

    // Comment: keeps the game on the board (restored when the comment ends). "" when the comment
    // dialog may open.
    std::string_view BeginComment(const output::AnnotationGame& game);
    // End comment: appends the text ("Comment generated.", the saved game handed back) or,
    // with empty text, "Comment was not saved."; "Enter comment first." without a comment open.
    struct CommentEnd {
        std::string_view message;
        std::optional<output::AnnotationGame> restore;
    };
    CommentEnd EndComment(std::string_view text);

    // The diagram type is asked once per page; image types also need the file name first.
    bool NeedsDiagramType() const { return !diagram_type_.has_value(); }
    void SetDiagramType(output::AnnotationDiagramType type) { diagram_type_ = type; }
    bool DiagramNeedsFileName() const;
    // Save asks for the name the first time.
    bool NeedsFileName() const { return file_name_.empty(); }
    void SetFileName(std::string name) { file_name_ = std::move(name); }

    // Diagram: for an image type the image of the position is written beside the page under its
    // per-move name; the diagram HTML (the image, or the board of square images) is appended
    // while the page stays under 500,000 bytes. "Diagram generated."; "End comment first." while
    // a comment is open; the writer's message when the image cannot be made. REQUIRES: the type
    // is set, and the file name for an image type.
    std::string AppendDiagram(const output::DiagramPosition& position,
                              const AnnotationContext& context);

    // Save: the page with its closing tags, the side file of `game`, and the square images the
    // page shows. "Html file saved." or "Error creating Html file."; the page stays open for
    // more. REQUIRES: the file name is set.
    std::string_view Save(const output::AnnotationGame& game, const AnnotationContext& context);

    // Open: reads the page and its side file; the game is handed back for the board. "Error
    // opening Html file." as the error when either cannot be read.
    Result<output::AnnotationGame> Open(const std::string& path);

  private:
    // "Enter title information first." before the title step, else "".
    std::string_view NeedsTitle() const;

    Stage stage_ = Stage::None;
    std::string page_;
    std::string file_name_;
    int mark_ = 0;
    output::AnnotationTitle title_;
    std::optional<output::AnnotationDiagramType> diagram_type_;
    std::optional<output::AnnotationGame> saved_game_;
};

}  // namespace qorvale::app
