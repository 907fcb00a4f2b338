#include "app/game_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "chess/chess_state.h"
#include "pgn/game_loader.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::TempDir;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

BoardSquare SquareOf(std::string_view name) { return {name[0] - 'a' + 1, name[1] - '0'}; }

std::uint32_t PromotionOf(const std::string& uci) {
    if (uci.size() < 5) return chess::Queen;
    // pgn-extract writes the piece in upper case ("f7f8N"), stockfish in lower case.
    switch (uci[4] | 0x20) {
        case 'n':
            return chess::Knight;
        case 'b':
            return chess::Bishop;
        case 'r':
            return chess::Rook;
        default:
            return chess::Queen;
    }
}

GameEntry::MoveOutcome Make(GameEntry& entry, const std::string& uci) {
    const BoardSquare from = SquareOf(uci);
    const BoardSquare to = SquareOf(uci.substr(2));
    return entry.MakeMove(from.file, from.rank, to.file, to.rank, PromotionOf(uci));
}

// Every move the side to move may make, from the legal-target hints of each of its pieces, as
// "e2e4" (a promotion once, without its piece).
std::set<std::string> AllTargets(GameEntry& entry) {
    std::set<std::string> moves;
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            for (const BoardSquare& to : entry.LegalTargets(file, rank)) {
                moves.insert(std::string{chess::FileLetter(file), chess::RankDigit(rank),
                                         chess::FileLetter(to.file), chess::RankDigit(to.rank)});
            }
        }
    }
    return moves;
}

std::set<std::string> FromTo(const std::vector<std::string>& uci) {
    std::set<std::string> moves;
    for (const std::string& move : uci) moves.insert(move.substr(0, 4));
    return moves;
}

std::string EnteredSan(const GameEntry& entry) {
    std::string san;
    for (int index = 0; index < entry.FullMoves(); ++index) {
        const auto slot = static_cast<std::size_t>(index);
        for (const chess::MoveText* text :
             {&entry.Moves().WhiteMoves[slot], &entry.Moves().BlackMoves[slot]}) {
            if (text->empty() || (*text)[0] == '.') continue;
            if (!san.empty()) san += ' ';
            san += text->view();
        }
    }
    return san;
}

struct ReferenceGame {
    std::string fen;
    std::vector<std::string> uci;
};

// The real games of tests/data/chess/games.pgn as pgn-extract gives their moves from squares.
std::vector<ReferenceGame> ReferenceGames() {
    std::vector<ReferenceGame> games;
    for (const std::string& text :
         test::PgnExtractGames(test::TestDataPath("chess/games.pgn"), {"-Wuci", "--noresults"})) {
        ReferenceGame game;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("[FEN \"")) game.fen = line.substr(6, line.size() - 8);
            if (!line.empty() && line[0] != '[') game.uci = Words(line);
        }
        games.push_back(std::move(game));
    }
    return games;
}

bool Start(GameEntry& entry, const ReferenceGame& game) {
    if (game.fen.empty()) {
        entry.StartNewGame();
        return true;
    }
    SetupPosition setup;
    test::RecordingUi ui;
    return setup.SetFromFen(game.fen).ok() && entry.StartFromSetup(setup, ui);
}

