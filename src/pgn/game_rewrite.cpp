#include "pgn/game_rewrite.h"

#include <array>

#include "chess/chess_state.h"
#include "pgn/game_loader.h"
#include "pgn/game_scanner.h"
#include "pgn/game_text_writer.h"
#include "pgn/messages.h"
#include "pgn/movetext_cursor.h"
#include "pgn/pgn_file.h"

namespace qorvale::pgn {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// The known tag a header line holds; the name must match whole ("[ResultX" is another tag).
const WrittenTag* KnownTagOf(std::string_view line) {
    for (const WrittenTag& tag : WrittenHeaderOrder) {
        if (line.size() > tag.name.size() + 1 && line[0] == '[' &&
            line.substr(1, tag.name.size()) == tag.name && line[tag.name.size() + 1] == ' ') {
            return &tag;
        }
    }
    return nullptr;
}

// The header records of the game `source` stands at, as ReadHeader meets them.
std::vector<std::string> ReadHeaderLines(RecordSource& source) {
    std::vector<std::string> lines;
    std::string record;
    while (source.ReadRecord(record) != 0 && !record.empty() && !IsMovetextStart(record)) {
        lines.push_back(record);
    }
    return lines;
}

// "[FEN \"... 0 12\"]" with its last number replaced.
std::string WithMoveNumber(std::string line, int start_move_number) {
    std::size_t close = line.rfind("\"]");
    if (close == std::string::npos) return line;
    std::size_t digits = close;
    while (digits > 0 && line[digits - 1] >= '0' && line[digits - 1] <= '9') --digits;
    if (digits == close) return line;
    line.replace(digits, close - digits,
                 std::to_string(start_move_number < 2 ? 1 : start_move_number));
    return line;
}

// Whether the parser took every move the movetext holds. It skips to the next "." before a
// white move and ends at two blanks in a row or a result-like token, so a number written without
// its dot, or a stray blank, can hide moves from it; a rewrite of what it read would drop them.
// The move tokens outside comments and variations are counted and must match the half-moves read.
bool ReadWhole(const GameLines& lines, int half_moves) {
    const std::string_view text = lines.MovetextBuffer();
    std::size_t position = 0;
    movetext::Cursor cursor(text, position);
    int depth = 0;
    int moves = 0;
    while (cursor.SkipFiller(true)) {
        const char c = cursor.Cur();
        if (c == '(' || c == ')') {
            depth += c == '(' ? 1 : -1;
            cursor.Advance();
            continue;
        }
        std::string token(cursor.Token());
        if (depth > 0) continue;
        // "12.", "12...", and the number in front of "12.Nf3".
        std::size_t move = token.find_first_not_of("0123456789.");
        if (move == std::string::npos) continue;
        if (move > 0 && token[move - 1] == '.') token.erase(0, move);
        if (token.find_first_not_of("!?") == std::string::npos) continue;
        if (IsGameTerminator(token.data(), false) == 1) continue;
        ++moves;
    }
    const bool placeholder = lines.FullMoves() > 0 && lines.Moves().WhiteMoves[0][0] == '.';
    return moves == half_moves - (placeholder ? 1 : 0);
}

Result<GameRewrite> Finish(GameRewrite game, const HeaderTags&, const GameLines& lines,
                           const chess::ChessState& chess, int half_moves) {
    if (lines.HitMoveLimit() || lines.HitLineLimit()) return Error(std::string(GameTooBigToEdit));
    if (!ReadWhole(lines, half_moves)) return Error(std::string(GameNotWhollyRead));
    game.starts_from_setup = chess.StartsFromFen();
    if (game.starts_from_setup) game.start = chess.FenStartBoard();
    game.loaded.SetStartMoveNumber(static_cast<int>(chess.StartMoveNumber()));
    game.edited = game.loaded;
    game.moves = lines.Moves();
    game.full_moves = lines.FullMoves();
    game.annotations = AnnotationsOf(lines, half_moves);
    return game;
}

}  // namespace

int GameRewrite::HalfMoves() const {
    if (full_moves <= 0) return 0;
    return 2 * full_moves -
           (moves.BlackMoves[static_cast<std::size_t>(full_moves - 1)].empty() ? 1 : 0);
}

std::vector<std::string> AnnotationsOf(const GameLines& lines, int half_moves) {
    std::vector<std::string> annotations;
    for (int half_move = 0; half_move <= half_moves && half_move < AnnotationSlots; ++half_move) {
        annotations.push_back(lines.AnnotationText(half_move, NagDisplay::Numeric));
    }
    return annotations;
}

