#include "engines/engine_board.h"

#include <cstdio>
#include <span>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "engines/engine_output.h"
#include "search/move_code.h"

namespace qorvale::engines {

namespace {

std::uint32_t PromotionKind(char letter) {
    switch (letter) {
        case 'q':
            return chess::Queen;
        case 'r':
            return chess::Rook;
        case 'b':
            return chess::Bishop;
        case 'n':
            return chess::Knight;
        default:
            return 0;
    }
}

}  // namespace

std::optional<CoordinateSquares> ParseCoordinateMove(std::string_view text) {
    if (text.size() < 4 || !chess::IsFileLetter(text[0]) || !chess::IsRankDigit(text[1]) ||
        !chess::IsFileLetter(text[2]) || !chess::IsRankDigit(text[3])) {
        return std::nullopt;
    }
    CoordinateSquares move{text[0] - 'a' + 1, text[1] - '0', text[2] - 'a' + 1, text[3] - '0', 0};
    std::size_t end = 4;
    if (text.size() > 4 && text[4] != ' ') {
        move.promotion = PromotionKind(text[4]);
        if (move.promotion == 0) return std::nullopt;
        end = 5;
    }
    if (text.size() > end && text[end] != ' ') return std::nullopt;
    return move;
}

chess::CoordinateMove CoordinateText(const CoordinateSquares& move) {
    chess::CoordinateMove text;
    text.bytes[0] = chess::FileLetter(move.from_file);
    text.bytes[1] = chess::RankDigit(move.from_rank);
    text.bytes[2] = chess::FileLetter(move.to_file);
    text.bytes[3] = chess::RankDigit(move.to_rank);
    if (move.promotion != 0) text.bytes[4] = "??nbrq"[move.promotion];
    return text;
}

EnginePosition EnginePositionFromGame(const chess::ChessState& chess,
                                      const chess::MainLineMoves& moves, int half_moves) {
    EnginePosition position;
    position.from_fen = chess.StartsFromFen() || chess.SetupActive();
    position.black_first = moves.WhiteMoves[0][0] == '.';
    if (position.from_fen) {
        const chess::Snapshot& start = chess.PositionHistory(0);
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                position.start[file][rank] = start[chess::Board64Index(file, rank)];
            }
        }
        position.start_move_number = chess.DisplayMoveNumber(0);
    }
    if (half_moves > chess::MaxHalfMoves) half_moves = chess::MaxHalfMoves;
    for (int ply = position.black_first ? 2 : 1; ply <= half_moves; ++ply) {
        const chess::Snapshot& before = chess.PositionHistory(ply - 1);
        const chess::Snapshot& after = chess.PositionHistory(ply);
        search::MoveCode code = search::EncodeMoveCode(std::span<const std::uint32_t, 64>(before),
                                                       std::span<const std::uint32_t, 64>(after),
                                                       ply, search::MoveCodeVariant::Engine);
        if (code == search::UnknownMoveCode) break;
        chess::Board64 compact{};
        for (std::size_t square = 0; square < compact.size(); ++square) {
            compact[square] = static_cast<std::uint8_t>(before[square]);
        }
        std::string text = search::MoveCodeText(code, compact);
        std::optional<CoordinateSquares> squares = ParseCoordinateMove(text);
        if (!squares) break;
        position.moves.push_back(CoordinateText(*squares));
    }
    return position;
}

