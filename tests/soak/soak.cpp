#include "soak/soak.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "app/extract_variations.h"
#include "openings/opening_tree.h"
#include "openings/tree_source.h"
#include "pgn/game_file_edit.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/database_build.h"
#include "search/database_files.h"
#include "search/database_search.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/pgn_game_source.h"
#include "search/search_list.h"
#include "support/temp_dir.h"
#include "utilities/adjust_file.h"
#include "utilities/check_file.h"
#include "utilities/duplicates.h"
#include "utilities/split_file.h"
#include "utilities/yahoo_conversion.h"

namespace qorvale::soak {

using test::ReadWholeFile;

SoakState::SoakState(const std::vector<std::string>& games)
    : pool(games),
      dir("/dev/shm"),
      path(dir.File("games.pgn")),
      print_list(dir.File("printerq.xyz")) {}

std::string SoakState::Scratch() {
    const std::string scratch = dir.File("scratch");
    if (platform::FolderExists(scratch)) {
        for (const std::string& name : platform::ListFolder(scratch, "*")) {
            platform::DeleteFile(platform::JoinPath(scratch, name));
        }
    } else {
        platform::CreateFolder(scratch);
    }
    return scratch;
}

std::vector<std::uint32_t> SoakState::Offsets() const {
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

std::string SoakState::Reopen() {
    if (Error error = file.Open(path)) return "the file does not open: " + error.message();
    SilentUi silent;
    file.ScanGameFile(false, silent);
    return {};
}

std::vector<std::size_t> GameStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    bool previous_tag = false;
    for (std::size_t line = 0; line < text.size();) {
        std::size_t end = text.find('\n', line);
        end = end == std::string::npos ? text.size() : end + 1;
        const bool tag = text[line] == '[';
        if (tag && !previous_tag) starts.push_back(line);
        previous_tag = tag;
        line = end;
    }
    return starts;
}

std::vector<std::string> SplitGames(const std::string& text) {
    const std::vector<std::size_t> starts = GameStarts(text);
    std::vector<std::string> games;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
        games.push_back(text.substr(starts[k], end - starts[k]));
    }
    return games;
}

std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) == 0) out += c;
    }
    return out;
}

std::string TagValue(const std::string& game, const std::string& name) {
    const std::string opening = "[" + name + " \"";
    const std::size_t at = game.find(opening);
    if (at == std::string::npos || (at != 0 && game[at - 1] != '\n')) return {};
    const std::size_t from = at + opening.size();
    const std::size_t to = game.find("\"]", from);
    return to == std::string::npos ? std::string() : game.substr(from, to - from);
}

namespace {

std::string TrimEnd(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.pop_back();
    }
    return text;
}

std::string Text(std::int64_t value) { return std::to_string(value); }

// Whether `games` holds the model's games, in order, as the model says they were written.
std::string CompareGames(const std::vector<std::string>& games, const std::vector<ModelGame>& model,
                         const std::string& what) {
    if (games.size() != model.size()) {
        return what + " holds " + Text(static_cast<std::int64_t>(games.size())) +
               " games, the model " + Text(static_cast<std::int64_t>(model.size()));
    }
    for (std::size_t k = 0; k < games.size(); ++k) {
        const bool same = model[k].pristine ? TrimEnd(games[k]) == TrimEnd(model[k].text)
                                            : Squeezed(games[k]) == Squeezed(model[k].text);
        if (!same) return what + ": game " + Text(static_cast<std::int64_t>(k + 1)) + " differs";
    }
    return {};
}

std::uint32_t Below(Random& random, std::size_t count) {
    return static_cast<std::uint32_t>(
        std::uniform_int_distribution<std::size_t>(0, count - 1)(random));
}

const std::string& PoolGame(SoakState& state, Random& random) {
    return state.pool[Below(random, state.pool.size())];
}

