// An annotation file built step by step from a game, as the window's commands drive it: the
// messages of each step, the page, the images beside it, and the file opened again.
#include "app/annotation_session.h"

#include <gtest/gtest.h>

#include "app/diagram_output.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

class AnnotationSessionTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(file_.Open(dir_.CopyData("lines/short_annotated.pgn", "games.pgn")));
        ASSERT_GT(file_.ScanGameFile(false, ui_), 0);
        Result<int> plies = pgn::OpenGameForDisplay(file_, 1, header_, lines_, chess_, ui_);
        ASSERT_TRUE(plies.ok());
        ASSERT_EQ(*plies, 13);
    }

    output::DiagramPosition At(int ply) { return DiagramPositionAt(chess_, lines_, ply, true); }

    test::TempDir dir_;
    test::RecordingUi ui_;
    pgn::PgnFile file_;
    pgn::HeaderTags header_;
    pgn::GameLines lines_;
    chess::ChessState chess_;
    OptionsRecord options_;
    AnnotationContext context_{options_, dir_.path(), false, platform::SystemFileSystem()};
};

TEST_F(AnnotationSessionTest, MovesCommentsAndAnImageDiagram) {
    AnnotationSession session;
    for (const std::string& refused :
         {std::string(session.Mark(3)), std::string(session.BeginComment({})),
          std::string(session.EndComment("x").message), session.AppendDiagram(At(3), context_),
          std::string(session.Save({}, context_))}) {
        EXPECT_EQ(refused, "Enter title information first.");
    }
    session.Start({"", "Club championship", "Round 4"});
    EXPECT_EQ(session.Mark(0), "OK to enter a move.");
    EXPECT_EQ(session.GenerateMoves(chess_, lines_, 0, context_).message, "No move was generated.");
    EXPECT_EQ(session.GenerateMoves(chess_, lines_, 5, context_).message, "Move generated.");
    EXPECT_TRUE(session.Page().ends_with("<p><b>1.e4 e5 2.f4 exf4 3.Bc4</b></p>\r\n"));

    const std::string before_comment = session.Page();
    EXPECT_EQ(session.BeginComment(CaptureAnnotationGame(chess_, lines_, 5)), "");
    AnnotationSession::Generated into_comment = session.GenerateMoves(chess_, lines_, 8, context_);
    EXPECT_EQ(into_comment.comment_text, "1.e4 e5 2.f4 exf4 3.Bc4 Qh4+ 4.Kf1 b5 ");
    EXPECT_EQ(session.AppendDiagram(At(8), context_), "End comment first.");
    AnnotationSession::CommentEnd end = session.EndComment("");
    EXPECT_EQ(end.message, "Comment was not saved.");
    ASSERT_TRUE(end.restore.has_value());
    EXPECT_EQ(end.restore->half_moves, 5u);
    EXPECT_EQ(session.Page(), before_comment);
    EXPECT_EQ(session.EndComment("late").message, "Enter comment first.");
    EXPECT_EQ(session.BeginComment(CaptureAnnotationGame(chess_, lines_, 5)), "");
    EXPECT_EQ(session.EndComment("The gambit.").message, "Comment generated.");

    ASSERT_TRUE(session.NeedsDiagramType());
    session.SetDiagramType(output::AnnotationDiagramType::PngWithColor);
    ASSERT_TRUE(session.DiagramNeedsFileName());
    session.SetFileName(dir_.File("notes.html"));
    EXPECT_EQ(session.AppendDiagram(At(6), context_), "Diagram generated.");
    EXPECT_TRUE(platform::FileExists(dir_.File("notes-blackmove3.png")));
    EXPECT_NE(session.Page().find("<img src=\"notes-blackmove3.png\">\r\n"), std::string::npos);
    EXPECT_NE(session.Page().find("Position after 3... Qh4+"), std::string::npos);
}

TEST_F(AnnotationSessionTest, FigurinesGeneratedIntoACommentAreTextUntilThePageEscapesThem) {
    options_.FigurineNotation = 1;
    AnnotationSession session;
    session.Start({});
    ASSERT_EQ(session.BeginComment(CaptureAnnotationGame(chess_, lines_, 5)), "");
    const std::string moves = session.GenerateMoves(chess_, lines_, 5, context_).comment_text;
    EXPECT_EQ(output::HtmlEscape(moves), "1.e4 e5 2.f4 exf4 3.&#9815;c4");
    ASSERT_EQ(session.EndComment(moves).message, "Comment generated.");
    EXPECT_NE(session.Page().find("3.&#9815;c4"), std::string::npos);
}

TEST_F(AnnotationSessionTest, SavedWithItsSquaresAndOpenedAgain) {
    AnnotationSession session;
    session.Start({"Notes", "", ""});
    session.SetDiagramType(output::AnnotationDiagramType::Html);
    EXPECT_FALSE(session.DiagramNeedsFileName());
    EXPECT_EQ(session.AppendDiagram(At(11), context_), "Diagram generated.");
    ASSERT_TRUE(session.NeedsFileName());
    session.SetFileName(dir_.File("notes.html"));
    const output::AnnotationGame game = CaptureAnnotationGame(chess_, lines_, 11);
    EXPECT_EQ(session.Save(game, context_), "Html file saved.");
    for (const std::string& square : output::SquareImagesIn(session.Page())) {
        EXPECT_TRUE(platform::FileExists(dir_.File(square + ".gif"))) << square;
    }
    EXPECT_TRUE(platform::FileExists(dir_.File("notes.htmx")));

    AnnotationSession reopened;
    Result<output::AnnotationGame> restored = reopened.Open(dir_.File("notes.html"));
    ASSERT_TRUE(restored.ok());
    EXPECT_EQ(restored->half_moves, 11u);
    EXPECT_EQ(restored->full_moves, 7);
    EXPECT_EQ(restored->moves.BlackMoves[5].view(), "Qh6");
    EXPECT_NE(restored->movetext.find("{King's gambit}"), std::string::npos);
    EXPECT_EQ(reopened.Page(), session.Page());
    EXPECT_EQ(reopened.MarkPly(), 11);
    EXPECT_EQ(reopened.CurrentStage(), AnnotationSession::Stage::EnteringMoves);
    EXPECT_EQ(reopened.Open(dir_.File("none.html")).error().message(), "Error opening Html file.");
}

}  // namespace
}  // namespace qorvale::app
