#include "engines/crafty_commands.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "chess/fen.h"
#include "engines/messages.h"
#include "engines/uci_output.h"

namespace qorvale::engines {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a level field starts with, when its first character qualifies it.
int FieldNumber(const std::string& field, bool zero_counts, int fallback) {
    if (field.empty() || !IsDigit(field[0]) || (!zero_counts && field[0] == '0')) return fallback;
    return std::atoi(field.c_str());
}

std::string Joined(const std::vector<std::string>& commands) {
    std::string text;
    for (const std::string& command : commands) {
        if (!text.empty()) text += '\n';
        text += command;
    }
    return text;
}

std::string Reset(int move_number) { return "reset " + std::to_string(move_number); }

}  // namespace

std::string BuildSetboardText(const chess::Board& board, const chess::EnginePositionInfo& info) {
    std::string text = "setboard " + chess::WritePlacement(board);
    text += info.black_to_move ? " b" : " w";
    std::string castling;
    if (info.white_castle_king) castling += 'K';
    if (info.white_castle_queen) castling += 'Q';
    if (info.black_castle_king) castling += 'k';
    if (info.black_castle_queen) castling += 'q';
    if (!castling.empty()) text += " " + castling;
    if (!info.en_passant.empty()) text += " " + info.en_passant;
    return text;
}

std::string LevelCommand(const CraftyGameSettings& settings) {
    if (settings.CraftyLevelMoves.empty() && settings.CraftyLevelMinutes.empty() &&
        settings.CraftyLevelIncrement.empty()) {
        return "";
    }
    int moves = FieldNumber(settings.CraftyLevelMoves, true, 60);
    int minutes = FieldNumber(settings.CraftyLevelMinutes, false, 30);
    int increment = FieldNumber(settings.CraftyLevelIncrement, false, 0);
    return "level " + std::to_string(moves) + " " + std::to_string(minutes) + " " +
           std::to_string(increment) + "\notime " + std::to_string(minutes * 6000);
}

std::vector<std::string> CraftyStartCommands(CraftyMode mode, const CraftyGameSettings& settings,
                                             const CraftyStart& start) {
    std::vector<std::string> writes;
    switch (mode) {
        case CraftyMode::Play: {
            std::vector<std::string> joined;
            if (settings.CraftyNoPonder) joined.emplace_back("ponder off");
            if (settings.CraftyDisplayGeneral) joined.emplace_back("display general");
            if (settings.CraftyDisplayVariation) joined.emplace_back("display variation");
            if (std::string level = LevelCommand(settings); !level.empty()) {
                joined.push_back(std::move(level));
            }
            if (settings.CraftyContinueGame) {
                if (start.setup_position) {
                    writes.push_back(start.setboard);
                } else {
                    joined.push_back("read " + start.continue_game_path);
                }
            }
            if (settings.CraftyMovesFirst) joined.emplace_back("go");
            if (!joined.empty()) writes.push_back(Joined(joined));
            break;
        }
        case CraftyMode::Direct:
            writes.emplace_back("display general\ndisplay variation");
            break;
        case CraftyMode::Score:
            writes.emplace_back("display general");
            writes.push_back(start.setboard);
            writes.emplace_back(start.black_to_move ? "score\nwhite" : "score");
            break;
        case CraftyMode::Analyse:
            writes.emplace_back("display general\ndisplay variation");
            writes.push_back(start.analyse_from_setup ? start.setboard : "read crafanal.pgn");
            if (!start.reset.empty()) writes.push_back(start.reset);
            writes.emplace_back("analyze");
            break;
    }
    return writes;
}

std::string CraftyStartReset(bool side_flag, int half_moves) {
    const int n = (half_moves + 1) / 2;
    const bool odd = half_moves % 2 == 1;
    if (side_flag) return odd ? Reset(n) : "white\n" + Reset(n + 1);
    return odd ? "black\n" + Reset(n) : Reset(n + 1);
}