// Real games entered square by square: each move is taken, its text is the SAN pgn-extract
// writes (checks, mates, disambiguation, castling, en passant, promotions), and the legal-target
// hints at sampled positions are stockfish's legal moves, also after a take-back.
TEST(GameEntry, RealGamesEnteredFromSquares) {
    ASSERT_TRUE(test::HavePgnExtract());
    const std::vector<ReferenceGame> games = ReferenceGames();
    const std::vector<std::string> san =
        test::PgnExtractMainLines(test::TestDataPath("chess/games.pgn"));
    ASSERT_EQ(games.size(), san.size());
    ASSERT_GT(games.size(), 1700u);

    // Positions with stockfish's legal moves: game, ply, moves.
    std::istringstream legal(test::ReadWholeFile(test::TestDataPath("chess/legal.tsv")));
    std::vector<std::tuple<std::size_t, int, std::vector<std::string>>> positions;
    for (std::string line; std::getline(legal, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields = Words(line);
        positions.emplace_back(std::stoul(fields[0]) - 1, std::stoi(fields[1]),
                               std::vector<std::string>(fields.begin() + 2, fields.end()));
    }
    ASSERT_GT(positions.size(), 500u);

    GameEntry entry;
    int entered = 0;
    std::size_t compared = 0;
    for (std::size_t game = 0; game < games.size(); ++game) {
        const ReferenceGame& reference = games[game];
        // The first 300 games, every game from a set-up position, and those with positions.
        const bool sampled = std::any_of(positions.begin(), positions.end(),
                                         [&](const auto& row) { return std::get<0>(row) == game; });
        if (game >= 300 && reference.fen.empty() && !sampled) continue;
        if (reference.uci.size() > static_cast<std::size_t>(chess::MaxHalfMoves) - 1) continue;
        SCOPED_TRACE(testing::Message() << "game " << game + 1);
        ASSERT_TRUE(Start(entry, reference));
        for (std::size_t move = 0; move < reference.uci.size(); ++move) {
            ASSERT_EQ(Make(entry, reference.uci[move]), GameEntry::MoveOutcome::Made)
                << "half-move " << move + 1 << " " << reference.uci[move];
        }
        EXPECT_EQ(EnteredSan(entry), san[game]);
        ++entered;

        for (const auto& [position_game, ply, moves] : positions) {
            if (position_game != game) continue;
            SCOPED_TRACE(testing::Message() << "ply " << ply);
            const std::size_t later = std::min<std::size_t>(reference.uci.size(), ply + 3);
            ASSERT_TRUE(Start(entry, reference));
            for (std::size_t move = 0; move < later; ++move) Make(entry, reference.uci[move]);
            // Back to the position, whose castling and en-passant state must come back with it.
            for (std::size_t move = later; move > static_cast<std::size_t>(ply); --move) {
                ASSERT_TRUE(entry.TakeBack());
            }
            EXPECT_EQ(AllTargets(entry), FromTo(moves));
            ++compared;
        }
    }
    EXPECT_GE(entered, 290);
    EXPECT_EQ(compared, positions.size());
}

// Set-up positions keep to their own castling rights and en-passant file.
TEST(GameEntry, SetUpRightsAgreeWithStockfish) {
    const char* fens[] = {
        "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1",
        "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b k - 0 10",
        // Only the pawn that has just moved may be taken en passant.
        "rnbqkbnr/ppp1pppp/8/8/2PpP3/8/PP1P1PPP/RNBQKBNR b KQkq e3 0 3",
        "4k3/8/8/2pP4/8/8/8/4K3 w - c6 0 40",
        "4k3/8/8/2pP4/8/8/8/4K3 w - - 0 40",
    };
    for (const char* fen : fens) {
        SCOPED_TRACE(fen);
        SetupPosition setup;
        ASSERT_TRUE(setup.SetFromFen(fen).ok());
        EXPECT_EQ(setup.Fen(), fen);
        GameEntry entry;
        test::RecordingUi ui;
        ASSERT_TRUE(entry.StartFromSetup(setup, ui));
        EXPECT_EQ(AllTargets(entry), FromTo(test::StockfishLegalMoves(fen)));
    }
}

// An under-promotion from a set-up position with Black's placeholder and a later move number,
// saved as a new file and read back by the program and by pgn-extract.
TEST(GameEntry, SetUpGameSavedAndReopened) {
    TempDir dir;
    SetupPosition setup;
    ASSERT_TRUE(setup.SetFromFen("8/4P1k1/8/8/8/8/6K1/8 b - - 0 57").ok());
    GameEntry entry;
    test::RecordingUi ui;
    ASSERT_TRUE(entry.StartFromSetup(setup, ui));
    EXPECT_EQ(entry.HalfMoves(), 1);
    EXPECT_FALSE(entry.TakeBack());
    ASSERT_EQ(Make(entry, "g7f7"), GameEntry::MoveOutcome::Made);
    EXPECT_TRUE(entry.IsPromotion(5, 7, 5, 8));
    EXPECT_FALSE(entry.IsPromotion(7, 2, 7, 3));
    ASSERT_EQ(entry.MakeMove(5, 7, 5, 8, chess::Knight), GameEntry::MoveOutcome::Made);
    ASSERT_EQ(Make(entry, "f7e8"), GameEntry::MoveOutcome::Made);
    entry.SetHeaderField(pgn::HeaderField::White, "Ünder");
    entry.SetHeaderField(pgn::HeaderField::Result, "*");

    pgn::PgnFile file;
    const std::string path = dir.File("new.pgn");
    Result<pgn::EditDone> done = entry.Save(file, pgn::SaveMode::NewFile, path, ui);
    ASSERT_TRUE(done.ok()) << done.error().message();
    EXPECT_FALSE(entry.Changed());
    EXPECT_EQ(test::PgnExtractMainLines(path), std::vector<std::string>{EnteredSan(entry)});
    EXPECT_EQ(EnteredSan(entry), "Kf7 e8=N Kxe8");

    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    Result<int> half_moves = pgn::OpenGameForDisplay(file, 1, header, lines, chess, ui);
    ASSERT_TRUE(half_moves.ok());
    EXPECT_EQ(*half_moves, 4);
    EXPECT_EQ(chess.StartMoveNumber(), 57u);
    EXPECT_EQ(header.CurrentHeader().Get(pgn::HeaderField::White), "Ünder");
    EXPECT_EQ(lines.Moves().WhiteMoves[1].view(), "e8=N");
}

// Modify Game: the game cut at a move and continued otherwise is written back with the
// annotations of the moves before the change.
TEST(GameEntry, ModifiedGameKeepsTheAnnotationsBeforeTheChange) {
    TempDir dir;
    test::RecordingUi ui;
    pgn::PgnFile file;
    ASSERT_TRUE(file.Open(dir.CopyData("gui/annotated-matches.pgn", "games.pgn")).ok());
    const std::int32_t count = file.ScanGameFile(false, ui);
    // A game of more than 30 half-moves with annotations in its first 20.
    std::int32_t game = 0;
    Result<pgn::GameRewrite> before = Error("none");
    for (std::int32_t candidate = 1; candidate <= count && game == 0; ++candidate) {
        before = pgn::LoadGameRewrite(file, candidate);
        if (!before.ok() || before->HalfMoves() <= 30) continue;
        for (int half_move = 1; half_move <= 20; ++half_move) {
            if (!before->annotations[static_cast<std::size_t>(half_move)].empty()) game = candidate;
        }
    }
    ASSERT_NE(game, 0);

    GameEntry entry;
    ASSERT_TRUE(entry.StartModify(file, game).ok());
    EXPECT_EQ(entry.HalfMoves(), before->HalfMoves());
    entry.ShowHalfMove(20);
    EXPECT_EQ(Make(entry, "a2a3"), GameEntry::MoveOutcome::NotAtEnd);
    entry.TruncateTo(20);
    std::string played;
    for (const char* move : {"a2a3", "a7a6", "h2h3", "h7h6"}) {
        if (Make(entry, move) != GameEntry::MoveOutcome::Made) continue;
        played = move;
        break;
    }
    ASSERT_FALSE(played.empty());
    entry.SetHeaderField(pgn::HeaderField::Event, "Corrected");
    Result<pgn::EditDone> done = entry.SaveChanges(file, ui);
    ASSERT_TRUE(done.ok()) << done.error().message();
    EXPECT_EQ(done->game_to_show, game);

    Result<pgn::GameRewrite> after = pgn::LoadGameRewrite(file, game);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after->HalfMoves(), 21);
    EXPECT_EQ(after->loaded.Get(pgn::HeaderField::Event), "Corrected");
    for (int half_move = 0; half_move <= 20; ++half_move) {
        SCOPED_TRACE(half_move);
        EXPECT_EQ(after->annotations[static_cast<std::size_t>(half_move)],
                  before->annotations[static_cast<std::size_t>(half_move)]);
    }
    EXPECT_TRUE(after->annotations[21].empty());
}

TEST(CutAtCharacter, NeverSplitsACharacter) {
    struct Row {
        const char* name;
        std::string text;
        std::size_t limit;
        std::string cut;
    } rows[] = {
        {"short", "abc", 5, "abc"},
        {"UTF-8 two-byte letter at the limit", "ab\xC3\x9C", 3, "ab"},
        {"UTF-8 three-byte sign",
         "a\xE2\x82\xAC"
         "b",
         3, "a"},
        {"Latin-1 cuts by byte", "ab\xDC\xDC", 3, "ab\xDC"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CutAtCharacter(row.text, row.limit), row.cut);
    }
}

}  // namespace
}  // namespace qorvale::app
