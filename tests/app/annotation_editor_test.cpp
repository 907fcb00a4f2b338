#include "app/annotation_editor.h"

#include <gtest/gtest.h>

#include "app/edit_messages.h"
#include "chess/messages.h"
#include "pgn/messages.h"
#include "platform/file.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::TempDir;

struct AnnotatedCopy {
    TempDir dir;
    test::RecordingUi ui;
    pgn::PgnFile file;
    std::int32_t game = 0;
    pgn::GameRewrite before;

    // A real annotated game of more than 20 half-moves with annotations of its own.
    AnnotatedCopy() {
        EXPECT_TRUE(file.Open(dir.CopyData("gui/annotated-matches.pgn", "games.pgn")).ok());
        const std::int32_t count = file.ScanGameFile(false, ui);
        for (std::int32_t candidate = 1; candidate <= count && game == 0; ++candidate) {
            Result<pgn::GameRewrite> loaded = pgn::LoadGameRewrite(file, candidate);
            if (!loaded.ok() || loaded->HalfMoves() <= 20) continue;
            for (const std::string& annotation : loaded->annotations) {
                if (!annotation.empty()) game = candidate;
            }
            if (game != 0) before = *loaded;
        }
        EXPECT_NE(game, 0);
    }
    std::string Recovery() const { return dir.File("recover.pgn"); }
};

TEST(AnnotationEditor, CommentsNagsAndAVariationAreWrittenBackWithTheOldAnnotations) {
    ASSERT_TRUE(test::HavePgnExtract());
    AnnotatedCopy copy;
    AnnotationEditor editor(copy.Recovery());
    ASSERT_TRUE(editor.Open(copy.file, copy.game).ok());
    EXPECT_FALSE(platform::FileExists(copy.Recovery()));

    ASSERT_TRUE(editor.AddComment(5, "a new thought", false).ok());
    ASSERT_TRUE(editor.AddComment(1, "before the first move", true).ok());
    ASSERT_TRUE(editor.AddNag(7, 14).ok());
    ASSERT_TRUE(editor.AddNag(7, 1).ok());
    // A variation for half-move 10: another legal move and a reply.
    ASSERT_TRUE(editor.BeginVariation(10).ok());
    GameEntry& line = editor.Variation();
    std::string played;
    for (int file = 1; file <= 8 && played.empty(); ++file) {
        for (int rank = 1; rank <= 8 && played.empty(); ++rank) {
            for (const BoardSquare& to : line.LegalTargets(file, rank)) {
                ASSERT_EQ(line.MakeMove(file, rank, to.file, to.rank),
                          GameEntry::MoveOutcome::Made);
                const auto index = static_cast<std::size_t>(4);
                played = std::string(line.Moves().BlackMoves[index].view());
                break;
            }
        }
    }
    ASSERT_FALSE(played.empty());
    editor.EndVariation();
    // The recovery copy follows every change.
    std::optional<PendingAnnotation> pending = FindPendingAnnotation(copy.Recovery());
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->game_text, editor.GameText());
    EXPECT_EQ(pending->game_number, copy.game);

    Result<pgn::EditDone> done = editor.Save(copy.file, copy.ui);
    ASSERT_TRUE(done.ok()) << done.error().message();
    EXPECT_FALSE(platform::FileExists(copy.Recovery()));

    Result<pgn::GameRewrite> after = pgn::LoadGameRewrite(copy.file, copy.game);
    ASSERT_TRUE(after.ok());
    ASSERT_EQ(after->HalfMoves(), copy.before.HalfMoves());
    for (int half_move = 0; half_move <= after->HalfMoves(); ++half_move) {
        SCOPED_TRACE(half_move);
        const std::string& old_text = copy.before.annotations[static_cast<std::size_t>(half_move)];
        const std::string& new_text = after->annotations[static_cast<std::size_t>(half_move)];
        auto joined = [&](const std::string& added) {
            return old_text.empty() ? added : old_text + " " + added;
        };
        switch (half_move) {
            case 0:
                EXPECT_EQ(new_text, joined("{before the first move}"));
                break;
            case 5:
                EXPECT_EQ(new_text, joined("{a new thought}"));
                break;
            case 7:
                EXPECT_TRUE(new_text.starts_with("$14 $1")) << new_text;
                break;
            case 10:
                EXPECT_TRUE(new_text.starts_with(old_text)) << new_text;
                EXPECT_TRUE(new_text.ends_with(" " + played + ")")) << new_text;
                break;
            default:
                EXPECT_EQ(new_text, old_text);
        }
    }
    // pgn-extract reads the variation as legal moves.
    std::vector<std::string> games = test::PgnExtractGames(copy.file.CurrentPath());
    ASSERT_EQ(games.size(), static_cast<std::size_t>(copy.file.GameCount()));
    EXPECT_NE(games[static_cast<std::size_t>(copy.game - 1)].find(" " + played + ")"),
              std::string::npos);
}

