#include "utilities/check_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/faulty_file_system.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "utilities/file_rewrite.h"
#include "utilities/messages.h"

namespace qorvale::utilities {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::TestDataPath;

TEST(CheckFile, RawTextCheckFindsTheTextFaultsWhereTheyAre) {
    const std::string header = "[Event \"x\"]\r\n[White \"A  B\"]\r\n\r\n";
    struct Row {
        const char* name;
        std::string text;
        int code;
    };
    const Row rows[] = {
        {"ordinary game", header + "1. e4 e5 2. Nf3 Nc6 1-0\r\n", 0},
        {"two spaces between moves", header + "1. e4  e5 2. Nf3 1-0\r\n", 9998},
        {"two spaces before the result", header + "1. e4 e5  1-0\r\n", 0},
        {"two spaces at a line end, then an empty line", header + "1. e4 e5  \r\n\r\n", 0},
        {"two spaces at a line end, then moves", header + "1. e4 e5  \r\n2. Nf3 1-0\r\n", 9998},
        {"open comment outweighs open parens", header + "1. e4 ( e5 {open\r\n", 9997},
        {"open variation", header + "1. e4 (1. d4 e5 1-0\r\n", 9996},
        {"parens in a comment do not count", header + "1. e4 {((} e5 1-0\r\n", 0},
        {"parens after a semicolon do not count", header + "1. e4 ; ((\r\ne5 1-0\r\n", 0},
        {"a comment hides a tag-like line", header + "1. e4 {\r\n[Not \"a tag\"]\r\n} e5 1-0\r\n",
         0},
        {"the result ends the game", header + "1. e4 e5 1-0 ((\r\n", 0},
        {"the next tag line ends the game", header + "1. e4 e5\r\n[Event \"y\"]\r\n(\r\n", 0},
        {"a record of 256 characters", header + "1. e4 {" + std::string(244, 'x') + "} 1-0\r\n",
         9999},
        {"a record of 255 characters", header + "1. e4 {" + std::string(243, 'x') + "} 1-0\r\n", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RawTextCheck(row.text), row.code);
    }
}

// Copies `data_name` into `dir` as games.pgn, scans it and returns the request for `mode`.
CheckFileRequest RequestFor(const TempDir& dir, const std::string& text, CheckMode mode) {
    const std::string path = dir.Write("games.pgn", text);
    pgn::PgnFile file;
    SilentUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    file.ScanGameFile(false, ui);
    CheckFileRequest request;
    request.pgn_path = path;
    request.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    request.mode = mode;
    return request;
}

// The text of game `game` (1-based) of `text` by the offsets of `request`.
std::string GameText(const std::string& text, const CheckFileRequest& request, std::size_t game) {
    std::size_t begin = request.offsets[game - 1];
    std::size_t end = game < request.offsets.size() ? request.offsets[game] : text.size();
    return text.substr(begin, end - begin);
}

// A real collection spoilt at known places: an impossible king move put in at a chosen move of
// some games, a tag line without its quotes, a header run straight into a move, a move that
// names nothing, and a set-up position with a fourth white queen.
struct Spoilt {
    std::string text;
    std::vector<std::string> expected;  // the error list, in game order
};

// Where White's move `number` begins in a game's text.
std::size_t WhiteMove(const std::string& game, int number) {
    const std::string mark = std::to_string(number) + ". ";
    for (std::size_t at = game.find("\n\n"); at != std::string::npos; ++at) {
        at = game.find(mark, at);
        if (at == std::string::npos) break;
        if (game[at - 1] == ' ' || game[at - 1] == '\n') return at + mark.size();
    }
    ADD_FAILURE() << "no move " << number;
    return 0;
}

Spoilt SpoilFischer() {
    std::string text = ReadWholeFile(TestDataPath("harden/fischer.pgn"));
    Spoilt spoilt;
    // Game number -> the white move number that becomes "Kh5" (never legal this early: the king
    // stands on its first rank).
    const std::pair<int, int> kings[] = {{2, 3}, {5, 7}, {9, 1}, {20, 6}};
    TempDir dir;
    CheckFileRequest request = RequestFor(dir, text, CheckMode::ReportErrors);
    std::string out = text.substr(0, request.offsets[0]);
    for (std::size_t game = 1; game <= request.offsets.size(); ++game) {
        std::string g = GameText(text, request, game);
        for (const auto& [number, move] : kings) {
            if (static_cast<std::size_t>(number) != game) continue;
            std::size_t at = WhiteMove(g, move);
            std::size_t end = g.find_first_of(" \n", at);
            g.replace(at, end - at, "Kh5");
            spoilt.expected.push_back("Game " + std::to_string(game) + ", move " +
                                      std::to_string(move) + " is illegal.");
        }
        if (game == 12) {
            std::size_t site = g.find("[Site \"");
            g.erase(g.find('"', site + 7), 1);
            g.erase(site + 6, 1);
            spoilt.expected.push_back(
                "Game 12 header is corrupt, a line is missing two double quotes.");
        }
        if (game == 14) {
            g.erase(g.find("\n\n1. ") + 1, 1);
            g.replace(g.find("\n1. ") + 1, 3, "");
            spoilt.expected.push_back("Game 14 does not have a blank line after the header.");
        }
        if (game == 30) {
            std::size_t at = WhiteMove(g, 4);
            // A word that is no move is passed over as every reader does, so Black's reply
            // falls to White and is the illegal move.
            g.replace(at, g.find_first_of(" \n", at) - at, "Zz9");
            spoilt.expected.push_back("Game 30, move 4 is illegal.");
        }
        out += g;
    }
    out += "[Event \"Queens\"]\n[FEN \"4k3/8/8/8/8/8/8/QQQQK3 w - - 0 1\"]\n\n1. Qa8+ Kd7 *\n\n";
    spoilt.expected.push_back("Game 35 has 4 queens.");
    std::sort(spoilt.expected.begin(), spoilt.expected.end(), [](const auto& a, const auto& b) {
        return std::stoi(a.substr(5)) < std::stoi(b.substr(5));
    });
    spoilt.text = out;
    return spoilt;
}

std::vector<std::string> Messages(const CheckFileResult& result) {
    std::vector<std::string> messages;
    for (const ErrorListEntry& entry : result.errors) messages.push_back(entry.message);
    return messages;
}

TEST(CheckFile, EachFaultIsReportedForItsGameAndMove) {
    const Spoilt spoilt = SpoilFischer();
    ASSERT_EQ(spoilt.expected.size(), 8u);
    TempDir dir;
    CheckFileRequest request = RequestFor(dir, spoilt.text, CheckMode::ReportErrors);
    SilentUi ui;
    CheckFileResult result = CheckFile(request, {}, ui);
    EXPECT_EQ(Messages(result), spoilt.expected);
    EXPECT_EQ(result.count, 8);
    EXPECT_EQ(ErrorListTitle(result), "8 Errors Found");
    EXPECT_EQ(CheckCompletion(result), Completion::ShowErrorList);
    EXPECT_EQ(CheckEndMessage(result), "");
    EXPECT_EQ(ReadWholeFile(request.pgn_path), spoilt.text);
    // The untouched collection has none of them.
    TempDir clean;
    CheckFileResult none =
        CheckFile(RequestFor(clean, ReadWholeFile(TestDataPath("harden/fischer.pgn")),
                             CheckMode::ReportErrors),
                  {}, ui);
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(CheckEndMessage(none), "No errors found.");
}

TEST(CheckFile, StopsAtTheEleventhBadGameUnlessAllAreListed) {
    std::string text;
    for (int game = 1; game <= 13; ++game) {
        text += "[Event \"" + std::to_string(game) + "\"]\n\n1. e4 e5 2. Ke3 Nc6 *\n\n";
    }
    TempDir dir;
    CheckFileRequest request = RequestFor(dir, text, CheckMode::ReportErrors);
    SilentUi ui;
    CheckFileResult result = CheckFile(request, {}, ui);
    EXPECT_EQ(result.count, 11);
    EXPECT_EQ(result.examined, 11);
    EXPECT_EQ(result.errors.size(), 10u);
    EXPECT_EQ(ErrorListTitle(result), "More Than 10 Errors Found");
    request.list_all = true;
    result = CheckFile(request, {}, ui);
    EXPECT_EQ(result.errors.size(), 13u);
    EXPECT_EQ(result.errors.back().message, "Game 13, move 2 is illegal.");
    EXPECT_EQ(ErrorListTitle(result), "13 Errors Found");
}

// The file a deleting mode should leave: the text before the first game and every game kept,
// each byte for byte.
std::string Kept(const std::string& text, const CheckFileRequest& request,
                 const std::vector<std::int32_t>& deleted) {
    std::string kept = text.substr(0, request.offsets[0]);
    for (std::size_t game = 1; game <= request.offsets.size(); ++game) {
        if (std::find(deleted.begin(), deleted.end(), game) == deleted.end()) {
            kept += GameText(text, request, game);
        }
    }
    return kept;
}

TEST(CheckFile, DeletingModesKeepTheOtherGamesByteForByteBesideACurrentFastFile) {
    const Spoilt spoilt = SpoilFischer();
    const std::string fen_games =
        "[Event \"F\"]\n[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\n\n1. O-O Kd7 *\n\n"
        "[Event \"S\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\"]\n\n"
        "1. e4 *\n\n";
    struct Row {
        const char* name;
        std::string text;
        CheckMode mode;
        std::vector<std::int32_t> listed;
        std::vector<std::int32_t> deleted;
        std::string end_message;
        std::string title;
    };
    const Row rows[] = {
        {"bad games",
         spoilt.text,
         CheckMode::DeleteBadGames,
         {},
         {2, 5, 9, 12, 14, 20, 30, 35},
         "",
         "8 games were deleted."},
        {"FEN games (the standard start is no FEN game)",
         fen_games + spoilt.text,
         CheckMode::DeleteFenGames,
         {},
         {1, 37},
         "2 FEN games deleted.",
         ""},
        {"no FEN games",
         spoilt.text,
         CheckMode::DeleteFenGames,
         {},
         {35},
         "1 FEN game deleted.",
         ""},
        {"listed games",
         spoilt.text,
         CheckMode::DeleteListedGames,
         {1, 3, 34, 99},
         {1, 3, 34},
         "3 games deleted.",
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        CheckFileRequest request = RequestFor(dir, row.text, row.mode);
        request.listed_games = row.listed;
        search::PgnGameSource source(request.pgn_path, request.offsets);
        ASSERT_TRUE(source.Open().ok());
        const auto count = static_cast<std::int32_t>(request.offsets.size());
        search::MakeFastFile(request.pgn_path, count, source, {});
        test::RecordingUi ui;
        CheckFileResult result = CheckFile(request, {}, ui);
        EXPECT_TRUE(result.error.ok()) << result.error.message();
        EXPECT_TRUE(result.replaced);
        EXPECT_EQ(result.deleted, row.deleted);
        EXPECT_EQ(ReadWholeFile(request.pgn_path), Kept(row.text, request, row.deleted));
        EXPECT_EQ(CheckEndMessage(result), row.end_message);
        if (!row.title.empty()) {
            EXPECT_EQ(ErrorListTitle(result), row.title);
        }
        EXPECT_FALSE(platform::FileExists(dir.File(RewriteTempName)));
        EXPECT_TRUE(ui.reports.empty());
        // The fast file followed the deletion: it is what a new one made now would be.
        const search::FastFileNames names = search::FastFileNamesOf(request.pgn_path);
        const std::string trf = ReadWholeFile(names.trf);
        const std::string trh = ReadWholeFile(names.trh);
        pgn::PgnFile file;
        ASSERT_TRUE(file.Open(request.pgn_path).ok());
        const std::int32_t left = file.ScanGameFile(false, ui);
        EXPECT_EQ(left, count - static_cast<std::int32_t>(row.deleted.size()));
        EXPECT_EQ(search::FastFileStateOf(request.pgn_path, left), search::FastFileState::Current);
        search::PgnGameSource again(request.pgn_path,
                                    {file.Index().Offsets().begin(), file.Index().Offsets().end()});
        ASSERT_TRUE(again.Open().ok());
        search::MakeFastFile(request.pgn_path, left, again, {});
        EXPECT_EQ(ReadWholeFile(names.trf), trf);
        EXPECT_EQ(ReadWholeFile(names.trh), trh);
    }
}

// Read-only folders and full disks are the rewrite fault test's; a cancel is this one's.
TEST(CheckFile, ACancelledOrFailedRewriteLeavesTheFileAsItWas) {
    using Fault = test::FaultyFileSystem::Fault;
    struct Row {
        const char* name;
        int cancel_after;  // games examined before Cancel; 0: never
        Fault fault;
        std::int64_t room;
        std::string_view error;
    };
    const Row rows[] = {
        {"cancel at the first game", 1, Fault::None, 0, ""},
        {"cancel half-way", 17, Fault::None, 0, ""},
        {"read-only folder", 0, Fault::ReadOnly, 0, messages::ErrorCreatingTempFile},
        {"full disk", 0, Fault::DiskFull, 1000, messages::ErrorCreatingTempFile},
    };
    const Spoilt spoilt = SpoilFischer();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        CheckFileRequest request = RequestFor(dir, spoilt.text, CheckMode::DeleteBadGames);
        OperationControl control;
        int examined = 0;
        control.cancelled = [&] { return row.cancel_after > 0 && ++examined >= row.cancel_after; };
        SilentUi ui;
        test::FaultyFileSystem file_system(row.fault, row.room);
        CheckFileResult result = CheckFile(request, control, ui, file_system);
        EXPECT_EQ(result.error.message(), row.error);
        EXPECT_FALSE(result.replaced);
        EXPECT_EQ(ReadWholeFile(request.pgn_path), spoilt.text);
        EXPECT_FALSE(platform::FileExists(dir.File(RewriteTempName)));
        if (row.cancel_after > 0) {
            // The list of what was examined, titled as a report.
            EXPECT_TRUE(result.cancelled);
            EXPECT_EQ(result.examined, row.cancel_after);
            EXPECT_EQ(result.mode, CheckMode::ReportErrors);
            EXPECT_EQ(ErrorListTitle(result).find("deleted"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace qorvale::utilities
