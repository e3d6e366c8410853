// The real program driven through the X server: a left drag in
// "3D B-Spline Projection" turns the scene.
#include "support/e2e.h"

#include <algorithm>

namespace {

constexpr int MIN_CHANGED_PIXELS = 1000;

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
  const Pixels before = app.grab(proj);
  app.drag(proj, 270, 270, 300, 280, 1, 5);
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
