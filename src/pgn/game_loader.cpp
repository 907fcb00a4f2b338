#include "pgn/game_loader.h"

#include "chess/chess_state.h"
#include "pgn/messages.h"
#include "pgn/pgn_file.h"

namespace qorvale::pgn {

int FileRecordSource::ReadNext(std::string& record) {
    std::string_view text;
    int length = file_.Reader().ReadRecord(file_.GameFileHandle(), text);
    record.assign(text);
    return length;
}

int LoadGameLines(RecordSource& source, HeaderTags& header, GameLines& lines,
                  chess::ChessState& chess, Ui* ui, const LoadOptions& options) {
    header.ReadHeader(source, options.first_record, options.handed_record);
    header.BuildHeaderDisplay();

    const std::string& fen_line = header.TagLines().Line(Tag::FEN);
    chess.ReadFenTagExtras(fen_line);
    if (chess.StartsFromFen()) {
        // The placement reader upper-cases letters in the line it is given; the tag line stays.
        std::string placement_line = fen_line;
        chess.ParseFenPlacement(placement_line);
    }
    chess.SetStartPosition();

    bool was_quiet = chess.QuietParse();
    chess.SetQuietParse(options.quiet);
    const bool has_first = header.HasFirstMovetextRecord();
    lines.SetFirstMover(FirstMoverOfFen(fen_line));
    int full_moves = lines.ParseMovetext(
        source, has_first ? &header.FirstMovetextRecord() : nullptr,
        has_first ? header.FirstMovetextRecordLength() : 0, options.stop_after, ui, options.quiet);
    header.ReleaseFirstMovetextRecord();
    int half_moves = chess.ReplayToHalfMove(lines.Moves(), full_moves);
    chess.SetQuietParse(was_quiet);
    chess.SetStartPosition();
    return half_moves;
}

Result<int> OpenGameForDisplay(PgnFile& file, int game_number, HeaderTags& header, GameLines& lines,
                               chess::ChessState& chess, Ui& ui, const LoadOptions& options) {
    if (!file.LoadGame(game_number, ui)) return Error(std::string(ErrorFindingGame));
    file.Reader().SetMode(ReadMode::ReadTrimmed);
    chess.SetCurrentGameNumber(game_number);
    FileRecordSource source(file);
    return LoadGameLines(source, header, lines, chess, &ui, options);
}

Result<HeaderEditFields> LoadHeaderForEdit(PgnFile& file) {
    std::int32_t game_number = file.CurrentGameNumber();
    if (game_number < 1 || game_number > file.GameCount() ||
        !file.GameFileHandle().Seek(file.Index().Offset(game_number))) {
        return Error(std::string(ErrorFindingGame));
    }
    file.Reader().Reset();
    file.Reader().SetMode(ReadMode::ReadTrimmed);
    FileRecordSource source(file);
    return LoadHeaderForEdit(source);
}

}  // namespace qorvale::pgn
