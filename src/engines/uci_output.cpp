#include "engines/uci_output.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "engines/engine_output.h"

namespace qorvale::engines {

namespace {

// The words of a line, one after the other.
class Words {
  public:
    explicit Words(std::string_view text) : text_(text) {}

    bool Next(std::string_view& word) {
        word = NextWord(text_, at_);
        return !word.empty();
    }
    // What follows the last word read and the blank after it.
    std::string_view Rest() const { return at_ < text_.size() ? text_.substr(at_ + 1) : ""; }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

template <typename Number>
bool ReadNumber(std::string_view word, Number& value) {
    if (!word.empty() && word[0] == '+') word.remove_prefix(1);
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

bool StartsWithWord(std::string_view line, std::string_view word) {
    return line.starts_with(word) &&
           (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

std::string_view TrimStart(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

}  // namespace

int EngineScore::WhiteCentipawns(chess::Side to_move) const {
    if (kind == Kind::Centipawns) return value;
    if (kind == Kind::None) return 0;
    int moves = value < 0 ? -value : value;
    int score = MateScore - moves;
    bool mover_mates = value > 0;
    bool white_mates = mover_mates == (to_move == chess::Side::White);
    return white_mates ? score : -score;
}

InfoLine ParseInfoLine(std::string_view line, EngineBoard& board) {
    InfoLine info;
    info.to_move = board.SideToMove();
    info.pv_ply = board.HalfMove() + 1;
    Words words(line);
    std::string_view word;
    words.Next(word);  // "info"
    while (words.Next(word)) {
        if (word == "string") break;  // free text to the end of the line
        std::string_view value;
        if (word == "depth" && words.Next(value)) {
            ReadNumber(value, info.depth);
        } else if (word == "seldepth" && words.Next(value)) {
            ReadNumber(value, info.seldepth);
        } else if (word == "multipv" && words.Next(value)) {
            ReadNumber(value, info.multipv);
        } else if (word == "nodes" && words.Next(value)) {
            ReadNumber(value, info.nodes);
        } else if (word == "nps" && words.Next(value)) {
            ReadNumber(value, info.nps);
        } else if (word == "time" && words.Next(value)) {
            ReadNumber(value, info.time_ms);
        } else if (word == "score" && words.Next(value)) {
            std::string_view number;
            int score = 0;
            if ((value == "cp" || value == "mate") && words.Next(number) &&
                ReadNumber(number, score)) {
                info.score.kind =
                    value == "cp" ? EngineScore::Kind::Centipawns : EngineScore::Kind::Mate;
                // Engines give centipawns from the side to move; the window shows White's side.
                info.score.value =
                    value == "cp" && info.to_move == chess::Side::Black ? -score : score;
            }
        } else if (word == "lowerbound" || word == "upperbound") {
            info.score.bound = true;
        } else if (word == "pv") {
            std::string_view first;
            Words look(words.Rest());
            if (look.Next(first) && ParseCoordinateMove(first)) {
                info.has_pv = true;
                std::string_view moves = words.Rest();
                int converted = 0;
                info.pv_text = board.SanLine(moves, &converted);
                Words pv_words(moves);
                std::string_view move;
                for (int i = 0; i < converted && pv_words.Next(move); ++i) {
                    info.pv.push_back(CoordinateText(*ParseCoordinateMove(move)));
                }
            }
            break;  // the principal variation runs to the end of the line
        }
    }
    if (info.score.kind == EngineScore::Kind::None && !info.has_pv) return info;
    char head[32];
    if (info.score.kind == EngineScore::Kind::Mate) {
        std::snprintf(head, sizeof head, "Mate %d", info.score.value);
    } else {
        std::snprintf(head, sizeof head, "%+.2f ", info.score.value / 100.0);
    }
    info.text = head;
    info.text += info.pv_text;
    return info;
}

std::optional<BestMove> ParseBestMove(std::string_view line, EngineBoard& board) {
    Words words(line);
    std::string_view word;
    if (!words.Next(word) || word != "bestmove" || !words.Next(word)) return std::nullopt;
    std::optional<CoordinateSquares> move = ParseCoordinateMove(word);
    if (!move) return std::nullopt;
    BestMove best;
    best.move = *move;
    best.move_text = CoordinateText(*move);
    std::string_view ponder_word;
    if (words.Next(word) && word == "ponder" && words.Next(ponder_word)) {
        best.ponder = ParseCoordinateMove(ponder_word);
    }
    int converted = 0;
    std::string san = board.SanLine(best.move_text.view(), &converted);
    if (converted == 0) {
        best.text = DisplayText(line);
        return best;
    }
    // SanLine writes " 12.Nf3" or " 12...Nc6", which is the bestmove text's tail as it stands.
    best.text = "Bestmove" + san;
    if (best.ponder) {
        std::string pair_text = board.SanLine(std::string(best.move_text.view()) + " " +
                                                  std::string(CoordinateText(*best.ponder).view()),
                                              &converted);
        if (converted == 2) {
            // " 12.Nf3 Nc6" or " 12...Nc6 13.d4": the second word is the ponder move, numbered
            // already when it is White's.
            std::string_view ponder =
                std::string_view(pair_text).substr(pair_text.find(' ', 1) + 1);
            best.text += "   Ponder ";
            if (board.SideToMove() == chess::Side::White) {
                best.text += std::to_string(board.MoveNumber()) + "...";
            }
            best.text += ponder;
        }
    }
    return best;
}

UciOutputParser::Parsed UciOutputParser::Parse(std::string_view line, EngineBoard& board,
                                               EngineList& list) {
    Parsed parsed;
    if (StartsWithWord(line, "info")) {
        parsed.info = ParseInfoLine(line, board);
        if (parsed.info.text.empty()) return parsed;
        parsed.kind = Kind::Info;
        if (parsed.info.text != last_info_text_) {
            last_info_text_ = parsed.info.text;
            list.AddWrapped(parsed.info.text);
            parsed.shown = true;
        }
        return parsed;
    }
    if (line.empty()) return parsed;
    parsed.best_move = ParseBestMove(line, board);
    parsed.kind = parsed.best_move ? Kind::BestMove : Kind::Other;
    if (parsed.best_move) best_move_text_ = parsed.best_move->text;
    if (line == last_other_line_) return parsed;
    last_other_line_.assign(line);
    list.Add(parsed.best_move ? parsed.best_move->text : DisplayText(line));
    parsed.shown = true;
    return parsed;
}

std::optional<UciOption> ParseUciOption(std::string_view text) {
    static constexpr std::string_view Keys[] = {"type", "default", "min", "max", "var"};
    auto is_key = [](std::string_view word) {
        for (std::string_view key : Keys) {
            if (word == key) return true;
        }
        return false;
    };
    UciOption option;
    Words words(text);
    std::string_view word;
    std::string_view key = "name";
    std::string collected;
    auto store = [&]() {
        if (key == "name") {
            option.name = collected;
        } else if (key == "type") {
            static constexpr std::pair<std::string_view, UciOption::Type> Types[] = {
                {"check", UciOption::Type::Check},   {"spin", UciOption::Type::Spin},
                {"combo", UciOption::Type::Combo},   {"button", UciOption::Type::Button},
                {"string", UciOption::Type::String},
            };
            for (const auto& [name, type] : Types) {
                if (collected == name) option.type = type;
            }
        } else if (key == "default") {
            option.default_value = collected;
        } else if (key == "min" || key == "max") {
            std::int64_t number = 0;
            if (ReadNumber(collected, number)) (key == "min" ? option.min : option.max) = number;
        } else if (key == "var") {
            option.vars.push_back(collected);
        }
        collected.clear();
    };
    while (words.Next(word)) {
        if (is_key(word) && !(key == "default" && option.type == UciOption::Type::String)) {
            store();
            key = word;
            // A string's default is the rest of the line, blanks and all.
            if (key == "default" && option.type == UciOption::Type::String) {
                collected.assign(words.Rest());
                break;
            }
            continue;
        }
        if (!collected.empty()) collected += ' ';
        collected += word;
    }
    store();
    if (option.name.empty()) return std::nullopt;
    if (option.type == UciOption::Type::String && option.default_value == "<empty>") {
        option.default_value.clear();
    }
    option.value = option.default_value;
    return option;
}

std::optional<std::string> OptionValueToSend(const UciOption& option, std::string_view value) {
    switch (option.type) {
        case UciOption::Type::Check: {
            std::string lowered = Lowered(value);
            if (lowered == "true" || lowered == "false") return lowered;
            return std::nullopt;
        }
        case UciOption::Type::Spin: {
            std::int64_t number = 0;
            if (!ReadNumber(TrimStart(value), number)) return std::nullopt;
            if (option.min && number < *option.min) number = *option.min;
            if (option.max && number > *option.max) number = *option.max;
            return std::to_string(number);
        }
        case UciOption::Type::Combo:
            for (const std::string& choice : option.vars) {
                if (Lowered(choice) == Lowered(value)) return choice;
            }
            return std::nullopt;
        case UciOption::Type::Button:
            return std::string();
        case UciOption::Type::String:
        case UciOption::Type::Unknown:
            return std::string(value);
    }
    return std::nullopt;
}

std::string SetOptionCommand(const UciOption& option, std::string_view value) {
    std::string command = "setoption name " + option.name;
    if (option.type != UciOption::Type::Button) {
        command += " value ";
        command += value;
    }
    return command;
}

}  // namespace qorvale::engines
