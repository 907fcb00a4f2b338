#include "utilities/duplicates.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>

#include "platform/file.h"
#include "search/fast_file_reader.h"
#include "search/header_file.h"
#include "search/text_game_reader.h"
#include "utilities/file_rewrite.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

// An entire-file check compares each game with every later one.
constexpr std::int64_t EntireFileLookAhead = 999999999;
constexpr std::uint64_t HashFactor = 0x9E3779B97F4A7C15ull;

std::uint64_t Extend(std::uint64_t hash, std::uint32_t token) {
    return hash * HashFactor + token + 1;
}

// How two lengths (in half-moves) compare under the source's rule.
struct LengthRule {
    DuplicateGames::Kind kind;
    std::int64_t max_difference;

    static std::int64_t Pairs(std::uint32_t half_moves) { return (half_moves + 1) / 2; }
    static std::int64_t CompletePairs(std::uint32_t half_moves) { return half_moves / 2; }

    bool Compatible(std::uint32_t a, std::uint32_t b) const {
        if (kind == DuplicateGames::Kind::MoveCodes) {
            return std::abs(static_cast<std::int64_t>(a) - b) <= max_difference;
        }
        return std::abs(Pairs(a) - Pairs(b)) <= max_difference &&
               std::abs(CompletePairs(a) - CompletePairs(b)) <= max_difference;
    }
    // Of two games of `shorter` < `longer` half-moves, whether the shorter is the duplicate
    // whichever comes first; otherwise (texts with as many move pairs) the later one is.
    bool ShorterIsDuplicate(std::uint32_t shorter, std::uint32_t longer) const {
        return kind == DuplicateGames::Kind::MoveCodes || Pairs(shorter) < Pairs(longer);
    }
    // How many half-moves a game can be longer than one of its duplicates.
    std::uint32_t MaxDrop() const {
        std::int64_t drop =
            kind == DuplicateGames::Kind::MoveCodes ? max_difference : 2 * max_difference + 1;
        return static_cast<std::uint32_t>(std::min<std::int64_t>(drop, 1 << 20));
    }
};

struct ClassKey {
    std::uint64_t hash;
    std::uint32_t length;
    std::uint32_t names;
    friend bool operator==(const ClassKey&, const ClassKey&) = default;
};

// An open-addressing table of classes by key: one slot per class, so classes whose keys collide
// simply sit further along the probe.
class ClassIndex {
  public:
    explicit ClassIndex(std::size_t classes) {
        std::size_t size = 16;
        while (size < classes * 2) size *= 2;
        slots_.assign(size, Slot{});
        mask_ = size - 1;
    }
    // Calls `visit(class)` for every class stored under `key` until it returns true; returns
    // that class or -1.
    template <typename Visit>
    std::int32_t Find(const ClassKey& key, Visit&& visit) const {
        for (std::size_t at = Home(key);; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.cls < 0) return -1;
            if (slot.key == key && visit(slot.cls)) return slot.cls;
        }
    }
    void Insert(const ClassKey& key, std::int32_t cls) {
        std::size_t at = Home(key);
        while (slots_[at].cls >= 0) at = (at + 1) & mask_;
        slots_[at] = {key, cls};
    }

  private:
    struct Slot {
        ClassKey key{};
        std::int32_t cls = -1;
    };
    std::size_t Home(const ClassKey& key) const {
        std::uint64_t mixed = key.hash ^ (std::uint64_t{key.length} * 0xC2B2AE3D27D4EB4Full) ^
                              (std::uint64_t{key.names} * 0x165667B19E3779F9ull);
        mixed ^= mixed >> 29;
        mixed *= 0xBF58476D1CE4E5B9ull;
        mixed ^= mixed >> 32;
        return static_cast<std::size_t>(mixed) & mask_;
    }
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

std::uint64_t PairKey(std::int32_t first, std::int32_t second) {
    return (static_cast<std::uint64_t>(first) << 32) | static_cast<std::uint32_t>(second);
}

