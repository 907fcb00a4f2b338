#include "app/session.h"

#include <algorithm>

#include "app/file_opener.h"
#include "app/messages.h"
#include "base/message.h"
#include "openings/eco_line_trie.h"
#include "pgn/game_bytes.h"
#include "pgn/game_loader.h"
#include "pgn/messages.h"

namespace qorvale::app {

namespace {

// The program keeps one game's text within this many bytes.
constexpr std::int64_t MaxGameTextBytes = 500000;

std::uint32_t SquareCode(const chess::Snapshot& snapshot, int file, int rank) {
    return snapshot[static_cast<std::size_t>(chess::Board64Index(file, rank))];
}

}  // namespace

Session::Session() : chess_(nullptr) {}

Error Session::OpenFile(const std::string& path, Ui& ui) {
    OpenRequest request;
    request.path = path;
    request.before_scan = [this] { ForgetGame(); };
    if (Error opened = OpenGameFile(file_, request, ui); !opened.ok()) return opened;
    FileOpened();
    return Error::Ok();
}

void Session::FileOpened() {
    ForgetGame();
    search_.ClearList();
    previous_shown_game_ = 0;
}

void Session::FileChanged() {
    FileOpened();
    if (file_.IsOpen()) DeleteListCaches(file_.CurrentPath());
}

void Session::UseSearchResults() {
    std::vector<std::int32_t> found = search_.FoundGames();
    if (found.empty()) {
        games_.Reset();
    } else {
        games_.SetSearchList(std::move(found));
    }
}

std::string Session::GameCounterText() const {
    if (game_number_ <= 0) return {};
    const std::int32_t count = file_.GameCount();
    std::string text = count > 0 ? FillMessage(GameOfCountStatus, {game_number_, count})
                                 : FillMessage(pgn::GameStatus, game_number_);
    if (games_.FromSearch()) {
        const int place = search_.List().IndexOf(game_number_);
        const std::int32_t found = games_.Count(count);
        text += place >= 0 ? FillMessage(FoundPlaceStatus, {place + 1, found})
                           : FillMessage(NotFoundStatus, found);
    }
    return text;
}

std::int32_t Session::HiddenMovesLimit(bool hide_option) {
    if (navigation_.studyMode != 0) {
        hide_reached_ = navigation_.currentPly;
        return hide_reached_;
    }
    if (!hide_option) return -1;
    hide_reached_ = std::max(hide_reached_, navigation_.currentPly);
    return hide_reached_;
}

void Session::ForgetGame() {
    replay_.Reset();
    games_.Reset();
    chess_.ClearWarnedPromotionKinds();
    game_number_ = 0;
    lines_.Clear();
    // Until a game is shown the board is empty: never the last file's position.
    chess_.CurrentBoard() = chess::Board{};
    ResetNavigation(navigation_, 0);
    game_list_.clear();
    game_list_built_ = false;
    opening_names_.clear();
    opening_names_checked_ = false;
}

void Session::ForgetGameList() {
    game_list_.clear();
    game_list_built_ = false;
    opening_names_.clear();
    opening_names_checked_ = false;
    if (!file_.LastScan().from_cache) DeleteListCaches(file_.CurrentPath());
}

const std::vector<GameListRecord>& Session::GameList(Ui& ui) {
    if (!game_list_built_ && file_.IsOpen()) {
        // Games without an ECO tag are named from the table; built per list, it is quick.
        const openings::EcoLineTrie classifier(eco_table_);
        game_list_ =
            BuildGameListRecords(file_, ui, classifier.empty() ? nullptr : &classifier).records;
        game_list_built_ = true;
    }
    return game_list_;
}

const std::vector<std::string>* Session::OpeningNames(std::string_view app_folder, Ui& ui) {
    if (!opening_names_checked_ && file_.IsOpen()) {
        opening_names_checked_ = true;
        opening_names_mode_ = UsesOpeningNames(file_, app_folder, ui);
        if (opening_names_mode_) opening_names_ = BuildOpeningNamesLines(file_, ui);
    }
    return opening_names_checked_ && opening_names_mode_ ? &opening_names_ : nullptr;
}

bool Session::Reload(Ui& ui) {
    if (!file_.ReloadGameFile(ui)) return false;
    ForgetGameList();
    game_number_ = 0;
    return true;
}

Error Session::LoadGame(std::int32_t game_number, Ui& ui) {
    if (!file_.IsOpen() || game_number < 1 || game_number > file_.GameCount()) {
        return Error(std::string(pgn::ErrorFindingGame));
    }
    ReplayStop();
    const std::int32_t shown_before = game_number_;
    chess_.SetUi(&ui);
    Result<int> loaded = pgn::OpenGameForDisplay(file_, game_number, header_, lines_, chess_, ui);
    chess_.SetUi(nullptr);
    if (!loaded) return loaded.error();
    if (shown_before != game_number) previous_shown_game_ = shown_before;
    hide_reached_ = 0;
    game_number_ = game_number;
    game_status_ = file_.Status().game_short;
    file_.SetCurrentGameNumber(game_number);
    ResetNavigation(navigation_, std::max(0, *loaded));
    opening_game_.Set(lines_.Moves(), navigation_.lastPly);
    chess_.RestorePosition(0);
    return Error::Ok();
}

void Session::ShowPly(std::int32_t ply) { chess_.RestorePosition(ply); }

NavigationStep Session::Go(NavigationAction action, Ui& ui) {
    ReplayStop();
    const NavigationState before = navigation_;
    NavigationStep step = Navigate(navigation_, action);
    if (!step.moved) return step;
    // A game that Black begins holds an empty White half-move first; the board never stops there,
    // or the first key press after the start would show nothing new.
    if (navigation_.currentPly == 1 && StartsWithBlack()) {
        navigation_.currentPly = before.currentPly < 1 && navigation_.lastPly >= 2 ? 2 : 0;
        if (navigation_.currentPly == before.currentPly) {
            navigation_ = before;
            return NavigationStep{};
        }
        step.show_result = navigation_.currentPly == navigation_.lastPly;
    }
    if (step.single_step && ChangedSquares(chess_.PositionHistory(before.currentPly),
                                           chess_.PositionHistory(navigation_.currentPly)) > 4) {
        ui.report(ErrorInDisplayMove);
        navigation_ = before;
        return NavigationStep{};
    }
    ShowPly(navigation_.currentPly);
    return step;
}

NavigationStep Session::GoToPly(std::int32_t ply) {
    ReplayStop();
    ply = std::clamp(ply, 0, navigation_.lastPly);
    if (ply == 1 && StartsWithBlack()) ply = 0;
    NavigationStep step;
    if (ply == navigation_.currentPly) return step;
    step.moved = true;
    step.classify = true;
    step.show_result = ply == navigation_.lastPly;
    step.remove_result = navigation_.currentPly == navigation_.lastPly;
    navigation_.previousPly = navigation_.currentPly;
    navigation_.currentPly = ply;
    ShowPly(ply);
    return step;
}

bool Session::StartsWithBlack() const {
    return HasGame() && lines_.FullMoves() > 0 &&
           lines_.Moves().WhiteMoves[0].view().starts_with('.');
}

MoveSquares MoveSquaresBetween(const chess::Snapshot& before, const chess::Snapshot& after) {
    MoveSquares squares;
    // The target is the square that now holds a piece; with castling, the king's.
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            std::uint32_t now = SquareCode(after, file, rank);
            if (now == SquareCode(before, file, rank) || now == chess::Empty) continue;
            if (squares.to_file == 0 || chess::KindOf(now) == chess::King) {
                squares.to_file = file;
                squares.to_rank = rank;
            }
        }
    }
    if (squares.to_file == 0) return {};
    const std::uint32_t moved = SquareCode(after, squares.to_file, squares.to_rank);
    int fallback_file = 0;
    int fallback_rank = 0;
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            std::uint32_t was = SquareCode(before, file, rank);
            if (was == chess::Empty || SquareCode(after, file, rank) != chess::Empty) continue;
            if (was == moved) {
                squares.from_file = file;
                squares.from_rank = rank;
                return squares;
            }
            // A promotion: the pawn that left is of the mover's side.
            if (chess::IsBlackCode(was) == chess::IsBlackCode(moved)) {
                fallback_file = file;
                fallback_rank = rank;
            }
        }
    }
    if (fallback_file == 0) return {};
    squares.from_file = fallback_file;
    squares.from_rank = fallback_rank;
    return squares;
}

