// The real program driven through the X server: a left drag in
// "3D B-Spline Projection" turns the scene.
#include "support/e2e.h"

#include <algorithm>

namespace {

constexpr int POLL_MS = 100;
constexpr int MIN_CHANGED_PIXELS = 1000;
constexpr int DRAG_MOVES = 5;

// Pixels whose colour differs between two pictures of the same size.
int changed_pixels(const Pixels& a, const Pixels& b) {
  int n = 0;
  for (int y = 0; y < std::min(a.height, b.height); ++y)
    for (int x = 0; x < std::min(a.width, b.width); ++x) {
      const Rgba p = a.at(x, y), q = b.at(x, y);
      if (p.r != q.r || p.g != q.g || p.b != q.b) ++n;
    }
  return n;
}

TEST(ProjectionE2e, LeftDragTurnsTheScene) {
  E2eApp app;
  ASSERT_TRUE(app.start());
  const E2eWindow proj = app.find("3D B-Spline Projection");
  ASSERT_NE(proj.id, 0UL);
  const Pixels before = app.grab_when_drawn(proj);
  // Each motion's step is folded in by the next display, and a release zeroes
  // the step: leave time for a frame after every move.
  app.press(proj, 270, 270, 1);
  for (int i = 1; i <= DRAG_MOVES; ++i) {
    app.move(proj, 270 + 6 * i, 270 + 2 * i);
    app.settle(POLL_MS);
  }
  app.release(proj, 270 + 6 * DRAG_MOVES, 270 + 2 * DRAG_MOVES, 1);
  app.settle(300);
  const Pixels after = app.grab(proj);
  EXPECT_GT(changed_pixels(before, after), MIN_CHANGED_PIXELS);
  // Other buttons do not turn it.
  app.drag(proj, 270, 270, 330, 300, 3, 5);
  app.settle(300);
  EXPECT_EQ(changed_pixels(after, app.grab(proj)), 0);
  EXPECT_TRUE(app.running());
}

}  // namespace