// Games grouped by their moves (and players): every member of a class has the same moves.
class GameClasses {
  public:
    GameClasses(const DuplicateGames& games, bool by_names)
        : games_(games), by_names_(by_names), index_(static_cast<std::size_t>(games.Count())) {}

    // Puts every game into its class; false when cancelled.
    bool Build(const OperationControl& control) {
        const std::int32_t count = games_.Count();
        class_of_.resize(static_cast<std::size_t>(count));
        for (std::int32_t game = 0; game < count; ++game) {
            if (game % 100 == 0) {
                control.Progress(game, 0, count);
                if (control.Cancelled()) return false;
            }
            std::uint64_t hash = 0;
            for (std::uint32_t token : games_.Moves(game)) hash = Extend(hash, token);
            ClassKey key{hash, games_.Length(game), NamesOf(game)};
            std::int32_t found = Find(key, games_.Moves(game));
            if (found < 0) {
                found = static_cast<std::int32_t>(representative_.size());
                representative_.push_back(game);
                index_.Insert(key, found);
            }
            class_of_[static_cast<std::size_t>(game)] = found;
        }
        // Members of each class in game order, one run per class.
        const std::size_t classes = representative_.size();
        start_.assign(classes + 1, 0);
        for (std::int32_t c : class_of_) ++start_[static_cast<std::size_t>(c) + 1];
        for (std::size_t c = 0; c < classes; ++c) start_[c + 1] += start_[c];
        members_.resize(static_cast<std::size_t>(count));
        std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
        for (std::int32_t game = 0; game < count; ++game) {
            members_[fill[static_cast<std::size_t>(class_of_[static_cast<std::size_t>(game)])]++] =
                game;
        }
        return true;
    }

    // The class whose moves are `moves` (and whose players are those of the key), or -1.
    std::int32_t Find(const ClassKey& key, std::span<const std::uint32_t> moves) const {
        return index_.Find(key, [&](std::int32_t c) {
            std::span<const std::uint32_t> other = games_.Moves(Representative(c));
            return other.size() == moves.size() &&
                   std::equal(other.begin(), other.end(), moves.begin());
        });
    }

    std::int32_t Count() const { return static_cast<std::int32_t>(representative_.size()); }
    std::int32_t Representative(std::int32_t c) const {
        return representative_[static_cast<std::size_t>(c)];
    }
    std::span<const std::int32_t> Members(std::int32_t c) const {
        const auto at = static_cast<std::size_t>(c);
        return std::span<const std::int32_t>(members_).subspan(start_[at],
                                                               start_[at + 1] - start_[at]);
    }
    std::uint32_t NamesOf(std::int32_t game) const {
        return by_names_ ? games_.names[static_cast<std::size_t>(game)] : 0;
    }

  private:
    const DuplicateGames& games_;
    bool by_names_;
    ClassIndex index_;
    std::vector<std::int32_t> representative_;
    std::vector<std::int32_t> class_of_;
    std::vector<std::uint32_t> start_;
    std::vector<std::int32_t> members_;
};

// A class whose moves begin another class's, with the rule that picks the duplicate of a pair.
struct Link {
    std::int32_t from;     // the class whose partners these are
    std::int32_t partner;  // the other class
    bool shorter_rule;     // `from` is the shorter class and always holds the duplicate
};

// The smallest member of `sorted` from `low` on, or -1.
std::int32_t FirstFrom(std::span<const std::int32_t> sorted, std::int64_t low) {
    auto it = std::lower_bound(sorted.begin(), sorted.end(), low);
    return it == sorted.end() ? -1 : *it;
}

