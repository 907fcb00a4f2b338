#include "app/annotation_editor.h"

#include <algorithm>
#include <charconv>

#include "app/edit_messages.h"
#include "chess/messages.h"
#include "pgn/file_change.h"
#include "pgn/messages.h"
#include "platform/file.h"

namespace qorvale::app {

namespace {

constexpr std::string_view RecoveryPrefix = "%Qorvale annotation: game ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number at the front of `text`, taken off it.
template <typename Number>
bool TakeNumber(std::string_view& text, Number& number) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// Collapses runs of spaces and trims the ends.
std::string Tidy(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// What a typed annotation may hold: balanced comments and variations, NAGs, blanks.
Error CheckAnnotation(std::string_view text) {
    bool in_brace = false;
    bool braces = true;
    bool parens = true;
    bool only_annotations = true;
    int depth = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (in_brace) {
            if (c == '{') braces = false;
            if (c == '}') in_brace = false;
        } else if (c == '{') {
            in_brace = true;
        } else if (c == '}') {
            braces = false;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth < 0) parens = false;
        } else if (c == ';') {
            // A line comment would swallow what follows it on the written line.
            only_annotations = false;
        } else if (depth == 0 && c == '$' && at + 1 < text.size() && IsDigit(text[at + 1])) {
            while (at + 1 < text.size() && IsDigit(text[at + 1])) ++at;
        } else if (depth == 0 && c != ' ') {
            only_annotations = false;
        }
    }
    if (in_brace || !braces) return Error(std::string(pgn::CommentBracesOutOfSync));
    if (depth != 0 || !parens) return Error(std::string(pgn::LineParensOutOfSync));
    if (!only_annotations) return Error(std::string(AnnotationHoldsMoves));
    return Error::Ok();
}

}  // namespace

std::string RecoveryCopyText(const PendingAnnotation& pending) {
    std::string text(RecoveryPrefix);
    text += std::to_string(pending.game_number) + " at " + std::to_string(pending.offset) + " of " +
            pending.pgn_path + "\r\n";
    return text + pending.game_text;
}

