// The real program seen through the X server: which windows start shown,
// where they sit, the subwindows' created sizes, and that it keeps running.
#include "support/e2e.h"

#include <signal.h>

#include <algorithm>

namespace {

constexpr int RUN_WHILE_IDLE_MS = 500;  // the program must still run after this

class StartupE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.start()) << "ternival did not show its windows"; }
  E2eApp app;
};

// Expects a window at (x, y) of width x height in the given map state.
void expect_window(const E2eWindow& w, const char* what, int x, int y, int width, int height,
                   bool mapped) {
  SCOPED_TRACE(what);
  ASSERT_NE(w.id, 0UL) << "window not found";
  EXPECT_EQ(w.x, x);
  EXPECT_EQ(w.y, y);
  EXPECT_EQ(w.width, width);
  EXPECT_EQ(w.height, height);
  EXPECT_EQ(w.mapped, mapped);
}

TEST_F(StartupE2e, ShowsMainAndProjectionWindowsAndHidesTheOnDemandOnes) {
  expect_window(app.find("2D NURBS Curve"), "main", 0, 0, 641, 616, true);
  expect_window(app.find("3D B-Spline Projection"), "projection", 653, 0, 540, 540, true);
  expect_window(app.find("Create New 2D NURBS"), "new curve", 200, 200, 215, 155, false);
  expect_window(app.find("About Ternival"), "about", 150, 25, 685, 660, false);
}

TEST_F(StartupE2e, MainWindowHoldsPadKnotPanelAndControlPanelAtTheirCreatedSizes) {
  E2eWindow main = app.find("2D NURBS Curve");
  std::vector<E2eWindow> subs = app.children(main);
  ASSERT_EQ(subs.size(), 3u);
  // Stacking order follows creation; compare by position instead.
  std::sort(subs.begin(), subs.end(), [](const E2eWindow& a, const E2eWindow& b) {
    return a.y != b.y ? a.y < b.y : a.x < b.x;
  });
  expect_window(subs[0], "drawing pad", main.x + E2E_PAD_X, main.y + E2E_PAD_Y, 541, 541, true);
  expect_window(subs[1], "knot panel", main.x + E2E_KNOTS_X, main.y + E2E_KNOTS_Y, 641, 541, true);
  expect_window(subs[2], "control panel", main.x + E2E_PANEL_X, main.y + E2E_PANEL_Y, 641, 615,
                true);
}

TEST_F(StartupE2e, KeepsRunningUntilEnded) {
  app.settle(RUN_WHILE_IDLE_MS);
  EXPECT_TRUE(app.running());
  // Ended by our SIGTERM, not by itself.
  EXPECT_EQ(app.stop(), 128 + SIGTERM);
  EXPECT_FALSE(app.running());
}

}  // namespace
