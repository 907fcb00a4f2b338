// The randomized session: long random sequences of what a user does to a file, each step checked
// against the model. A short fixed run by default; QORVALE_SOAK_SECONDS=N runs seed after seed
// (from QORVALE_SOAK_SEED, default 1) for N seconds (scripts/soak).
#include "soak/soak.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qorvale::soak {
namespace {

std::uint64_t EnvironmentNumber(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value == nullptr || *value == '\0' ? fallback : std::strtoull(value, nullptr, 10);
}

std::size_t OpenHandles() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// Resident memory in KB.
long ResidentKb() {
    std::ifstream status("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    status >> pages >> resident;
    return resident * 4;
}

// Runs the steps of `seed`; on a failure, prints the seed and the shortest failing sequence.
bool RunSeed(const std::vector<std::string>& pool, std::uint64_t seed, std::size_t count) {
    const std::vector<Step> steps = MakeSteps(seed, count);
    const RunOutcome outcome = Replay(pool, steps);
    if (outcome.failure.empty()) return true;
    const std::vector<Step> shortest = Shrink(pool, steps);
    ADD_FAILURE() << "seed " << seed << ", step " << outcome.failed_at + 1 << ": "
                  << outcome.failure << "\nshortest failing sequence (" << shortest.size()
                  << " steps): " << Replay(pool, shortest).failure << "\n"
                  << Describe(shortest);
    return false;
}

TEST(Soak, RandomSessionsKeepTheFileAsTheModelSays) {
    const std::vector<std::string> pool = GamePool();
    ASSERT_GE(pool.size(), 40u);
    const std::uint64_t seconds = EnvironmentNumber("QORVALE_SOAK_SECONDS", 0);
    std::uint64_t seed = EnvironmentNumber("QORVALE_SOAK_SEED", 1);
    constexpr std::size_t StepsPerSeed = 250;

    const std::size_t handles_before = OpenHandles();
    const long resident_before = ResidentKb();
    std::size_t steps_run = 0;
    std::uint64_t seeds_run = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    do {
        if (!RunSeed(pool, seed, StepsPerSeed)) break;
        ++seed;
        ++seeds_run;
        steps_run += StepsPerSeed;
    } while (seconds == 0 ? seeds_run < 3 : std::chrono::steady_clock::now() < end);

    // Nothing a step opens stays open once its session is gone.
    EXPECT_EQ(OpenHandles(), handles_before);
    std::printf(
        "soak: %llu seeds (last %llu), %zu steps; handles %zu -> %zu; resident %ld KB -> %ld KB\n",
        static_cast<unsigned long long>(seeds_run), static_cast<unsigned long long>(seed - 1),
        steps_run, handles_before, OpenHandles(), resident_before, ResidentKb());
}

// The model's own reading of PGN text, which every check rests on.
TEST(Soak, GamesSplitAtTagLinesAfterOtherLines) {
    const std::string text =
        "[Event \"a\"]\n[White \"x\"]\n\n1. e4 *\n\n[Event \"b\"]\r\n\r\n1. d4 *\n";
    const std::vector<std::string> games = SplitGames(text);
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0] + games[1], text);
    EXPECT_EQ(TagValue(games[0], "White"), "x");
    EXPECT_EQ(TagValue(games[1], "White"), "");
    EXPECT_EQ(Squeezed(games[1]), "[Event\"b\"]1.d4*");
}

}  // namespace
}  // namespace qorvale::soak
