#include "app/setup_position.h"

#include <vector>

#include "app/edit_messages.h"
#include "chess/fen.h"

namespace qorvale::app {

namespace {

using chess::Side;

std::uint32_t CodeOfLetter(char letter) {
    const bool black = letter >= 'a' && letter <= 'z';
    const char upper = black ? static_cast<char>(letter - 'a' + 'A') : letter;
    std::uint32_t kind = 0;
    switch (upper) {
        case 'P':
            kind = chess::Pawn;
            break;
        case 'N':
            kind = chess::Knight;
            break;
        case 'B':
            kind = chess::Bishop;
            break;
        case 'R':
            kind = chess::Rook;
            break;
        case 'Q':
            kind = chess::Queen;
            break;
        case 'K':
            kind = chess::King;
            break;
        default:
            return 0;
    }
    return chess::PieceCode(kind, black ? Side::Black : Side::White);
}

// A placement field read strictly: eight ranks of eight squares, known letters only.
bool ReadStrictPlacement(std::string_view text, chess::Board& board) {
    board = {};
    int rank = 8;
    int file = 1;
    for (char c : text) {
        if (c == '/') {
            if (file != 9 || rank == 1) return false;
            --rank;
            file = 1;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 9) return false;
        } else {
            const std::uint32_t code = CodeOfLetter(c);
            if (code == 0 || file > 8) return false;
            board[file][rank] = code;
            ++file;
        }
    }
    return rank == 1 && file == 9;
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
        if (end > at) fields.push_back(text.substr(at, end - at));
        at = end;
    }
    return fields;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() < 7 &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

SetupPosition::SetupPosition() { Initial(); }

std::uint32_t SetupPosition::PieceAt(int file, int rank) const {
    return chess::OnBoard(file, rank) ? board_[file][rank] : 0;
}

void SetupPosition::Place(int file, int rank, std::uint32_t code) {
    if (chess::OnBoard(file, rank)) board_[file][rank] = code;
}

void SetupPosition::MovePiece(int from_file, int from_rank, int to_file, int to_rank) {
    if (!chess::OnBoard(from_file, from_rank)) return;
    const std::uint32_t code = board_[from_file][from_rank];
    board_[from_file][from_rank] = 0;
    Place(to_file, to_rank, code);
}

void SetupPosition::Clear() {
    board_ = {};
    side_ = Side::White;
    castling_ = {};
    en_passant_file_ = 0;
    move_number_ = 1;
}

void SetupPosition::Initial() {
    board_ = chess::StartBoard();
    side_ = Side::White;
    castling_ = {true, true, true, true};
    en_passant_file_ = 0;
    move_number_ = 1;
}

CastlingRights SetupPosition::UsableCastling() const {
    const auto at = [this](int file, int rank, std::uint32_t kind, Side side) {
        return board_[file][rank] == chess::PieceCode(kind, side);
    };
    const bool white_king = at(5, 1, chess::King, Side::White);
    const bool black_king = at(5, 8, chess::King, Side::Black);
    return {castling_.white_king && white_king && at(8, 1, chess::Rook, Side::White),
            castling_.white_queen && white_king && at(1, 1, chess::Rook, Side::White),
            castling_.black_king && black_king && at(8, 8, chess::Rook, Side::Black),
            castling_.black_queen && black_king && at(1, 8, chess::Rook, Side::Black)};
}

std::string SetupPosition::CastlingField() const {
    const CastlingRights rights = UsableCastling();
    std::string field;
    if (rights.white_king) field += 'K';
    if (rights.white_queen) field += 'Q';
    if (rights.black_king) field += 'k';
    if (rights.black_queen) field += 'q';
    return field.empty() ? "-" : field;
}

std::string SetupPosition::EnPassantField() const {
    if (en_passant_file_ == 0) return "-";
    // The pawn that has just moved belongs to the side not to move.
    const Side mover = chess::Opponent(side_);
    const int pawn_rank = mover == Side::White ? 4 : 5;
    if (board_[en_passant_file_][pawn_rank] != chess::PieceCode(chess::Pawn, mover)) return "-";
    std::string field;
    field += chess::FileLetter(en_passant_file_);
    field += chess::RankDigit(mover == Side::White ? 3 : 6);
    return field;
}

Error SetupPosition::SetFromFen(std::string_view text) {
    const Error invalid{std::string(InvalidFenText)};
    SetupPosition read;
    read.Clear();
    std::string_view placement;
    const std::size_t plus = text.find('+');
    std::vector<std::string_view> fields;
    if (plus != std::string_view::npos) {
        // The program's own clipboard form: "placement+w".
        fields = Fields(text.substr(0, plus));
        std::vector<std::string_view> side = Fields(text.substr(plus + 1));
        if (fields.size() != 1 || side.size() != 1) return invalid;
        fields.push_back(side[0]);
    } else {
        fields = Fields(text);
    }
    if (fields.empty() || fields.size() > 6) return invalid;
    if (!ReadStrictPlacement(fields[0], read.board_)) return invalid;
    if (fields.size() > 1) {
        if (fields[1] != "w" && fields[1] != "b") return invalid;
        read.side_ = fields[1] == "w" ? Side::White : Side::Black;
    }
    if (fields.size() > 2 && fields[2] != "-") {
        for (char right : fields[2]) {
            switch (right) {
                case 'K':
                    read.castling_.white_king = true;
                    break;
                case 'Q':
                    read.castling_.white_queen = true;
                    break;
                case 'k':
                    read.castling_.black_king = true;
                    break;
                case 'q':
                    read.castling_.black_queen = true;
                    break;
                default:
                    return invalid;
            }
        }
    }
    if (fields.size() > 3 && fields[3] != "-") {
        // The square behind the pawn: rank 3 after a white double step (Black to move), 6 after
        // a black one.
        const std::string_view square = fields[3];
        const char behind = read.side_ == Side::Black ? '3' : '6';
        if (square.size() != 2 || !chess::IsFileLetter(square[0]) || square[1] != behind) {
            return invalid;
        }
        read.en_passant_file_ = square[0] - 'a' + 1;
    }
    if (fields.size() > 4 && !AllDigits(fields[4])) return invalid;
    if (fields.size() > 5) {
        if (!AllDigits(fields[5])) return invalid;
        read.SetMoveNumber(std::stoi(std::string(fields[5])));
    }
    *this = read;
    return Error::Ok();
}

std::string SetupPosition::Fen() const {
    std::string fen = chess::WritePlacement(board_);
    fen += side_ == Side::White ? " w " : " b ";
    fen += CastlingField();
    fen += ' ';
    fen += EnPassantField();
    fen += " 0 ";
    fen += std::to_string(move_number_);
    return fen;
}

std::string SetupPosition::ClipboardText(Ui& ui) const {
    return chess::ClipboardFenText(board_, ui);
}

chess::EnginePositionInfo SetupPosition::EngineInfo() const {
    const CastlingRights rights = UsableCastling();
    chess::EnginePositionInfo info;
    info.black_to_move = side_ == Side::Black;
    info.white_castle_king = rights.white_king;
    info.white_castle_queen = rights.white_queen;
    info.black_castle_king = rights.black_king;
    info.black_castle_queen = rights.black_queen;
    if (en_passant_file_ != 0) {
        info.en_passant += chess::FileLetter(en_passant_file_);
        info.en_passant += side_ == Side::Black ? '4' : '5';
    }
    return info;
}

bool SetupPosition::Validate(Ui& ui) const {
    if (chess::ValidateSetupPosition(board_, ui) == 0) return false;
    chess::EnginePositionInfo stored;
    return chess::ValidateEnginePositionInfo(EngineInfo(), stored, ui) == 1;
}

}  // namespace qorvale::app
