#include "app/game_entry.h"

#include <algorithm>
#include <cstdlib>

#include "app/edit_messages.h"
#include "pgn/messages.h"

namespace qorvale::app {

namespace {

using chess::Side;

bool ValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || at + length > text.size()) return false;
        for (std::size_t next = 1; next < length; ++next) {
            if ((static_cast<unsigned char>(text[at + next]) & 0xC0) != 0x80) return false;
        }
        at += length;
    }
    return true;
}

pgn::HeaderEditFields StartingHeader() {
    pgn::HeaderEditFields fields;
    using pgn::HeaderField;
    for (HeaderField field : {HeaderField::Event, HeaderField::Site, HeaderField::Round,
                              HeaderField::White, HeaderField::Black}) {
        fields.Get(field) = "?";
    }
    fields.Get(HeaderField::Date) = "????.??.??";
    fields.Get(HeaderField::Result) = "*";
    return fields;
}

Side SideOf(int half_move) { return half_move % 2 == 1 ? Side::White : Side::Black; }

// Whether a piece of `kind` could reach the target at all, so that the rules are asked only
// about squares it might go to.
bool InReach(std::uint32_t kind, Side side, int from_file, int from_rank, int to_file,
             int to_rank) {
    const int files = std::abs(to_file - from_file);
    const int ranks = std::abs(to_rank - from_rank);
    const int forward = to_rank - from_rank;
    const int step = side == Side::White ? 1 : -1;
    switch (kind) {
        case chess::Pawn:
            return files <= 1 && (forward == step || (files == 0 && forward == 2 * step));
        case chess::Knight:
            return files * ranks == 2;
        case chess::Bishop:
            return files == ranks;
        case chess::Rook:
            return files == 0 || ranks == 0;
        case chess::Queen:
            return files == ranks || files == 0 || ranks == 0;
        case chess::King:
            return (files <= 1 && ranks <= 1) || (ranks == 0 && files == 2);
        default:
            return false;
    }
}

}  // namespace

std::string CutAtCharacter(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t cut = limit;
    if (ValidUtf8(text)) {
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    }
    return std::string(text.substr(0, cut));
}

EntryStart StartOf(const pgn::GameRewrite& game) {
    EntryStart start;
    start.from_setup = game.starts_from_setup;
    if (!start.from_setup) return start;
    start.setup.Clear();
    bool read = false;
    for (const std::string& line : game.header_lines) {
        if (line.starts_with("[FEN ")) read = start.setup.SetFromFen(pgn::TagValue(line)).ok();
    }
    if (!read) {
        start.setup.Clear();
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank)
                start.setup.Place(file, rank, game.start[file][rank]);
        }
        start.setup.SetCastling({true, true, true, true});
    }
    start.setup.SetSideToMove(game.moves.WhiteMoves[0][0] == '.' ? Side::Black : Side::White);
    start.setup.SetMoveNumber(game.loaded.start_move_number);
    return start;
}

GameEntry::GameEntry() { StartNewGame(); }

void GameEntry::StartNewGame() {
    start_ = EntryStart{};
    moves_ = {};
    header_ = StartingHeader();
    game_number_ = 0;
    original_.reset();
    half_moves_ = 0;
    Rebuild(0);
    changed_ = false;
}

bool GameEntry::StartFromSetup(const SetupPosition& setup, Ui& ui) {
    if (!setup.Validate(ui)) return false;
    StartNewGame();
    start_ = EntryStart{true, setup};
    if (setup.SideToMove() == Side::Black) moves_.WhiteMoves[0].Assign("..");
    header_.SetStartMoveNumber(setup.MoveNumber());
    half_moves_ = BlackFirst() ? 1 : 0;
    Rebuild(half_moves_);
    return true;
}

Error GameEntry::StartFromMoves(const EntryStart& start, const chess::MainLineMoves& moves,
                                int half_moves) {
    start_ = start;
    moves_ = moves;
    half_moves_ = std::clamp(half_moves, 0, chess::MaxHalfMoves);
    ClearFrom(half_moves_);
    if (!Rebuild(half_moves_)) return Error(std::string(GameCannotBeModified));
    return Error::Ok();
}

Error GameEntry::StartModify(pgn::PgnFile& file, std::int32_t game_number) {
    Result<pgn::GameRewrite> loaded = pgn::LoadGameRewrite(file, game_number);
    if (!loaded.ok()) return loaded.error();
    const EntryStart start = StartOf(*loaded);
    if (Error error = StartFromMoves(start, loaded->moves, loaded->HalfMoves()); !error.ok()) {
        StartNewGame();
        return error;
    }
    header_ = loaded->edited;
    original_ = std::move(*loaded);
    game_number_ = game_number;
    kept_annotations_ = half_moves_;
    changed_ = false;
    return Error::Ok();
}

chess::MoveText& GameEntry::TextOf(int half_move) {
    const auto index = static_cast<std::size_t>((half_move - 1) / 2);
    return half_move % 2 == 1 ? moves_.WhiteMoves[index] : moves_.BlackMoves[index];
}