std::int32_t SomeGame(SoakState& state, Random& random) {
    return static_cast<std::int32_t>(Below(random, state.model.size())) + 1;
}

// A few distinct games, ascending.
std::vector<std::int32_t> SomeGames(SoakState& state, Random& random, std::size_t most) {
    std::vector<std::int32_t> games;
    const std::size_t wanted = 1 + Below(random, std::min(most, state.model.size()));
    while (games.size() < wanted) {
        const std::int32_t game = SomeGame(state, random);
        if (std::find(games.begin(), games.end(), game) == games.end()) games.push_back(game);
    }
    std::sort(games.begin(), games.end());
    return games;
}

void EraseGames(std::vector<ModelGame>& model, const std::vector<std::int32_t>& ascending) {
    for (auto game = ascending.rbegin(); game != ascending.rend(); ++game) {
        model.erase(model.begin() + (*game - 1));
    }
}

std::string MakeFastFileOf(const std::string& path, const std::vector<std::uint32_t>& offsets) {
    search::PgnGameSource source(path, offsets);
    if (!source.Open().ok()) return "the game source does not open";
    search::MakeFastFile(path, static_cast<std::int32_t>(offsets.size()), source, {});
    return {};
}

std::string Saved(const Result<pgn::EditDone>& done, const char* what) {
    if (!done.ok()) return std::string(what) + " refused: " + done.error().message();
    return {};
}

// --- The operations ---

std::string AppendGame(SoakState& state, Random& random) {
    const std::string& game = PoolGame(state, random);
    pgn::GameFileEditor editor(state.file, state.yes);
    if (std::string failure = Saved(editor.SaveGameText(game, pgn::SaveMode::Append), "append");
        !failure.empty()) {
        return failure;
    }
    state.model.push_back({game, true});
    return {};
}

std::string InsertGame(SoakState& state, Random& random) {
    if (state.model.empty()) return AppendGame(state, random);
    const std::int32_t before = SomeGame(state, random);
    const std::string& game = PoolGame(state, random);
    state.file.SetCurrentGameNumber(before);
    pgn::GameFileEditor editor(state.file, state.yes);
    if (std::string failure = Saved(editor.SaveGameText(game, pgn::SaveMode::Insert), "insert");
        !failure.empty()) {
        return failure;
    }
    state.model.insert(state.model.begin() + (before - 1), {game, true});
    return {};
}

std::string OverwriteLast(SoakState& state, Random& random) {
    if (state.model.empty()) return AppendGame(state, random);
    const std::string& game = PoolGame(state, random);
    pgn::GameFileEditor editor(state.file, state.yes);
    if (std::string failure =
            Saved(editor.SaveGameText(game, pgn::SaveMode::OverwriteLast), "overwrite");
        !failure.empty()) {
        return failure;
    }
    state.model.back() = {game, true};
    return {};
}

std::string DeleteGame(SoakState& state, Random& random) {
    if (state.model.size() < 2) return AppendGame(state, random);
    const std::int32_t game = SomeGame(state, random);
    state.file.SetCurrentGameNumber(game);
    pgn::GameFileEditor editor(state.file, state.yes);
    if (std::string failure = Saved(editor.DeleteCurrentGame(), "delete"); !failure.empty()) {
        return failure;
    }
    state.model.erase(state.model.begin() + (game - 1));
    return {};
}

std::string ReplaceGame(SoakState& state, Random& random) {
    if (state.model.empty()) return AppendGame(state, random);
    const std::int32_t game = SomeGame(state, random);
    const std::string& text = PoolGame(state, random);
    state.file.SetCurrentGameNumber(game);
    pgn::GameFileEditor editor(state.file, state.yes);
    if (std::string failure = Saved(editor.ReplaceCurrentGame(text), "replace"); !failure.empty()) {
        return failure;
    }
    state.model[static_cast<std::size_t>(game - 1)] = {text, false};
    return {};
}

