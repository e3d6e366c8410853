// GL test fixture: a private Xvfb for this process, GLUT initialised once,
// the real windows created by the real start-up code (no main loop), event
// pumping and pixel read-back. Pixel coordinates are window pixels, y up.
#pragma once

#include <gtest/gtest.h>

#include "curve/curve.h"

#include <cstdint>
#include <vector>

struct Rgba {
  uint8_t r, g, b, a;
};

// A rectangle of a window's picture, rows from the bottom as GL returns them;
// at() and count() take window pixels and see nothing outside the rectangle.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint8_t> data;  // RGBA, width * height * 4
  int x0 = 0, y0 = 0;         // window pixel of data's first entry

  Rgba at(int x, int y) const;  // outside the rectangle: {0, 0, 0, 0}
  // Pixels inside [x0, x1] x [y0, y1] within `tolerance` (per channel, 0..255) of the colour.
  int count(int x0, int y0, int x1, int y1, Rgba colour, int tolerance = 8) const;
};

// Float RGB(A) in [0, 1] to bytes, as the frame stores them.
Rgba rgba_bytes(float r, float g, float b, float a = 1.0f);

// Starts Xvfb (once per process), initialises GLUT, creates the curves, the
// shared state and every window, pumps events until the visible windows are
// mapped (failing the process if they never are) and keeps the start-up state
// for gl_reset_state. Safe to call more than once.
void gl_app_start();

// Processes pending GLUT events for about `ms` milliseconds (glutMainLoopEvent).
void gl_pump(int ms = 30);

// Makes window `id` current, runs `display` (the window's display callback)
// and returns the rectangle (x, y, w, h) of the picture it drew, the whole
// window by default, read from the back buffer before the swap.
Pixels gl_capture(int window_id, void (*display)(), int x = 0, int y = 0, int w = -1, int h = -1);

// Windows the program asked to redraw since the last call, oldest first: the
// current window at each glutPostRedisplay. Reading clears the record.
std::vector<int> gl_take_redisplays();

// Whether the program last showed (1) or hid (0) window `id` (shown unless hidden).
bool gl_shown(int id);

// Every window, widget, switch, curve and drag as at start-up; the new-curve
// and About windows hidden.
void gl_reset_state();
// Appends points (x, y, z, w) to the edited curve, sets the degree, builds the
// knot vector in the given style and lifts.
void gl_build(const std::vector<ControlPoint>& points, int degree, int type);

// Base for tests that need the real windows: starts them once, resets the state.
class GlAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gl_app_start(); }
  void SetUp() override { gl_reset_state(); }
};