// After a crash the recovery copy brings the unsaved annotation back, onto the same game.
TEST(AnnotationEditor, RecoveryAfterACrash) {
    AnnotatedCopy copy;
    std::string unsaved;
    {
        AnnotationEditor editor(copy.Recovery());
        ASSERT_TRUE(editor.Open(copy.file, copy.game).ok());
        ASSERT_TRUE(editor.AddComment(3, "kept through the crash", false).ok());
        unsaved = editor.GameText();
        // The program stops here: nothing is saved, nothing cleaned up.
    }
    std::optional<PendingAnnotation> pending = FindPendingAnnotation(copy.Recovery());
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->pgn_path, copy.file.CurrentPath());

    pgn::PgnFile reopened;
    ASSERT_TRUE(reopened.Open(pending->pgn_path).ok());
    reopened.ScanGameFile(false, copy.ui);
    AnnotationEditor restored(copy.Recovery());
    ASSERT_TRUE(restored.Restore(reopened, *pending).ok());
    EXPECT_TRUE(restored.Changed());
    EXPECT_EQ(restored.GameText(), unsaved);
    ASSERT_TRUE(restored.Save(reopened, copy.ui).ok());
    Result<pgn::GameRewrite> after = pgn::LoadGameRewrite(reopened, copy.game);
    ASSERT_TRUE(after.ok());
    EXPECT_TRUE(after->annotations[3].ends_with("{kept through the crash}"));
    EXPECT_FALSE(FindPendingAnnotation(copy.Recovery()).has_value());

    // A copy whose game no longer begins where it began is not put on another game.
    PendingAnnotation moved = *pending;
    moved.offset += 1;
    EXPECT_EQ(restored.Restore(reopened, moved).message(), AnnotatedGameGone);
}

TEST(AnnotationEditor, TypedAnnotationsAndRefusals) {
    AnnotatedCopy copy;
    AnnotationEditor editor(copy.Recovery());
    ASSERT_TRUE(editor.Open(copy.file, copy.game).ok());
    struct Row {
        const char* name;
        const char* text;
        std::string_view message;  // empty: taken
        const char* stored;
    } rows[] = {
        {"comments, NAGs and variations",
         "$2  {why}\n(3... Nf6 {better})",
         {},
         "$2 {why} (3... Nf6 {better})"},
        {"an open comment", "{why", pgn::CommentBracesOutOfSync, ""},
        {"an open variation", "(3... Nf6", pgn::LineParensOutOfSync, ""},
        {"a move outside a variation", "Nf6", AnnotationHoldsMoves, ""},
        {"a line comment", "; later", AnnotationHoldsMoves, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Error error = editor.SetAnnotation(4, row.text);
        if (row.message.empty()) {
            ASSERT_TRUE(error.ok());
            EXPECT_EQ(editor.Annotation(4), row.stored);
        } else {
            EXPECT_EQ(error.message(), row.message);
        }
    }
    editor.RemoveNags(4);
    EXPECT_EQ(editor.Annotation(4), "{why} (3... Nf6 {better})");
    EXPECT_EQ(editor.AddComment(4, "a } brace", false).message(), CommentHoldsBrace);
    editor.Close();
    EXPECT_FALSE(platform::FileExists(copy.Recovery()));

    // Long algebraic games are not annotated.
    pgn::PgnFile long_file;
    ASSERT_TRUE(long_file
                    .Open(copy.dir.Write("long.pgn",
                                         "[Event \"x\"]\n[Result \"*\"]\n\n"
                                         "1. e2-e4 e7-e5 2. Ng1-f3 Nb8-c6 *\n"))
                    .ok());
    long_file.ScanGameFile(false, copy.ui);
    EXPECT_EQ(editor.Open(long_file, 1).message(), chess::messages::CannotAnnotateLongAlgebraic);
}

TEST(AnnotationEditor, RecoveryCopyLayout) {
    const PendingAnnotation pending{"/home/u/my games.pgn", 12, 34567, "[Event \"x\"]\r\n"};
    const std::string text = RecoveryCopyText(pending);
    EXPECT_EQ(text,
              "%Qorvale annotation: game 12 at 34567 of /home/u/my games.pgn\r\n"
              "[Event \"x\"]\r\n");
    EXPECT_EQ(ReadRecoveryCopy(text), pending);
    for (const char* bad :
         {"", "[Event \"x\"]\n", "%Qorvale annotation: game 0 at 1 of a\n",
          "%Qorvale annotation: game 3 at x of a\n", "%Qorvale annotation: game 3 at 4 of \n"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ReadRecoveryCopy(bad).has_value());
    }
}

}  // namespace
}  // namespace qorvale::app