Result<GameRewrite> LoadGameRewrite(PgnFile& file, int game_number) {
    // Failures are returned, not shown: the caller shows the one message.
    SilentUi ui;
    if (game_number < 1 || game_number > file.GameCount() || !file.LoadGame(game_number, ui)) {
        return Error(std::string(ErrorFindingGame));
    }
    GameRewrite game;
    FileRecordSource source(file);
    game.header_lines = ReadHeaderLines(source);
    Result<HeaderEditFields> fields = LoadHeaderForEdit(file);
    if (!fields.ok()) return fields.error();
    game.loaded = *fields;
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    LoadOptions options;
    options.quiet = true;
    Result<int> half_moves =
        OpenGameForDisplay(file, game_number, header, lines, chess, ui, options);
    if (!half_moves.ok()) return half_moves.error();
    return Finish(std::move(game), header, lines, chess, *half_moves);
}

Result<GameRewrite> LoadGameRewrite(std::string_view game_text) {
    GameRewrite game;
    MemoryRecordSource header_source(game_text);
    game.header_lines = ReadHeaderLines(header_source);
    MemoryRecordSource field_source(game_text);
    game.loaded = LoadHeaderForEdit(field_source);
    MemoryRecordSource source(game_text);
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    LoadOptions options;
    options.quiet = true;
    int half_moves = LoadGameLines(source, header, lines, chess, nullptr, options);
    return Finish(std::move(game), header, lines, chess, half_moves);
}

std::string RewriteGameText(const GameRewrite& game) {
    std::string text;
    std::array<bool, HeaderFieldCount> present{};
    for (const std::string& line : game.header_lines) {
        if (const WrittenTag* tag = KnownTagOf(line)) {
            present[static_cast<std::size_t>(tag->field)] = true;
            const std::string& value = game.edited.Get(tag->field);
            if (value != game.loaded.Get(tag->field)) {
                text += '[';
                text += tag->name;
                text += " \"" + value + "\"]";
            } else {
                text += line;
            }
        } else if (line.starts_with("[FEN ") && game.starts_from_setup &&
                   game.edited.start_move_number != game.loaded.start_move_number) {
            text += WithMoveNumber(line, game.edited.start_move_number);
        } else {
            text += line;
        }
        text += LineEnd;
    }
    for (const WrittenTag& tag : WrittenHeaderOrder) {
        const std::string& value = game.edited.Get(tag.field);
        if (present[static_cast<std::size_t>(tag.field)] || value.empty()) continue;
        text += '[';
        text += tag.name;
        text += " \"" + value + "\"]";
        text += LineEnd;
    }
    text += LineEnd;

    // The moves, each half-move's annotations behind it, lines ended at 60 characters.
    MovetextLines lines;
    auto add = [&lines](std::string_view token) { lines.Add(token); };
    auto annotation = [&](int half_move) -> std::string_view {
        if (half_move < 0 || static_cast<std::size_t>(half_move) >= game.annotations.size())
            return {};
        return game.annotations[static_cast<std::size_t>(half_move)];
    };
    const auto start = static_cast<std::uint32_t>(game.edited.start_move_number);
    add(annotation(0));
    for (int index = 0; index < game.full_moves && index < chess::MaxFullMoves; ++index) {
        const auto slot = static_cast<std::size_t>(index);
        const std::string number = std::to_string(WrittenMoveNumber(index, start));
        const chess::MoveText& white = game.moves.WhiteMoves[slot];
        const chess::MoveText& black = game.moves.BlackMoves[slot];
        const int white_half_move = 2 * index + 1;
        const bool placeholder = white[0] == '.';
        std::string_view after_white = annotation(white_half_move);
        if (placeholder) {
            add(after_white);
        } else if (!black.empty() && after_white.empty()) {
            add(number + "." + std::string(white.view()) + " " + std::string(black.view()));
        } else {
            add(number + "." + std::string(white.view()));
            add(after_white);
        }
        if (!black.empty()) {
            if (placeholder || !after_white.empty()) {
                add(number + "... " + std::string(black.view()));
            }
            add(annotation(white_half_move + 1));
        }
    }
    text += lines.Finish("  " + game.edited.Get(HeaderField::Result) + "\r\n\r\n");
    return NormaliseGameText(text, true);
}

}  // namespace qorvale::pgn