// Going to a game shows its records: the game's text.
std::string GoToGame(SoakState& state, Random& random) {
    if (state.model.empty()) return {};
    const std::int32_t game = SomeGame(state, random);
    SilentUi silent;
    if (!state.file.LoadGame(game, silent)) return "game " + Text(game) + " cannot be loaded";
    pgn::GameFileEditor editor(state.file, state.yes);
    Result<std::string> records = editor.GameRecords(game);
    if (!records.ok()) return "the records of game " + Text(game) + " cannot be read";
    if (Squeezed(*records) != Squeezed(state.model[static_cast<std::size_t>(game - 1)].text)) {
        return "game " + Text(game) + " shows other text";
    }
    return {};
}

std::string MakeFastFile(SoakState& state, Random&) {
    return MakeFastFileOf(state.path, state.Offsets());
}

std::string DeleteFastFile(SoakState& state, Random&) {
    SilentUi silent;
    search::DeleteFastFile(state.path, silent);
    return {};
}

// A search for one player's games, by exact name, against a filter over the model.
std::string SearchPlayer(SoakState& state, Random& random) {
    if (state.model.empty()) return {};
    const bool white = Below(random, 2) == 0;
    const char* tag = white ? "White" : "Black";
    const std::string name = TagValue(state.model[Below(random, state.model.size())].text, tag);
    if (name.empty() || name.size() > 20) return {};
    search::SearchCriteria criteria;
    criteria.header.Set(white ? search::HeaderCriterion::White : search::HeaderCriterion::Black,
                        name + "#");
    const std::vector<std::uint32_t> offsets = state.Offsets();
    search::SearchSource source;
    source.pgn_path = state.path;
    source.offsets = offsets;
    source.game_count = static_cast<std::int32_t>(offsets.size());
    source.use_fast_file = Below(random, 2) == 0;
    search::SearchList list;
    SilentUi silent;
    search::SearchHeader(source, criteria, search::Combination::Alone, list, silent);
    std::vector<std::int32_t> found;
    for (const search::FoundGame& game : list.Games()) found.push_back(game.game_number);
    std::sort(found.begin(), found.end());
    std::vector<std::int32_t> expected;
    for (std::size_t k = 0; k < state.model.size(); ++k) {
        if (TagValue(state.model[k].text, tag) == name) {
            expected.push_back(static_cast<std::int32_t>(k + 1));
        }
    }
    if (found != expected) {
        return std::string("the search for ") + tag + " " + name + " found " +
               Text(static_cast<std::int64_t>(found.size())) + " games, the model holds " +
               Text(static_cast<std::int64_t>(expected.size()));
    }
    return {};
}

std::string CopyGames(SoakState& state, Random& random) {
    if (state.model.empty()) return {};
    const std::vector<std::int32_t> games = SomeGames(state, random, 4);
    const std::string target = platform::JoinPath(state.Scratch(), "copy.pgn");
    pgn::GameFileEditor editor(state.file, state.yes);
    if (std::string failure = Saved(editor.CopyNavigationGames(games, target, false), "copy");
        !failure.empty()) {
        return failure;
    }
    std::vector<ModelGame> copied;
    for (std::int32_t game : games) {
        copied.push_back({state.model[static_cast<std::size_t>(game - 1)].text, false});
    }
    return CompareGames(SplitGames(ReadWholeFile(target)), copied, "the copy");
}

std::string Reopen(SoakState& state, Random&) { return state.Reopen(); }

std::string CheckFileUnchanged(SoakState& state, Random&) {
    const std::string before = ReadWholeFile(state.path);
    utilities::CheckFileRequest request;
    request.pgn_path = state.path;
    request.offsets = state.Offsets();
    (void)utilities::CheckFile(request, {}, state.yes);
    if (ReadWholeFile(state.path) != before) return "checking the file changed it";
    return {};
}

