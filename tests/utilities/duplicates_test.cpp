#include "utilities/duplicates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "search/text_game_reader.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::utilities {
namespace {

using test::ReadWholeFile;
using test::TempDir;

// The nested loop of the duplicate check as the program first had it, kept as the reference:
// each game against each later one inside the look-ahead, over the fast file's records.
DuplicateResult FastReference(const DuplicateGames& games, const DuplicateSettings& settings) {
    DuplicateResult result;
    const std::int64_t d = settings.max_move_difference * 2;
    const std::int64_t l = settings.entire_file ? 999999999 : settings.look_ahead;
    const std::int64_t n = games.Count();
    bool names = settings.check_names && !games.names.empty();
    for (std::int64_t i = 0; i + 1 < n; ++i) {
        auto a = games.Moves(static_cast<std::int32_t>(i));
        for (std::int64_t j = i + 1; j < i + l && j < n; ++j) {
            auto b = games.Moves(static_cast<std::int32_t>(j));
            if (std::abs(static_cast<std::int64_t>(a.size()) -
                         static_cast<std::int64_t>(b.size())) > d) {
                continue;
            }
            std::size_t common = std::min(a.size(), b.size());
            if (!std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(common),
                            b.begin())) {
                continue;
            }
            std::int32_t dup = static_cast<std::int32_t>(a.size() < b.size() ? i + 1 : j + 1);
            if (std::find(result.duplicates.begin(), result.duplicates.end(), dup) !=
                result.duplicates.end()) {
                continue;
            }
            if (names && games.names[static_cast<std::size_t>(i)] !=
                             games.names[static_cast<std::size_t>(j)]) {
                continue;
            }
            if (result.duplicates.size() == MaxDuplicates) {
                result.limit_reached = true;
                continue;
            }
            result.duplicates.push_back(dup);
            result.pairs.emplace_back(static_cast<std::int32_t>(i + 1),
                                      static_cast<std::int32_t>(j + 1));
        }
    }
    return result;
}

// The text comparison as written: move pairs and complete pairs, pair by pair.
struct TextGame {
    chess::MainLineMoves moves;
    int pairs = 0;
    int complete = 0;
};

std::vector<TextGame> ReadTexts(const std::string& path,
                                const std::vector<std::uint32_t>& offsets) {
    search::TextGameReader reader(path, offsets);
    std::vector<TextGame> games(offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        EXPECT_TRUE(
            reader.Read(static_cast<std::int32_t>(i), search::TextGameReader::Depth::Moves));
        games[i].moves = reader.Moves();
        games[i].pairs = reader.FullMoves();
        games[i].complete =
            games[i].pairs -
            (games[i].pairs > 0 &&
                     reader.Moves().BlackMoves[static_cast<std::size_t>(games[i].pairs - 1)].empty()
                 ? 1
                 : 0);
    }
    return games;
}

bool TextMatch(const TextGame& a, const TextGame& b) {
    int compared = std::min(a.pairs, b.pairs);
    for (int k = 0; k < compared; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (!(a.moves.WhiteMoves[at] == b.moves.WhiteMoves[at])) return false;
        bool last = k == compared - 1;
        if (last && (a.moves.BlackMoves[at].empty() || b.moves.BlackMoves[at].empty())) return true;
        if (!(a.moves.BlackMoves[at] == b.moves.BlackMoves[at])) return false;
    }
    return true;
}

DuplicateResult TextReference(const std::vector<TextGame>& games,
                              const DuplicateSettings& settings) {
    DuplicateResult result;
    const std::int64_t n = static_cast<std::int64_t>(games.size());
    const std::int64_t l = settings.entire_file ? n : settings.look_ahead;
    const int d = settings.max_move_difference;
    for (std::int64_t i = 0; i + 1 < n; ++i) {
        const TextGame& a = games[static_cast<std::size_t>(i)];
        for (std::int64_t j = i + 1; j < i + l && j < n; ++j) {
            const TextGame& b = games[static_cast<std::size_t>(j)];
            if (std::abs(a.pairs - b.pairs) > d || std::abs(a.complete - b.complete) > d) continue;
            if (!TextMatch(a, b)) continue;
            std::int32_t dup = static_cast<std::int32_t>(a.pairs < b.pairs ? i + 1 : j + 1);
            if (std::find(result.duplicates.begin(), result.duplicates.end(), dup) !=
                result.duplicates.end()) {
                continue;
            }
            result.duplicates.push_back(dup);
            result.pairs.emplace_back(static_cast<std::int32_t>(i + 1),
                                      static_cast<std::int32_t>(j + 1));
        }
    }
    return result;
}

