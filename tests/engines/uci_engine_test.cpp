#include "engines/uci_engine.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/fake_engines.h"

namespace qorvale::engines {
namespace {

using Clock = UciEngine::Clock;
using test::ScriptedChannel;
using test::ScriptedEngine;

struct Fixture {
    std::shared_ptr<ScriptedEngine> engine = std::make_shared<ScriptedEngine>();
    UciEngine uci{std::make_unique<ScriptedChannel>(engine)};
    Clock::time_point start = Clock::now();

    UciPollResult Say(std::string output, Clock::duration after = {}) {
        engine->output.push_back(std::move(output));
        return uci.Poll(start + after);
    }
    void Handshake() {
        uci.Start(start);
        Say("uciok\n");
        ASSERT_TRUE(Say("readyok\n").ready);
        engine->written.clear();
    }
};

TEST(UciEngine, HandshakeAcceptsLfAndCrLfAndCollectsOptions) {
    for (const char* end : {"\n", "\r\n"}) {
        SCOPED_TRACE(end[0] == '\r' ? "CR LF" : "LF");
        Fixture f;
        f.uci.Start(f.start);
        EXPECT_EQ(f.engine->written, "uci\n");
        const std::string eol = end;
        UciPollResult first =
            f.Say("id name Fake" + eol + "option name Hash type spin default 16 min 1 max 64" +
                  eol + "option name Clear Hash type button" + eol + "uciok" + eol);
        EXPECT_FALSE(first.ready);
        EXPECT_EQ(f.engine->written, "uci\nisready\n");
        EXPECT_TRUE(f.Say("readyok" + eol).ready);
        EXPECT_EQ(f.uci.UciOptionList(),
                  "Hash type spin default 16 min 1 max 64\nClear Hash type button");
        ASSERT_EQ(f.uci.Options().size(), 2u);
        EXPECT_TRUE(f.uci.List().Rows().empty());
        EXPECT_TRUE(f.uci.SetOption("Hash", "128"));
        EXPECT_FALSE(f.uci.SetOption("Threads", "2"));
        EXPECT_TRUE(f.engine->written.ends_with("setoption name Hash value 64\n"));
    }
}

// After "stop" for a new position, the old search's last lines and its bestmove still come;
// they belong to the old position and are not read against the new one.
TEST(UciEngine, RepliesOfAStoppedSearchAreNotReadAgainstTheNextPosition) {
    Fixture f;
    f.Handshake();
    EnginePosition first;
    f.uci.Analyse(first, "go");
    EnginePosition second;
    second.moves = {CoordinateText(*ParseCoordinateMove("e2e4"))};
    f.uci.Analyse(second, "go");
    EXPECT_EQ(f.engine->written,
              "stop\nposition startpos\ngo\nstop\nposition startpos moves e2e4\ngo\n");
    UciPollResult result = f.Say(
        "info depth 9 score cp 30 pv d2d4\nbestmove d2d4\ninfo depth 1 score cp 20 pv e7e5\n");
    ASSERT_EQ(result.infos.size(), 1u);
    EXPECT_EQ(result.infos[0].text, "-0.20  1...e5");
    EXPECT_FALSE(result.best_move.has_value());
    result = f.Say("bestmove e7e5\n");
    ASSERT_TRUE(result.best_move.has_value());
    EXPECT_EQ(result.best_move->text, "Bestmove 1...e5");
    EXPECT_EQ(f.uci.BestMoveText(), "Bestmove 1...e5");
}

}  // namespace
}  // namespace qorvale::engines
