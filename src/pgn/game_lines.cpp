#include "pgn/game_lines.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "chess/chess_state.h"
#include "chess/notation.h"
#include "pgn/game_scanner.h"
#include "pgn/header_tags.h"
#include "pgn/messages.h"
#include "pgn/nag.h"

namespace qorvale::pgn {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The movetext reader's own test for the next game's first line: "[", an upper-case letter, and
// "]" at the end, allowing one trailing blank; or a tag line with the next game's moves after it.
bool StartsNextGame(std::string_view record) {
    if (record.size() < 3 || record[0] != '[' || record[1] < 'A' || record[1] > 'Z') return false;
    if (record.back() == ']') return true;
    if (record.size() >= 4 && record.back() == ' ' && record[record.size() - 2] == ']') return true;
    return TagLineWithTextLength(record) > 0;
}

// A move token ends at a blank, the end of the line, or the start of a comment, variation or NAG.
constexpr std::array<bool, 256> TokenEnds = [] {
    std::array<bool, 256> ends{};
    for (unsigned char c : {'\0', ' ', '\t', '{', '(', '$', ';'}) ends[c] = true;
    return ends;
}();

bool EndsToken(char c) { return TokenEnds[static_cast<unsigned char>(c)]; }

// Characters that may start a move and need no other handling where a move is sought: not the
// end of the line, a blank, a comment, variation or NAG start, ")", ".", a digit, or a character
// of an annotation glyph ("!", "?", "+-", "=").
constexpr std::array<bool, 256> PlainMoveStarts = [] {
    std::array<bool, 256> plain{};
    plain.fill(true);
    for (unsigned char c : {'\0', ' ', '\t', '{', ';', '(', '$', ')', '.'}) plain[c] = false;
    for (unsigned char c : {'!', '?', '+', '-', '=', '~', '/'}) plain[c] = false;
    for (unsigned char c = '0'; c <= '9'; ++c) plain[c] = false;
    return plain;
}();

// An annotation written as its own token instead of a NAG: "!", "?", "!?", "+-", "=", "-/+" and
// the like. "--" is a null move.
std::size_t GlyphLength(std::string_view text) {
    std::size_t length = text.find_first_not_of("!?+-=~/");
    if (length == std::string_view::npos) length = text.size();
    if (length == 0 || !TokenEnds[static_cast<unsigned char>(text[length])]) return 0;
    if (text.substr(0, length) == "--") return 0;
    return length;
}

bool IsPlainMoveStart(char c) { return PlainMoveStarts[static_cast<unsigned char>(c)]; }

bool IsPieceLetter(char c) { return c == 'N' || c == 'B' || c == 'Q' || c == 'R' || c == 'K'; }

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
// line, a blank, a castling with zeros or "o", and "*".
constexpr std::array<bool, 256> TerminatorFirsts = [] {
    std::array<bool, 256> firsts{};
    for (unsigned char c : {'\0', ' ', '\t', '0', 'o', '*'}) firsts[c] = true;
    return firsts;
}();

FirstMover FirstMoverOfFen(std::string_view fen_tag_line) {
    std::string_view value = TagValue(fen_tag_line);
    std::size_t blank = value.find(' ');
    if (blank == std::string_view::npos || blank + 1 >= value.size()) return FirstMover::FromText;
    const char side = value[blank + 1];
    return side == 'b' ? FirstMover::Black : side == 'w' ? FirstMover::White : FirstMover::FromText;
}

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
    if (first == '*') return 1;
    char second = text[1];
    // "?" and "+-" are annotations, "--" a null move: none ends the game.
    if (first == '?' || first == '+' || first == '-' || first == '=') return 0;
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

// Walks the movetext lines character by character and fills the move tables. The main line is
// read as every PGN reader reads it: tokens in turn, each move the other side's; move numbers
// are passed over wherever they stand (or are missing), so that the sides never depend on how
// the numbers are written.
class GameLines::Scanner {
  public:
    // The text is only read, or rewritten in place, while scanning: its buffer stays put.
    Scanner(GameLines& lines, int stop_after)
        : lines_(lines), text_(lines.text_.data()), stop_after_(stop_after) {}

    int Run(Ui* ui, bool quiet);

  private:
    enum class Found { Move, Placeholder, End };