// One token per half-move: White's text of every pair, Black's when the pair has one.
template <typename TokenOf>
void AppendTextTokens(const chess::MainLineMoves& moves, int full_moves,
                      std::vector<std::uint32_t>& out, TokenOf&& token_of) {
    auto packed = [](const chess::MoveText& text) {
        std::uint64_t value = 0;
        std::memcpy(&value, text.bytes.data(), sizeof value);
        return value;
    };
    for (int pair = 0; pair < full_moves && pair < chess::MaxFullMoves; ++pair) {
        const auto at = static_cast<std::size_t>(pair);
        out.push_back(token_of(packed(moves.WhiteMoves[at])));
        if (!moves.BlackMoves[at].empty()) out.push_back(token_of(packed(moves.BlackMoves[at])));
    }
}

void AddPair(DuplicateResult& result, std::int32_t first, std::int32_t second, std::int32_t dup) {
    result.duplicates.push_back(dup + 1);
    result.pairs.emplace_back(first + 1, second + 1);
}

}  // namespace

DuplicateWindow WindowOf(const DuplicateSettings& settings, const DuplicateGames& games) {
    DuplicateWindow window;
    if (games.kind == DuplicateGames::Kind::MoveCodes) {
        window.look_ahead = settings.entire_file ? EntireFileLookAhead : settings.look_ahead;
        window.max_difference = settings.max_move_difference * 2;
    } else {
        window.look_ahead = settings.entire_file ? games.Count() : settings.look_ahead;
        window.max_difference = settings.max_move_difference;
    }
    return window;
}

DuplicateResult FindDuplicates(const DuplicateGames& games, const DuplicateSettings& settings,
                               const OperationControl& control) {
    DuplicateResult result;
    const DuplicateWindow window = WindowOf(settings, games);
    const std::int64_t look_ahead = window.look_ahead;
    if (games.Count() < 2 || look_ahead < 2 || window.max_difference < 0) return result;
    const LengthRule rule{games.kind, window.max_difference};
    const bool by_names = settings.check_names && !games.names.empty();

    GameClasses classes(games, by_names);
    if (!classes.Build(control)) {
        result.cancelled = true;
        return result;
    }

    // Each class is linked to the classes whose moves it begins, when their lengths may pair.
    std::vector<Link> links;
    std::vector<std::uint64_t> prefix_hash;
    for (std::int32_t c = 0; c < classes.Count(); ++c) {
        const std::int32_t representative = classes.Representative(c);
        std::span<const std::uint32_t> moves = games.Moves(representative);
        const auto length = static_cast<std::uint32_t>(moves.size());
        const std::uint32_t drop = std::min(rule.MaxDrop(), length);
        if (drop == 0) continue;
        prefix_hash.assign(length + 1, 0);
        for (std::uint32_t m = 0; m < length; ++m)
            prefix_hash[m + 1] = Extend(prefix_hash[m], moves[m]);
        for (std::uint32_t k = 1; k <= drop; ++k) {
            const std::uint32_t shorter = length - k;
            if (!rule.Compatible(shorter, length)) continue;
            ClassKey key{prefix_hash[shorter], shorter, classes.NamesOf(representative)};
            std::int32_t prefix_class = classes.Find(key, moves.first(shorter));
            if (prefix_class < 0) continue;
            if (rule.ShorterIsDuplicate(shorter, length)) {
                links.push_back({prefix_class, c, true});
            } else {
                links.push_back({prefix_class, c, false});
                links.push_back({c, prefix_class, false});
            }
        }
    }
    std::sort(links.begin(), links.end(),
              [](const Link& a, const Link& b) { return a.from < b.from; });

    // For each game, the first pair (in the nested loop's order) that makes it a duplicate.
    std::vector<std::pair<std::uint64_t, std::int32_t>> first_pairs;
    std::vector<std::int32_t> later_partners;    // any of them before the game makes it one
    std::vector<std::int32_t> shorter_partners;  // any of them, before or after
    std::size_t link = 0;
    for (std::int32_t c = 0; c < classes.Count(); ++c) {
        if (c % 4096 == 0 && control.Cancelled()) {
            result.cancelled = true;
            return result;
        }
        std::span<const std::int32_t> members = classes.Members(c);
        later_partners.assign(members.begin(), members.end());
        shorter_partners.clear();
        bool merged = false;
        for (; link < links.size() && links[link].from == c; ++link) {
            std::span<const std::int32_t> other = classes.Members(links[link].partner);
            auto& list = links[link].shorter_rule ? shorter_partners : later_partners;
            list.insert(list.end(), other.begin(), other.end());
            merged = true;
        }
        if (merged) {
            std::sort(later_partners.begin(), later_partners.end());
            std::sort(shorter_partners.begin(), shorter_partners.end());
        }
        for (std::int32_t game : members) {
            std::uint64_t best = UINT64_MAX;
            const std::int64_t low = game - look_ahead + 1;
            std::int32_t earlier = FirstFrom(later_partners, low);
            if (earlier >= 0 && earlier < game) best = PairKey(earlier, game);
            std::int32_t partner = FirstFrom(shorter_partners, low);
            if (partner >= 0 && partner < game) {
                best = std::min(best, PairKey(partner, game));
            } else if (partner > game && partner - game < look_ahead) {
                best = std::min(best, PairKey(game, partner));
            }
            if (best != UINT64_MAX) first_pairs.emplace_back(best, game);
        }
    }
    std::sort(first_pairs.begin(), first_pairs.end());
    result.limit_reached = first_pairs.size() > MaxDuplicates;
    if (result.limit_reached) first_pairs.resize(MaxDuplicates);
    for (const auto& [key, game] : first_pairs) {
        AddPair(result, static_cast<std::int32_t>(key >> 32),
                static_cast<std::int32_t>(key & 0xFFFFFFFFu), game);
    }
    return result;
}

