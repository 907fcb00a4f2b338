#include "pgn/game_lines.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "chess/chess_state.h"
#include "chess/notation.h"
#include "pgn/messages.h"

namespace qorvale::pgn {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The movetext reader's own test for the next game's first line: "[", an upper-case letter, and
// "]" at the end, allowing one trailing blank.
bool StartsNextGame(std::string_view record) {
    if (record.size() < 3 || record[0] != '[' || record[1] < 'A' || record[1] > 'Z') return false;
    if (record.back() == ']') return true;
    return record.size() >= 4 && record.back() == ' ' && record[record.size() - 2] == ']';
}

// A move token ends at a blank, the end of the line, or the start of a comment, variation or NAG.
constexpr std::array<bool, 256> TokenEnds = [] {
    std::array<bool, 256> ends{};
    for (unsigned char c : {'\0', ' ', '\t', '{', '(', '$', ';'}) ends[c] = true;
    return ends;
}();

bool EndsToken(char c) { return TokenEnds[static_cast<unsigned char>(c)]; }

// Characters that may start a move and need no other handling where a move is sought: not the
// end of the line, a blank, a comment, variation or NAG start, ")", ".", or a digit.
constexpr std::array<bool, 256> PlainMoveStarts = [] {
    std::array<bool, 256> plain{};
    plain.fill(true);
    for (unsigned char c : {'\0', ' ', '\t', '{', ';', '(', '$', ')', '.'}) plain[c] = false;
    for (unsigned char c = '0'; c <= '9'; ++c) plain[c] = false;
    return plain;
}();

bool IsPlainMoveStart(char c) { return PlainMoveStarts[static_cast<unsigned char>(c)]; }

bool IsPieceLetter(char c) {
    return c == 'N' || c == 'B' || c == 'Q' || c == 'R' || c == 'K';
}

// How the game writes its moves, decided at its first move.
enum class MoveForm { Standard, LongWithPieces, Coordinates };

}  // namespace

bool ReduceLongMove(std::string_view token, chess::MoveText& text, chess::FromHint& hint) {
    if (token.empty() || token[0] == 'O') return false;
    bool piece = IsPieceLetter(token[0]);
    std::size_t from = piece ? 1 : 0;
    bool long_form = token.size() > from + 4 && chess::IsFileLetter(token[from]) &&
                     chess::IsRankDigit(token[from + 1]) &&
                     (token[from + 2] == '-' || token[from + 2] == 'x');
    if (!long_form) return false;
    char reduced[16];
    std::size_t length = 0;
    auto keep = [&](char c) {
        if (length < sizeof reduced - 1) reduced[length++] = c;
    };
    bool capture = token[from + 2] == 'x';
    std::string_view target = token.substr(from + 3);
    if (piece) {
        keep(token[0]);
        hint.bytes = {token[from], token[from + 1], 0};
        if (capture) keep('x');
    } else if (target[0] != token[from]) {
        // A pawn that changes file captures, whether or not the text says so.
        keep(token[from]);
        keep('x');
    }
    for (char c : target) keep(c);
    text.Assign(std::string_view(reduced, length));
    return true;
}

// First characters that may need more than a look at the second character: the end of the
// line, a blank, a castling with zeros or "o", and "*" or "?".
constexpr std::array<bool, 256> TerminatorFirsts = [] {
    std::array<bool, 256> firsts{};
    for (unsigned char c : {'\0', ' ', '\t', '0', 'o', '*', '?'}) firsts[c] = true;
    return firsts;
}();