std::optional<EngineFen> ReadEngineFen(std::string_view fen) {
    std::size_t at = 0;
    std::string_view placement = NextWord(fen, at);
    std::string_view side = NextWord(fen, at);
    std::string_view castling = NextWord(fen, at);
    std::string_view en_passant = NextWord(fen, at);
    std::string_view clock = NextWord(fen, at);
    std::string_view number = NextWord(fen, at);
    if (!NextWord(fen, at).empty() || (side != "w" && side != "b")) return std::nullopt;
    int rank = 8;
    int file = 1;
    for (char c : placement) {
        if (c == '/') {
            if (file != 9 || rank == 1) return std::nullopt;
            --rank;
            file = 1;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else if (std::string_view("PNBRQKpnbrqk").find(c) != std::string_view::npos) {
            ++file;
        } else {
            return std::nullopt;
        }
        if (file > 9) return std::nullopt;
    }
    if (rank != 1 || file != 9) return std::nullopt;
    EngineFen read;
    read.position.from_fen = true;
    read.position.start = chess::ReadPlacement(placement);
    read.position.black_first = side == "b";
    read.info.black_to_move = side == "b";
    if (castling.empty()) castling = "-";
    if (castling != "-") {
        for (char c : castling) {
            switch (c) {
                case 'K':
                    read.info.white_castle_king = true;
                    break;
                case 'Q':
                    read.info.white_castle_queen = true;
                    break;
                case 'k':
                    read.info.black_castle_king = true;
                    break;
                case 'q':
                    read.info.black_castle_queen = true;
                    break;
                default:
                    return std::nullopt;
            }
        }
    }
    if (!en_passant.empty() && en_passant != "-") {
        // The square behind the pawn in FEN; the pawn's own square in the dialog's field.
        if (en_passant.size() != 2 || !chess::IsFileLetter(en_passant[0]) ||
            (en_passant[1] != '3' && en_passant[1] != '6')) {
            return std::nullopt;
        }
        read.info.en_passant = {en_passant[0], en_passant[1] == '3' ? '4' : '5'};
    }
    for (char c : clock) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    std::uint32_t move_number = 0;
    for (char c : number) {
        if (c < '0' || c > '9' || move_number > 100000) return std::nullopt;
        move_number = move_number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    read.position.start_move_number = move_number < 1 ? 1 : move_number;
    read.position.fen = std::string(placement) + " " + std::string(side) + " " +
                        std::string(castling) + " " +
                        std::string(en_passant.empty() ? "-" : en_passant) + " " +
                        std::string(clock.empty() ? "0" : clock) + " " +
                        std::to_string(read.position.start_move_number);
    return read;
}

std::string StartFen(const EnginePosition& position) {
    if (!position.fen.empty()) return position.fen;
    const chess::Board& board = position.start;
    std::string fen = chess::WritePlacement(board);
    fen += position.black_first ? " b " : " w ";
    auto at = [&](int file, int rank, std::uint32_t code) { return board[file][rank] == code; };
    std::string castling;
    using chess::King;
    using chess::Rook;
    const std::uint32_t black_king = chess::PieceCode(King, chess::Side::Black);
    const std::uint32_t black_rook = chess::PieceCode(Rook, chess::Side::Black);
    if (at(5, 1, King) && at(8, 1, Rook)) castling += 'K';
    if (at(5, 1, King) && at(1, 1, Rook)) castling += 'Q';
    if (at(5, 8, black_king) && at(8, 8, black_rook)) castling += 'k';
    if (at(5, 8, black_king) && at(1, 8, black_rook)) castling += 'q';
    fen += castling.empty() ? "-" : castling;
    fen += " - 0 ";
    fen += std::to_string(position.start_move_number < 1 ? 1 : position.start_move_number);
    return fen;
}

std::string PositionCommand(const EnginePosition& position) {
    std::string command =
        position.from_fen ? "position fen " + StartFen(position) : std::string("position startpos");
    if (!position.moves.empty()) {
        command += " moves";
        for (const chess::CoordinateMove& move : position.moves) {
            command += ' ';
            command += move.view();
        }
    }
    return command;
}

EngineBoard::EngineBoard() : state_(std::make_unique<chess::ChessState>()) {
    state_->SetQuietParse(true);
    Set(EnginePosition{});
}

EngineBoard::~EngineBoard() = default;
EngineBoard::EngineBoard(EngineBoard&&) noexcept = default;
EngineBoard& EngineBoard::operator=(EngineBoard&&) noexcept = default;

int EngineBoard::Set(const EnginePosition& position) {
    position_ = position;
    position_.moves.clear();
    san_.clear();
    state_->SetSetupActive(false);
    state_->SetStartsFromFen(position.from_fen);
    if (position.from_fen) {
        state_->FenStartBoard() = position.start;
        state_->SetStartMoveNumber(position.start_move_number);
    } else {
        state_->SetStartMoveNumber(0);
    }
    state_->SetStartPosition();
    int played = 0;
    for (const chess::CoordinateMove& move : position.moves) {
        std::optional<CoordinateSquares> squares = ParseCoordinateMove(move.view());
        if (!squares || !Play(*squares)) break;
        ++played;
    }
    return played;
}

std::uint32_t EngineBoard::MoveNumber() const {
    return state_->DisplayMoveNumber(static_cast<std::uint32_t>(HalfMove() / 2));
}

const chess::Board& EngineBoard::Board() const { return state_->CurrentBoard(); }

bool EngineBoard::PlaySquares(const CoordinateSquares& move, std::string* san) {
    const int half_move = HalfMove() + 1;
    state_->SetPromotionChoice(move.promotion);
    int rejected = state_->MakeMoveFromSquares(chess::MoveMode::Record, half_move, move.from_file,
                                               move.from_rank, move.to_file, move.to_rank);
    state_->SetPromotionChoice(0);
    if (rejected != 0) return false;
    chess::MoveText text = state_->MadeMoveText();
    state_->MarkMateOrStalemate(half_move, text, false);
    if (san != nullptr) san->assign(text.view());
    return true;
}

bool EngineBoard::Play(const CoordinateSquares& move, std::string* san) {
    std::string text;
    if (!PlaySquares(move, &text)) return false;
    position_.moves.push_back(CoordinateText(move));
    san_.push_back(text);
    if (san != nullptr) *san = std::move(text);
    return true;
}

bool EngineBoard::PlayEngineMove(std::string_view text, std::string* san) {
    std::size_t at = 0;
    std::string_view word = NextWord(text, at);
    if (std::optional<CoordinateSquares> squares = ParseCoordinateMove(word)) {
        return Play(*squares, san);
    }
    // SAN: the program's own reader finds the squares; the move is then checked and played
    // from them like any other.
    if (word.empty() || word.size() > chess::MoveText::Capacity) return false;
    chess::MoveText located_text(word);
    const chess::SavedChessState saved = state_->SaveChessState();
    int found = state_->LocateMoveText(located_text, chess::FromHint{}, SideToMove());
    const chess::LocatedMove located = state_->LocatedMoveSquares();
    std::uint32_t promotion = state_->PromotionChoice();
    state_->RestoreChessState(saved);
    if (found != 0) return false;
    CoordinateSquares move{static_cast<int>(located.from_file), static_cast<int>(located.from_rank),
                           static_cast<int>(located.to_file), static_cast<int>(located.to_rank), 0};
    const chess::Board& board = Board();
    const int last_rank = SideToMove() == chess::Side::White ? 8 : 1;
    if (chess::OnBoard(move.from_file, move.from_rank) &&
        chess::KindOf(board[move.from_file][move.from_rank]) == chess::Pawn &&
        move.to_rank == last_rank) {
        move.promotion = promotion != 0 ? promotion : chess::Queen;
    }
    return Play(move, san);
}

void EngineBoard::TakeBack(int count) {
    EnginePosition shorter = position_;
    std::size_t keep = count >= static_cast<int>(shorter.moves.size())
                           ? 0
                           : shorter.moves.size() - static_cast<std::size_t>(count);
    shorter.moves.resize(keep);
    Set(shorter);
}

std::string EngineBoard::SanLine(std::string_view line, int* converted) {
    const chess::SavedChessState saved = state_->SaveChessState();
    int half_move = HalfMove();
    std::uint32_t number = MoveNumber();
    std::string text;
    std::string san;
    int count = 0;
    std::size_t at = 0;
    while (true) {
        std::string_view word = NextWord(line, at);
        std::optional<CoordinateSquares> move = ParseCoordinateMove(word);
        if (!move) break;
        const int next = half_move + 1;
        state_->SetPromotionChoice(move->promotion);
        int rejected = state_->MakeMoveFromSquares(chess::MoveMode::Record, next, move->from_file,
                                                   move->from_rank, move->to_file, move->to_rank);
        state_->SetPromotionChoice(0);
        if (rejected != 0) break;
        chess::MoveText made = state_->MadeMoveText();
        state_->MarkMateOrStalemate(next, made, false);
        if (next % 2 == 1 || count == 0) {
            char piece[32];
            std::snprintf(piece, sizeof piece, next % 2 == 1 ? " %u.%s" : " %u...%s", number,
                          made.bytes.data());
            text += piece;
        } else {
            text += ' ';
            text += made.view();
        }
        if (next % 2 == 0) ++number;
        half_move = next;
        ++count;
    }
    state_->RestoreChessState(saved);
    if (converted != nullptr) *converted = count;
    return text;
}

}  // namespace qorvale::engines