DuplicateResult FindDuplicatesOfGame(const DuplicateGames& games,
                                     const chess::MainLineMoves& current, int full_moves,
                                     std::int32_t current_game, const DuplicateSettings& settings) {
    DuplicateResult result;
    // The shown game's texts in the file's tokens; a text no game of the file holds gets a token
    // of its own, which matches nothing.
    std::unordered_map<std::uint64_t, std::uint32_t> ids;
    for (std::size_t id = 0; id < games.texts.size(); ++id) {
        ids.emplace(games.texts[id], static_cast<std::uint32_t>(id));
    }
    std::vector<std::uint32_t> moves;
    AppendTextTokens(current, full_moves, moves, [&](std::uint64_t packed) {
        auto it = ids.find(packed);
        return it == ids.end() ? UINT32_MAX : it->second;
    });
    const LengthRule rule{DuplicateGames::Kind::MoveTexts, settings.max_move_difference};
    const auto length = static_cast<std::uint32_t>(moves.size());
    for (std::int32_t game = 0; game < games.Count(); ++game) {
        if (game + 1 == current_game) continue;
        std::span<const std::uint32_t> other = games.Moves(game);
        const auto other_length = static_cast<std::uint32_t>(other.size());
        if (!rule.Compatible(length, other_length)) continue;
        const std::size_t common = std::min(moves.size(), other.size());
        if (!std::equal(other.begin(), other.begin() + static_cast<std::ptrdiff_t>(common),
                        moves.begin())) {
            continue;
        }
        if (result.duplicates.size() >= MaxDuplicates) {
            result.limit_reached = true;
            break;
        }
        const std::int32_t shown = current_game - 1;
        AddPair(result, std::min(shown, game), std::max(shown, game), game);
    }
    return result;
}

