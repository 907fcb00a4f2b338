#include "utilities/check_file.h"

#include <algorithm>
#include <array>
#include <utility>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"
#include "utilities/file_rewrite.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::size_t MaxLineLength = 255;

// "[", an upper-case letter, and "]" (or "] ") at the end: the check's own, looser test, so that
// a tag line without its quotes is still seen as one (and reported).
bool IsHeaderLine(std::string_view line) {
    if (line.size() < 2 || line[0] != '[' || line[1] < 'A' || line[1] > 'Z') return false;
    return line.back() == ']' ||
           (line.size() >= 3 && line.back() == ' ' && line[line.size() - 2] == ']');
}

// Text whose second character is "/", that begins with "*" or "?", or that begins "1-0" or "0-1".
bool IsResultToken(std::string_view text) {
    if (text.empty()) return false;
    if (text[0] == '*' || text[0] == '?') return true;
    if (text.size() >= 2 && text[1] == '/') return true;
    return text.starts_with("1-0") || text.starts_with("0-1");
}

// The next line of `text` from `pos` as the record reader delivers it: leading spaces skipped,
// the line end and trailing control bytes removed.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    std::size_t first = 0;
    while (first < line.size() && line[first] == ' ') ++first;
    line.remove_prefix(first);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 13) line.remove_suffix(1);
    return line;
}

int CodeForPieceKind(std::uint32_t kind) { return -static_cast<int>(kind); }

// A set-up position with a fourth piece of a kind on either side: the slots track three, so its
// moves could be given to the wrong piece.
int PieceLimitCode(const chess::Board& board) {
    std::array<std::array<int, 7>, 2> counts{};
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            std::uint32_t code = board[file][rank];
            if (code == chess::Empty) continue;
            counts[chess::IsBlackCode(code) ? 1 : 0][chess::KindOf(code) % 7]++;
        }
    }
    for (std::uint32_t kind : {chess::Knight, chess::Bishop, chess::Rook, chess::Queen}) {
        if (counts[0][kind] > 3 || counts[1][kind] > 3) return CodeForPieceKind(kind);
    }
    return check_error::None;
}

// Checks games one after another with buffers kept from game to game.
class GameChecker {
  public:
    GameChecker() {
        chess_.SetQuietParse(true);
        chess_.SetMessagesSuppressed(true);
    }

    // The code of one game's text. `validate`: the deleting modes 2 and 3 look for nothing but
    // the FEN tag. `is_fen`: the game starts from a position other than the standard one.
    int Check(std::string_view text, bool validate, bool& is_fen);

  private:
    chess::ChessState chess_;
    pgn::GameLines lines_;
    std::string record_;
    std::string fen_line_;
};

int GameChecker::Check(std::string_view text, bool validate, bool& is_fen) {
    int code = validate ? RawTextCheck(text) : check_error::None;

    pgn::MemoryRecordSource source(text);
    int length = 0;
    while ((length = source.ReadRecord(record_)) > 0 && !IsHeaderLine(record_)) {
    }
    fen_line_.clear();
    bool header_corrupt = false;
    while (length > 0 && IsHeaderLine(record_)) {
        if (std::count(record_.begin(), record_.end(), '"') < 2) {
            header_corrupt = true;
            break;
        }
        if (record_.starts_with("[FEN ")) fen_line_ = record_;
        length = source.ReadRecord(record_);
    }
    is_fen = !fen_line_.empty() && pgn::TagValue(fen_line_) != chess::StandardStartFen;
    if (!validate) return check_error::None;
    if (header_corrupt) return check_error::HeaderCorrupt;
    if (length > 0 && !record_.empty() && !record_.starts_with("1.") && !record_.starts_with("{") &&
        code == check_error::None) {
        code = check_error::NoBlankLine;
    }
    if (code != check_error::None) return code;

    chess_.SetSetupActive(false);
    chess_.ReadFenTagExtras(is_fen ? std::string_view(fen_line_) : std::string_view());
    if (chess_.StartsFromFen()) {
        std::string placement = fen_line_;
        chess_.ParseFenPlacement(placement);
        if (int limit = PieceLimitCode(chess_.FenStartBoard())) return limit;
    }
    const bool hand_over = length > 0 && !record_.empty();
    int full_moves = lines_.ParseMovetextQuiet(source, hand_over ? &record_ : nullptr,
                                               hand_over ? length : 0, 0);
    return chess_.ValidateGameMoves(lines_.Moves(), full_moves);
}

bool Validates(CheckMode mode) {
    return mode == CheckMode::ReportErrors || mode == CheckMode::DeleteBadGames;
}

}  // namespace

