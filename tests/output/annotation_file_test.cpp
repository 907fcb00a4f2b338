// Annotation files: the move runs, the page saved and opened again with its side file, and a
// save killed at any point leaving both files whole.
#include "output/annotation_file.h"

#include <gtest/gtest.h>

#include "chess/fen.h"
#include "support/kill_points.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

std::vector<MoveCaption> Moves(int first_number, bool black_first, int count) {
    std::vector<MoveCaption> moves;
    bool black = black_first;
    int number = first_number;
    for (int k = 0; k < count; ++k) {
        moves.push_back({number, black, black ? "Nxf6+" : "Qh5"});
        if (black) ++number;
        black = !black;
    }
    return moves;
}

TEST(AnnotationFile, MoveRunsAreNumberedAndWrapped) {
    struct Row {
        const char* name;
        std::vector<MoveCaption> moves;
        HtmlNotation notation;
        const char* text;  // "" when only the line lengths are checked
    };
    const Row rows[] = {
        {"one white move", Moves(1, false, 1), {}, "1.Qh5"},
        {"full moves", Moves(3, false, 4), {}, "3.Qh5 Nxf6+ 4.Qh5 Nxf6+ "},
        {"black first, lone white last", Moves(12, true, 4), {}, "12...Nxf6+ 13.Qh5 Nxf6+ 14.Qh5"},
        {"figurines", Moves(1, false, 2), {true, {}}, "1.&#9813;h5 &#9816;xf6+ "},
        {"the user's letters", Moves(1, false, 2), {false, "KDTLS"}, "1.Dh5 Sxf6+ "},
        {"a long game in figurines", Moves(90, true, 120), {true, {}}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = MoveRunText(row.moves, row.notation);
        if (*row.text != 0) {
            EXPECT_EQ(text, row.text);
        }
        std::size_t lines = 0;
        for (std::size_t start = 0; start <= text.size(); ++lines) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            EXPECT_LT(end - start, 81u);
            // A line ends only where the next item ("14.Qh5 Nxf6+ ") would reach 81.
            if (end < text.size()) {
                const std::size_t item_end = text.find(' ', text.find(' ', end + 2) + 1);
                EXPECT_GE(end - start + item_end + 1 - (end + 2), 81u);
            }
            EXPECT_NE(text[start], ' ');
            start = end + 2;
        }
        EXPECT_FALSE(text.ends_with("\r\n"));
        if (row.moves.size() > 100) {
            EXPECT_GT(lines, 5u);
        }
    }
}

AnnotationGame Game() {
    AnnotationGame game;
    game.half_moves = 3;
    game.full_moves = 2;
    game.moves.WhiteMoves[0] = chess::MoveText("e4");
    game.moves.BlackMoves[0] = chess::MoveText("c5");
    game.moves.WhiteMoves[1] = chess::MoveText("Nf3");
    game.moves.WhiteHints[1].Set(7, 1);
    game.start = chess::ReadPlacement("4k3/8/8/8/8/8/8/4K2R");
    game.starts_from_setup = true;
    game.start_move_number = 30;
    game.movetext = "1. e4 {Best by test} c5 2. Nf3\n*";
    return game;
}

// Games are the same when the side file keeps the same of them; the side file's reader is
// checked against its writer by this and by the fuzz target.
bool Same(const AnnotationGame& a, const AnnotationGame& b) {
    return EncodeSideFile(a) == EncodeSideFile(b);
}