Result<DuplicateGames> LoadMoveFileGames(const std::string& move_file_path,
                                         std::int32_t expected_count,
                                         const std::string& header_path, Ui& ui) {
    DuplicateGames games;
    games.kind = DuplicateGames::Kind::MoveCodes;
    try {
        platform::File file = platform::File::Open(move_file_path, platform::File::Mode::Read);
        if (!file.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
        const std::int64_t size = file.Size();
        if (size < 0) return Error(std::string(messages::ErrorOpeningFile));
        // The same walk as the move file's reader: records split by bit 15, at most
        // MaxRecordCodes codes each, closed by the end mark. Every code is kept: the comparison
        // needs each record at hand.
        const Error damaged{std::string(messages::MakeFastFileAgain)};
        games.tokens.reserve(static_cast<std::size_t>(size / 2));
        constexpr std::size_t Block = 1 << 20;
        std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[Block + 1]);
        std::size_t carried = 0;  // an odd byte left from the last read
        std::size_t codes = 0;
        bool ended = false;
        while (!ended) {
            std::int64_t got = file.Read(block.get() + carried, static_cast<std::int64_t>(Block));
            if (got < 0) return Error(std::string(messages::ErrorOpeningFile));
            if (got == 0) break;
            const std::size_t filled = carried + static_cast<std::size_t>(got);
            std::size_t at = 0;
            for (; at + 1 < filled; at += 2) {
                const std::uint32_t word = block[at] | (std::uint32_t{block[at + 1]} << 8);
                if (search::IsResultWord(static_cast<std::uint16_t>(word))) {
                    games.starts.push_back(static_cast<std::uint32_t>(games.tokens.size()));
                    codes = 0;
                    continue;
                }
                if (word == search::EndMark) {
                    if (codes != 0) return damaged;
                    ended = true;
                    break;
                }
                if (++codes > search::MaxRecordCodes) return damaged;
                games.tokens.push_back(word);
            }
            carried = filled - at;
            if (carried == 1 && !ended) block[0] = block[at];
        }
        if (!ended) return damaged;
        if (expected_count >= 0 && games.Count() != expected_count) return damaged;
        if (header_path.empty()) return games;
        Result<search::HeaderFile> header = search::HeaderFile::Load(header_path);
        std::vector<std::size_t> offsets;
        if (header) offsets = header->RecordOffsets();
        if (!header || offsets.size() != static_cast<std::size_t>(games.Count())) {
            ui.report(messages::HeaderFileNamesUnchecked);
            return games;
        }
        std::unordered_map<std::string, std::uint32_t> ids;
        search::HeaderValues values;
        std::string players;
        games.names.reserve(offsets.size());
        for (std::size_t offset : offsets) {
            if (!header->ReadRecord(offset, values)) values = {};
            players = values[static_cast<int>(search::HeaderField::White)];
            players.push_back('\0');
            players += values[static_cast<int>(search::HeaderField::Black)];
            auto [it, inserted] = ids.try_emplace(players, static_cast<std::uint32_t>(ids.size()));
            games.names.push_back(it->second);
        }
        return games;
    } catch (const std::bad_alloc&) {
        return Error(std::string(messages::NotEnoughMemory));
    }
}