void GameEntry::ClearFrom(int half_move) {
    for (int later = half_move + 1; later <= chess::MaxHalfMoves; ++later) {
        TextOf(later).Assign("");
        const auto index = static_cast<std::size_t>((later - 1) / 2);
        (later % 2 == 1 ? moves_.WhiteHints : moves_.BlackHints)[index].Clear();
    }
}

bool GameEntry::Rebuild(int half_moves) {
    const bool setup = start_.from_setup;
    chess_.SetStartsFromFen(setup);
    if (setup) {
        chess_.FenStartBoard() = start_.setup.Board();
        chess_.SetStartMoveNumber(static_cast<std::uint32_t>(start_.setup.MoveNumber()));
    } else {
        chess_.SetStartMoveNumber(0);
    }
    chess_.SetStartPosition();
    if (setup) {
        // A right the set-up does not give counts as a king or rook that has moved.
        const CastlingRights rights = start_.setup.UsableCastling();
        chess::CastlingFlags& flags = chess_.Castling();
        flags.WhiteKingMoved = rights.white_king || rights.white_queen ? 0 : 1;
        flags.BlackKingMoved = rights.black_king || rights.black_queen ? 0 : 1;
        flags.WhiteRookH1Moved = rights.white_king ? 0 : 1;
        flags.WhiteRookA1Moved = rights.white_queen ? 0 : 1;
        flags.BlackRookH8Moved = rights.black_king ? 0 : 1;
        flags.BlackRookA8Moved = rights.black_queen ? 0 : 1;
        // The first move made may take en passant (MakeMove keeps it to the set-up's file).
        if (start_.setup.EnPassantField() != "-") chess_.SetEnPassantState(1);
    }
    for (int half_move = 1; half_move <= half_moves; ++half_move) {
        if (half_move == 1 && BlackFirst()) {
            chess_.SnapshotPosition(1);
            continue;
        }
        const Side side = SideOf(half_move);
        const auto index = static_cast<std::size_t>((half_move - 1) / 2);
        chess::MoveText text = TextOf(half_move);
        const chess::FromHint& hint =
            side == Side::White ? moves_.WhiteHints[index] : moves_.BlackHints[index];
        if (chess_.LocateMoveText(text, hint, side) != 0) return false;
        const chess::LocatedMove squares = chess_.LocatedMoveSquares();
        if (chess_.MakeMoveFromSquares(
                chess::MoveMode::Record, half_move, static_cast<int>(squares.from_file),
                static_cast<int>(squares.from_rank), static_cast<int>(squares.to_file),
                static_cast<int>(squares.to_rank)) != 0) {
            return false;
        }
    }
    shown_ = half_moves;
    return true;
}

void GameEntry::ShowHalfMove(int half_move) {
    shown_ = std::clamp(half_move, 0, half_moves_);
    chess_.RestorePosition(shown_);
}

Side GameEntry::SideToMove() const { return SideOf(half_moves_ + 1); }

std::uint32_t GameEntry::StartMoveNumber() const {
    const int number = start_.from_setup ? start_.setup.MoveNumber() : 0;
    return number > 1 ? static_cast<std::uint32_t>(number) : 0;
}

bool GameEntry::IsPromotion(int from_file, int from_rank, int to_file, int to_rank) const {
    if (!chess::OnBoard(from_file, from_rank) || !chess::OnBoard(to_file, to_rank)) return false;
    const Side side = SideToMove();
    return Board()[from_file][from_rank] == chess::PieceCode(chess::Pawn, side) &&
           to_rank == (side == Side::White ? 8 : 1);
}

std::vector<BoardSquare> GameEntry::LegalTargets(int file, int rank) {
    std::vector<BoardSquare> targets;
    if (shown_ != half_moves_ || half_moves_ >= chess::MaxHalfMoves ||
        !chess::OnBoard(file, rank) || !chess::BelongsTo(Board()[file][rank], SideToMove())) {
        return targets;
    }
    const int half_move = half_moves_ + 1;
    const std::uint32_t kind = chess::KindOf(Board()[file][rank]);
    for (int to_file = 1; to_file <= 8; ++to_file) {
        for (int to_rank = 1; to_rank <= 8; ++to_rank) {
            if (chess::BelongsTo(Board()[to_file][to_rank], SideToMove()) ||
                !InReach(kind, SideToMove(), file, rank, to_file, to_rank)) {
                continue;
            }
            // Trying a move advances the en-passant state and may set castling flags: put the
            // whole state back after each try.
            const chess::SavedChessState saved = chess_.SaveChessState();
            const bool made = chess_.MakeMoveFromSquares(chess::MoveMode::TextOnly, half_move, file,
                                                         rank, to_file, to_rank) == 0;
            chess_.RestoreChessState(saved);
            if (!made) continue;
            // A set-up position's en-passant right is for its one file.
            const bool en_passant = chess::KindOf(Board()[file][rank]) == chess::Pawn &&
                                    to_file != file && Board()[to_file][to_rank] == 0;
            if (en_passant && half_move == FirstMove() && to_file != start_.setup.EnPassantFile()) {
                continue;
            }
            targets.push_back({to_file, to_rank});
        }
    }
    return targets;
}

