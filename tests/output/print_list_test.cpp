#include "output/print_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "output/pdf_text.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

// What a command prints on its standard output.
std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    pclose(pipe);
    return out;
}

std::vector<PrintEntry> MovesEntries(const std::string& path, int games) {
    pgn::PgnFile file;
    test::RecordingUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    file.ScanGameFile(false, ui);
    std::vector<PrintEntry> entries;
    for (int number = 1; number <= games; ++number) {
        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess(&ui);
        EXPECT_TRUE(pgn::OpenGameForDisplay(file, number, header, lines, chess, ui).ok());
        auto entry = MovesEntryOf("Games", number, header, lines, ui);
        EXPECT_TRUE(entry.has_value());
        if (entry) entries.emplace_back(std::move(*entry));
    }
    return entries;
}

// A PDF of moves entries, read back by a PDF reader the program does not contain, holds every move
// of every game in order as another PGN reader reads them; an entry never starts near the bottom
// of a page.
TEST(PrintList, PdfHoldsEveryMoveInOrder) {
    if (!test::HavePgnExtract() || Output("command -v pdftotext").empty()) {
        GTEST_SKIP() << "pgn-extract or pdftotext is missing";
    }
    test::TempDir dir;
    const std::string path = dir.CopyData("stats/round-robin.pgn", "games.pgn");
    const int games = 12;
    const std::vector<PrintEntry> entries = MovesEntries(path, games);
    for (int lines : {70, 40}) {
        SCOPED_TRACE(lines);
        const PrintPage page = PdfPrintPage({}, lines);
        const std::vector<PrintedPage> pages = LayOutPrintList(entries, page);
        const std::string pdf = dir.Write("print.pdf", WritePdf(pages, page));
        EXPECT_NE(Output("pdfinfo " + pdf)
                      .find("Pages:           " + std::to_string(pages.size()) + "\n"),
                  std::string::npos);
        // A moves entry that does not fit on the rest of a page starts the next one.
        for (const PrintedPage& printed : pages) {
            EXPECT_EQ(printed.front().text, "********************");
        }
        // A page holds the lines asked for (at least 50) but the two kept free at its bottom.
        PrintTextEntry many;
        many.records.assign(200, "x");
        const int held = static_cast<int>(LayOutPrintList({many}, page)[0].size());
        EXPECT_LE(held, std::max(lines, 50));
        EXPECT_GE(held, std::max(lines, 50) - 2);

        // The move lines are the lines that begin with a move number.
        std::istringstream text(Output("pdftotext -raw " + pdf + " -"));
        std::vector<std::string> printed_moves;
        for (std::string line; std::getline(text, line);) {
            if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
            std::istringstream words(line);
            for (std::string word; words >> word;) {
                if (word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") continue;
                const std::size_t dot = word.find('.');
                printed_moves.push_back(dot == std::string::npos ? word : word.substr(dot + 1));
            }
        }
        std::vector<std::string> expected;
        const std::vector<std::string> mains = test::PgnExtractMainLines(path);
        for (int k = 0; k < games; ++k) {
            std::istringstream moves(mains[static_cast<std::size_t>(k)]);
            for (std::string move; moves >> move;) expected.push_back(move);
        }
        for (std::size_t k = 0; k < std::min(expected.size(), printed_moves.size()); ++k) {
            ASSERT_EQ(printed_moves[k], expected[k]) << "move " << k;
        }
        EXPECT_EQ(printed_moves.size(), expected.size());
    }
}

// Text entries on a page where every character is 10 units wide: records keep their text, broken
// at the last space that fits, at the width when there is none.
TEST(PrintList, TextRecordsBreakAtSpaces) {
    PrintPage page;
    page.width = 191;  // margin 5, printable width 181: 18 characters
    page.height = 1000;
    page.line_advance = 10;
    page.text_width = [](std::string_view text) { return static_cast<int>(text.size()) * 10; };
    const PrintTextEntry entry = TextEntryOf(
        "  [Event \"x\"]\r\n\r\n1. e4 e5 2. Nf3 Nc6 3. Bb5\r\nabcdefghijklmnopqrstuvwxyz\r\n\r\n");
    EXPECT_EQ(entry.records,
              (std::vector<std::string>{"[Event \"x\"]", " ", "1. e4 e5 2. Nf3 Nc6 3. Bb5",
                                        "abcdefghijklmnopqrstuvwxyz"}));
    const std::vector<PrintedPage> pages = LayOutPrintList({entry}, page);
    ASSERT_EQ(pages.size(), 1U);
    std::vector<std::string> lines;
    for (const PrintedLine& line : pages[0]) lines.push_back(line.text);
    EXPECT_EQ(lines, (std::vector<std::string>{"********************", "[Event \"x\"]", " ",
                                               "1. e4 e5 2. Nf3", "Nc6 3. Bb5",
                                               "abcdefghijklmnopqr", "stuvwxyz"}));
    EXPECT_EQ(pages[0][0].y, 10);
    EXPECT_EQ(pages[0][3].y, 40);
}

// The list file keeps what was added, in order; a cut file gives its whole entries; a printed
// list is gone and the next addition starts a new one.
TEST(PrintList, FileKeepsTheEntries) {
    test::TempDir dir;
    const std::string path = dir.CopyData("stats/round-robin.pgn", "games.pgn");
    std::vector<PrintEntry> entries = MovesEntries(path, 2);
    entries.insert(entries.begin() + 1, TextEntryOf("[Event \"a\"]\n\n1. e4 *\n"));
    PrintList list(dir.File("printerq.xyz"));
    test::RecordingUi ui;
    EXPECT_FALSE(list.Entries(ui).has_value());
    EXPECT_EQ(ui.reports.back(), "There are no games selected for printing.");
    for (const PrintEntry& entry : entries) ASSERT_TRUE(list.Add(entry, ui));
    EXPECT_EQ(ui.reports.back(), "Game added to print list.");
    auto read = list.Entries(ui);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), 3U);
    const auto& first = std::get<PrintMovesEntry>((*read)[0]);
    const auto& original = std::get<PrintMovesEntry>(entries[0]);
    EXPECT_EQ(first.summary, original.summary);
    EXPECT_EQ(first.white, original.white);
    EXPECT_EQ(first.black, original.black);
    EXPECT_EQ(first.result, original.result);
    EXPECT_EQ(std::get<PrintTextEntry>((*read)[1]).records,
              std::get<PrintTextEntry>(entries[1]).records);

    const std::string bytes = test::ReadWholeFile(list.Path());
    for (std::size_t cut : {bytes.size() - 1, PrintMovesEntrySize + 10, std::size_t{3}}) {
        const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        EXPECT_EQ(ReadPrintEntries(part).size(), cut > PrintMovesEntrySize + 20 ? 2U
                                                 : cut > 3                      ? 1U
                                                                                : 0U)
            << cut;
    }
    list.Close();
    EXPECT_FALSE(list.IsOpen());
    ASSERT_TRUE(list.Add(entries[1], ui));
    EXPECT_EQ(list.Entries(ui)->size(), 1U);
}

}  // namespace
}  // namespace qorvale::output
