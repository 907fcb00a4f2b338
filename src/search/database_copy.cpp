#include "search/database_copy.h"

#include "base/message.h"
#include "platform/staged_file.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

// The header lines in the order a copied game carries them.
constexpr std::array<std::pair<const char*, HeaderField>, 10> HeaderLines = {{
    {"[Event \"%s\"]\r\n", HeaderField::Event},
    {"[Site \"%s\"]\r\n", HeaderField::Site},
    {"[Date \"%s\"]\r\n", HeaderField::Date},
    {"[Round \"%s\"]\r\n", HeaderField::Round},
    {"[White \"%s\"]\r\n", HeaderField::White},
    {"[Black \"%s\"]\r\n", HeaderField::Black},
    {"[Result \"%s\"]\r\n", HeaderField::Result},
    {"[WhiteElo \"%s\"]\r\n", HeaderField::WhiteElo},
    {"[BlackElo \"%s\"]\r\n", HeaderField::BlackElo},
    {"[ECO \"%s\"]\r\n\r\n", HeaderField::Eco},
}};

constexpr std::size_t LineLimit = 79;

// The result token that closes the movetext: the Result value when it is one of PGN's four,
// else "*", so that every reader finds the end of the game.
std::string_view ResultToken(std::string_view result) {
    for (std::string_view token : {"1-0", "0-1", "1/2-1/2", "*"}) {
        if (result == token) return token;
    }
    return "*";
}

}  // namespace

std::string DatabaseGameText(const DbGame& game, pgn::GameLines& lines, chess::ChessState& chess,
                             bool& complete) {
    std::string text;
    for (const auto& [format, field] : HeaderLines) {
        text += FillMessage(format, {game.header[static_cast<std::size_t>(field)]});
    }
    lines.LoadMoveCodes(game.codes, chess);
    const int half_moves = lines.ParsedHalfMoves();
    complete = static_cast<std::size_t>(half_moves) == game.codes.size();
    std::string line;
    auto add = [&](const std::string& token) {
        if (!line.empty() && line.size() + token.size() > LineLimit) {
            text += line;
            text += "\r\n";
            line.clear();
        }
        line += line.empty() && token.front() == ' ' ? token.substr(1) : token;
    };
    const chess::MainLineMoves& moves = lines.Moves();
    for (int ply = 0; ply < half_moves; ++ply) {
        const std::size_t index = static_cast<std::size_t>(ply / 2);
        if (ply % 2 == 0) {
            add((line.empty() ? "" : " ") +
                FillMessage("%d.%s", {ply / 2 + 1, moves.WhiteMoves[index].view()}));
        } else {
            add(FillMessage(" %s", {moves.BlackMoves[index].view()}));
        }
    }
    add(" " + std::string(ResultToken(game.header[static_cast<std::size_t>(HeaderField::Result)])));
    text += line;
    text += "\r\n\r\n";
    return text;
}

CopyOutcome CopyDatabaseGames(const Database& database, std::span<const std::uint32_t> records,
                              const std::string& target, bool append,
                              const std::string& current_file, Ui& ui,
                              platform::FileSystem& file_system) {
    if (records.empty()) return CopyOutcome{false, std::string(messages::NoDatabaseGames)};
    CopyOutcome outcome;
    std::unique_ptr<CopyTargetFile> file =
        CopyTargetFile::Open(target, append, current_file, ui, file_system, outcome);
    if (!file) return outcome;
    pgn::GameLines lines;
    chess::ChessState chess;
    bool all_complete = true;
    for (std::uint32_t index : records) {
        Result<DbGame> game = database.ReadGame(index);
        if (!game) continue;
        bool complete = true;
        if (!file->Write(DatabaseGameText(*game, lines, chess, complete))) {
            return CopyOutcome{false, std::string(messages::ErrorCreatingNewFile)};
        }
        all_complete = all_complete && complete;
    }
    if (!all_complete) ui.report(messages::MovesNotReplayed);
    return file->Commit();
}

CopyOutcome CopyDatabaseGameToBuffer(const Database& database, std::uint32_t index,
                                     const std::string& buffer_path,
                                     platform::FileSystem& file_system) {
    Result<DbGame> game = database.ReadGame(index);
    if (!game) return CopyOutcome{false, game.error().message()};
    pgn::GameLines lines;
    chess::ChessState chess;
    bool complete = true;
    const std::string text = DatabaseGameText(*game, lines, chess, complete);
    if (!platform::ReplaceFileContents(file_system, buffer_path, text.data(),
                                       static_cast<std::int64_t>(text.size()))) {
        return CopyOutcome{false, std::string(messages::ErrorCreatingGameBuffer)};
    }
    return CopyOutcome{true, std::string(messages::GameMovedToBuffer)};
}

}  // namespace qorvale::search
