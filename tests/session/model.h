// An independent model of what the program must do and show, written from the
// documented behaviour of each window and not from the program's code: the
// curve (points, weights, selection, degree, knot style and knots), the knot
// bar's u and thumb, the weight slider, the switches, the zoom and grid, the 3D
// view's turn, the dialogs. The session test feeds it the same GLUT events as
// the program and compares. Window pixels with y up unless said otherwise.
#pragma once

#include "support/layout.h"

#include <array>
#include <string>
#include <vector>

namespace model {

enum Win { PAD, PANEL, KNOTS, NEW, ABOUT, PROJ, WINDOWS };
// Rectangles of tests/layout.txt (x1, y1, x2, y2), in the order named.
inline const int* rect(const char* name) {
  return layout("widget", name).data();
}
template <size_t N>
std::array<const int*, N> rects(const char* const (&names)[N]) {
  std::array<const int*, N> r;
  for (size_t i = 0; i < N; ++i) r[i] = rect(names[i]);
  return r;
}
inline const int HEIGHT[WINDOWS] = {layout("window", "pad")[3],   layout("window", "panel")[3],
                                    layout("window", "knots")[3], layout("window", "new")[3],
                                    layout("window", "about")[3], layout("window", "proj")[3]};
inline const int PAD_SIZE = HEIGHT[PAD], PROJ_SIZE = HEIGHT[PROJ];
// Push buttons of the control panel, in the order the panel tests them.
enum Push { NEW_BTN, RESET, ABOUT_BTN, QUIT, ZOOM_IN, ZOOM_OUT, GRID, NONE = -1 };
inline const auto PUSH_RECT =
    rects({"new", "reset", "about", "quit", "zoom_in", "zoom_out", "grid"});
// Check boxes "Show DeBoor", "Show Points", "Display Grid"; the weight's arrows; the knot
// panel's "Up", "Dn" and axis (u = 0 at its bottom); the About window's "Dismiss".
inline const auto CHECK_RECT = rects({"show_deboor", "show_points", "display_grid"});
inline const int *const WEIGHT_UP = rect("weight_up"), *const WEIGHT_DOWN = rect("weight_down"),
                        *const STEP_UP = rect("up"), *const STEP_DOWN = rect("down"),
                        *const AXIS = rect("axis"), *const DISMISS_RECT = rect("dismiss");
// New-curve window: degree boxes 1..10, then "Uniform", "Clamped", "Closed", "OK", "Cancel".
inline const auto NEW_RECT =
    rects({"degree_1", "degree_2", "degree_3", "degree_4", "degree_5", "degree_6", "degree_7",
           "degree_8", "degree_9", "degree_10", "uniform", "clamped", "closed", "ok", "cancel"});

// The model's own names for the program's states.
enum KnotType { UNIFORM, CLAMPED, CLOSED };
enum PadMode { PAD_START, PAD_ADDING, PAD_MOVING, PAD_PICKING };  // what the last press did
enum Hold { HOLD_NOTHING, HOLD_KNOTS, HOLD_THUMB };               // what the knot bar holds

// Rules the model applies that random events seldom reach; the session counts them. The knot
// drags to either end of the valid range come once for each knot type.
// clang-format off
enum Rule {
  KNOT_MERGED, KNOT_GROUP_MOVED, KNOT_PASSED_LOWER, KNOT_PASSED_HIGHER, KNOT_AT_LOW_END,
  KNOT_AT_HIGH_END = KNOT_AT_LOW_END + 3, CLOSED_KNOT_OUT_OF_RANGE = KNOT_AT_HIGH_END + 3,
  PICK_AMONG_SEVERAL, INSERT_AFTER_MIDDLE, SHIFT_SELECTION_DRAGGED, SHIFT_ON_SELECTED,
  MIDDLE_PICK_DRAGGED, POINT_AT_PAD_EDGE, CANCEL_AFTER_TYPE_AND_DEGREE, OK_AFTER_TYPE,
  RESET_AFTER_WEIGHT, RESET_AFTER_KNOT_DRAG, WEIGHT_UP_AT_10, WEIGHT_DOWN_AT_MINUS_3, STEP_UP_AT_1,
  STEP_DOWN_AT_0, ZOOM_IN_AT_BOUND, ZOOM_OUT_AT_BOUND, TURN_RIGHT, TURN_LEFT, TURN_UP, TURN_DOWN,
  TURN_STOPPED, PAD_FULL, SELECTION_FULL, SHIFT_AND_OTHER, RULES
};
inline const char* const RULE_NAMES[RULES] = {
  "knot merged into a neighbour", "knot group moved together", "knot passed a lower one",
  "knot passed a higher one", "uniform knot at the low end", "clamped knot at the low end",
  "closed knot at the low end", "uniform knot at the high end", "clamped knot at the high end",
  "closed knot at the high end", "closed curve's outer knot pressed", "pick among several",
  "insertion after a middle point", "shift-selection dragged", "shift-press on a selected point",
  "middle-button pick dragged", "point held at the pad's edge", "Cancel after type and degree",
  "OK after a changed type", "Reset after a weight change", "Reset after a knot drag",
  "weight arrow up at 10", "weight arrow down at -3", "Up at 1", "Dn at 0",
  "zoom in at its bound", "zoom out at its bound", "3D turn right", "3D turn left",
  "3D turn up", "3D turn down", "3D turn stopped on release", "point refused by a full pad",
  "shift-pick refused by a full selection", "shift with Ctrl or Alt: a plain pick"};
// clang-format on

using Mat = std::array<double, 16>;  // column-major, as GL keeps it
using Vec = std::array<double, 4>;
Mat mat_mul(const Mat& a, const Mat& b);
Mat mat_rotate(double degrees, double x, double y, double z);
constexpr Mat IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct Pt {
  double x, y, w;  // pad units, weight
};

struct Model {
  std::vector<Pt> pts;
  std::vector<int> sel = {-1};  // the selection in use; sel[0] is the current point
  int degree = 2;
  KnotType type = CLAMPED;
  std::vector<float> knots;  // empty: no knot vector
  // Knot bar: u, the thumb's pixel, what is held.
  float u = 0;
  int thumb = AXIS[1], hold_index = 0, hold_mult = 0, hold_last = 0;
  Hold hold = HOLD_NOTHING;
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
  int box_degree = 2, new_pushed = 0;  // 1 "OK", 2 "Cancel" held
  KnotType box_type = CLAMPED;
  // Drawing pad: the last press and drag.
  PadMode pad_mode = PAD_START;
  int picked = -1, pad_last_x = 0, pad_last_y = 0;
  // Projection window.
  Mat view = IDENTITY;
  int step_x = 0, step_y = 0, turn_last_x = 0, turn_last_y = 0;
  bool turning = false;
  std::array<double, 3> trace3d = {0, 0, 0};
  std::array<long, RULES> fired{};  // how often each rule applied
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
// Bar pixel of a value, and the valid knot range [lo, hi] of the curve.
int bar_y(float v);
void valid_range(const Model& m, float* lo, float* hi);
// Thumb pixel of a slider value.
int slider_x(float v);

}  // namespace model
