#include "openings/line_position.h"

#include <string>

#include "chess/board.h"

namespace qorvale::openings {

namespace {

constexpr std::uint32_t PromotionKinds[4] = {chess::Queen, chess::Knight, chess::Bishop,
                                             chess::Rook};

int FileOf(int square) { return square / 8 + 1; }
int RankOf(int square) { return square % 8 + 1; }
int SquareOf(std::uint32_t file, std::uint32_t rank) {
    return static_cast<int>((file - 1) * 8 + (rank - 1));
}

// The under-promotion flags of a normalised text ("e8=N" -> 1); 0 for a queen or no promotion.
int PromotionFlags(std::string_view text) {
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals + 1 >= text.size()) return 0;
    switch (text[equals + 1]) {
        case 'N':
            return 1;
        case 'B':
            return 2;
        case 'R':
            return 3;
        default:
            return 0;
    }
}

}  // namespace

LinePosition::LinePosition() : chess_(std::make_unique<chess::ChessState>()) {
    chess_->SetQuietParse(true);
    chess_->SetMessagesSuppressed(true);
    Reset();
}

LinePosition::~LinePosition() = default;
LinePosition::LinePosition(LinePosition&&) noexcept = default;
LinePosition& LinePosition::operator=(LinePosition&&) noexcept = default;

void LinePosition::Reset() {
    chess_->SetStartsFromFen(false);
    chess_->SetSetupActive(false);
    chess_->SetStartPosition();
    codes_.clear();
    moves_ = {};
}

const chess::MoveText& LinePosition::Text(int index) const {
    const auto full = static_cast<std::size_t>(index / 2);
    return index % 2 == 0 ? moves_.WhiteMoves[full] : moves_.BlackMoves[full];
}

void LinePosition::Record(search::MoveCode code, const chess::MoveText& text) {
    const auto index = codes_.size();
    (index % 2 == 0 ? moves_.WhiteMoves : moves_.BlackMoves)[index / 2] = text;
    codes_.push_back(code);
}

bool LinePosition::Play(int from, int to, int promotion_flags) {
    if (HalfMoves() >= chess::MaxHalfMoves) return false;
    chess::ChessState& chess = *chess_;
    const int half_move = HalfMoves() + 1;
    // A refused move may still have touched the en-passant state: put everything back.
    const chess::SavedChessState saved = chess.SaveChessState();
    chess.SetPromotionChoice(PromotionKinds[promotion_flags & 3]);
    const bool made = chess.MakeMoveFromSquares(chess::MoveMode::Record, half_move, FileOf(from),
                                                RankOf(from), FileOf(to), RankOf(to)) == 0;
    chess.SetPromotionChoice(saved.PromotionChoice);
    if (!made) {
        chess.RestoreChessState(saved);
        return false;
    }
    Record(MoveCodeOf(from, to, promotion_flags), chess.MadeMoveText());
    return true;
}

bool LinePosition::PlayCode(search::MoveCode code) {
    if (!Play(search::FromSquare(code), search::ToSquare(code), search::PromotionFlags(code))) {
        return false;
    }
    // The line keeps the code as the stream has it, so that it compares equal.
    codes_.back() = code;
    return true;
}

search::MoveCode LinePosition::CodeOf(std::string_view text) {
    if (text.empty() || text.size() > chess::MoveText::Capacity) return 0;
    chess::ChessState& chess = *chess_;
    const chess::SavedChessState saved = chess.SaveChessState();
    chess::MoveText move(text);
    const chess::Side side = WhiteToMove() ? chess::Side::White : chess::Side::Black;
    const bool located = chess.LocateMoveText(move, chess::FromHint{}, side) == 0;
    const chess::LocatedMove squares = chess.LocatedMoveSquares();
    // Locating trusts the text; the rules decide whether the move may be made.
    const bool legal = located && HalfMoves() < chess::MaxHalfMoves &&
                       chess.MakeMoveFromSquares(chess::MoveMode::TextOnly, HalfMoves() + 1,
                                                 static_cast<int>(squares.from_file),
                                                 static_cast<int>(squares.from_rank),
                                                 static_cast<int>(squares.to_file),
                                                 static_cast<int>(squares.to_rank)) == 0;
    chess.RestoreChessState(saved);
    if (!legal) return 0;
    return MoveCodeOf(SquareOf(squares.from_file, squares.from_rank),
                      SquareOf(squares.to_file, squares.to_rank), PromotionFlags(move.view()));
}

bool LinePosition::PlayText(std::string_view text) {
    const search::MoveCode code = CodeOf(text);
    return code != 0 && PlayCode(code);
}

void LinePosition::Truncate(int half_moves) {
    if (half_moves >= HalfMoves()) return;
    std::vector<search::MoveCode> kept(codes_.begin(), codes_.begin() + std::max(half_moves, 0));
    Reset();
    for (search::MoveCode code : kept) {
        if (!PlayCode(code)) break;
    }
}

chess::MoveText LinePosition::TextOf(search::MoveCode code) {
    chess::ChessState& chess = *chess_;
    const int from = search::FromSquare(code);
    const int to = search::ToSquare(code);
    const chess::SavedChessState saved = chess.SaveChessState();
    chess.SetPromotionChoice(PromotionKinds[search::PromotionFlags(code)]);
    const bool made =
        HalfMoves() < chess::MaxHalfMoves &&
        chess.MakeMoveFromSquares(chess::MoveMode::TextOnly, HalfMoves() + 1, FileOf(from),
                                  RankOf(from), FileOf(to), RankOf(to)) == 0;
    chess::MoveText text = made ? chess.MadeMoveText() : chess::MoveText();
    chess.RestoreChessState(saved);
    if (made) return text;
    return chess::MoveText(search::MoveCodeText(code, chess::ToBoard64(chess.CurrentBoard())));
}

std::string LinePosition::LineText() const {
    std::string text;
    for (int i = 0; i < HalfMoves(); ++i) {
        if (i % 2 == 0) text += std::to_string(i / 2 + 1) + ".";
        text += Text(i).view();
        if (i + 1 < HalfMoves()) text += ' ';
    }
    return text;
}

}  // namespace qorvale::openings