TEST(AnnotationFile, PageAndGameComeBackWhenOpened) {
    test::TempDir dir;
    const std::string path = dir.File("notes.html");
    std::string page = StartAnnotationText({"R\xC3\xA9ti's <best>", "Heading", ""});
    EXPECT_EQ(
        page,
        "<html>\r\n<head>\r\n<title>R&#233;ti's &lt;best&gt;</title>\r\n</head>\r\n"
        "<body bgcolor=\"#ffffff\">\r\n<font face=\"Arial\">\r\n<h2>Heading</h2>\r\n<hr>\r\n");
    AppendMoves(page, "1.e4 c5 ");
    AppendComment(page, "A fine\nmove & more");
    EXPECT_TRUE(
        page.ends_with("<p><b>1.e4 c5 </b></p>\r\n<blockquote><p>\r\nA fine\r\nmove &amp; "
                       "more\r\n</p></blockquote>\r\n"));
    ASSERT_EQ(SaveAnnotationFile(path, page, Game(), platform::SystemFileSystem()).message(), "");
    const std::string first = test::ReadWholeFile(path);
    EXPECT_EQ(first, page + "</body>\r\n</html>\r\n");
    ASSERT_EQ(SaveAnnotationFile(path, page, Game(), platform::SystemFileSystem()).message(), "");
    EXPECT_EQ(test::ReadWholeFile(path), first);
    EXPECT_EQ(test::ReadWholeFile(dir.File("notes.htmx")).size(), SideFileBytes);

    Result<OpenedAnnotation> opened = OpenAnnotationFile(path);
    ASSERT_TRUE(opened.ok()) << opened.error().message();
    EXPECT_EQ(opened->page, page);
    EXPECT_TRUE(Same(opened->game, Game()));
    EXPECT_EQ(opened->game.moves.WhiteMoves[1].view(), "Nf3");
    EXPECT_EQ(opened->game.start_move_number, 30u);
    // More moves go before the closing tags.
    AppendMoves(opened->page, "2.Nf3");
    ASSERT_EQ(SaveAnnotationFile(path, opened->page, opened->game, platform::SystemFileSystem())
                  .message(),
              "");
    EXPECT_TRUE(
        test::ReadWholeFile(path).ends_with("<p><b>2.Nf3</b></p>\r\n</body>\r\n</html>\r\n"));
}

TEST(AnnotationFile, DamagedSideFilesAndMissingPagesAreRefused) {
    const std::vector<std::uint8_t> good = EncodeSideFile(Game());
    ASSERT_TRUE(DecodeSideFile(good).ok());
    auto changed = [&](std::size_t offset, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    const std::size_t state = 4 + 3200;
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Row rows[] = {
        {"cut short", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"another layout", changed(state, 2)},
        {"more than 200 moves", changed(state + 4, 201)},
        {"more half-moves than the game has", changed(0, 5)},
        {"a square holding no piece", changed(state + 16, 7)},
        {"a move text without its end", changed(4 + 7, 'x')},
        {"movetext longer than its room", changed(state + 1282, 2)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecodeSideFile(row.bytes).error().message(), "Error opening Html file.");
    }
    test::TempDir dir;
    EXPECT_EQ(OpenAnnotationFile(dir.File("none.html")).error().message(),
              "Error opening Html file.");
    EXPECT_EQ(SaveAnnotationFile(dir.File("missing/notes.html"), "<html>", Game(),
                                 platform::SystemFileSystem())
                  .message(),
              "Error creating Html file.");
}

TEST(AnnotationFile, KilledSaveLeavesBothFilesWhole) {
    test::TempDir dir;
    const std::string path = dir.File("notes.html");
    const std::string old_page = "<html>\r\nold page\r\n";
    AnnotationGame old_game;
    const std::string old_side = [&] {
        std::vector<std::uint8_t> bytes = EncodeSideFile(old_game);
        return std::string(bytes.begin(), bytes.end());
    }();
    const std::string new_page = "<html>\r\n" + std::string(5000, 'n') + "\r\n";
    const int points = test::KillAtEveryPoint(
        [&] {
            dir.Write("notes.html", old_page + "</body>\r\n</html>\r\n");
            dir.Write("notes.htmx", old_side);
            (void)platform::DeleteFile(path + ".new");
            (void)platform::DeleteFile(dir.File("notes.htmx.new"));
        },
        [&](platform::FileSystem& files) {
            (void)SaveAnnotationFile(path, new_page, Game(), files);
        },
        [&](int point) {
            Result<OpenedAnnotation> opened = OpenAnnotationFile(path);
            ASSERT_TRUE(opened.ok());
            EXPECT_TRUE(opened->page == old_page || opened->page == new_page);
            EXPECT_TRUE(Same(opened->game, old_game) || Same(opened->game, Game()));
            if (point == 0) {
                EXPECT_EQ(opened->page, new_page);
                EXPECT_TRUE(Same(opened->game, Game()));
            }
        });
    EXPECT_GT(points, 10);
}

}  // namespace
}  // namespace qorvale::output