int IsGameTerminator(char* text, bool blank_is_end) {
    char first = text[0];
    // Almost every token is a move or a move number: nothing ends there unless the second
    // character is "/" or "-".
    if (!TerminatorFirsts[static_cast<unsigned char>(first)] && text[1] != '/' && text[1] != '-') {
        return 0;
    }
    if (first == '\0') return 0;
    if (blank_is_end && IsBlank(first)) return 1;
    // Castling with zeros or lower-case o, rewritten before the result test below would take
    // "0-0" for a result.
    if ((first == '0' || first == 'o') && text[1] == '-' && text[2] == first) {
        chess::NormaliseCastling(std::span<char>(text, std::strlen(text)));
        return 0;
    }
    if (first == '*' || first == '?') return 1;
    char second = text[1];
    if (second == '/' && first != '{' && first != ';') return 1;
    if (second == '-' && first != 'O' && first != '{' && first != ';') return 1;
    return 0;
}

// IsGameTerminator, answering the usual token (a move or a move number) without a call.
int EndsGame(char* text, bool blank_is_end) {
    if (!TerminatorFirsts[static_cast<unsigned char>(text[0])] && text[1] != '/' &&
        text[1] != '-') {
        return 0;
    }
    return IsGameTerminator(text, blank_is_end);
}

// Walks the movetext lines character by character and fills the move tables.
class GameLines::Scanner {
public:
    // The text is only read, or rewritten in place, while scanning: its buffer stays put.
    Scanner(GameLines& lines, int stop_after)
        : lines_(lines), text_(lines.text_.data()), stop_after_(stop_after) {}

    int Run(Ui* ui, bool quiet);

private:
    char* At() { return text_ + pos_; }
    char Cur() const { return text_[pos_]; }
    int Column() const { return static_cast<int>(pos_ - lines_.line_start_[line_]); }
    int HalfMove() const { return lines_.parsed_half_moves_; }

    // Moves to the start of the next line that is scanned ("%" lines are kept but not scanned).
    bool NextLine() {
        while (++line_ < lines_.line_start_.size()) {
            pos_ = lines_.line_start_[line_];
            if (Cur() != '%') return true;
        }
        return false;
    }
    bool Start() {
        line_ = static_cast<std::size_t>(-1);
        return NextLine();
    }

    bool SkipComment();
    bool SkipLineComment();
    bool SkipVariation();
    void SkipNag();
    bool AfterClosingBrace();
    bool SeekMove(bool white);
    bool ReadMove(bool white);
    void DecideMoveForm(std::string_view token);
    void StoreMove(bool white, std::string_view token);

    GameLines& lines_;
    char* text_;
    int stop_after_;
    std::size_t pos_ = 0;
    std::size_t line_ = 0;
    MoveForm form_ = MoveForm::Standard;
    bool form_decided_ = false;
};

// "{" to the next "}", over lines. Returns false when the movetext ends inside it.
bool GameLines::Scanner::SkipComment() {
    lines_.RecordAnnotation(HalfMove(), static_cast<int>(line_), Column(),
                            AnnotationKind::CommentOrNag);
    ++pos_;
    while (true) {
        char c = Cur();
        if (c == '\0') {
            if (!NextLine()) return false;
            continue;
        }
        ++pos_;
        if (c == '}') return true;
    }
}

bool GameLines::Scanner::SkipLineComment() {
    lines_.RecordAnnotation(HalfMove(), static_cast<int>(line_), Column(),
                            AnnotationKind::CommentOrNag);
    return NextLine();
}

// "(" to the ")" that brings the depth back to 0. Comments inside are skipped whole, so their
// parentheses do not count; a ")" directly followed by anything but ")", a blank or the end of
// the line does not count either.
bool GameLines::Scanner::SkipVariation() {
    lines_.RecordAnnotation(HalfMove(), static_cast<int>(line_), Column(),
                            AnnotationKind::Variation);
    int depth = 1;
    ++pos_;
    while (true) {
        char c = Cur();
        if (c == '\0') {
            if (!NextLine()) return false;
            continue;
        }
        if (c == '{') {
            ++pos_;
            while (true) {
                char inner = Cur();
                if (inner == '\0') {
                    if (!NextLine()) return false;
                    continue;
                }
                ++pos_;
                if (inner == '}') break;
            }
            continue;
        }
        if (c == ';') {
            if (!NextLine()) return false;
            continue;
        }
        ++pos_;
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            char next = Cur();
            if (next == ')' || next == '\0' || IsBlank(next)) {
                if (--depth == 0) return true;
            }
        }
    }
}

