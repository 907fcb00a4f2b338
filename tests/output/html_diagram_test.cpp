// HTML diagrams read by Python's HTML parser: the images in board order, every one on disk and
// showing its square as the diagram draws it; captions; the series of pages.
#include "output/html_diagram.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "chess/fen.h"
#include "html_oracle.h"
#include "image_oracles.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

const std::string DataFolder = QORVALE_DATA_DIR;

DiagramArt Art() {
    Result<DiagramArt> art =
        LoadDiagramArt({DataFolder + "/pieces", DataFolder + "/diagram"}, 3, 40);
    EXPECT_TRUE(art.ok());
    return art.ok() ? std::move(*art) : DiagramArt{};
}

// The image the board shows at (file, rank), spelled out here from the naming rule.
std::string Expected(const chess::Board& board, int file, int rank, bool marked) {
    const std::uint32_t code =
        board[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)];
    const char* const pieces[] = {"", "p", "n", "b", "r", "q", "k"};
    std::string name;
    if (code != 0) name = std::string(code > 10 ? "b" : "w") + pieces[code > 10 ? code - 10 : code];
    name += (file + rank) % 2 == 0 ? "b" : "w";
    return name + (marked ? "h" : "") + ".gif";
}

TEST(HtmlDiagram, PagesShowTheBoardSquareBySquare) {
    const chess::Board board =
        chess::ReadPlacement("r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R");
    struct Row {
        const char* name;
        bool flipped;
        MoveCaption caption;
        HtmlNotation notation;
        const char* caption_text;
    };
    const Row rows[] = {
        {"start of the game", false, {}, {}, ""},
        {"after White's 4th", false, {4, false, "Bc4"}, {}, "Position after 4. Bc4"},
        {"after Black's 12th, figurines",
         true,
         {12, true, "Nxe5+"},
         {true, {}},
         "Position after 12... \\u2658xe5+"},
    };
    const DiagramArt art = Art();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        DiagramStyle style;
        style.flipped = row.flipped;
        const DiagramPosition position{board, {BoardSquare{6, 3}, BoardSquare{7, 1}}, row.caption};
        const std::string page = dir.File("page.html");
        ASSERT_EQ(
            WriteHtmlDiagram(position, style, art, row.notation, page, platform::SystemFileSystem())
                .message(),
            "");
        const std::string text = test::ReadWholeFile(page);
        EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
        const test::ParsedPage parsed = test::ParseHtml(page);
        ASSERT_TRUE(parsed.parsed);
        EXPECT_EQ(parsed.tables, 1);
        EXPECT_EQ(parsed.caption, row.caption_text);
        ASSERT_EQ(parsed.images.size(), 64u);
        const DiagramRaster whole = DrawDiagram(position, style, art);
        for (int k = 0; k < 64; ++k) {
            const int file = row.flipped ? 8 - k % 8 : k % 8 + 1;
            const int rank = row.flipped ? k / 8 + 1 : 8 - k / 8;
            const bool marked = (file == 6 && rank == 3) || (file == 7 && rank == 1);
            EXPECT_EQ(parsed.images[static_cast<std::size_t>(k)],
                      Expected(board, file, rank, marked));
        }
        // Each image is the diagram's square, pixel for pixel.
        for (int k : {0, 9, 21, 45, 62}) {
            const test::DecodedGif square = test::DecodeGif(
                test::ReadBytes(dir.File(parsed.images[static_cast<std::size_t>(k)])));
            ASSERT_EQ(square.error, "");
            ASSERT_EQ(square.width, 40);
            for (int y = 0; y < 40; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const std::uint8_t index = square.pixels[static_cast<std::size_t>(y * 40 + x)];
                    const Rgb colour{square.colours[3 * index], square.colours[3 * index + 1],
                                     square.colours[3 * index + 2]};
                    const std::size_t at =
                        static_cast<std::size_t>((k / 8 * 40 + y) * 320 + k % 8 * 40 + x);
                    ASSERT_EQ(colour, whole.palette[whole.pixels[at]]) << "image " << k;
                }
            }
        }
    }
}

TEST(HtmlDiagram, OneImageFormAndSeries) {
    test::TempDir dir;
    const DiagramArt art = Art();
    const DiagramPosition one{chess::StartBoard(), {}, {1, false, "e4"}};
    ASSERT_EQ(WriteHtmlDiagram(one, {}, art, {}, dir.File("one.html"), platform::SystemFileSystem(),
                               "game-whitemove1.gif")
                  .message(),
              "");
    EXPECT_EQ(test::ParseHtml(dir.File("one.html")).images,
              std::vector<std::string>{"game-whitemove1.gif"});

    std::vector<DiagramPosition> positions = {{chess::StartBoard(), {}, {}},
                                              {chess::StartBoard(), {}, {1, false, "e4"}},
                                              {chess::StartBoard(), {}, {1, true, "c5"}},
                                              {chess::StartBoard(), {}, {2, false, "Nf3"}}};
    const std::string base = dir.File("game");
    int asked = 0;
    EXPECT_EQ(*WriteHtmlDiagramSeries(positions, {}, art, {}, base, platform::SystemFileSystem(),
                                      [&] { return ++asked > 2; }),
              "The diagrams have been aborted.");
    EXPECT_TRUE(platform::FileExists(base + "-whitemove1.html"));
    EXPECT_FALSE(platform::FileExists(base + "-blackmove1.html"));
    EXPECT_EQ(*WriteHtmlDiagramSeries(positions, {}, art, {}, base, platform::SystemFileSystem()),
              "All diagrams complete.");
    std::vector<std::string> pages;
    for (const char* name : {"-start", "-whitemove1", "-blackmove1", "-whitemove2"}) {
        pages.push_back(base + name + ".html");
    }
    for (const test::ParsedPage& page : test::ParseHtml(pages)) {
        ASSERT_EQ(page.images.size(), 64u);
        for (const std::string& image : page.images)
            EXPECT_TRUE(platform::FileExists(dir.File(image)));
    }
    EXPECT_FALSE(platform::FileExists(base + "-blackmove2.html"));
}

TEST(HtmlDiagram, TextBecomesCharacterReferences) {
    struct Row {
        const char* name;
        std::string text;
        const char* escaped;
    };
    const Row rows[] = {
        {"markup", "a<b & \"c\">", "a&lt;b &amp; &quot;c&quot;&gt;"},
        {"UTF-8", "R\xC3\xA9ti \xE2\x99\x94 \xF0\x9F\x98\x80", "R&#233;ti &#9812; &#128512;"},
        {"Latin-1", "R\xE9ti", "R&#233;ti"},
        {"overlong UTF-8 is Latin-1", "\xC0\xAF", "&#192;&#175;"},
        {"cut UTF-8 is Latin-1", "ab\xE2\x99", "ab&#226;&#153;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HtmlEscape(row.text), row.escaped);
        // Back to text: UTF-8 as it was; a Latin-1 text comes back as its UTF-8 spelling.
        const std::string back = HtmlUnescape(row.escaped);
        EXPECT_EQ(HtmlEscape(back), row.escaped);
        EXPECT_TRUE(IsValidUtf8(back));
    }
    // What no escaper wrote is left alone.
    for (std::string_view kept :
         {"&nbsp;", "&#;", "&#x41;", "&#0;", "&#55296;", "&#9999999999;", "a & b", "&#12"}) {
        EXPECT_EQ(HtmlUnescape(kept), kept);
    }
}

}  // namespace
}  // namespace qorvale::output