// Check File deleting the listed games, and the duplicates' deletion: both take games out.
std::string DeleteListed(SoakState& state, Random& random) {
    if (state.model.size() < 3) return AppendGame(state, random);
    const std::vector<std::int32_t> games = SomeGames(state, random, 2);
    utilities::CheckFileRequest request;
    request.pgn_path = state.path;
    request.offsets = state.Offsets();
    request.mode = utilities::CheckMode::DeleteListedGames;
    request.listed_games = games;
    (void)utilities::CheckFile(request, {}, state.yes);
    EraseGames(state.model, games);
    return state.Reopen();
}

std::string DeleteDuplicates(SoakState& state, Random& random) {
    if (state.model.size() < 3) return AppendGame(state, random);
    const std::vector<std::int32_t> games = SomeGames(state, random, 2);
    if (Error error =
            utilities::DeleteGamesFromFile(state.path, state.Offsets(), false, games, state.yes)) {
        return "the duplicates' deletion failed: " + error.message();
    }
    EraseGames(state.model, games);
    return state.Reopen();
}

std::string CopyOfFile(SoakState& state) {
    const std::string copy = platform::JoinPath(state.Scratch(), "copy.pgn");
    platform::CopyFile(state.path, copy);
    return copy;
}

std::string SplitCopy(SoakState& state, Random&) {
    const std::string copy = CopyOfFile(state);
    const std::string original = ReadWholeFile(copy);
    utilities::OperationControl agree;
    agree.ask = [](std::string_view) { return true; };
    const utilities::SplitResult result = utilities::SplitFile({copy, false}, agree, nullptr);
    if (result.error) return "the split failed: " + result.error.message();
    std::string joined;
    for (const std::string& part : result.files) joined += ReadWholeFile(part);
    if (!result.files.empty() && joined != original) return "the split's parts are not the file";
    if (ReadWholeFile(copy) != original) return "the split changed its source";
    return {};
}

std::string AdjustCopy(SoakState& state, Random&) {
    const std::string copy = CopyOfFile(state);
    utilities::OperationControl agree;
    agree.ask = [](std::string_view) { return true; };
    (void)utilities::AdjustFile({copy, state.Offsets(), false, 0}, agree, state.yes);
    const std::vector<std::string> games = SplitGames(ReadWholeFile(copy));
    if (games.size() != state.model.size()) return "the adjusted copy lost games";
    for (std::size_t k = 0; k < games.size(); ++k) {
        if (TagValue(games[k], "White") != TagValue(state.model[k].text, "White")) {
            return "the adjusted copy's game " + Text(static_cast<std::int64_t>(k + 1)) +
                   " has another White player";
        }
    }
    return {};
}

// `old_bytes` must start what is there `now`, followed by `added` whole games; those games are
// returned through `games`.
std::string KeptThenAdded(const std::string& old_bytes, const std::string& now, std::size_t added,
                          std::vector<std::string>& games, const char* what) {
    if (now.compare(0, old_bytes.size(), old_bytes) != 0) {
        return std::string(what) + " changed the games already there";
    }
    games = SplitGames(now.substr(old_bytes.size()));
    if (games.size() != added) {
        return std::string(what) + " added " + Text(static_cast<std::int64_t>(games.size())) +
               " games, " + Text(static_cast<std::int64_t>(added)) + " expected";
    }
    return {};
}

// A game's movetext as the test reads it: tag lines, "%" lines and comments become spaces.
std::string MovetextOf(const std::string& game) {
    std::string moves;
    bool braces = false;
    bool rest_of_line = false;
    bool line_start = true;
    for (const char c : game) {
        if (line_start && !braces && (c == '[' || c == '%')) rest_of_line = true;
        line_start = c == '\n';
        if (rest_of_line) {
            rest_of_line = c != '\n';
        } else if (braces) {
            braces = c != '}';
        } else if (c == '{') {
            braces = true;
        } else if (c == ';') {
            rest_of_line = true;
        } else {
            moves += c;
            continue;
        }
        moves += ' ';
    }
    return moves;
}