std::optional<PendingAnnotation> ReadRecoveryCopy(std::string_view bytes) {
    const std::size_t line_end = bytes.find('\n');
    if (line_end == std::string_view::npos) return std::nullopt;
    std::string_view line = bytes.substr(0, line_end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    PendingAnnotation pending;
    if (!TakePrefix(line, RecoveryPrefix) || !TakeNumber(line, pending.game_number) ||
        pending.game_number < 1 || !TakePrefix(line, " at ") || !TakeNumber(line, pending.offset) ||
        !TakePrefix(line, " of ") || line.empty()) {
        return std::nullopt;
    }
    pending.pgn_path = std::string(line);
    pending.game_text = std::string(bytes.substr(line_end + 1));
    return pending;
}

std::optional<PendingAnnotation> FindPendingAnnotation(const std::string& recovery_path) {
    const std::int64_t size = platform::FileSize(recovery_path);
    // A copy bigger than a game can be is not one.
    if (size < 0 || size > static_cast<std::int64_t>(2 * pgn::GameTextBufferSize)) {
        return std::nullopt;
    }
    platform::File file = platform::File::Open(recovery_path, platform::File::Mode::Read);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (file.Read(bytes.data(), size) != size) return std::nullopt;
    return ReadRecoveryCopy(bytes);
}

void DiscardRecoveryCopy(const std::string& recovery_path, platform::FileSystem& file_system) {
    if (platform::FileExists(recovery_path)) file_system.Delete(recovery_path);
}

AnnotationEditor::AnnotationEditor(std::string recovery_path, platform::FileSystem& file_system)
    : recovery_path_(std::move(recovery_path)), file_system_(file_system) {}

Error AnnotationEditor::Open(pgn::PgnFile& file, std::int32_t game_number) {
    Result<pgn::GameRewrite> loaded = pgn::LoadGameRewrite(file, game_number);
    if (!loaded.ok()) return loaded.error();
    if (loaded->LongAlgebraic()) {
        return Error(std::string(chess::messages::CannotAnnotateLongAlgebraic));
    }
    game_ = std::move(*loaded);
    pgn_path_ = file.CurrentPath();
    game_number_ = game_number;
    offset_ = file.Index().Offset(game_number);
    start_ = StartOf(*game_);
    variation_at_ = 0;
    changed_ = false;
    return Error::Ok();
}

std::int32_t AnnotationEditor::GameAt(const pgn::PgnFile& file, std::int32_t hint,
                                      std::uint32_t offset) {
    if (hint >= 1 && hint <= file.GameCount() && file.Index().Offset(hint) == offset) return hint;
    const auto offsets = file.Index().Offsets();
    const auto found = std::lower_bound(offsets.begin(), offsets.end(), offset);
    if (found == offsets.end() || *found != offset) return 0;
    return static_cast<std::int32_t>(found - offsets.begin()) + 1;
}

Error AnnotationEditor::Restore(pgn::PgnFile& file, const PendingAnnotation& pending) {
    const std::int32_t game = GameAt(file, pending.game_number, pending.offset);
    if (game == 0) return Error(std::string(AnnotatedGameGone));
    Result<pgn::GameRewrite> recovered = pgn::LoadGameRewrite(pending.game_text);
    if (!recovered.ok()) return recovered.error();
    game_ = std::move(*recovered);
    pgn_path_ = file.CurrentPath();
    game_number_ = game;
    offset_ = pending.offset;
    start_ = StartOf(*game_);
    variation_at_ = 0;
    // Nothing of it is saved yet.
    changed_ = true;
    return Error::Ok();
}

int AnnotationEditor::HalfMoves() const { return game_ ? game_->HalfMoves() : 0; }

std::string AnnotationEditor::MoveLabel(int half_move) const {
    if (!ValidHalfMove(half_move)) return {};
    const auto index = static_cast<std::size_t>((half_move - 1) / 2);
    const bool white = half_move % 2 == 1;
    const std::string number = std::to_string(pgn::WrittenMoveNumber(
        static_cast<int>(index), static_cast<std::uint32_t>(game_->edited.start_move_number)));
    const chess::MoveText& text =
        white ? game_->moves.WhiteMoves[index] : game_->moves.BlackMoves[index];
    return number + (white ? "." : "...") + std::string(text.view());
}

std::string& AnnotationEditor::Slot(int half_move) {
    auto& annotations = game_->annotations;
    if (annotations.size() < static_cast<std::size_t>(HalfMoves()) + 1) {
        annotations.resize(static_cast<std::size_t>(HalfMoves()) + 1);
    }
    return annotations[static_cast<std::size_t>(half_move)];
}

const std::string& AnnotationEditor::Annotation(int half_move) const {
    static const std::string none;
    if (!game_ || half_move < 0 ||
        static_cast<std::size_t>(half_move) >= game_->annotations.size()) {
        return none;
    }
    return game_->annotations[static_cast<std::size_t>(half_move)];
}

Error AnnotationEditor::AddComment(int half_move, std::string_view text, bool before) {
    const int slot = before ? half_move - 1 : half_move;
    if (!game_ || slot < 0 || slot > HalfMoves()) return Error(std::string(pgn::ErrorFindingGame));
    if (text.find_first_of("{}") != std::string_view::npos) {
        return Error(std::string(CommentHoldsBrace));
    }
    std::string comment = "{" + Tidy(text) + "}";
    for (char& c : comment) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    std::string& annotation = Slot(slot);
    annotation = annotation.empty() ? comment : annotation + " " + comment;
    AfterChange();
    return Error::Ok();
}

Error AnnotationEditor::AddNag(int half_move, int nag) {
    if (!game_ || !ValidHalfMove(half_move) || nag < 1 || nag > 255) {
        return Error(std::string(pgn::ErrorFindingGame));
    }
    std::string& annotation = Slot(half_move);
    // Behind the NAGs the move already has, before its comments and variations.
    std::size_t at = 0;
    while (at < annotation.size() && annotation[at] == '$') {
        at = annotation.find(' ', at);
        if (at == std::string::npos) {
            at = annotation.size();
            break;
        }
        ++at;
    }
    std::string token = "$" + std::to_string(nag);
    if (at >= annotation.size()) {
        annotation = Tidy(annotation + " " + token);
    } else {
        annotation.insert(at, token + " ");
    }
    AfterChange();
    return Error::Ok();
}

void AnnotationEditor::RemoveNags(int half_move) {
    if (!game_ || !ValidHalfMove(half_move)) return;
    std::string& annotation = Slot(half_move);
    std::string kept;
    bool in_brace = false;
    int depth = 0;
    for (std::size_t at = 0; at < annotation.size(); ++at) {
        const char c = annotation[at];
        if (!in_brace && depth == 0 && c == '$') {
            while (at + 1 < annotation.size() && IsDigit(annotation[at + 1])) ++at;
            continue;
        }
        if (in_brace) {
            in_brace = c != '}';
        } else if (c == '{') {
            in_brace = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        }
        kept += c;
    }
    kept = Tidy(kept);
    if (kept == annotation) return;
    annotation = std::move(kept);
    AfterChange();
}

Error AnnotationEditor::SetAnnotation(int half_move, std::string_view text) {
    if (!game_ || half_move < 0 || half_move > HalfMoves()) {
        return Error(std::string(pgn::ErrorFindingGame));
    }
    std::string typed(text);
    for (char& c : typed) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    if (Error error = CheckAnnotation(typed); !error.ok()) return error;
    Slot(half_move) = Tidy(typed);
    AfterChange();
    return Error::Ok();
}

Error AnnotationEditor::BeginVariation(int half_move) {
    if (!game_ || !ValidHalfMove(half_move)) return Error(std::string(pgn::ErrorFindingGame));
    // The placeholder of a game that begins with Black stands for no move.
    if (half_move == 1 && game_->moves.WhiteMoves[0][0] == '.') {
        return Error(std::string(pgn::ErrorFindingGame));
    }
    if (Error error = variation_.StartFromMoves(start_, game_->moves, half_move - 1); !error.ok()) {
        return error;
    }
    variation_at_ = half_move;
    return Error::Ok();
}

void AnnotationEditor::EndVariation() {
    const int first = variation_at_;
    variation_at_ = 0;
    if (first == 0 || variation_.HalfMoves() < first) return;
    const auto start = static_cast<std::uint32_t>(game_->edited.start_move_number);
    std::string text = "(";
    for (int half_move = first; half_move <= variation_.HalfMoves(); ++half_move) {
        const auto index = static_cast<std::size_t>((half_move - 1) / 2);
        const bool white = half_move % 2 == 1;
        const std::string number =
            std::to_string(pgn::WrittenMoveNumber(static_cast<int>(index), start));
        if (half_move > first) text += ' ';
        if (white) {
            text += number + "." + std::string(variation_.Moves().WhiteMoves[index].view());
        } else {
            if (half_move == first) text += number + "... ";
            text += variation_.Moves().BlackMoves[index].view();
        }
    }
    text += ")";
    std::string& annotation = Slot(first);
    annotation = annotation.empty() ? text : annotation + " " + text;
    AfterChange();
}

std::string AnnotationEditor::GameText() const {
    return game_ ? pgn::RewriteGameText(*game_) : std::string();
}

void AnnotationEditor::AfterChange() {
    changed_ = true;
    // A path with a line end cannot be named on the copy's first line; such a game goes without
    // a recovery copy.
    if (pgn_path_.find_first_of("\r\n") != std::string::npos) return;
    PendingAnnotation pending{pgn_path_, game_number_, offset_, GameText()};
    (void)pgn::WriteNewFile(file_system_, recovery_path_, RecoveryCopyText(pending));
}

Result<pgn::EditDone> AnnotationEditor::Save(pgn::PgnFile& file, Ui& ui) {
    if (!game_ || file.CurrentPath() != pgn_path_) return Error(std::string(AnnotatedGameGone));
    const std::int32_t game = GameAt(file, game_number_, offset_);
    if (game == 0) return Error(std::string(AnnotatedGameGone));
    file.SetCurrentGameNumber(game);
    pgn::GameFileEditor editor(file, ui, file_system_);
    Result<pgn::EditDone> done = editor.RewriteCurrentGame(*game_);
    if (!done.ok()) return done;
    DiscardRecoveryCopy(recovery_path_, file_system_);
    changed_ = false;
    game_number_ = game;
    if (file.IsOpen() && game <= file.GameCount()) {
        offset_ = file.Index().Offset(game);
        Result<pgn::GameRewrite> saved = pgn::LoadGameRewrite(file, game);
        if (saved.ok()) game_ = std::move(*saved);
    }
    return done;
}

void AnnotationEditor::Close() {
    DiscardRecoveryCopy(recovery_path_, file_system_);
    game_.reset();
    variation_at_ = 0;
    changed_ = false;
}

}  // namespace qorvale::app
