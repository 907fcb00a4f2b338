// UCI engines that misbehave, run as real child processes: each is stopped cleanly, its output
// is read without ever waiting on it, and no process is left behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engines/engine_channel.h"
#include "engines/messages.h"
#include "engines/uci_engine.h"
#include "support/fake_engines.h"
#include "support/temp_dir.h"

namespace qorvale::engines {
namespace {

using namespace std::chrono_literals;
using Clock = UciEngine::Clock;

class MisbehavingEngine : public testing::Test {
  protected:
    void Start(const char* script) {
        Result<std::unique_ptr<EngineChannel>> channel =
            StartEngineProcess(EngineKind::Uci, test::InstallEngine(folder_, script));
        ASSERT_TRUE(channel.ok());
        uci_ = std::make_unique<UciEngine>(std::move(*channel));
        uci_->Start(Clock::now());
    }
    // Polls as the window does, on output, until `done` holds for what the polls found so far;
    // gives up after ten seconds of real time.
    UciPollResult PollUntil(const std::function<bool(const UciPollResult&)>& done) {
        UciPollResult all;
        const Clock::time_point give_up = Clock::now() + 10s;
        while (!done(all) && Clock::now() < give_up) {
            uci_->WaitForOutput(50ms);
            UciPollResult result = uci_->Poll(Clock::now());
            ++polls_;
            all.ready = all.ready || result.ready;
            all.stopped = all.stopped || result.stopped;
            if (!result.failure.ok()) all.failure = result.failure;
            all.rows_added += result.rows_added;
            for (InfoLine& info : result.infos) all.infos.push_back(std::move(info));
            if (result.best_move) all.best_move = result.best_move;
        }
        EXPECT_TRUE(done(all)) << "gave up";
        return all;
    }
    void Ready() {
        PollUntil([](const UciPollResult& r) { return r.ready; });
    }
    void TearDown() override {
        uci_.reset();
        EXPECT_TRUE(test::ChildProcesses().empty());
    }

    test::TempDir folder_;
    std::unique_ptr<UciEngine> uci_;
    int polls_ = 0;
};

TEST_F(MisbehavingEngine, SilentEngineFailsTheHandshakeAndIsStopped) {
    Start("silent.sh");
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(uci_->Poll(start + 4s).failure.ok());
    EXPECT_EQ(uci_->Poll(start + 6s).failure.message(), messages::ErrorStartingUci);
    // It reads "quit" and goes on reading: killed once its half second has passed.
    EXPECT_TRUE(uci_->Poll(start + 7s).stopped);
    EXPECT_FALSE(uci_->Running());
}

TEST_F(MisbehavingEngine, CrashInTheMiddleOfAnalysisIsReported) {
    Start("crashing.sh");
    Ready();
    uci_->Analyse({}, "go");
    UciPollResult result = PollUntil([](const UciPollResult& r) { return r.stopped; });
    EXPECT_EQ(result.failure.message(), messages::UciEngineStopped);
    ASSERT_EQ(result.infos.size(), 2u);
    EXPECT_EQ(result.infos[1].text, "+0.25  1.e4 e5");
}

TEST_F(MisbehavingEngine, FloodIsReadInBoundedReadsWithoutLosingALine) {
    Start("flooding.sh");
    Ready();
    polls_ = 0;
    uci_->Analyse({}, "go");
    UciPollResult result =
        PollUntil([](const UciPollResult& r) { return r.best_move.has_value(); });
    ASSERT_EQ(result.infos.size(), 4000u);
    for (std::size_t i = 0; i < result.infos.size(); ++i) {
        ASSERT_EQ(result.infos[i].nodes, static_cast<std::int64_t>(i + 1));
        ASSERT_EQ(result.infos[i].pv.size(), 5u);
    }
    // About 240,000 bytes cannot come in fewer than three reads.
    EXPECT_GE(polls_, 3);
    EXPECT_EQ(uci_->List().Rows().size(), EngineList::MaxRows);
}

TEST_F(MisbehavingEngine, GarbageAndIllegalLinesShowWhatCanBeShown) {
    Start("garbage.sh");
    Ready();
    uci_->Analyse({}, "go");
    UciPollResult result = PollUntil(
        [](const UciPollResult& r) { return r.best_move && r.best_move->text == "Bestmove 1.d4"; });
    std::vector<std::string> texts;
    for (const InfoLine& info : result.infos) texts.push_back(info.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"+0.15 ", "+0.16  1.e4 e5",
                                               "Mate 3 1.e4 e5 2.Qh5 Nc6 3.Qxf7+"}));
    const auto& rows = uci_->List().Rows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "caf\xc3\xa9 cr\xc3\xa8me"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "bestmove e2e5"), rows.end());
    std::size_t longest = 0;
    for (const std::string& row : rows) longest = std::max(longest, row.size());
    EXPECT_EQ(longest, EngineOutputSize);
}

TEST_F(MisbehavingEngine, EngineIgnoringQuitIsKilled) {
    Start("deaf.sh");
    Ready();
    const Clock::time_point now = Clock::now();
    uci_->BeginStop(now);
    EXPECT_FALSE(uci_->Poll(now + 100ms).stopped);
    EXPECT_TRUE(uci_->Running());
    EXPECT_TRUE(uci_->Poll(now + 600ms).stopped);
    EXPECT_FALSE(uci_->Running());
}

}  // namespace
}  // namespace qorvale::engines
