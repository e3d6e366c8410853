// An independent model of what the program must do and show, written from the
// documented behaviour of each window and not from the program's code: the
// curve (points, weights, selection, degree, knot style and knots), the knot
// bar's u and thumb, the weight slider, the switches, the zoom and grid, the 3D
// view's turn, the dialogs. The session test feeds it the same GLUT events as
// the program and compares. Window pixels with y up unless said otherwise.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace model {

enum Win { PAD, PANEL, KNOTS, NEW, ABOUT, PROJ, WINDOWS };
constexpr int HEIGHT[WINDOWS] = {541, 615, 541, 155, 660, 540};  // as created
constexpr int PAD_SIZE = 541, PROJ_SIZE = 540;
// Push buttons of the control panel, in the order the panel tests them.
enum Push { NEW_BTN, RESET, ABOUT_BTN, QUIT, ZOOM_IN, ZOOM_OUT, GRID, NONE = -1 };
constexpr int PUSH_RECT[7][4] = {{332, 578, 388, 600}, {332, 550, 388, 572}, {398, 578, 452, 600},
                                 {398, 550, 452, 572}, {502, 577, 522, 592}, {502, 552, 522, 567},
                                 {540, 552, 615, 574}};
// Check boxes "Show DeBoor", "Show Points", "Display Grid".
constexpr int CHECK_RECT[3][4] = {{230, 588, 280, 610}, {230, 565, 280, 587}, {230, 542, 280, 564}};
// New-curve window: degree boxes 1..10, then "Uniform", "Clamped", "Closed", "OK", "Cancel".
constexpr int NEW_RECT[15][4] = {{14, 69, 45, 87},     {54, 69, 85, 87},   {94, 69, 125, 87},
                                 {134, 69, 165, 87},   {174, 69, 205, 87}, {14, 45, 45, 63},
                                 {54, 45, 85, 63},     {94, 45, 125, 63},  {134, 45, 165, 63},
                                 {174, 45, 205, 63},   {14, 117, 65, 135}, {77, 117, 128, 135},
                                 {147, 117, 198, 135}, {10, 10, 45, 30},   {150, 10, 205, 30}};
constexpr int DISMISS_RECT[4] = {620, 5, 680, 21};

using Mat = std::array<double, 16>;  // column-major, as GL keeps it
using Vec = std::array<double, 4>;
Mat mat_mul(const Mat& a, const Mat& b);
Mat mat_rotate(double degrees, double x, double y, double z);
Mat mat_scale(double sx, double sy, double sz);
Mat mat_translate(double x, double y, double z);
Vec mat_apply(const Mat& m, const Vec& v);
constexpr Mat IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct Pt {
  double x, y, w;  // pad units, weight
};

struct Model {
  std::vector<Pt> pts;
  std::vector<int> sel = {-1};  // the selection in use; sel[0] is the current point
  int degree = 2, type = 302;   // 301 uniform, 302 clamped, 303 closed
  std::vector<float> knots;     // empty: no knot vector
  // Knot bar: u, the thumb's pixel, what is held (0 nothing, 1 knots, 2 thumb).
  float u = 0;
  int thumb = 65, hold = 0, hold_index = 0, hold_mult = 0, hold_last = 0;
  float edited_u = 0, lifted_u = 0;  // the curves' own tracing parameters
  // Control panel.
  float weight = 0;
  int slider_thumb = 64, slider_last = 0, arrow = 0;  // arrow: 1 up, -1 down held
  bool slider_held = false;
  int pushed = NONE, saved_degree = 0;
  int deboor = 0, dots = 0, pad_grid = 1, proj_grid = 1;
  float zoom = 2;
  // Dialogs.
  bool new_shown = false, about_shown = false, dismiss_held = false;
  int box_degree = 2, box_type = 302, new_pushed = 0;  // 1 "OK", 2 "Cancel" held
  // Drawing pad: the last press and drag.
  int pad_mode = 10, picked = -1, pad_last_x = 0, pad_last_y = 0;
  // Projection window.
  Mat view = IDENTITY;
  int step_x = 0, step_y = 0, turn_last_x = 0, turn_last_y = 0;
  bool turning = false;
  std::array<double, 3> trace3d = {0, 0, 0};
};

// One GLUT event of window w (state -1: a motion with a button held), as the
// program must take it; mods are GLUT's modifier bits.
void model_event(Model& m, Win w, int button, int state, int x, int y, int mods);
// What drawing window w changes in the state (the knot bar merges near-equal
// knots; the pad hands u to the curve; the 3D view folds its turn and aims its
// tracing ray).
void model_display(Model& m, Win w);
// Everything window w shows, as text: a change means the window must be redrawn.
std::string model_look(const Model& m, Win w);

// The curve as drawn: homogeneous points (w x, w y, w z, w), knots and degree.
// A closed curve repeats its first p points.
struct Drawn {
  std::vector<Vec> points;
  std::vector<float> knots;
  int p = 0;
  bool usable() const;  // 3 or more points and n + p + 1 knots
};
Drawn drawn_edited(const Model& m);  // in the plane z = 0 of the pad
Drawn drawn_lifted(const Model& m);  // the 3D lift (w x, w y, w)
// De Boor's triangle at u by the renderer's rule (span and multiplicity from
// t[0]); empty when it draws no triangle. levels[r][j], homogeneous.
std::vector<std::vector<Vec>> model_triangle(const Drawn& d, double u);
// The curve point at u inside [t[p], t[n]] (homogeneous).
Vec model_point(const Drawn& d, double u);
// Bar pixel of a value, and the valid knot range [lo, hi] of the curve.
int bar_y(float v);
void valid_range(const Model& m, float* lo, float* hi);
// Thumb pixel of a slider value.
int slider_x(float v);

}  // namespace model
