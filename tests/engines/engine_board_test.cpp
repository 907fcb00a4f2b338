#include "engines/engine_board.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/file_opener.h"
#include "chess/chess_state.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "support/recording_ui.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::engines {
namespace {

// Each game's moves as pgn-extract writes them for engines ("e2e4 ... f7f8N"), lower-cased.
std::vector<std::vector<std::string>> PgnExtractMoves(const std::string& path) {
    std::vector<std::vector<std::string>> games;
    const std::string text =
        test::CommandOutput("/usr/games/pgn-extract -Wuci -s '" + path + "' 2>/dev/null");
    std::istringstream in(text);
    bool in_moves = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[")) {
            if (!in_moves && (games.empty() || !games.back().empty())) games.emplace_back();
            in_moves = false;
            continue;
        }
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") continue;
            for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (!games.empty()) games.back().push_back(word);
            in_moves = true;
        }
        if (line.empty() && in_moves) in_moves = false;
    }
    return games;
}

// The program's own games read into engine positions give the moves pgn-extract gives for
// them: castling as the king's move, promotions with their letter, set-up starts included.
TEST(EnginePositionFromGame, MovesAgreeWithPgnExtract) {
    if (::access("/usr/games/pgn-extract", X_OK) != 0) GTEST_SKIP() << "pgn-extract is missing";
    test::TempDir folder;
    const std::string path = folder.CopyData("chess/games.pgn", "games.pgn");
    const std::vector<std::vector<std::string>> reference = PgnExtractMoves(path);
    test::RecordingUi ui;
    pgn::PgnFile file;
    app::OpenRequest request;
    request.path = path;
    ASSERT_TRUE(app::OpenGameFile(file, request, ui).ok());
    ASSERT_EQ(static_cast<std::size_t>(file.GameCount()), reference.size());
    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    pgn::LoadOptions quiet;
    quiet.quiet = true;
    int complete = 0;
    int set_up = 0;
    for (int game = 1; game <= file.GameCount(); ++game) {
        Result<int> loaded = pgn::OpenGameForDisplay(file, game, header, lines, chess, ui, quiet);
        ASSERT_TRUE(loaded.ok());
        EnginePosition position = EnginePositionFromGame(chess, lines.Moves(), *loaded);
        const std::vector<std::string>& expected = reference[static_cast<std::size_t>(game - 1)];
        ASSERT_LE(position.moves.size(), expected.size()) << "game " << game;
        for (std::size_t i = 0; i < position.moves.size(); ++i) {
            ASSERT_EQ(position.moves[i].view(), expected[i]) << "game " << game << " move " << i;
        }
        complete += position.moves.size() == expected.size();
        set_up += position.from_fen;
        if (position.from_fen) {
            EngineBoard board;
            EXPECT_EQ(board.Set(position), static_cast<int>(position.moves.size()));
        }
    }
    EXPECT_GE(complete, file.GameCount() * 99 / 100);
    EXPECT_GT(set_up, 0);
}

TEST(ReadEngineFen, ReadsWholeFensAndRefusesBrokenOnes) {
    struct Row {
        const char* name;
        const char* fen;
        bool read;
        const char* en_passant;  // the dialog's field: the pawn's own square
        const char* kept;
    };
    const std::vector<Row> rows = {
        {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", true, "",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
        {"en passant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 7", true, "d5",
         "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 7"},
        {"placement and side only", "4k3/8/8/8/8/8/8/4K3 b", true, "",
         "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
        {"seven ranks", "4k3/8/8/8/8/8/4K3 w - - 0 1", false, "", ""},
        {"nine squares in a rank", "4k4/8/8/8/8/8/8/4K3 w - - 0 1", false, "", ""},
        {"unknown piece", "4k3/8/8/8/8/8/8/4X3 w - - 0 1", false, "", ""},
        {"no side", "4k3/8/8/8/8/8/8/4K3 x - - 0 1", false, "", ""},
        {"bad castling", "4k3/8/8/8/8/8/8/4K3 w KX - 0 1", false, "", ""},
        {"en passant on the wrong rank", "4k3/8/8/8/8/8/8/4K3 w - d5 0 1", false, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::optional<EngineFen> read = ReadEngineFen(row.fen);
        ASSERT_EQ(read.has_value(), row.read);
        if (!read) continue;
        EXPECT_EQ(read->info.en_passant, row.en_passant);
        EXPECT_EQ(PositionCommand(read->position), std::string("position fen ") + row.kept);
    }
}

// A set-up read from a game: castling wherever king and rook stand at home.
TEST(PositionCommand, GivesASetUpTheCastlingOfItsKingsAndRooks) {
    EnginePosition set_up;
    set_up.from_fen = true;
    set_up.start = ReadEngineFen("r3k3/8/8/8/8/8/8/R3K2R b KQq - 0 1")->position.start;
    set_up.black_first = true;
    set_up.start_move_number = 30;
    set_up.moves = {CoordinateText(*ParseCoordinateMove("a8a1"))};
    EXPECT_EQ(PositionCommand(set_up),
              "position fen r3k3/8/8/8/8/8/8/R3K2R b KQq - 0 30 moves a8a1");
}

TEST(EngineBoard, PlaysEngineMovesInEitherForm) {
    struct Row {
        const char* name;
        const char* moves;  // played first, coordinates
        const char* move;
        bool legal;
        const char* san;
    };
    const std::vector<Row> rows = {
        {"coordinates", "", "g1f3", true, "Nf3"},
        {"SAN", "e2e4", "Nc6", true, "Nc6"},
        {"SAN with check mark", "e2e4 e7e5 d1h5 b8c6 f1c4 g8f6", "Qxf7#", true, "Qxf7#"},
        {"castling", "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6", "O-O", true, "O-O"},
        {"promotion letter", "a2a4 b7b5 a4b5 a7a6 b5a6 c8b7 a6b7 b8c6", "b7a8n", true, "bxa8=N"},
        {"illegal", "", "e2e5", false, ""},
        {"not a move", "", "xyz", false, ""},
        {"the other side's piece", "", "e7e5", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EngineBoard board;
        std::istringstream played(row.moves);
        for (std::string word; played >> word;) ASSERT_TRUE(board.Play(*ParseCoordinateMove(word)));
        const int before = board.HalfMove();
        std::string san;
        EXPECT_EQ(board.PlayEngineMove(row.move, &san), row.legal);
        EXPECT_EQ(san, row.san);
        EXPECT_EQ(board.HalfMove(), before + (row.legal ? 1 : 0));
    }
    EngineBoard board;
    for (const char* move : {"e2e4", "e7e5", "g1f3"}) board.Play(*ParseCoordinateMove(move));
    board.TakeBack(2);
    EXPECT_EQ(PositionCommand(board.Position()), "position startpos moves e2e4");
    EXPECT_EQ(board.SanMoves(), std::vector<std::string>{"e4"});
}

}  // namespace
}  // namespace qorvale::engines