void GameLines::Scanner::SkipNag() {
    ++pos_;
    if (IsDigit(Cur())) {
        lines_.RecordAnnotation(HalfMove(), static_cast<int>(line_), Column() - 1,
                                AnnotationKind::CommentOrNag);
    }
    while (IsDigit(Cur())) ++pos_;
}

// After a closing "}" followed by a blank, a second blank (or a result) ends the movetext.
bool GameLines::Scanner::AfterClosingBrace() {
    if (!IsBlank(Cur())) return true;
    ++pos_;
    return EndsGame(At(), true) == 0;
}

// Brings the cursor to the start of the next move of the side. Comments, NAGs and variations on
// the way are recorded and skipped. A white move needs its number first ("12." and one blank),
// except directly after a comment; a black move may have its own ("12...") or none. Returns
// false when the movetext ends first.
bool GameLines::Scanner::SeekMove(bool white) {
    // The usual cases first, with the answers the loop below would give: Black's move right at
    // the cursor; White's number, its dot, one blank and the move.
    const char* text = At();
    if (!white && IsPlainMoveStart(text[0])) return EndsGame(At(), false) == 0;
    if (white && IsDigit(text[0])) {
        std::size_t dot = 1;
        while (IsDigit(text[dot])) ++dot;
        std::size_t move = dot + 1;
        if (IsBlank(text[move])) ++move;
        if (text[dot] == '.' && IsPlainMoveStart(text[move])) {
            if (EndsGame(At(), false)) return false;
            pos_ += move;
            return EndsGame(At(), false) == 0;
        }
    }

    bool numbered = false;
    bool after_comment = false;
    bool token_start = true;
    while (true) {
        char c = Cur();
        if (c == '\0') {
            if (!NextLine()) return false;
            token_start = true;
            continue;
        }
        if (c == '{') {
            if (!SkipComment() || !AfterClosingBrace()) return false;
            after_comment = true;
            token_start = true;
            continue;
        }
        if (c == ';') {
            if (!SkipLineComment()) return false;
            after_comment = true;
            token_start = true;
            continue;
        }
        if (c == '(') {
            if (!SkipVariation()) return false;
            after_comment = false;
            token_start = true;
            continue;
        }
        if (c == '$') {
            SkipNag();
            token_start = true;
            continue;
        }
        if (IsBlank(c)) {
            ++pos_;
            token_start = true;
            continue;
        }
        if (token_start && EndsGame(At(), false)) return false;
        token_start = false;
        c = Cur();  // castling may just have been rewritten
        if (c == ')') {
            ++pos_;
            continue;
        }
        if (white) {
            if (c == '.') {
                ++pos_;
                if (numbered) continue;
                numbered = true;
                if (IsBlank(Cur())) ++pos_;
                // "1...e5": the dots are the black-first placeholder of the first white move.
                if (Cur() == '.' && lines_.full_moves_ == 0) return true;
                token_start = true;
                continue;
            }
            if ((numbered || after_comment) && !IsDigit(c)) return true;
            if (IsDigit(c)) after_comment = false;
            ++pos_;
            continue;
        }
        if (IsDigit(c) || c == '.') {
            ++pos_;
            continue;
        }
        return true;
    }
}

void GameLines::Scanner::DecideMoveForm(std::string_view token) {
    form_decided_ = true;
    if (token.empty() || token[0] == 'O') return;
    bool hyphen = (token.size() > 2 && token[2] == '-') || (token.size() > 3 && token[3] == '-');
    if (!hyphen) return;
    std::string_view rest_of_line(At());
    for (char c : rest_of_line) {
        if (IsPieceLetter(c)) {
            form_ = MoveForm::LongWithPieces;
            return;
        }
    }
    form_ = MoveForm::Coordinates;
}