// The variations of a game, counted by their opening brackets: each becomes a game of its own,
// the nested ones too.
std::size_t CountVariations(const std::string& game) {
    const std::string moves = MovetextOf(game);
    return static_cast<std::size_t>(std::count(moves.begin(), moves.end(), '('));
}

// Extract Variations of one game, or of all, onto the end of a copy of the file.
std::string ExtractVariationsOntoCopy(SoakState& state, Random& random) {
    if (state.model.empty()) return {};
    const std::string target = CopyOfFile(state);
    const std::string before = ReadWholeFile(target);
    const std::vector<std::uint32_t> offsets = state.Offsets();
    const std::int32_t game = Below(random, 2) == 0 ? 0 : SomeGame(state, random);
    std::size_t expected = 0;
    for (std::size_t k = 0; k < state.model.size(); ++k) {
        if (game == 0 || static_cast<std::size_t>(game) == k + 1) {
            expected += CountVariations(state.model[k].text);
        }
    }
    const app::ExtractVariationsRequest request{state.path, offsets, game, target, true};
    const Result<app::ExtractVariationsDone> done =
        app::ExtractVariations(request, state.yes, platform::SystemFileSystem());
    if (!done.ok()) return "extracting variations failed: " + done.error().message();
    std::vector<std::string> added;
    if (std::string failure =
            KeptThenAdded(before, ReadWholeFile(target), expected, added, "extracting variations");
        !failure.empty()) {
        return failure;
    }
    for (const std::string& derived : added) {
        if (TagValue(derived, "Event").find(" (variation ") == std::string::npos) {
            return "an extracted variation's Event does not say so";
        }
    }
    return {};
}

// Games saved from Yahoo chess, converted onto the end of a copy of the file.
std::string ConvertYahoo(SoakState& state, Random& random) {
    static const char* const records[] = {
        ";White: soak_white\r\n;Black: soak_black\r\n;Date: Wed Jan 5 10:20:30 GMT 2005\r\n"
        "\r\n1. e4 e5 2. Nf3 Nc6\r\n\r\n",
        ";Title: Yahoo! Chess Game\r\n;White: first_player\r\n;Black: second_player\r\n"
        "\r\n1. d4 d5 2. c4 e6 3. Nc3 Nf6\r\n\r\n",
        ";White: castler\r\n;Black: other\r\n\r\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. o-o Nf6\r\n"
        "\r\n",
    };
    std::string text;
    std::vector<std::string> whites;
    const std::size_t count = 1 + Below(random, 4);
    for (std::size_t k = 0; k < count; ++k) {
        const std::string record = records[Below(random, std::size(records))];
        text += record;
        const std::size_t at = record.find(";White: ") + 8;
        whites.push_back(record.substr(at, record.find('\r', at) - at));
    }
    const std::string target = CopyOfFile(state);
    const std::string before = ReadWholeFile(target);
    const utilities::YahooResult result =
        utilities::ConvertYahooGames(text, {target, state.path}, state.yes, nullptr);
    if (result.error) return "the Yahoo conversion failed: " + result.error.message();
    std::vector<std::string> added;
    if (std::string failure =
            KeptThenAdded(before, ReadWholeFile(target), count, added, "the Yahoo conversion");
        !failure.empty()) {
        return failure;
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (TagValue(added[k], "White") != whites[k]) {
            return "converted Yahoo game " + Text(static_cast<std::int64_t>(k + 1)) +
                   " has another White player";
        }
    }
    return {};
}