std::string CheckErrorMessage(int code, std::int32_t game_number) {
    switch (code) {
        case check_error::HeaderCorrupt:
            return Formatted(messages::HeaderCorrupt, game_number);
        case check_error::NoBlankLine:
            return Formatted(messages::NoBlankLineAfterHeader, game_number);
        case check_error::Parens:
            return Formatted(messages::ParensOutOfSync, game_number);
        case check_error::Braces:
            return Formatted(messages::BracesOutOfSync, game_number);
        case check_error::Spaces:
            return Formatted(messages::ExtraSpaces, game_number);
        case check_error::LongRecord:
            return Formatted(messages::LongRecords, game_number);
        case check_error::BishopsOnSameDiagonal:
            return Formatted(messages::BishopsOnSameDiagonal, game_number);
        case check_error::FourKnights:
            return Formatted(messages::FourKnights, game_number);
        case check_error::FourBishops:
            return Formatted(messages::FourBishops, game_number);
        case check_error::FourRooks:
            return Formatted(messages::FourRooks, game_number);
        case check_error::FourQueens:
            return Formatted(messages::FourQueens, game_number);
        default:
            break;
    }
    if (code >= check_error::FirstIllegalMove) {
        return Formatted(messages::IllegalMove, game_number, code - 1);
    }
    return Formatted(messages::MayBeCorrupt, game_number);
}

int RawTextCheck(std::string_view game_text) {
    enum class State { Header, SeenHeader, Movetext };
    State state = State::Header;
    bool in_comment = false;
    int depth = 0;
    // The last line ended in two spaces: only an empty line (or the end) may follow.
    bool blank_line_due = false;
    std::size_t pos = 0;
    bool ended = false;
    while (pos < game_text.size() && !ended) {
        std::string_view line = NextLine(game_text, pos);
        if (line.size() > MaxLineLength) return check_error::LongRecord;
        if (blank_line_due) {
            if (!line.empty()) return check_error::Spaces;
            blank_line_due = false;
        }
        if (!in_comment) {
            if (IsHeaderLine(line)) {
                if (state == State::Movetext) break;
                state = State::SeenHeader;
                continue;
            }
            if (state == State::SeenHeader) state = State::Movetext;
        }
        for (std::size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (in_comment) {
                if (c == '}') in_comment = false;
                continue;
            }
            if (c == '{') {
                in_comment = true;
            } else if (c == ';') {
                break;
            } else if (c == '(' || c == ')') {
                if (state == State::Movetext) depth += c == '(' ? 1 : -1;
            } else if (c == ' ') {
                std::size_t next = i + 1;
                while (next < line.size() && line[next] == ' ') ++next;
                if (next == line.size()) {
                    if (next - i >= 2) blank_line_due = true;
                    break;
                }
                if (IsResultToken(line.substr(next))) {
                    ended = true;
                    break;
                }
                if (next - i >= 2) return check_error::Spaces;
                i = next - 1;
            }
        }
    }
    if (in_comment) return check_error::Braces;
    if (depth != 0) return check_error::Parens;
    return check_error::None;
}

CheckFileResult CheckFile(const CheckFileRequest& request, const OperationControl& control, Ui& ui,
                          platform::FileSystem& file_system) {
    CheckFileResult result;
    result.mode = request.mode;
    result.list_all = request.list_all;
    Result<GameSpans> measured =
        MeasureGameSpans(request.pgn_path, request.offsets, request.index_full);
    GameSpanReader reader;
    if (!measured || !reader.Open(request.pgn_path)) {
        result.error = Error(std::string(messages::ErrorOpeningFile));
        return result;
    }
    const GameSpans& spans = *measured;
    const bool rewriting = request.mode != CheckMode::ReportErrors;
    const bool validate = Validates(request.mode);
    RewriteFile temp(file_system, request.pgn_path);
    if (rewriting && !temp.Create()) {
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    }
    platform::File long_copy;
    auto copy = [&](std::uint64_t begin, std::uint64_t end, std::string_view text) {
        if (text.size() == end - begin) return temp.Write(text);
        // A game larger than what is examined of it: copied from the file.
        if (!long_copy.IsOpen()) {
            long_copy = platform::File::Open(request.pgn_path, platform::File::Mode::Read);
        }
        return long_copy.IsOpen() &&
               CopyFileRange(long_copy, begin, end,
                             [&temp](std::string_view block) { return temp.Write(block); });
    };
    auto copy_range = [&](std::uint64_t begin, std::uint64_t end) {
        return begin >= end || copy(begin, end, {});
    };

    const auto total = static_cast<std::int64_t>(spans.Count());
    // Whatever stands before the first game (or the whole text of a file without games) stays.
    if (rewriting && !copy_range(0, spans.Count() == 0 ? spans.file_size : spans.Begin(0))) {
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    }
    auto checker = std::make_unique<GameChecker>();
    std::size_t next_listed = 0;
    for (std::size_t index = 0; index < spans.Count(); ++index) {
        control.Progress(static_cast<std::int64_t>(index), result.count, total);
        const auto game_number = static_cast<std::int32_t>(index + 1);
        const std::uint64_t begin = spans.Begin(index);
        const std::uint64_t end = spans.End(index);
        std::string_view text = reader.Read(begin, end);
        bool is_fen = false;
        int code = checker->Check(text, validate, is_fen);
        ++result.examined;
        bool drop = false;
        switch (request.mode) {
            case CheckMode::ReportErrors:
            case CheckMode::DeleteBadGames:
                drop = code != check_error::None;
                break;
            case CheckMode::DeleteFenGames:
                drop = is_fen;
                break;
            case CheckMode::DeleteListedGames:
                while (next_listed < request.listed_games.size() &&
                       request.listed_games[next_listed] < game_number) {
                    ++next_listed;
                }
                drop = next_listed < request.listed_games.size() &&
                       request.listed_games[next_listed] == game_number;
                break;
        }
        if (drop) ++result.count;
        if (code != check_error::None &&
            (request.list_all || result.errors.size() < ErrorListSize)) {
            result.errors.push_back({CheckErrorMessage(code, game_number), game_number, code});
        }
        if (rewriting) {
            if (drop) {
                result.deleted.push_back(game_number);
            } else if (!copy(begin, end, text)) {
                temp.Abandon();
                result.error = Error(std::string(messages::ErrorCreatingTempFile));
                return result;
            }
        }
        if (control.Cancelled()) {
            result.cancelled = true;
            break;
        }
        if (!rewriting && !request.list_all && result.count >= BadGamesBeforeStop) break;
    }
    if (!rewriting) return result;
    if (result.cancelled) {
        // The file stays as it was; the list shows what was found so far.
        temp.Abandon();
        result.mode = CheckMode::ReportErrors;
        result.deleted.clear();
        return result;
    }
    // What follows the games of a full index is no game of it: kept.
    if (spans.Count() > 0 && !copy_range(spans.last_end, spans.file_size)) {
        temp.Abandon();
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    }
    ReplaceOptions options;
    options.fast_file = ReplaceOptions::FastFile::Fix;
    options.deleted_games = result.deleted;
    result.error = ReplacePgnFile(temp, options, ui);
    result.replaced = result.error.ok();
    return result;
}