void GameLines::Scanner::StoreMove(bool white, std::string_view token) {
    int index = lines_.full_moves_ - 1;
    chess::MoveText& text =
        white ? lines_.moves_.WhiteMoves[static_cast<std::size_t>(index)]
              : lines_.moves_.BlackMoves[static_cast<std::size_t>(index)];
    chess::FromHint& hint =
        white ? lines_.moves_.WhiteHints[static_cast<std::size_t>(index)]
              : lines_.moves_.BlackHints[static_cast<std::size_t>(index)];
    if (form_ == MoveForm::Standard) {
        text.Assign(token);
        return;
    }
    char reduced[16];
    std::size_t length = 0;
    auto keep = [&](char c) {
        if (length < sizeof reduced - 1) reduced[length++] = c;
    };
    if (form_ == MoveForm::Coordinates && token[0] != 'O') {
        for (char c : token) {
            if (c != '-') keep(c);
        }
        text.Assign(std::string_view(reduced, length));
        return;
    }
    if (form_ == MoveForm::LongWithPieces && ReduceLongMove(token, text, hint)) return;
    text.Assign(token);
}

// Reads one move token at the cursor into the side's next slot.
bool GameLines::Scanner::ReadMove(bool white) {
    std::size_t start = pos_;
    if (white && Cur() == '.') {
        while (Cur() == '.') ++pos_;
    } else {
        while (!EndsToken(Cur())) ++pos_;
    }
    std::string_view token(text_ + start, pos_ - start);
    if (!form_decided_ && token[0] != '.') DecideMoveForm(token);
    if (white) ++lines_.full_moves_;
    StoreMove(white, token);
    if (form_ == MoveForm::LongWithPieces) lines_.moves_.WhiteHints[0].bytes[0] = 1;
    int half_move = ++lines_.parsed_half_moves_;
    lines_.move_text_end_[static_cast<std::size_t>(half_move)] = static_cast<int>(pos_);
    return true;
}

int GameLines::Scanner::Run(Ui* ui, bool quiet) {
    if (!Start()) return 0;
    bool white = true;
    while (true) {
        if (white) {
            if (stop_after_ > 0 && lines_.full_moves_ >= stop_after_) break;
        }
        if (!SeekMove(white)) break;
        if (white && lines_.full_moves_ == chess::MaxFullMoves) {
            lines_.hit_move_limit_ = true;
            if (!quiet && ui != nullptr) {
                ui->report(FillMessage(MaximumMovesExceeded, chess::MaxFullMoves));
            }
            break;
        }
        bool placeholder = white && Cur() == '.';
        ReadMove(white);
        white = !white;
        if (placeholder) continue;
        // One blank separates tokens; a second one (or a result) right after it ends the text.
        if (IsBlank(Cur())) {
            ++pos_;
            if (EndsGame(At(), true)) break;
        }
    }
    return lines_.full_moves_;
}

GameLines::GameLines() {
    text_.reserve(1 << 16);
    line_start_.reserve(256);
    line_length_.reserve(256);
}

void GameLines::Clear() {
    text_.clear();
    line_start_.clear();
    line_length_.clear();
    moves_ = chess::MainLineMoves{};
    full_moves_ = 0;
    parsed_half_moves_ = 0;
    std::fill_n(annotation_index_.begin(), annotation_slots_used_, AnnotationPosition{});
    annotation_slots_used_ = 0;
    annotation_count_ = 0;
    move_text_end_.fill(0);
    hit_move_limit_ = false;
    hit_line_limit_ = false;
    has_next_game_record_ = false;
}

std::string_view GameLines::MovetextLine(int line) const {
    return std::string_view(text_.data() + line_start_[static_cast<std::size_t>(line)]);
}