void ExpectSame(const DuplicateResult& found, const DuplicateResult& reference) {
    EXPECT_EQ(found.duplicates, reference.duplicates);
    EXPECT_EQ(found.pairs, reference.pairs);
    EXPECT_EQ(found.limit_reached, reference.limit_reached);
}

std::vector<DuplicateSettings> SettingsRows() {
    std::vector<DuplicateSettings> rows;
    for (bool entire : {false, true}) {
        for (int look_ahead : {2, 7, 100}) {
            if (entire && look_ahead != 100) continue;
            for (int difference : {0, 1, 2, 5}) {
                for (bool names : {false, true}) {
                    rows.push_back({look_ahead, difference, entire, names});
                }
            }
        }
    }
    return rows;
}

std::string RowName(const DuplicateSettings& s) {
    return "look-ahead " + std::to_string(s.look_ahead) + " difference " +
           std::to_string(s.max_move_difference) + (s.entire_file ? " entire" : "") +
           (s.check_names ? " names" : "");
}

// A real collection with duplicates put in: exact copies of games, a copy under other players'
// names, and a game cut short (a prefix of the game it was cut from), at known places.
struct InjectedFile {
    std::string text;
    std::int32_t original_games = 0;
};

InjectedFile MakeInjected() {
    const std::string source = ReadWholeFile(test::TestDataPath("search/players.pgn"));
    TempDir scratch;
    const std::string path = scratch.Write("source.pgn", source);
    pgn::PgnFile file;
    SilentUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    const std::int32_t count = file.ScanGameFile(false, ui);
    auto game_text = [&](std::int32_t game) {
        std::uint32_t begin = file.Index().Offset(game);
        std::uint32_t end = game < count ? file.Index().Offset(game + 1)
                                         : static_cast<std::uint32_t>(source.size());
        return source.substr(begin, end - begin);
    };
    InjectedFile injected;
    injected.original_games = count;
    injected.text = source;
    if (!injected.text.ends_with("\n")) injected.text += "\r\n";
    // Exact copies, far apart and near each other.
    injected.text += game_text(3) + game_text(150) + game_text(count);
    // Another pair of players, same moves.
    std::string renamed = game_text(40);
    std::size_t white = renamed.find("[White \"");
    renamed.insert(white + 8, "Someone Else ");
    injected.text += renamed;
    // The first 20 half-moves of game 77 (a prefix of it).
    search::TextGameReader reader(path, file.Index().Offsets());
    EXPECT_TRUE(reader.Read(76, search::TextGameReader::Depth::Moves));
    std::string moves;
    for (int pair = 0; pair < 10; ++pair) {
        moves +=
            std::to_string(pair + 1) + ". " +
            std::string(reader.Moves().WhiteMoves[static_cast<std::size_t>(pair)].view()) + " " +
            std::string(reader.Moves().BlackMoves[static_cast<std::size_t>(pair)].view()) + " ";
    }
    injected.text += "[Event \"cut\"]\r\n[White \"A\"]\r\n[Black \"B\"]\r\n[Result \"*\"]\r\n\r\n" +
                     moves + "*\r\n\r\n";
    return injected;
}

// Scans `path` and makes its fast file; returns the game index.
std::vector<std::uint32_t> ScanAndMakeFastFile(const std::string& path) {
    pgn::PgnFile file;
    SilentUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    const std::int32_t count = file.ScanGameFile(false, ui);
    std::vector<std::uint32_t> offsets(file.Index().Offsets().begin(),
                                       file.Index().Offsets().end());
    search::PgnGameSource source(path, offsets);
    EXPECT_TRUE(source.Open().ok());
    EXPECT_EQ(search::MakeFastFile(path, count, source, {}).games_written, count);
    return offsets;
}

bool Contains(const DuplicateResult& result, std::int32_t dup, std::int32_t first,
              std::int32_t second) {
    for (std::size_t k = 0; k < result.duplicates.size(); ++k) {
        if (result.duplicates[k] == dup && result.pairs[k] == std::make_pair(first, second)) {
            return true;
        }
    }
    return false;
}

