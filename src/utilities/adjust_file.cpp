#include "utilities/adjust_file.h"

#include <utility>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_scanner.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"
#include "utilities/file_rewrite.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// A tag line with the spaces after its name reduced to one.
std::string NormalisedTagLine(std::string_view line) {
    std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::string(line);
    std::size_t value = line.find_first_not_of(' ', space);
    std::string text(line.substr(0, space + 1));
    if (value != std::string_view::npos) text += line.substr(value);
    return text;
}

// Lays out one game; buffers are kept from game to game.
class GameAdjuster {
  public:
    GameAdjuster() {
        chess_.SetQuietParse(true);
        chess_.SetMessagesSuppressed(true);
    }

    enum class Outcome { Written, Annotated, TooLong };

    // Reads the game in `text` and appends its adjusted form to `out`. Annotated: the game has
    // comments or variations and `strip` is off (nothing appended). TooLong: the reader could not
    // hold the whole game (nothing appended).
    Outcome Adjust(std::string_view text, bool strip, int trim_limit, std::string& out);

  private:
    chess::ChessState chess_;
    pgn::GameLines lines_;
    std::string record_;
    std::string header_;
    std::string fen_line_;
};

GameAdjuster::Outcome GameAdjuster::Adjust(std::string_view text, bool strip, int trim_limit,
                                           std::string& out) {
    pgn::MemoryRecordSource source(text);
    header_.clear();
    fen_line_.clear();
    std::string result = "*";
    int length = 0;
    // Up to and including the first tag line.
    while ((length = source.ReadRecord(record_)) > 0) {
        bool tag = pgn::IsTagLine(record_);
        header_ += tag ? NormalisedTagLine(record_) : record_;
        header_ += LineEnd;
        if (tag) break;
    }
    bool first_is_tag = length > 0;
    // The rest of the header.
    bool hand_over = false;
    while (first_is_tag && (length = source.ReadRecord(record_)) > 0) {
        if (pgn::IsTagLine(record_)) {
            if (record_.starts_with("[Result")) result = pgn::TagValue(record_);
            if (record_.starts_with("[FEN ")) fen_line_ = record_;
            header_ += NormalisedTagLine(record_);
            header_ += LineEnd;
            continue;
        }
        if (pgn::IsMovetextStart(record_)) {
            header_ += LineEnd;
            hand_over = true;
        } else {
            header_ += record_;
            header_ += LineEnd;
        }
        break;
    }
    if (first_is_tag && result.empty()) result = "*";
    int full_moves = lines_.ParseMovetextQuiet(source, hand_over ? &record_ : nullptr,
                                               hand_over ? length : 0, 0);
    if (lines_.AnnotationCount() > 0 && !strip) return Outcome::Annotated;
    const bool cut_by_trim = trim_limit > 0 && trim_limit <= 2 * chess::MaxFullMoves;
    if ((lines_.HitMoveLimit() || lines_.HitLineLimit()) && !cut_by_trim) return Outcome::TooLong;

    chess_.SetSetupActive(false);
    chess_.ReadFenTagExtras(fen_line_);
    if (chess_.StartsFromFen()) {
        std::string placement = fen_line_;
        chess_.ParseFenPlacement(placement);
    }
    chess_.SetStartPosition();
    chess::MainLineMoves& moves = lines_.Moves();
    // The replay writes each text as the program reads it: "0-0" becomes "O-O".
    chess_.ReplayToHalfMove(moves, full_moves);

    out += header_;
    std::string line;
    int written = 0;
    auto add = [&](std::string_view move) {
        if (line.size() >= AdjustLineLength) {
            out += line;
            out += LineEnd;
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += move;
        ++written;
    };
    char number[16];
    for (int pair = 0; pair < full_moves; ++pair) {
        if (trim_limit > 0 && written >= trim_limit) break;
        const auto at = static_cast<std::size_t>(pair);
        std::snprintf(number, sizeof number, "%u.",
                      chess_.DisplayMoveNumber(static_cast<std::uint32_t>(pair)));
        add(std::string(number) + std::string(moves.WhiteMoves[at].view()));
        if (moves.BlackMoves[at].empty() || (trim_limit > 0 && written >= trim_limit)) continue;
        add(moves.BlackMoves[at].view());
    }
    if (!line.empty()) line += "  ";
    line += result;
    out += line;
    out += LineEnd;
    return Outcome::Written;
}

}  // namespace

