#include "app/shown_game.h"

namespace qorvale::app {

GameTextSource ShownGame::TextSource() const {
    if (entry_ != nullptr)
        return {&entry_->Moves(), entry_->FullMoves(), entry_->StartMoveNumber()};
    if (database_ != nullptr) return database_->TextSource();
    return session_.TextSource();
}

std::int32_t ShownGame::Ply() const {
    if (entry_ != nullptr) return entry_->ShownHalfMove();
    if (database_ != nullptr) return database_->Navigation().currentPly;
    return session_.Navigation().currentPly;
}

std::string ShownGame::Key() const {
    if (entry_ != nullptr) return "entry:" + entry_->MovesText();
    if (database_ != nullptr) {
        return "database:" + std::to_string(database_->Found()[database_->ShownPosition()]);
    }
    return std::to_string(session_.GameNumber());
}

std::vector<std::string> ShownGame::HeaderLines(bool hide_date, bool hide_result) const {
    if (entry_ != nullptr) {
        const pgn::HeaderEditFields& header = entry_->Header();
        const std::string white_black = "White: " + header.Get(pgn::HeaderField::White) +
                                        " Black: " + header.Get(pgn::HeaderField::Black);
        return GameTextHeaderLines(white_black, header.Get(pgn::HeaderField::Date),
                                   header.Get(pgn::HeaderField::Result), {}, false, false);
    }
    if (database_ != nullptr) {
        const pgn::HeaderTags& header = database_->Header();
        return GameTextHeaderLines(header.DisplayLines().white_black,
                                   header.CurrentHeader().Get(pgn::HeaderField::Date),
                                   database_->ResultText(), {}, false, false);
    }
    if (!session_.HasGame()) return {};
    const pgn::HeaderTags& header = session_.Header();
    return GameTextHeaderLines(
        header.DisplayLines().white_black, header.CurrentHeader().Get(pgn::HeaderField::Date),
        session_.ResultText(), session_.GameStatus(), hide_date, hide_result);
}

}  // namespace qorvale::app
