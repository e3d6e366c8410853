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

// A window's picture, rows from the bottom as GL returns them.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint8_t> data;  // RGBA, width * height * 4

  Rgba at(int x, int y) const;  // (0, 0) = bottom-left; out of range gives {0,0,0,0}
  // Number of pixels inside [x0, x1] x [y0, y1] within `tolerance` (per channel,
  // 0..255) of the colour; the rectangle is clipped to the picture.
  int count(int x0, int y0, int x1, int y1, Rgba colour, int tolerance = 8) const;
};

// Float RGB(A) in [0, 1] to bytes, as the frame stores them.
Rgba rgba_bytes(float r, float g, float b, float a = 1.0f);

// Starts Xvfb (once per process), initialises GLUT, creates the curves, the
// shared state and every window, and pumps events until the visible windows
// are mapped and reshaped. Safe to call more than once.
void gl_app_start();

// Processes pending GLUT events for about `ms` milliseconds (glutMainLoopEvent).
void gl_pump(int ms = 30);

// Makes window `id` current, runs `display` (the window's display callback)
// and returns the picture it drew, read from the back buffer before the swap
// is shown. Works whatever overlaps the window on screen.
Pixels gl_capture(int window_id, void (*display)());

// Windows the program asked to redraw since the last call, oldest first: the
// current window at each glutPostRedisplay, or the id given to
// glutPostWindowRedisplay. Reading clears the record.
std::vector<int> gl_take_redisplays();

// True when the X window behind GLUT window `id` is viewable (mapped, with
// every ancestor mapped). Leaves the current window as it was.
bool gl_window_viewable(int id);

// Fresh empty curves and every switch, drag and counter at its start value.
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