AdjustResult AdjustFile(const AdjustRequest& request, const OperationControl& control, Ui& ui,
                        platform::FileSystem& file_system) {
    AdjustResult result;
    Result<GameSpans> spans =
        MeasureGameSpans(request.pgn_path, request.offsets, request.index_full);
    GameSpanReader reader;
    platform::File source = platform::File::Open(request.pgn_path, platform::File::Mode::Read);
    if (!spans || !reader.Open(request.pgn_path) || !source.IsOpen()) {
        result.error = Error(std::string(messages::ErrorOpeningFile));
        return result;
    }
    RewriteFile temp(file_system, request.pgn_path);
    if (!temp.Create()) {
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    }
    auto write = [&temp](std::string_view block) { return temp.Write(block); };
    auto fail = [&]() {
        temp.Abandon();
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    };
    auto adjuster = std::make_unique<GameAdjuster>();
    bool strip = false;
    std::string out;
    const auto total = static_cast<std::int64_t>(spans->Count());
    for (std::size_t index = 0; index < spans->Count(); ++index) {
        control.Progress(static_cast<std::int64_t>(index), 0, total);
        // The first game takes in whatever stands before it.
        const std::uint64_t begin = index == 0 ? 0 : spans->Begin(index);
        const std::uint64_t end = spans->End(index);
        std::string_view text = reader.Read(begin, end);
        out.clear();
        if (index > 0) out += LineEnd;
        GameAdjuster::Outcome outcome = GameAdjuster::Outcome::TooLong;
        if (text.size() == end - begin) {
            outcome = adjuster->Adjust(text, strip, request.trim_limit, out);
            if (outcome == GameAdjuster::Outcome::Annotated) {
                if (!control.Ask(messages::StripWarning)) {
                    temp.Abandon();
                    result.declined = true;
                    return result;
                }
                strip = true;
                outcome = adjuster->Adjust(text, strip, request.trim_limit, out);
            }
        }
        if (!temp.Write(out)) return fail();
        if (outcome == GameAdjuster::Outcome::TooLong) {
            ++result.kept_as_they_were;
            if (!CopyFileRange(source, begin, end, write)) return fail();
        }
        if (control.Cancelled()) {
            temp.Abandon();
            result.cancelled = true;
            return result;
        }
    }
    if (spans->Count() == 0 ? !CopyFileRange(source, 0, spans->file_size, write)
                            : !CopyFileRange(source, spans->last_end, spans->file_size, write)) {
        return fail();
    }
    result.error = ReplacePgnFile(temp, {}, ui);
    result.replaced = result.error.ok();
    return result;
}

std::string AdjustEndMessage(const AdjustResult& result) {
    if (!result.error.ok()) return result.error.message();
    if (result.cancelled) return std::string(messages::AdjustmentCanceled);
    if (result.declined) return {};
    return std::string(messages::AdjustmentComplete);
}

Error StartAdjustFile(Worker& worker, AdjustRequest request, std::shared_ptr<AdjustResult> result,
                      platform::FileSystem& file_system) {
    WorkerJob job;
    job.operation = WorkerOperation::AdjustFile;
    const auto total = static_cast<std::int64_t>(request.offsets.size());
    return worker.StartWorker(
        job, total,
        [request = std::move(request), result = std::move(result), &file_system](WorkerTask& task) {
            TaskUi ui(task);
            *result = AdjustFile(request, ControlOf(task), ui, file_system);
            return WorkerOutcome{AdjustEndMessage(*result)};
        });
}

}  // namespace qorvale::utilities
