// The real program driven through the X server: a left drag in
// "3D B-Spline Projection" turns the scene.
#include "support/e2e.h"

#include <algorithm>

namespace {

constexpr int DRAWN_POLLS = 30;  // polls of POLL_MS for the first frames
constexpr int POLL_MS = 100;
constexpr int MIN_CHANGED_PIXELS = 1000;
constexpr int DRAG_MOVES = 5;

// Waits (up to about 3 s) until the window shows its axis letters, pure red:
// the program draws its first frames a little after the windows map.
Pixels grab_when_drawn(E2eApp& app, const E2eWindow& w) {
  const Rgba letter_red = {255, 0, 0, 255};
  Pixels p = app.grab(w);
  for (int i = 0; i < DRAWN_POLLS && !p.any(0, 0, p.width - 1, p.height - 1, letter_red); ++i) {
    app.settle(POLL_MS);
    p = app.grab(w);
  }
  return p;
}

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
  const Pixels before = grab_when_drawn(app, proj);
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