MoveSquares Session::LastMoveSquares() const {
    // During a walk the position history holds the analysis line up to its move.
    const int ply = replay_.OnBoard() ? replay_.HalfMove() : navigation_.currentPly;
    if (ply < 1) return {};
    return MoveSquaresBetween(chess_.PositionHistory(ply - 1), chess_.PositionHistory(ply));
}

AnalysisReplay::Outcome Session::ReplayNext(Ui& ui) {
    if (!HasGame()) return AnalysisReplay::Outcome::Nothing;
    return replay_.Next(lines_, chess_, navigation_.currentPly, ui);
}

AnalysisReplay::Outcome Session::ReplayPrevious() {
    if (!HasGame()) return AnalysisReplay::Outcome::Nothing;
    return replay_.Previous(lines_, chess_);
}

void Session::ReplayStart(std::optional<std::size_t> text_offset) {
    ReplayStop();
    if (HasGame()) replay_.Start(lines_, navigation_.currentPly, text_offset);
}

void Session::ReplayStop() { replay_.Stop(lines_, chess_, navigation_.currentPly); }

std::int32_t Session::ShowOpening(Ui& ui) const {
    // The half-moves up to the current move number, less Black's when Black has not moved.
    const int ply = HasGame() ? navigation_.currentPly : 0;
    const int half_moves =
        ply == 0 ? 0 : openings::ShowOpeningHalfMoves((ply + 1) / 2, ply % 2 == 0);
    return openings::ShowOpening(eco_table_, opening_game_, half_moves, ui);
}

std::int32_t Session::FindOpening(openings::FindOpeningMode mode, Ui& ui) const {
    const int ply = HasGame() ? navigation_.currentPly : 0;
    const Mode current = modes_.Current();
    const bool allowed = current == Mode::VariationEdit || current == Mode::Analyze;
    return openings::FindOpeningCommand(eco_table_, opening_game_, mode, ply, allowed, ui);
}

std::string Session::OpeningText() const {
    if (eco_table_.empty() || !HasGame()) return {};
    return openings::OpeningDisplayText(eco_table_, opening_game_,
                                        header_.CurrentHeader().Get(pgn::HeaderField::ECO),
                                        navigation_.currentPly);
}

GameTextSource Session::TextSource() const {
    GameTextSource source;
    source.moves = &lines_.Moves();
    source.full_moves = HasGame() ? lines_.FullMoves() : 0;
    source.start_move_number = chess_.StartsFromFen() ? chess_.StartMoveNumber() : 0;
    return source;
}

const std::string& Session::ResultText() const {
    return header_.CurrentHeader().Get(pgn::HeaderField::Result);
}

std::string Session::ActualGameText() {
    if (!HasGame()) return {};
    return pgn::ReadGameBytes(file_, game_number_, MaxGameTextBytes);
}

}  // namespace qorvale::app