bool GameLines::AppendLine(std::string_view text, int length) {
    if (static_cast<int>(line_start_.size()) >= MaxMovetextLines) {
        hit_line_limit_ = true;
        return false;
    }
    line_start_.push_back(static_cast<std::uint32_t>(text_.size()));
    line_length_.push_back(length);
    // A NUL byte inside a record would end the line early; it is the line's end here anyway.
    text_.append(text);
    text_.push_back('\0');
    return true;
}

void GameLines::RecordAnnotation(int half_move, int line, int column, AnnotationKind kind) {
    if (half_move < 0 || half_move >= AnnotationSlots) return;
    const auto slot = static_cast<std::size_t>(half_move);
    if (slot >= annotation_slots_used_) annotation_slots_used_ = slot + 1;
    AnnotationPosition& entry = annotation_index_[slot];
    if (entry.kind == AnnotationKind::None) {
        entry = {line, column, kind};
    } else if (kind == AnnotationKind::Variation) {
        entry.kind = AnnotationKind::Variation;
    }
    ++annotation_count_;
}

int GameLines::Scan(int stop_after, Ui* ui, bool quiet) {
    Scanner scanner(*this, stop_after);
    return scanner.Run(ui, quiet);
}

int GameLines::ParseMovetext(RecordSource& source, const std::string* first_record,
                             int first_length, int stop_after, Ui* ui, bool quiet) {
    Clear();
    if (first_record != nullptr && !first_record->empty()) {
        AppendLine(*first_record, first_length);
    }
    while (true) {
        int length = source.ReadRecord(record_);
        if (length == 0) break;
        if (record_.empty()) continue;
        if (StartsNextGame(record_)) {
            next_game_record_ = record_;
            has_next_game_record_ = true;
            break;
        }
        if (!AppendLine(record_, length)) break;
    }
    return Scan(stop_after, ui, quiet);
}

int GameLines::ParseMovetextText(std::string_view text, int stop_after, Ui* ui, bool quiet) {
    MemoryRecordSource source(text);
    return ParseMovetext(source, nullptr, 0, stop_after, ui, quiet);
}

int GameLines::LoadMoveCodes(std::span<const std::uint16_t> codes, chess::ChessState& chess) {
    Clear();
    chess.SetStartPosition();
    bool was_normalising = chess.ReplayNormalise();
    chess.SetReplayNormalise(true);
    std::uint32_t saved_choice = chess.PromotionChoice();
    int half_move = 0;
    for (std::uint16_t code : codes) {
        if (code >= 0x8000) break;
        if (half_move >= 2 * chess::MaxFullMoves) break;
        int from = code & 0x3F;
        int to = (code >> 8) & 0x3F;
        constexpr std::uint32_t promotion_kinds[4] = {chess::Queen, chess::Knight, chess::Bishop,
                                                      chess::Rook};
        chess.SetPromotionChoice(promotion_kinds[(code >> 6) & 3]);
        int next = half_move + 1;
        bool white = (next & 1) != 0;
        if (chess.MakeMoveFromSquares(chess::MoveMode::TextOnly, next, from / 8 + 1, from % 8 + 1,
                                      to / 8 + 1, to % 8 + 1) != 0) {
            break;
        }
        std::size_t index = static_cast<std::size_t>(half_move / 2);
        chess::MoveText& text = white ? moves_.WhiteMoves[index] : moves_.BlackMoves[index];
        text = chess.MadeMoveText();
        chess.ApplyMoveText(text, chess::FromHint{}, white ? chess::Side::White
                                                           : chess::Side::Black);
        chess.SnapshotPosition(next);
        half_move = next;
        if (white) ++full_moves_;
    }
    parsed_half_moves_ = half_move;
    chess.SetPromotionChoice(saved_choice);
    chess.SetReplayNormalise(was_normalising);
    chess.SetStartPosition();
    return full_moves_;
}

}  // namespace qorvale::pgn
