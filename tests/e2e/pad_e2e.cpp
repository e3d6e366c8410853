// The real program driven through the X server: right clicks on the drawing
// pad build a curve that shows on the pad and, lifted, in the projection
// window; raising a weight on the control panel lifts the red curve off the
// plane.
#include "support/e2e.h"

#include "app/palette.h"

#include <algorithm>

namespace {

constexpr int PAD = 541;          // pad width and height
constexpr int WEIGHT_UP_X = 206;  // increase arrow of the weight slider, main-window pixels
constexpr int WEIGHT_UP_Y = 583;
constexpr int WEIGHT_STEPS = 10;  // 10 steps of 0.1: weight 1 -> 2

// The drawing pad: the subwindow at the main window's (1, 1).
E2eWindow find_pad(E2eApp& app) {
  const E2eWindow main = app.find("2D NURBS Curve");
  for (const E2eWindow& w : app.children(main))
    if (w.x == main.x + E2E_PAD_X && w.y == main.y + E2E_PAD_Y) return w;
  return {};
}

int count_all(const Pixels& p, Rgba colour) {
  return p.count(0, 0, p.width - 1, p.height - 1, colour);
}

TEST(PadE2e, RightClicksBuildACurveOnThePadAndInTheProjection) {
  E2eApp app;
  ASSERT_TRUE(app.start());
  const E2eWindow pad = find_pad(app);
  const E2eWindow main = app.find("2D NURBS Curve");
  const E2eWindow proj = app.find("3D B-Spline Projection");
  ASSERT_NE(pad.id, 0UL);
  ASSERT_NE(proj.id, 0UL);
  const Rgba blue = rgba_bytes(0, 0, 1);
  const Rgba red = rgba_bytes(1, 0, 0);
  const int red_at_start = count_all(app.grab_when_drawn(proj), red);  // the axis letters

  app.click(pad, 150, 400, 3);
  app.click(pad, 300, 120, 3);
  app.click(pad, 430, 380, 3);
  app.settle(400);

  const Pixels on_pad = app.grab(pad);
  ASSERT_EQ(on_pad.height, PAD);
  // A click at (x, y) lands on column x, row PAD - y; the quadratic's middle
  // is (A + 2B + C) / 4 = (295, 286).
  EXPECT_TRUE(on_pad.any(299, PAD - 121, 301, PAD - 119,
                         rgba_from_float(palette.colours[PAL_CONTROL_POINT])));
  EXPECT_TRUE(on_pad.any(293, 284, 297, 288, blue));
  EXPECT_GT(count_all(on_pad, blue), 300);
  // The edited curve lies in the plane z = 1 of the projection window.
  EXPECT_GT(count_all(app.grab(proj), blue), 150);

  for (int i = 0; i < WEIGHT_STEPS; ++i) app.click(main, WEIGHT_UP_X, WEIGHT_UP_Y, 1);
  app.settle(400);
  EXPECT_GT(count_all(app.grab(proj), red), red_at_start + 100);
  EXPECT_TRUE(app.running());
}

}  // namespace
