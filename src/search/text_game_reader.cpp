#include "search/text_game_reader.h"

#include "pgn/record_reader.h"
#include "pgn/record_source.h"
#include "platform/file.h"

namespace qorvale::search {

struct TextGameReader::Parts {
    platform::File file;
    pgn::RecordReader reader;
    pgn::HandleRecordSource source{file, reader};
    chess::ChessState chess;
    pgn::HeaderTags header;
    pgn::GameLines lines;
};

TextGameReader::TextGameReader(const std::string& pgn_path, std::span<const std::uint32_t> offsets,
                               std::string_view display_letters)
    : parts_(std::make_unique<Parts>()), offsets_(offsets) {
    parts_->lines.SetDisplayLetters(display_letters);
    parts_->file = platform::File::Open(pgn_path, platform::File::Mode::Read);
    parts_->chess.SetQuietParse(true);
    parts_->chess.SetMessagesSuppressed(true);
}

TextGameReader::~TextGameReader() = default;

bool TextGameReader::IsOpen() const { return parts_->file.IsOpen(); }

bool TextGameReader::Read(std::int32_t index, Depth depth) {
    Parts& parts = *parts_;
    full_moves_ = 0;
    half_moves_ = 0;
    if (index < 0 || static_cast<std::size_t>(index) >= offsets_.size()) return false;
    if (!parts.file.Seek(offsets_[static_cast<std::size_t>(index)])) return false;
    parts.reader.Reset();
    parts.header.ReadHeader(parts.source, pgn::FirstRecordMode::KeepForMovetext);
    parts.header.BuildHeaderDisplay();
    if (depth == Depth::Header) {
        parts.header.ReleaseFirstMovetextRecord();
        return true;
    }
    const bool has_first = parts.header.HasFirstMovetextRecord();
    parts.lines.SetFirstMover(pgn::FirstMoverOfFen(parts.header.TagLines().Line(pgn::Tag::FEN)));
    full_moves_ = parts.lines.ParseMovetextQuiet(
        parts.source, has_first ? &parts.header.FirstMovetextRecord() : nullptr,
        has_first ? parts.header.FirstMovetextRecordLength() : 0, 0);
    parts.header.ReleaseFirstMovetextRecord();
    if (depth == Depth::Moves) return true;

    const std::string& fen_line = parts.header.TagLines().Line(pgn::Tag::FEN);
    parts.chess.SetSetupActive(false);
    parts.chess.ReadFenTagExtras(fen_line);
    if (parts.chess.StartsFromFen()) {
        std::string placement = fen_line;
        parts.chess.ParseFenPlacement(placement);
    }
    parts.chess.SetStartPosition();
    half_moves_ = parts.chess.ReplayToHalfMove(parts.lines.Moves(), full_moves_);
    return true;
}

const pgn::HeaderValues& TextGameReader::Values() const { return parts_->header.CurrentHeader(); }

bool TextGameReader::HasFen() const { return parts_->header.TagLines().Has(pgn::Tag::FEN); }

const chess::MainLineMoves& TextGameReader::Moves() const { return parts_->lines.Moves(); }

const chess::Snapshot& TextGameReader::Position(int half_move) const {
    return parts_->chess.PositionHistory(half_move);
}

}  // namespace qorvale::search