TEST(Duplicates, SamePairsAsTheNestedLoopThroughTheFastFileAndTheText) {
    TempDir dir;
    const InjectedFile injected = MakeInjected();
    const std::string path = dir.Write("injected.pgn", injected.text);
    const std::vector<std::uint32_t> offsets = ScanAndMakeFastFile(path);
    const auto count = static_cast<std::int32_t>(offsets.size());
    const std::int32_t n = injected.original_games;
    ASSERT_EQ(count, n + 5);
    const search::FastFileNames names = search::FastFileNamesOf(path);
    test::RecordingUi ui;
    Result<DuplicateGames> fast = LoadMoveFileGames(names.trf, count, names.trh, ui);
    ASSERT_TRUE(fast.ok()) << fast.error().message();
    EXPECT_TRUE(ui.reports.empty());
    Result<DuplicateGames> text = ReadTextGames(path, offsets, {});
    ASSERT_TRUE(text.ok());
    const std::vector<TextGame> texts = ReadTexts(path, offsets);

    // What was put in is found, both ways, where it was put.
    for (const DuplicateGames* games : {&*fast, &*text}) {
        DuplicateSettings settings{100, 200, true, false};
        DuplicateResult found = FindDuplicates(*games, settings, {});
        EXPECT_TRUE(Contains(found, n + 1, 3, n + 1));
        EXPECT_TRUE(Contains(found, n + 2, 150, n + 2));
        EXPECT_TRUE(Contains(found, n + 3, n, n + 3));
        EXPECT_TRUE(Contains(found, n + 4, 40, n + 4));
        EXPECT_TRUE(Contains(found, n + 5, 77, n + 5));
    }
    DuplicateResult named = FindDuplicates(*fast, {100, 200, true, true}, {});
    EXPECT_TRUE(Contains(named, n + 1, 3, n + 1));
    EXPECT_EQ(std::count(named.duplicates.begin(), named.duplicates.end(), n + 4), 0);

    for (const DuplicateSettings& settings : SettingsRows()) {
        SCOPED_TRACE(RowName(settings));
        ExpectSame(FindDuplicates(*fast, settings, {}), FastReference(*fast, settings));
        if (!settings.check_names) {
            ExpectSame(FindDuplicates(*text, settings, {}), TextReference(texts, settings));
        }
    }
}

// Short random games over few moves make prefixes, equal games and equal names everywhere; the
// grouping must still give the nested loop's pairs in its order.
TEST(Duplicates, RandomGamesPairAsTheNestedLoopDoes) {
    const unsigned seed = 20261206;
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (DuplicateGames::Kind kind :
         {DuplicateGames::Kind::MoveCodes, DuplicateGames::Kind::MoveTexts}) {
        DuplicateGames games;
        games.kind = kind;
        for (int game = 0; game < 400; ++game) {
            int length = static_cast<int>(random() % 7);
            for (int k = 0; k < length; ++k) games.tokens.push_back(random() % 2);
            games.starts.push_back(static_cast<std::uint32_t>(games.tokens.size()));
            games.names.push_back(random() % 3);
        }
        for (const DuplicateSettings& settings : SettingsRows()) {
            SCOPED_TRACE(RowName(settings));
            if (kind == DuplicateGames::Kind::MoveCodes) {
                ExpectSame(FindDuplicates(games, settings, {}), FastReference(games, settings));
                continue;
            }
            // The same games as texts: one move text per token.
            std::vector<TextGame> texts(400);
            for (std::int32_t g = 0; g < 400; ++g) {
                auto moves = games.Moves(g);
                for (std::size_t h = 0; h < moves.size(); ++h) {
                    auto& side = h % 2 == 0 ? texts[g].moves.WhiteMoves : texts[g].moves.BlackMoves;
                    side[h / 2] = chess::MoveText(moves[h] == 0 ? "e4" : "d4");
                }
                texts[g].pairs = static_cast<int>((moves.size() + 1) / 2);
                texts[g].complete = static_cast<int>(moves.size() / 2);
            }
            if (!settings.check_names) {
                ExpectSame(FindDuplicates(games, settings, {}), TextReference(texts, settings));
            }
        }
    }
}

TEST(Duplicates, StopsListingAtTheLimitWithTheNestedLoopsFirstPairs) {
    DuplicateGames games;
    const std::int32_t count = static_cast<std::int32_t>(MaxDuplicates) + 5;
    for (std::int32_t game = 0; game < count; ++game) {
        games.tokens.push_back(0x1C0C);  // e2-e4, the same single move in every game
        games.starts.push_back(static_cast<std::uint32_t>(games.tokens.size()));
    }
    DuplicateResult found = FindDuplicates(games, {100, 2, true, false}, {});
    ASSERT_EQ(found.duplicates.size(), MaxDuplicates);
    EXPECT_TRUE(found.limit_reached);
    for (std::size_t k = 0; k < MaxDuplicates; ++k) {
        EXPECT_EQ(found.pairs[k], std::make_pair(1, static_cast<std::int32_t>(k + 2)));
    }
    // A look-ahead of 2 pairs each game with the next one only.
    found = FindDuplicates(games, {2, 2, false, false}, {});
    EXPECT_EQ(found.pairs[5], std::make_pair(6, 7));
    EXPECT_EQ(DuplicateLines(found)[0], "Game 2 is a duplicate of game 1");
    EXPECT_EQ(DuplicateTitle(found), "10000 Duplicate Games");
}

}  // namespace
}  // namespace qorvale::utilities
