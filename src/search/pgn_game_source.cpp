#include "search/pgn_game_source.h"

#include <string_view>
#include <utility>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_scanner.h"
#include "pgn/header_tags.h"
#include "pgn/record_reader.h"
#include "pgn/record_source.h"
#include "platform/file.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

// The fast file's header fields and the header values they are taken from.
constexpr std::pair<HeaderField, pgn::Tag> FieldMap[] = {
    {HeaderField::White, pgn::Tag::White},       {HeaderField::Black, pgn::Tag::Black},
    {HeaderField::Result, pgn::Tag::Result},     {HeaderField::Date, pgn::Tag::Date},
    {HeaderField::Eco, pgn::Tag::ECO},           {HeaderField::WhiteElo, pgn::Tag::WhiteElo},
    {HeaderField::BlackElo, pgn::Tag::BlackElo}, {HeaderField::Round, pgn::Tag::Round},
    {HeaderField::Event, pgn::Tag::Event},       {HeaderField::Site, pgn::Tag::Site},
};

}  // namespace

struct PgnGameSource::Parts {
    platform::File file;
    pgn::RecordReader reader;
    pgn::HandleRecordSource source{file, reader};
    chess::ChessState chess;
    pgn::HeaderTags header;
    pgn::GameLines lines;
    std::string record;
    std::string pending;  // the first tag line of the game to read next
    bool have_pending = false;
};

PgnGameSource::PgnGameSource(std::string pgn_path, std::vector<std::uint32_t> offsets)
    : pgn_path_(std::move(pgn_path)), offsets_(std::move(offsets)) {}

PgnGameSource::~PgnGameSource() = default;

Error PgnGameSource::Open() {
    parts_ = std::make_unique<Parts>();
    parts_->file = platform::File::Open(pgn_path_, platform::File::Mode::Read);
    if (!parts_->file.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    parts_->chess.SetQuietParse(true);
    parts_->chess.SetMessagesSuppressed(true);
    return Error::Ok();
}

void PgnGameSource::SetDisplayLetters(std::string_view letters) {
    if (parts_) parts_->lines.SetDisplayLetters(letters);
}

bool PgnGameSource::Resynchronise(std::int32_t index) {
    Parts& parts = *parts_;
    if (static_cast<std::size_t>(index) >= offsets_.size()) return false;
    if (!parts.file.Seek(offsets_[static_cast<std::size_t>(index)])) return false;
    parts.reader.Reset();
    while (parts.source.ReadRecord(parts.record) > 0) {
        if (pgn::IsTagRecord(parts.record)) {
            parts.pending = parts.record;
            parts.have_pending = true;
            return true;
        }
    }
    return false;
}

bool PgnGameSource::ReadGame(std::int32_t index, bool merge, FastFileGame& game) {
    if (!parts_) return false;
    Parts& parts = *parts_;
    // The parse of the previous game stops at the next game's first tag line, so reading
    // carries on from there. After a game cut at 200 moves the rest of its moves lie between,
    // and the game is found again from the index; merge mode always starts from the index.
    bool resync = index == 0 || merge || !parts.have_pending || parts.lines.HitMoveLimit();
    if (resync && !Resynchronise(index)) return false;
    parts.have_pending = false;

    parts.header.ReadHeader(parts.source, pgn::FirstRecordMode::HandedOver, parts.pending);
    if (merge) {
        game.has_fen = false;
        game.result = ResultFromTagLine(parts.header.TagLines().Line(pgn::Tag::Result));
    } else {
        // The values as the header reader extracts them for the window, without its display
        // lines, which the fast file does not need.
        // Assigned in place so that the strings keep their buffers from game to game.
        for (const auto& [field, tag] : FieldMap) {
            std::string_view value = pgn::TagValue(parts.header.TagLines().Line(tag));
            game.header[static_cast<int>(field)].assign(value.substr(0, pgn::MaxHeaderValue));
        }
        game.has_fen = parts.header.TagLines().Has(pgn::Tag::FEN);
        game.result = ResultFromTag(game.header[static_cast<int>(HeaderField::Result)]);
    }

    bool has_first = parts.header.HasFirstMovetextRecord();
    parts.lines.SetFirstMover(pgn::FirstMoverOfFen(parts.header.TagLines().Line(pgn::Tag::FEN)));
    int full_moves = parts.lines.ParseMovetext(
        parts.source, has_first ? &parts.header.FirstMovetextRecord() : nullptr,
        has_first ? parts.header.FirstMovetextRecordLength() : 0, 0, nullptr, true);
    parts.header.ReleaseFirstMovetextRecord();
    if (parts.lines.HasNextGameRecord()) {
        parts.pending = parts.lines.NextGameRecord();
        parts.have_pending = true;
    }

    // Every record is replayed from the standard position, FEN or not.
    parts.chess.SetStartsFromFen(false);
    parts.chess.SetSetupActive(false);
    parts.chess.SetStartPosition();
    // Each half-move is encoded as it is played, from the squares it wrote: no position history.
    game.codes.clear();
    chess::ChessState& chess = parts.chess;
    chess.ReplayMainLine(parts.lines.Moves(), full_moves, [&](int half_move) {
        if (half_move <= MaxRecordCodes) {
            game.codes.push_back(
                EncodeMoveChange(chess.LastChange(), chess.CurrentBoard(), half_move));
        }
    });
    return true;
}

}  // namespace qorvale::search