// A game's text added to the print list; now and then the list is printed, which ends it.
std::string PrintGameText(SoakState& state, Random& random) {
    if (!state.model.empty()) {
        const std::string& game = state.model[SomeGame(state, random) - 1].text;
        if (!state.print_list.Add(output::TextEntryOf(game), state.yes)) {
            return "a game could not be added to the print list";
        }
        state.printed.push_back(game);
    }
    SilentUi silent;
    const std::optional<std::vector<output::PrintEntry>> entries = state.print_list.Entries(silent);
    const std::size_t found = entries ? entries->size() : 0;
    if (found != state.printed.size()) {
        return "the print list holds " + Text(static_cast<std::int64_t>(found)) +
               " entries, the model " + Text(static_cast<std::int64_t>(state.printed.size()));
    }
    for (std::size_t k = 0; k < found; ++k) {
        const auto* text = std::get_if<output::PrintTextEntry>(&(*entries)[k]);
        std::string joined;
        for (const std::string& record : text ? text->records : std::vector<std::string>{}) {
            joined += record;
        }
        if (Squeezed(joined) != Squeezed(state.printed[k])) {
            return "print list entry " + Text(static_cast<std::int64_t>(k + 1)) +
                   " is not the game added";
        }
    }
    if (Below(random, 4) == 0) {
        state.print_list.Close();
        state.printed.clear();
    }
    return {};
}

// A game's first move as the file writes it, without its number and marks; "" for a game without
// moves.
std::string FirstMove(const std::string& game) {
    std::istringstream tokens(MovetextOf(game));
    std::string token;
    while (tokens >> token) {
        // "1." and "1.e4" alike: the move follows the number's dots.
        const std::size_t dots = token.find_first_not_of("0123456789.");
        if (dots == std::string::npos) continue;
        if (dots > 0 && token[dots - 1] != '.') break;  // a result such as "1-0"
        token = token.substr(dots);
        if (token == "*" || token[0] == '$') break;
        std::erase_if(token, [](char c) { return c == '!' || c == '?' || c == '+' || c == '#'; });
        return token;
    }
    return {};
}

// The opening tree of the file: its first moves, with their games and wins, against a count over
// the model. A tree kept from an earlier state of the file must be found stale, never shown.
std::string OpenTree(SoakState& state, Random& random) {
    struct Expected {
        std::uint32_t games = 0;
        std::uint32_t white_wins = 0;
        std::uint32_t black_wins = 0;
    };
    std::map<std::string, Expected> expected;
    for (const ModelGame& game : state.model) {
        const std::string move = FirstMove(game.text);
        if (move.empty()) continue;
        Expected& counts = expected[move];
        ++counts.games;
        const std::string result = TagValue(game.text, "Result");
        counts.white_wins += result == "1-0";
        counts.black_wins += result == "0-1";
    }
    openings::TreeSourceRequest request;
    request.path = state.path;
    request.offsets = state.Offsets();
    request.game_count = static_cast<std::int32_t>(state.model.size());
    request.use_fast_file = Below(random, 2) == 0;
    auto source = openings::TreeSource::Open(request);
    if (!source.ok()) return "the tree's source does not open: " + source.error().message();
    openings::OpeningTree tree;
    SilentUi silent;
    if (Error error = tree.Open(std::move(source).value(), {}, silent)) {
        return "the tree does not open: " + error.message();
    }
    std::map<std::string, Expected> found;
    for (const openings::NextMove& move : tree.Children()) {
        found[std::string(move.text.view())] = {move.games, move.wins.white_wins,
                                                move.wins.black_wins};
    }
    for (const auto& [move, counts] : expected) {
        const Expected& tree_counts = found[move];
        if (tree_counts.games != counts.games || tree_counts.white_wins != counts.white_wins ||
            tree_counts.black_wins != counts.black_wins) {
            return "the tree has " + Text(tree_counts.games) + " games of 1." + move + " (" +
                   Text(tree_counts.white_wins) + " won by White), the model " +
                   Text(counts.games) + " (" + Text(counts.white_wins) + ")";
        }
    }
    if (found.size() != expected.size()) return "the tree has first moves no game plays";
    return {};
}