    char* At() { return text_ + pos_; }
    char Cur() const { return text_[pos_]; }
    int Column() const { return static_cast<int>(pos_ - lines_.line_start_[line_]); }
    int HalfMove() const { return lines_.parsed_half_moves_; }

    // Moves to the start of the next line that is scanned. A "%" line is an escape line, kept
    // but not scanned, only outside a comment: inside one it is comment text.
    bool NextLine(bool in_comment = false) {
        while (++line_ < lines_.line_start_.size()) {
            pos_ = lines_.line_start_[line_];
            if (in_comment || Cur() != '%') return true;
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
    Found SeekMove(bool white);
    bool LooksLikeMove(const char* text) const;
    void ReadMove(bool white, bool placeholder);
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
            if (!NextLine(true)) return false;
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
// parentheses do not count.
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
                    if (!NextLine(true)) return false;
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
        } else if (c == ')' && --depth == 0) {
            return true;
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

// Brings the cursor to the start of the next move. Comments, NAGs and variations on the way are
// recorded and skipped; annotation glyphs standing alone are skipped, and so are move numbers
// ("12.", "12...", "12..", "12" alone). Before the first move, dots after its number ("1...") or
// alone ("...") mean that Black moves first: Placeholder. End when the movetext ends first.
GameLines::Scanner::Found GameLines::Scanner::SeekMove(bool white) {
    // The usual cases first, with the answers the loop below would give: a move right at the
    // cursor; White's number, its dot, one blank and the move.
    const char* text = At();
    if (IsPlainMoveStart(text[0]) && LooksLikeMove(text)) {
        return EndsGame(At(), false) ? Found::End : Found::Move;
    }
    if (white && IsDigit(text[0])) {
        std::size_t dot = 1;
        while (IsDigit(text[dot])) ++dot;
        std::size_t move = dot + 1;
        if (IsBlank(text[move])) ++move;
        if (text[dot] == '.' && IsPlainMoveStart(text[move]) && LooksLikeMove(text + move)) {
            if (EndsGame(At(), false)) return Found::End;
            pos_ += move;
            return EndsGame(At(), false) ? Found::End : Found::Move;
        }
    }

    const bool first_move = lines_.parsed_half_moves_ == 0;
    while (true) {
        char c = Cur();
        if (c == '\0') {
            if (!NextLine()) return Found::End;
            continue;
        }
        if (c == '{') {
            if (!SkipComment()) return Found::End;
            continue;
        }
        if (c == ';') {
            if (!SkipLineComment()) return Found::End;
            continue;
        }
        if (c == '(') {
            if (!SkipVariation()) return Found::End;
            continue;
        }
        if (c == '$') {
            SkipNag();
            continue;
        }
        // A ")" without its "(" is passed over.
        if (IsBlank(c) || c == ')') {
            ++pos_;
            continue;
        }
        // A token: a result ends the movetext; castling written with zeros is rewritten here.
        if (EndsGame(At(), false)) return Found::End;
        c = Cur();
        if (IsDigit(c) || c == '.') {
            while (IsDigit(Cur())) ++pos_;
            int dots = 0;
            for (; Cur() == '.'; ++pos_) ++dots;
            if (white && first_move && dots >= 2 && lines_.first_mover_ == FirstMover::FromText) {
                return Found::Placeholder;
            }
            continue;
        }
        if (std::size_t glyph = GlyphLength(At()); glyph > 0) {
            // A symbol standing alone ("7. Bxf7+ ?") is the move's NAG written another way.
            if (NagOfGlyph(std::string_view(At(), glyph)) > 0) {
                lines_.RecordAnnotation(HalfMove(), static_cast<int>(line_), Column(),
                                        AnnotationKind::CommentOrNag);
            }
            pos_ += glyph;
            continue;
        }
        if (!LooksLikeMove(At())) {
            // A word that is no move (a pasted page's markup, "e.p.", a name): passed over, so
            // that the moves around it keep their sides.
            while (!EndsToken(Cur())) ++pos_;
            continue;
        }
        return Found::Move;
    }
}

// A move begins with a piece letter (of a set the game may be written with), a file letter, or
// is castling or a null move, and holds a rank digit within its first seven characters. Another
// capital before a square ("Cf3" in a game written with letters not read) is a move all the
// same, one that plays nothing, so that the moves after it keep their sides.
bool GameLines::Scanner::LooksLikeMove(const char* text) const {
    const char first = text[0];
    if ((first == 'O' && text[1] == '-') || (first == '-' && text[1] == '-') ||
        (first == 'Z' && text[1] == '0')) {
        return true;
    }
    const bool known = chess::IsFileLetter(first) || lines_.letters_.IsPieceLetter(first) ||
                       first == 'n' || first == 'r' || first == 'q' || first == 'k';
    if (!known && (first < 'A' || first > 'Z')) return false;
    for (std::size_t i = 1; i <= chess::MoveText::Capacity && !EndsToken(text[i]); ++i) {
        if (!chess::IsRankDigit(text[i])) continue;
        if (known || chess::IsFileLetter(text[i - 1])) return true;
    }
    return false;
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
    chess::MoveText& text = white ? lines_.moves_.WhiteMoves[static_cast<std::size_t>(index)]
                                  : lines_.moves_.BlackMoves[static_cast<std::size_t>(index)];
    chess::FromHint& hint = white ? lines_.moves_.WhiteHints[static_cast<std::size_t>(index)]
                                  : lines_.moves_.BlackHints[static_cast<std::size_t>(index)];
    if (form_ == MoveForm::Standard) {
        text.Assign(token);
    } else if (form_ == MoveForm::Coordinates && token[0] != 'O') {
        char reduced[16];
        std::size_t length = 0;
        for (char c : token) {
            if (c != '-' && length < sizeof reduced - 1) reduced[length++] = c;
        }
        text.Assign(std::string_view(reduced, length));
    } else if (form_ != MoveForm::LongWithPieces || !ReduceLongMove(token, text, hint)) {
        text.Assign(token);
    }
    // Moves written with other piece letters are kept in English, as every move text is.
    lines_.letters_.ToEnglish(std::span<char>(text.bytes.data(), chess::MoveText::Capacity));
}

// Reads the move token at the cursor (or, for the placeholder, the dots) into the side's next
// slot.
void GameLines::Scanner::ReadMove(bool white, bool placeholder) {
    std::size_t start = pos_;
    if (!placeholder) {
        while (!EndsToken(Cur())) ++pos_;
    }
    std::string_view token =
        placeholder ? std::string_view("..") : std::string_view(text_ + start, pos_ - start);
    if (!form_decided_ && !placeholder) DecideMoveForm(token);
    if (white) ++lines_.full_moves_;
    if (placeholder) {
        lines_.moves_.WhiteMoves[static_cast<std::size_t>(lines_.full_moves_ - 1)].Assign(token);
    } else {
        StoreMove(white, token);
    }
    if (form_ == MoveForm::LongWithPieces) lines_.moves_.WhiteHints[0].bytes[0] = 1;
    int half_move = ++lines_.parsed_half_moves_;
    lines_.move_text_end_[static_cast<std::size_t>(half_move)] = static_cast<int>(pos_);
}

int GameLines::Scanner::Run(Ui* ui, bool quiet) {
    const bool black_first = lines_.first_mover_ == FirstMover::Black;
    if (!Start()) return 0;
    bool white = true;
    while (true) {
        if (white) {
            if (stop_after_ > 0 && lines_.full_moves_ >= stop_after_) break;
        }
        Found found = SeekMove(white);
        if (found == Found::End) break;
        // A game from a position with Black to move begins with Black's move, however its
        // number is written.
        if (black_first && lines_.parsed_half_moves_ == 0) found = Found::Placeholder;
        if (white && lines_.full_moves_ == chess::MaxFullMoves) {
            lines_.hit_move_limit_ = true;
            if (!quiet && ui != nullptr) {
                ui->report(FillMessage(MaximumMovesExceeded, chess::MaxFullMoves));
            }
            break;
        }
        ReadMove(white, found == Found::Placeholder);
        white = !white;
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
    int full_moves = scanner.Run(ui, quiet);
    first_mover_ = FirstMover::FromText;
    return full_moves;
}

void GameLines::SetDisplayLetters(std::string_view letters) {
    letters_ = chess::PieceLetterReader();
    letters_.Add(letters);
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
        chess.ApplyMoveText(text, chess::FromHint{},
                            white ? chess::Side::White : chess::Side::Black);
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