GameEntry::MoveOutcome GameEntry::MakeMove(int from_file, int from_rank, int to_file, int to_rank,
                                           std::uint32_t promotion) {
    if (shown_ != half_moves_) return MoveOutcome::NotAtEnd;
    if (half_moves_ >= chess::MaxHalfMoves) return MoveOutcome::GameFull;
    const int half_move = half_moves_ + 1;
    if (!chess::OnBoard(from_file, from_rank) || !chess::OnBoard(to_file, to_rank)) {
        return MoveOutcome::Illegal;
    }
    const bool en_passant = chess::KindOf(Board()[from_file][from_rank]) == chess::Pawn &&
                            to_file != from_file && Board()[to_file][to_rank] == 0;
    if (en_passant && half_move == FirstMove() && to_file != start_.setup.EnPassantFile()) {
        return MoveOutcome::Illegal;
    }
    const chess::SavedChessState saved = chess_.SaveChessState();
    chess_.SetPromotionChoice(promotion == chess::Queen ? 0 : promotion);
    if (chess_.MakeMoveFromSquares(chess::MoveMode::Record, half_move, from_file, from_rank,
                                   to_file, to_rank) != 0) {
        chess_.RestoreChessState(saved);
        return MoveOutcome::Illegal;
    }
    chess::MoveText text = chess_.MadeMoveText();
    chess_.MarkMateOrStalemate(half_move, text, false);
    TextOf(half_move) = text;
    half_moves_ = shown_ = half_move;
    changed_ = true;
    return MoveOutcome::Made;
}

bool GameEntry::TakeBack() {
    if (half_moves_ < FirstMove()) return false;
    TruncateTo(half_moves_ - 1);
    return true;
}

void GameEntry::TruncateTo(int half_move) {
    half_move = std::clamp(half_move, FirstMove() - 1, half_moves_);
    if (half_move == half_moves_) {
        ShowHalfMove(half_moves_);
        return;
    }
    ClearFrom(half_move);
    half_moves_ = half_move;
    kept_annotations_ = std::min(kept_annotations_, half_move);
    changed_ = true;
    // The moves left were made before, so they play again.
    Rebuild(half_moves_);
}

std::string GameEntry::MovesText() const {
    return pgn::WriteMoves({moves_, FullMoves(), StartMoveNumber()},
                           header_.Get(pgn::HeaderField::Result), true);
}

std::string GameEntry::GameText() const { return pgn::EnteredGameText(Entered()); }

void GameEntry::SetHeaderField(pgn::HeaderField field, std::string_view value) {
    std::string cut = CutAtCharacter(value, pgn::MaxHeaderDialogField);
    if (header_.Get(field) == cut) return;
    header_.Get(field) = std::move(cut);
    changed_ = true;
}

pgn::EnteredGame GameEntry::Entered() const {
    pgn::EnteredGame game;
    game.header = header_;
    game.moves = moves_;
    game.full_moves = FullMoves();
    game.starts_from_setup = start_.from_setup;
    if (start_.from_setup) {
        game.header.SetStartMoveNumber(start_.setup.MoveNumber());
        game.start = start_.setup.Board();
        game.castling = start_.setup.CastlingField();
        game.en_passant = start_.setup.EnPassantField();
    }
    return game;
}

Result<pgn::EditDone> GameEntry::Save(pgn::PgnFile& target, pgn::SaveMode mode,
                                      const std::string& new_path, Ui& ui,
                                      platform::FileSystem& file_system) {
    pgn::GameFileEditor editor(target, ui, file_system);
    Result<pgn::EditDone> done = editor.SaveGameToFile(Entered(), mode, new_path);
    if (done.ok() && !done->cancelled) {
        changed_ = false;
        save_mode_ = mode;
    }
    return done;
}

Result<pgn::EditDone> GameEntry::SaveChanges(pgn::PgnFile& file, Ui& ui,
                                             platform::FileSystem& file_system) {
    if (!original_) return Error(std::string(pgn::ErrorFindingGame));
    if (Error error = pgn::CheckEnteredGame(Entered()); !error.ok()) return error;
    pgn::GameRewrite game = *original_;
    game.edited = header_;
    game.moves = moves_;
    game.full_moves = FullMoves();
    // Annotations of moves that were changed no longer belong to anything.
    game.annotations.resize(static_cast<std::size_t>(kept_annotations_) + 1);
    file.SetCurrentGameNumber(game_number_);
    pgn::GameFileEditor editor(file, ui, file_system);
    Result<pgn::EditDone> done = editor.RewriteCurrentGame(game);
    if (done.ok()) {
        changed_ = false;
        // What was saved is the new original.
        Result<pgn::GameRewrite> reloaded = pgn::LoadGameRewrite(file, game_number_);
        if (reloaded.ok()) original_ = std::move(*reloaded);
        kept_annotations_ = half_moves_;
    }
    return done;
}

}  // namespace qorvale::app