// A database built from the file, searched for one player's games by exact name.
std::string DatabaseSearch(SoakState& state, Random& random) {
    if (state.model.empty()) return {};
    const std::string name = TagValue(state.model[Below(random, state.model.size())].text, "White");
    if (name.empty() || name.size() > 20) return {};
    if (std::string failure = MakeFastFileOf(state.path, state.Offsets()); !failure.empty()) {
        return failure;
    }
    search::DbBuildRequest request;
    request.db_path = platform::JoinPath(state.Scratch(), "games.dbg");
    request.pgn_path = state.path;
    request.game_count = static_cast<std::int32_t>(state.model.size());
    const search::DbBuildOutcome built = search::MakeDatabase(request, {});
    if (built.error) return "the database was not built: " + built.error.message();
    Result<search::Database> database = search::Database::Open(request.db_path);
    if (!database.ok()) return "the database does not open: " + database.error().message();
    search::DbSearchCriteria criteria;
    criteria.white = name + "#";
    const search::DbSearchResult found = database->Search(criteria);
    if (found.error) return "the database search failed: " + found.error.message();
    // The database finds players by key (surname and initial, letters only): every game of the
    // model whose White player has the name's key, the name's own games among them.
    const std::string key = search::MakeDbNameKey(name, search::DbKeyMode::Build).text;
    std::size_t expected = 0;
    std::size_t expected_exact = 0;
    for (const ModelGame& game : state.model) {
        const std::string white = TagValue(game.text, "White");
        expected += search::MakeDbNameKey(white, search::DbKeyMode::Build).text == key;
        expected_exact += white == name;
    }
    std::size_t exact = 0;
    for (std::uint32_t record : found.records) {
        search::HeaderValues header;
        if (!database->Header(record, header)) return "a found game's header cannot be read";
        exact += header[static_cast<std::size_t>(search::HeaderField::White)] == name;
    }
    if (found.records.size() != expected || exact != expected_exact) {
        return "the database search for " + name + " found " +
               Text(static_cast<std::int64_t>(found.records.size())) + " games (" +
               Text(static_cast<std::int64_t>(exact)) + " of the name), the model holds " +
               Text(static_cast<std::int64_t>(expected)) + " (" +
               Text(static_cast<std::int64_t>(expected_exact)) + ")";
    }
    return {};
}

}  // namespace

const std::vector<SoakOperation>& SoakOperations() {
    static const std::vector<SoakOperation> operations = {
        {"append", 6, AppendGame},
        {"insert", 4, InsertGame},
        {"overwrite last", 2, OverwriteLast},
        {"delete", 4, DeleteGame},
        {"replace", 3, ReplaceGame},
        {"go to game", 4, GoToGame},
        {"make fast file", 3, MakeFastFile},
        {"delete fast file", 1, DeleteFastFile},
        {"search player", 4, SearchPlayer},
        {"copy games", 2, CopyGames},
        {"reopen", 2, Reopen},
        {"check file", 1, CheckFileUnchanged},
        {"check file deleting listed games", 1, DeleteListed},
        {"delete duplicates", 1, DeleteDuplicates},
        {"split a copy", 1, SplitCopy},
        {"adjust a copy", 1, AdjustCopy},
        {"build and search a database", 1, DatabaseSearch},
        {"extract variations onto a copy", 1, ExtractVariationsOntoCopy},
        {"convert Yahoo games onto a copy", 1, ConvertYahoo},
        {"add a game's text to the print list", 1, PrintGameText},
        {"open the opening tree", 2, OpenTree},
    };
    return operations;
}