std::string ErrorListTitle(const CheckFileResult& result) {
    if (result.mode != CheckMode::ReportErrors) {
        return result.count == 1 ? std::string(messages::OneGameWasDeleted)
                                 : Formatted(messages::GamesWereDeleted, result.count);
    }
    if (result.count >= BadGamesBeforeStop && !result.list_all) {
        return std::string(messages::MoreThanTenErrors);
    }
    return Formatted(result.count == 1 ? messages::ErrorFound : messages::ErrorsFound,
                     result.count);
}

std::string CheckEndMessage(const CheckFileResult& result) {
    if (!result.error.ok()) return result.error.message();
    switch (result.mode) {
        case CheckMode::DeleteListedGames:
            if (result.count == 0) return std::string(messages::NoGamesDeleted);
            return result.count == 1 ? std::string(messages::OneGameDeleted)
                                     : Formatted(messages::GamesDeleted, result.count);
        case CheckMode::DeleteFenGames:
            if (result.count == 0) return std::string(messages::NoFenGamesFound);
            return result.count == 1 ? std::string(messages::OneFenGameDeleted)
                                     : Formatted(messages::FenGamesDeleted, result.count);
        case CheckMode::ReportErrors:
        case CheckMode::DeleteBadGames:
            return result.count == 0 ? std::string(messages::NoErrorsFound) : std::string();
    }
    return {};
}

Completion CheckCompletion(const CheckFileResult& result) {
    if (!result.error.ok() || result.count == 0) return Completion::RefreshDisplay;
    switch (result.mode) {
        case CheckMode::ReportErrors:
        case CheckMode::DeleteBadGames:
            return Completion::ShowErrorList;
        case CheckMode::DeleteListedGames:
            return Completion::ResetNavigationAndReload;
        case CheckMode::DeleteFenGames:
            return Completion::RefreshDisplay;
    }
    return Completion::RefreshDisplay;
}

Error StartCheckFile(Worker& worker, CheckFileRequest request,
                     std::shared_ptr<CheckFileResult> result, platform::FileSystem& file_system) {
    WorkerJob job;
    job.operation = WorkerOperation::CheckFile;
    job.check_mode = static_cast<int>(request.mode);
    const auto total = static_cast<std::int64_t>(request.offsets.size());
    return worker.StartWorker(
        job, total,
        [request = std::move(request), result = std::move(result), &file_system](WorkerTask& task) {
            TaskUi ui(task);
            *result = CheckFile(request, ControlOf(task), ui, file_system);
            WorkerOutcome outcome;
            outcome.message = CheckEndMessage(*result);
            outcome.completion = CheckCompletion(*result);
            outcome.findings = result->count > 0;
            outcome.deleting = request.mode != CheckMode::ReportErrors;
            return outcome;
        });
}

}  // namespace qorvale::utilities