std::string CraftyResetCommand(bool side_flag, int half_moves, int start_half_moves,
                               std::string_view white_move) {
    const int n = (half_moves + 1) / 2;
    const bool odd = half_moves % 2 == 1;
    const bool at_start = half_moves == start_half_moves;
    if (side_flag) {
        if (odd) return Reset(n);
        return at_start ? Reset(n) + "\nwhite" : Reset(n + 1) + "\nback";
    }
    if (!odd) return Reset(n + 1);
    return at_start ? Reset(n) + "\n" + std::string(white_move) : Reset(n + 1) + "\nback";
}

bool EngineIsMoveCommand(std::string_view text) {
    for (std::string_view result : {"1-0", "0-1", "1/2", "O-O", "0-0"}) {
        if (text.starts_with(result)) return true;
    }
    if (text.size() < 2) return false;
    // Only the first three characters are lowered: "BACK" does not begin "back".
    std::string lowered(text);
    for (std::size_t i = 0; i < 3 && i < lowered.size(); ++i) {
        lowered[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lowered[i])));
    }
    const char first = lowered[0];
    const char second = lowered[1];
    auto begins = [&](std::string_view prefix) { return lowered.starts_with(prefix); };
    if (second == 'x') return !begins("ext") && !begins("exi");
    if (second >= '1' && second <= '8') return true;
    const bool file_letter = second >= 'a' && second <= 'h';
    if (first == 'b' || first == 'k' || first == 'q') return file_letter && !begins("back");
    if (first == 'n') return file_letter && !begins("nam") && !begins("new");
    if (first == 'r') return file_letter && !begins("res") && !begins("rea");
    return false;
}

std::string_view TypedCommandRefusal(std::string_view text, CraftyMode mode, MoveEntry& entry) {
    if (!EngineIsMoveCommand(text)) return "";
    if (mode == CraftyMode::Play) return messages::MoveCommandsNotAllowed;
    if (mode != CraftyMode::Analyse) return "";
    if (entry == MoveEntry::Locked) return messages::MoveCommandsNotAllowed;
    entry = MoveEntry::Typed;
    return "";
}

std::optional<std::string_view> CraftyMoveFromLine(std::string_view line) {
    constexpr std::string_view Prefix = "move ";
    if (!line.starts_with(Prefix)) return std::nullopt;
    std::string_view move = line.substr(Prefix.size());
    while (!move.empty() && move.front() == ' ') move.remove_prefix(1);
    if (move.empty()) return std::nullopt;
    return move;
}

std::optional<ProfilePoint> ParseCraftyProfileLine(std::string_view line) {
    std::size_t arrow = line.find("->");
    if (arrow == std::string_view::npos) return std::nullopt;
    std::size_t at = arrow + 2;
    auto next_word = [&]() {
        while (at < line.size() && line[at] == ' ') ++at;
        std::size_t start = at;
        while (at < line.size() && line[at] != ' ') ++at;
        return line.substr(start, at - start);
    };
    next_word();
    std::string_view score = next_word();
    if (score.empty()) return std::nullopt;
    ProfilePoint point;
    std::string_view digits = score;
    bool negative = false;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.starts_with("Mat")) {
        digits.remove_prefix(3);
        int moves = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), moves);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        point.mate = negative ? -moves : moves;
        point.centipawns =
            negative ? -(EngineScore::MateScore - moves) : EngineScore::MateScore - moves;
    } else {
        double pawns = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pawns);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        point.centipawns = static_cast<int>(std::lround((negative ? -pawns : pawns) * 100.0));
    }
    std::size_t dot = line.find('.', at);
    if (dot == std::string_view::npos || dot == 0 || !IsDigit(line[dot - 1])) return std::nullopt;
    std::size_t number_start = dot;
    while (number_start > at && IsDigit(line[number_start - 1])) --number_start;
    if (dot - number_start > 4) return std::nullopt;
    int number = 0;
    std::from_chars(line.data() + number_start, line.data() + dot, number);
    int ply = 2 * number - 2;
    // Black's move: "12..." or, as Crafty spaces it, "12. ...".
    std::size_t after = line.find_first_not_of(' ', dot + 1);
    if (after != std::string_view::npos && line.substr(after).starts_with("..")) ++ply;
    if (ply != 0) --ply;
    point.ply = ply;
    return point;
}

}  // namespace qorvale::engines