std::string CheckInvariants(SoakState& state) {
    const std::string bytes = ReadWholeFile(state.path);
    if (std::string failure = CompareGames(SplitGames(bytes), state.model, "the file");
        !failure.empty()) {
        return failure;
    }
    std::vector<std::uint32_t> expected;
    for (std::size_t start : GameStarts(bytes))
        expected.push_back(static_cast<std::uint32_t>(start));
    if (state.Offsets() != expected) return "the session's game index is not the file's";
    // Opening it afresh, through the offset cache beside it, gives the same index.
    pgn::PgnFile fresh;
    if (fresh.Open(state.path)) return "the file does not open afresh";
    SilentUi silent;
    fresh.ScanGameFile(false, silent);
    if (!std::equal(expected.begin(), expected.end(), fresh.Index().Offsets().begin(),
                    fresh.Index().Offsets().end())) {
        return "the index read through the offset cache is not the file's";
    }
    const std::int32_t count = static_cast<std::int32_t>(expected.size());
    if (search::FastFileStateOf(state.path, count) == search::FastFileState::Current) {
        // A current fast file must be what making it now gives.
        const std::string copy = CopyOfFile(state);
        if (std::string failure = MakeFastFileOf(copy, expected); !failure.empty()) return failure;
        const search::FastFileNames made = search::FastFileNamesOf(copy);
        const search::FastFileNames kept = search::FastFileNamesOf(state.path);
        if (ReadWholeFile(made.trf) != ReadWholeFile(kept.trf) ||
            ReadWholeFile(made.trh) != ReadWholeFile(kept.trh)) {
            return "the fast file reads as current but is not the one made now";
        }
    }
    return {};
}

std::vector<Step> MakeSteps(std::uint64_t seed, std::size_t count) {
    const std::vector<SoakOperation>& operations = SoakOperations();
    std::vector<int> weights;
    for (const SoakOperation& operation : operations) weights.push_back(operation.weight);
    Random random(seed);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::vector<Step> steps;
    for (std::size_t k = 0; k < count; ++k) steps.push_back({pick(random), random()});
    return steps;
}

RunOutcome Replay(const std::vector<std::string>& pool, const std::vector<Step>& steps) {
    SoakState state(pool);
    // The session starts on a file of three games.
    std::string start;
    for (std::size_t k = 0; k < 3; ++k) {
        start += pool[k];
        state.model.push_back({pool[k], true});
    }
    state.dir.Write("games.pgn", start);
    if (std::string failure = state.Reopen(); !failure.empty()) return {failure, 0};
    const std::vector<SoakOperation>& operations = SoakOperations();
    for (std::size_t k = 0; k < steps.size(); ++k) {
        Random random(steps[k].seed);
        std::string failure = operations[steps[k].operation].run(state, random);
        if (failure.empty()) failure = CheckInvariants(state);
        if (!failure.empty()) {
            return {std::string(operations[steps[k].operation].name) + ": " + failure, k};
        }
    }
    return {};
}

std::vector<Step> Shrink(const std::vector<std::string>& pool, std::vector<Step> steps) {
    RunOutcome outcome = Replay(pool, steps);
    if (outcome.failure.empty()) return steps;
    steps.resize(outcome.failed_at + 1);
    for (std::size_t k = steps.size(); k-- > 0;) {
        if (steps.size() == 1) break;
        std::vector<Step> shorter = steps;
        shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(k));
        if (!Replay(pool, shorter).failure.empty()) steps = std::move(shorter);
    }
    return steps;
}

std::string Describe(const std::vector<Step>& steps) {
    std::ostringstream out;
    for (const Step& step : steps) {
        out << "  " << SoakOperations()[step.operation].name << " (choices " << step.seed << ")\n";
    }
    return out.str();
}

std::vector<std::string> GamePool() {
    std::vector<std::string> pool;
    for (const char* name :
         {"gui/annotated-matches.pgn", "harden/fischer.pgn", "search/crafted.pgn"}) {
        for (std::string& game : SplitGames(ReadWholeFile(test::TestDataPath(name)))) {
            // Games from set-up positions have no opening tree; the tree step needs one.
            if (game.find("[FEN ") == std::string::npos) pool.push_back(std::move(game));
        }
    }
    return pool;
}

}  // namespace qorvale::soak