Result<DuplicateGames> ReadTextGames(const std::string& pgn_path,
                                     std::span<const std::uint32_t> offsets,
                                     const OperationControl& control) {
    DuplicateGames games;
    games.kind = DuplicateGames::Kind::MoveTexts;
    search::TextGameReader reader(pgn_path, offsets);
    if (!reader.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    std::unordered_map<std::uint64_t, std::uint32_t> ids;
    auto token_of = [&](std::uint64_t packed) {
        auto [it, inserted] = ids.try_emplace(packed, static_cast<std::uint32_t>(ids.size()));
        if (inserted) games.texts.push_back(packed);
        return it->second;
    };
    const auto count = static_cast<std::int32_t>(offsets.size());
    for (std::int32_t game = 0; game < count; ++game) {
        control.Progress(game, 0, count);
        // The caller sees the cancel and drops what was read.
        if (control.Cancelled()) break;
        if (reader.Read(game, search::TextGameReader::Depth::Moves)) {
            AppendTextTokens(reader.Moves(), reader.FullMoves(), games.tokens, token_of);
        }
        games.starts.push_back(static_cast<std::uint32_t>(games.tokens.size()));
    }
    return games;
}

Error DeleteGamesFromFile(const std::string& pgn_path, std::vector<std::uint32_t> offsets,
                          bool index_full, std::span<const std::int32_t> games, Ui& ui,
                          platform::FileSystem& file_system) {
    std::vector<std::int32_t> deleted(games.begin(), games.end());
    std::sort(deleted.begin(), deleted.end());
    deleted.erase(std::unique(deleted.begin(), deleted.end()), deleted.end());
    Result<GameSpans> spans = MeasureGameSpans(pgn_path, std::move(offsets), index_full);
    platform::File source = platform::File::Open(pgn_path, platform::File::Mode::Read);
    if (!spans || !source.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    RewriteFile temp(file_system, pgn_path);
    if (!temp.Create()) return Error(std::string(messages::ErrorCreatingTempFile));
    auto write = [&temp](std::string_view block) { return temp.Write(block); };
    // Runs of kept bytes between the deleted games are copied whole.
    std::uint64_t kept_from = 0;
    bool copied = true;
    for (std::int32_t game : deleted) {
        if (game < 1 || static_cast<std::size_t>(game) > spans->Count()) continue;
        const auto index = static_cast<std::size_t>(game - 1);
        if (spans->Begin(index) > kept_from) {
            copied = copied && CopyFileRange(source, kept_from, spans->Begin(index), write);
        }
        kept_from = spans->End(index);
    }
    if (spans->file_size > kept_from) {
        copied = copied && CopyFileRange(source, kept_from, spans->file_size, write);
    }
    if (!copied) {
        temp.Abandon();
        return Error(std::string(messages::ErrorCreatingTempFile));
    }
    ReplaceOptions options;
    options.fast_file = ReplaceOptions::FastFile::Fix;
    options.deleted_games = deleted;
    return ReplacePgnFile(temp, options, ui);
}

Error StartFindDuplicates(Worker& worker, DuplicateRequest request,
                          std::shared_ptr<DuplicateResult> result) {
    WorkerJob job;
    job.operation = WorkerOperation::DuplicateGames;
    job.without_fast_file = !request.games;
    const auto total =
        static_cast<std::int64_t>(request.games ? request.games->Count() : request.offsets.size());
    return worker.StartWorker(
        job, total, [request = std::move(request), result = std::move(result)](WorkerTask& task) {
            OperationControl control = ControlOf(task);
            std::shared_ptr<const DuplicateGames> games = request.games;
            if (!games) {
                Result<DuplicateGames> read =
                    ReadTextGames(request.pgn_path, request.offsets, control);
                if (!read) {
                    result->error = read.error();
                    return WorkerOutcome{read.error().message()};
                }
                if (task.CancelRequested()) {
                    result->cancelled = true;
                    return WorkerOutcome{};
                }
                games = std::make_shared<const DuplicateGames>(std::move(*read));
            }
            *result = FindDuplicates(*games, request.settings, control);
            if (result->limit_reached) task.Report(messages::MaximumDuplicates);
            WorkerOutcome outcome;
            outcome.findings = !result->duplicates.empty();
            if (!outcome.findings) outcome.message = messages::NoDuplicatesFound;
            return outcome;
        });
}

std::string DuplicateTitle(const DuplicateResult& result) {
    return Formatted(messages::DuplicateGamesTitle, static_cast<int>(result.duplicates.size()));
}

std::vector<std::string> DuplicateLines(const DuplicateResult& result) {
    std::vector<std::string> lines;
    lines.reserve(result.pairs.size());
    for (const auto& [first, second] : result.pairs) {
        lines.push_back(Formatted(messages::DuplicateLine, second, first));
    }
    return lines;
}

}  // namespace qorvale::utilities
