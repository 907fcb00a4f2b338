#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/database_session.h"
#include "app/game_entry.h"
#include "app/game_text.h"
#include "app/session.h"

namespace qorvale::app {

// The game the main window shows: a game being entered (or played against an engine), a game of
// the open database, or else the file's game. All three are drawn alike; only where the moves,
// the header and the current move come from differs.
class ShownGame {
  public:
    ShownGame(const Session& session, const GameEntry* entry, const DatabaseSession* database)
        : session_(session), entry_(entry), database_(entry ? nullptr : database) {}

    const GameEntry* Entry() const { return entry_; }
    const DatabaseSession* Database() const { return database_; }
    // The file's game is not the one on display (its annotations, opening and study mode are
    // not shown then).
    bool FileGameHidden() const { return entry_ != nullptr || database_ != nullptr; }
    GameTextSource TextSource() const;
    // The half-move on display.
    std::int32_t Ply() const;
    // Changes whenever another game, or other moves of an entered game, are shown.
    std::string Key() const;
    // The lines above the game text; the file's game shows its status and may hide its date and
    // result.
    std::vector<std::string> HeaderLines(bool hide_date, bool hide_result) const;

  private:
    const Session& session_;
    const GameEntry* entry_;
    const DatabaseSession* database_;
};

}  // namespace qorvale::app
