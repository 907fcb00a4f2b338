#include "utilities/game_adjuster.h"

#include <cstdio>

#include "pgn/game_scanner.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"

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

}  // namespace

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

}  // namespace qorvale::utilities
