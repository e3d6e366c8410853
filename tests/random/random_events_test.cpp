// Long seeded random sessions on the real windows, each with its own mix of
// gestures; any broken invariant stops the session and names the seed and the
// event. TERNIVAL_SEED replays a seed, TERNIVAL_EVENTS sets the session length.
#include "random_session.h"

#include "support/gl_app.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// Events per test. The sanitized pass of the suite runs the full 200,000 over
// the four tests; the plain pass, which finds the same faults less surely, a
// quarter of them, to keep the suite short.
#ifdef __SANITIZE_ADDRESS__
constexpr long DEFAULT_EVENTS = 50000;
#else
constexpr long DEFAULT_EVENTS = 12500;
#endif

// Mixes, weights in the order of EventMix: pad, bulk_add, panel, weights,
// knots, new_curve, about, projection, stray.
constexpr EventMix BALANCED = {30, 6, 12, 8, 15, 4, 2, 6, 6};
constexpr EventMix PAD_EDITING = {55, 10, 4, 14, 5, 3, 0, 2, 6};
constexpr EventMix KNOTS_AND_NEW_CURVES = {14, 10, 4, 4, 40, 16, 1, 2, 4};
constexpr EventMix WINDOWS_AND_STRAYS = {12, 4, 30, 6, 6, 6, 8, 14, 20};

class RandomEvents : public GlAppTest {
 protected:
  // Runs a session of the environment's length and seed (or the defaults) and
  // fails with the session's report when an invariant broke.
  void run(uint64_t default_seed, const EventMix& mix) {
    uint64_t seed = default_seed;
    long events = DEFAULT_EVENTS;
    if (const char* text = std::getenv("TERNIVAL_SEED")) seed = std::strtoull(text, nullptr, 10);
    if (const char* text = std::getenv("TERNIVAL_EVENTS")) events = std::strtol(text, nullptr, 10);
    const auto start = std::chrono::steady_clock::now();
    const SessionResult result = random_session_run(seed, events, mix);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "seed %llu: %ld events, %ld display rounds, %ld new curves, largest curve %d "
        "points, %.1f s\n",
        static_cast<unsigned long long>(seed), result.events, result.displays, result.new_curves,
        result.largest_curve, seconds);
    ASSERT_TRUE(result.failure.empty()) << result.failure;
    EXPECT_EQ(result.events, events);
    EXPECT_GT(result.displays, 0);
  }
};

TEST_F(RandomEvents, BalancedSessionKeepsInvariants) {
  run(20240611, BALANCED);
}

TEST_F(RandomEvents, PadEditingWithWeightExtremesKeepsInvariants) {
  run(777001, PAD_EDITING);
}

TEST_F(RandomEvents, KnotDragsAndNewCurvesOfEveryKindKeepInvariants) {
  run(31337, KNOTS_AND_NEW_CURVES);
}

TEST_F(RandomEvents, PanelWindowsAndStrayEventsKeepInvariants) {
  run(4242, WINDOWS_AND_STRAYS);
}

}  // namespace
