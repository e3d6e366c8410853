// Shared set-up of the renderer, projection and drawing pad tests: the real
// windows with every switch back at its start value, and the pad's pixel map.
// Pad positions are pad units (-3..3); pixels are window pixels, y up.
#pragma once

#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"

#include <GL/freeglut.h>

#include <cmath>
#include <initializer_list>

// Pixel centre of a pad position: the pad puts (0, 0) at (W/2, H/2) and spans
// six units across W (and H) pixels.
inline int pad_col(double x) {
  const int w = window_table.win_pad.width;
  return static_cast<int>(std::floor(w / 2.0 + x * w / 6.0));
}
inline int pad_row(double y) {
  const int h = window_table.win_pad.height;
  return static_cast<int>(std::floor(h / 2.0 + y * h / 6.0));
}

// Number of pixels of the colour in the (2r+1)-square around a pad position.
inline int pad_count(const Pixels& p, double x, double y, Rgba colour, int r = 1, int tol = 8) {
  return p.count(pad_col(x) - r, pad_row(y) - r, pad_col(x) + r, pad_row(y) + r, colour, tol);
}

// A palette row (or any RGBA) blended with its alpha over the white background.
inline Rgba over_white(const float* rgba) {
  const float a = rgba[3];
  return rgba_bytes(rgba[0] * a + (1.0f - a), rgba[1] * a + (1.0f - a), rgba[2] * a + (1.0f - a));
}

inline Rgba palette_rgba(int row) {
  return rgba_from_float(palette.colours[row]);
}

// Window pixel of a scene point in the projection window's start view, worked
// out by hand: scale 10, rotate -70 degrees about x, then 30 degrees about y,
// scale 2.7 * 2 and move to the centre (270, 270).
inline void start_view_pixel(double x, double y, double z, int* col, int* row) {
  constexpr double deg = 3.14159265358979323846 / 180.0;
  x *= 10.0, y *= 10.0, z *= 10.0;
  const double a = -70.0 * deg, b = 30.0 * deg;
  const double y1 = y * std::cos(a) - z * std::sin(a);
  const double z1 = y * std::sin(a) + z * std::cos(a);
  const double x2 = x * std::cos(b) + z1 * std::sin(b);
  *col = static_cast<int>(std::floor(270.0 + 5.4 * x2));
  *row = static_cast<int>(std::floor(270.0 + 5.4 * y1));
}

// Every switch and counter at its start value and fresh, empty curves.
class SceneTest : public GlAppTest {
 protected:
  void SetUp() override {
    curves_reset();
    show_deboor = 0;
    show_deboor_points = 0;
    proj_grid = 1;
    proj_zoom = 2.0f;
    selection_count = 1;
    knot_bar.value = 0.0f;
    chk_grid.state = 1;
    tracing_point_3d[0] = tracing_point_3d[1] = tracing_point_3d[2] = 0.0f;
    pad_mode = 10;
    picked_point = -1;
    rot_step_x = rot_step_y = 0;
    proj_dragging = 0;
    for (int i = 0; i < 16; ++i) view_matrix[i] = i % 5 == 0 ? 1.0 : 0.0;
    ASSERT_EQ(window_table.win_pad.width, 541);
    ASSERT_EQ(window_table.win_pad.height, 541);
  }

  // Appends points (x, y, w) to the edited curve, sets the degree, builds the
  // knot vector in the given style and lifts.
  static void build(std::initializer_list<ControlPoint> points, int degree, int type) {
    edited_curve->degree = degree;
    for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_APPEND);
    curve_make_knots(edited_curve, type);
    curve_lift(edited_curve, lifted_curve);
  }

  static Pixels pad_picture() { return gl_capture(window_table.win_pad.id, pad_display); }
  static Pixels proj_picture() { return gl_capture(window_table.win_projection.id, proj_display); }
};
