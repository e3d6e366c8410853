// A new closed cubic through the X server: "   New", "3", "Closed", "OK",
// then five right clicks on the pad draw a closed loop on the pad and in
// the projection window.
#include "support/e2e.h"

#include <algorithm>
#include <cmath>

namespace {

// "   New" spans x 332..388, y 578..600 (y up) in the control panel.
constexpr int NEW_X = E2E_PANEL_X + 360;
constexpr int NEW_Y = E2E_PANEL_Y + 614 - 589;
// Boxes of the 155-row new-curve window, as GLUT rows: 154 - y up.
constexpr int DEGREE_3_X = 109, DEGREE_3_Y = 154 - 78;
constexpr int CLOSED_X = 172, CLOSED_Y = 154 - 126;
constexpr int OK_X = 27, OK_Y = 154 - 20;

constexpr int PAD_CENTRE = 271;  // pad pixel of the origin, main-window pixels
constexpr int POINT_RADIUS = 150;
constexpr double PI = 3.14159265358979;
constexpr int CURVE_TOLERANCE = 60;  // the curve line is blended at its edges

const Rgba CURVE_BLUE = {0, 0, 255, 255};

// True when a ray from (cx, cy) at angle a meets a blue pixel inside the rectangle.
bool ray_meets_blue(const Pixels& p, double cx, double cy, double a, int x0, int y0, int x1,
                    int y1) {
  for (int r = 3; r < 400; ++r) {
    const int x = static_cast<int>(cx + r * std::cos(a)),
              y = static_cast<int>(cy + r * std::sin(a));
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    if (p.any(x, y, x, y, CURVE_BLUE, CURVE_TOLERANCE)) return true;
  }
  return false;
}

// Directions looked along from the centroid, and the widest run of them that
// may miss the line: a knot sphere drawn over it hides a few degrees, the gap
// of an open arc far more.
constexpr int DIRECTIONS = 180;
constexpr int MAX_BLIND_RUN = 6;

// True when the blue pixels of the rectangle surround their own centroid,
// with no gap wider than a knot sphere when seen from it.
bool blue_loop(const Pixels& p, int x0, int y0, int x1, int y1) {
  double sx = 0.0, sy = 0.0;
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (p.any(x, y, x, y, CURVE_BLUE, CURVE_TOLERANCE)) sx += x, sy += y, ++n;
  if (n < 100) return false;
  const double cx = sx / n, cy = sy / n;
  int run = 0, widest = 0;
  // Twice round, so that a run across the starting direction is measured whole.
  for (int k = 0; k < 2 * DIRECTIONS; ++k) {
    const double a = k * 2.0 * PI / DIRECTIONS;
    run = ray_meets_blue(p, cx, cy, a, x0, y0, x1, y1) ? 0 : run + 1;
    widest = std::max(widest, std::min(run, DIRECTIONS));
  }
  return widest < MAX_BLIND_RUN;
}

TEST(NewCurveE2e, ClosedCubicFromTheNewCurveWindowDrawsALoopInBothViews) {
  E2eApp app;
  ASSERT_TRUE(app.start()) << "ternival did not show its windows";
  const E2eWindow main_window = app.find("2D NURBS Curve");
  app.click(main_window, NEW_X, NEW_Y, 1);
  app.settle();
  const E2eWindow dialog = app.find("Create New 2D NURBS");
  ASSERT_TRUE(dialog.mapped);
  // The dialog lies over the pad: these clicks reach it only if it was raised.
  app.click(dialog, DEGREE_3_X, DEGREE_3_Y, 1);
  app.click(dialog, CLOSED_X, CLOSED_Y, 1);
  app.click(dialog, OK_X, OK_Y, 1);
  app.settle();
  EXPECT_FALSE(app.find("Create New 2D NURBS").mapped);

  for (int k = 0; k < 5; ++k) {
    const double a = k * 2.0 * PI / 5.0;
    const int x = PAD_CENTRE + static_cast<int>(std::lround(POINT_RADIUS * std::cos(a)));
    const int y = PAD_CENTRE - static_cast<int>(std::lround(POINT_RADIUS * std::sin(a)));
    app.click(main_window, x, y, 3);
  }
  app.settle(300);

  // The pad: the main window's rows from the bottom, pad in its top 541.
  const Pixels main_picture = app.grab(main_window);
  const int pad_bottom = main_picture.height - E2E_PAD_Y - 540;
  EXPECT_TRUE(blue_loop(main_picture, E2E_PAD_X, pad_bottom, E2E_PAD_X + 539, pad_bottom + 539));
  const Pixels projection = app.grab(app.find("3D B-Spline Projection"));
  EXPECT_TRUE(blue_loop(projection, 0, 0, projection.width - 1, projection.height - 1));
}

}  // namespace
