// Random-event session: gestures drawn from a seeded generator and delivered to
// the windows' callbacks as GLUT would (the window made current first), every
// window redrawn every few dozen events, the invariants checked after each.
#include "random_session.h"

#include "gl_guard.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/about.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"
#include "windows/new_curve.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int DISPLAY_GAP_MEAN = 60;  // events between two display rounds, on average
constexpr int TRACE_LENGTH = 24;      // last events printed with a failure
constexpr int POINT_LIMIT = 100;      // points the pad lets the edited curve have
constexpr int EXTRA_ADDS = 3;         // right presses tried past a full curve
constexpr int GLUT_WHEEL_UP = 3;      // freeglut reports wheel turns as buttons 3 and 4
constexpr int GLUT_WHEEL_DOWN = 4;
constexpr int FAR_OUTSIDE = 5000;      // pixels: a position well off every window
constexpr int NEAR_JITTER = 10;        // pixels around a target that still count as near it
constexpr int WIDGET_JITTER = 3;       // pixels around a widget's rectangle
constexpr int DRAG_STEPS_MAX = 12;     // motion events in one drag
constexpr int SMALL_STEP = 8;          // pixels of an ordinary motion step
constexpr int LARGE_STEP = 300;        // pixels of a jump
constexpr int BULK_RUN_MAX = 40;       // right presses in an ordinary run
constexpr int BULK_FILL_PERCENT = 20;  // runs that fill the curve to its limit
constexpr int LARGE_CURVE = 60;        // points from which a curve is soon replaced
constexpr int LARGE_CURVE_RESET_PERCENT = 8;
constexpr float WEIGHT_MIN = -3.0f;  // range of the weight slider
constexpr float WEIGHT_MAX = 10.0f;
constexpr double KNOT_GROUP_TOLERANCE = 0.0005;  // half a bar step: grouping at draw time
constexpr int DEGREE_COUNT = 10;
constexpr int KNOT_TYPE_COUNT = 3;

enum Target { PAD, PANEL, KNOTS, NEW_CURVE, ABOUT, PROJECTION, TARGET_COUNT };

struct TargetWindow {
  const char* name;
  WindowEntry* entry;
  void (*mouse)(int, int, int, int);
  void (*motion)(int, int);  // null: the window has no motion callback
};

const TargetWindow TARGETS[TARGET_COUNT] = {
    {"pad", &window_table.win_pad, pad_mouse, pad_motion},
    {"panel", &window_table.win_panel, panel_mouse, panel_motion},
    {"knots", &window_table.win_knots, knot_panel_mouse, knot_panel_motion},
    {"new_curve", &window_table.win_new_curve, new_curve_mouse, empty_motion},
    {"about", &window_table.win_about, about_mouse, nullptr},
    {"projection", &window_table.win_projection, proj_mouse, proj_motion},
};

Button* const DEGREE_BOXES[DEGREE_COUNT] = {
    &chk_degree_1, &chk_degree_2, &chk_degree_3, &chk_degree_4, &chk_degree_5,
    &chk_degree_6, &chk_degree_7, &chk_degree_8, &chk_degree_9, &chk_degree_10};
Button* const KNOT_TYPE_BOXES[KNOT_TYPE_COUNT] = {&chk_uniform, &chk_clamped, &chk_closed};
Button* const PANEL_WIDGETS[] = {&btn_new,      &btn_reset, &btn_about,  &btn_quit,   &btn_zoom_in,
                                 &btn_zoom_out, &btn_grid,  &chk_deboor, &chk_points, &chk_grid};

//------------------------------------------------------------------------------
// Session state
//------------------------------------------------------------------------------

struct Session {
  uint64_t seed;
  std::mt19937_64 rng;
  long limit;         // events to deliver
  long index;         // events delivered so far
  long next_display;  // event index of the next display round
  int degree_turn;    // next degree of the "   New" cycle, 0-based
  int type_turn;      // next knot type of the "   New" cycle, 0-based
  std::deque<std::string> trace;
  SessionResult result;
};

char exit_context[96];  // what the exit guard prints: the seed and the event

int rnd(Session& s, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(s.rng);
}

bool chance(Session& s, int percent) {
  return rnd(s, 0, 99) < percent;
}

bool done(const Session& s) {
  return s.index >= s.limit || !s.result.failure.empty();
}

// A GLUT y (top row 0) for a window y counted upwards as height - y, the rule of
// the pad, the knot panel, the projection and the About window.
int glut_y_from_up(const WindowEntry& w, int y_up) {
  return w.height - y_up;
}

// A GLUT y for a window y counted upwards as viewport height - 1 - y, the rule
// of flip_y (control panel and new-curve window).
int glut_y_from_flipped(const WindowEntry& w, int y_up) {
  return w.height - 1 - y_up;
}

//------------------------------------------------------------------------------
// Invariants
//------------------------------------------------------------------------------

std::string describe(const char* what, double value) {
  std::ostringstream out;
  out << what << " (" << value << ")";
  return out.str();
}

// Knot count a curve of n points, degree p and this knot type must have.
int expected_knot_count(int n, int p, int type) {
  if (n < 3 || n <= p) return 0;
  return type == KNOT_CLOSED ? n + 2 * p + 1 : n + p + 1;
}

std::string check_edited_curve() {
  const Curve* c = edited_curve;
  const int n = c->point_count;
  const int p = c->degree;
  if (n < 0 || n > POINT_LIMIT) return describe("point_count outside 0..100", n);
  if (p < 1 || p > DEGREE_MAX) return describe("degree outside 1..10", p);
  if (c->knot_type != KNOT_UNIFORM && c->knot_type != KNOT_CLAMPED && c->knot_type != KNOT_CLOSED)
    return describe("unknown knot type", c->knot_type);
  if (static_cast<long>(c->points.size()) != static_cast<long>(c->point_blocks) * CURVE_BLOCK ||
      static_cast<int>(c->points.size()) <= n)
    return describe("points array does not hold its blocks past point_count", c->points.size());
  if (static_cast<long>(c->knots.size()) != static_cast<long>(c->knot_blocks) * CURVE_BLOCK ||
      static_cast<int>(c->knots.size()) <= c->knot_count)
    return describe("knots array does not hold its blocks past knot_count", c->knots.size());
  const int knots = expected_knot_count(n, p, c->knot_type);
  if (c->knot_count != knots) {
    std::ostringstream out;
    out << "knot_count " << c->knot_count << " for " << n << " points, degree " << p << ", type "
        << c->knot_type << " (expected " << knots << ")";
    return out.str();
  }
  if (c->wrapped != (c->knot_count > 0 && c->knot_type == KNOT_CLOSED ? 1 : 0))
    return describe("wrapped does not match a built closed vector", c->wrapped);
  for (int i = 0; i < c->knot_count; i++) {
    const float t = c->knots[i];
    if (!std::isfinite(t) || t < c->knot_min || t > c->knot_max)
      return describe("knot outside the parameter range", t);
    if (i > 0 && t < c->knots[i - 1]) return describe("knots decrease at index", i);
  }
  for (int i = 0; i < n; i++) {
    const ControlPoint& q = c->points[i];
    if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.w))
      return describe("non-finite control point", i);
    if (std::fabs(q.x) > PAD_LIMIT || std::fabs(q.y) > PAD_LIMIT || q.z != 0.0) {
      std::ostringstream out;
      out << "control point " << i << " outside the pad (" << q.x << ", " << q.y << ", " << q.z
          << ")";
      return out.str();
    }
    if (q.w < WEIGHT_MIN || q.w > WEIGHT_MAX) return describe("weight outside -3..10", q.w);
  }
  for (int e = 0; e < SELECTION_MAX; e++) {
    const int sel = c->selected[e];
    if (sel != -1 && (sel < 0 || sel >= n)) return describe("selection entry not a point", sel);
  }
  if (selection_count < 1 || selection_count > SELECTION_MAX)
    return describe("selection_count outside 1..20", selection_count);
  return "";
}

// The lift computed here, point by point, against the lifted curve.
std::string check_lift() {
  const Curve* e = edited_curve;
  const Curve* l = lifted_curve;
  const double s = plane_height;
  if (l->point_count != e->point_count) return describe("lifted point_count", l->point_count);
  for (int i = 0; i < e->point_count; i++) {
    const ControlPoint& q = e->points[i];
    const ControlPoint& r = l->points[i];
    if (r.x != s * q.x * q.w || r.y != s * q.y * q.w || r.z != s * q.w || r.w != 1.0)
      return describe("lifted point differs from the lift of its edited point", i);
  }
  if (l->degree != e->degree || l->knot_type != e->knot_type || l->wrapped != e->wrapped ||
      l->knot_count != e->knot_count || l->knot_min != e->knot_min || l->knot_max != e->knot_max)
    return "lifted degree, knot type, wrap, knot count or range differs";
  // The knot bar groups near-equal knots of the edited curve in place when it
  // draws; the lifted copy catches up at the next lift.
  for (int i = 0; i < e->knot_count; i++) {
    if (std::fabs(static_cast<double>(l->knots[i]) - e->knots[i]) > KNOT_GROUP_TOLERANCE)
      return describe("lifted knot differs at index", i);
  }
  if (l->selected[0] != e->selected[0]) return describe("lifted current point", l->selected[0]);
  // trace_u is not compared: the pad's display copies the bar's value into the
  // edited curve without a lift, and the lifted curve takes it at the next one.
  if (l->colour[0] != 1.0f || l->colour[1] != 0.0f || l->colour[2] != 0.0f)
    return "lifted curve is not red";
  return "";
}

// Exactly one box of a group is checked.
bool one_checked(Button* const* boxes, int count) {
  int checked = 0;
  for (int i = 0; i < count; i++) checked += boxes[i]->state != 0 ? 1 : 0;
  return checked == 1;
}

std::string check_widgets() {
  const Slider& w = weight_slider;
  if (!std::isfinite(w.value) || w.value < w.min || w.value > w.max)
    return describe("weight slider value outside its range", w.value);
  if (w.arrow_list != 0 && !w.dragging && (w.thumb_x < w.x1 + 25 || w.thumb_x > w.x2 - 25))
    return describe("weight slider thumb off its track", w.thumb_x);
  const KnotBar& k = knot_bar;
  if (!std::isfinite(k.value) || k.value < k.min || k.value > k.max)
    return describe("knot bar value outside its range", k.value);
  if (k.list_id != 0 && (k.thumb_y < k.y1 + 15 || k.thumb_y > k.y2 - 15))
    return describe("knot bar thumb off its axis", k.thumb_y);
  if (!one_checked(DEGREE_BOXES, DEGREE_COUNT)) return "degree boxes: not exactly one checked";
  if (!one_checked(KNOT_TYPE_BOXES, KNOT_TYPE_COUNT)) return "knot type boxes: not exactly one";
  if (chk_deboor.state != show_deboor || chk_points.state != show_deboor_points ||
      (show_deboor_points && !show_deboor))
    return "de Boor check boxes and switches disagree";
  if (!std::isfinite(proj_zoom) || !(proj_zoom > 0.0f)) return describe("proj_zoom", proj_zoom);
  for (double m : view_matrix)
    if (!std::isfinite(m)) return "non-finite view matrix";
  for (float t : tracing_point_3d)
    if (!std::isfinite(t)) return "non-finite tracing point";
  return "";
}

//------------------------------------------------------------------------------
// Delivery
//------------------------------------------------------------------------------

void display_round(Session& s);

// Events until the next display round: between half and one and a half times
// the mean, which TERNIVAL_DISPLAY_EVERY may change (a long run spends its
// time on events rather than on drawing).
int display_gap(Session& s) {
  static const int mean = [] {
    const char* text = std::getenv("TERNIVAL_DISPLAY_EVERY");
    const int every = text != nullptr ? std::atoi(text) : 0;
    return every >= 2 ? every : DISPLAY_GAP_MEAN;
  }();
  return rnd(s, mean / 2, mean + mean / 2);
}

void remember(Session& s, const std::string& what) {
  s.trace.push_back(what);
  if (static_cast<int>(s.trace.size()) > TRACE_LENGTH) s.trace.pop_front();
}

void fail(Session& s, const std::string& reason) {
  std::ostringstream out;
  out << "seed " << s.seed << ", event " << s.index << ": " << reason
      << "\n  replay: TERNIVAL_SEED=" << s.seed << " TERNIVAL_EVENTS=" << s.index
      << "\n  last events:";
  for (const std::string& e : s.trace) out << "\n    " << e;
  s.result.failure = out.str();
}

// After each event: invariants, the largest curve, and a display round when due.
void after_event(Session& s) {
  s.index++;
  s.result.events = s.index;
  if (edited_curve->point_count > s.result.largest_curve)
    s.result.largest_curve = edited_curve->point_count;
  std::string broken = random_session_check();
  if (!broken.empty()) {
    fail(s, broken);
    return;
  }
  if (s.index >= s.next_display) {
    display_round(s);
    s.next_display = s.index + display_gap(s);
  }
}

// Names the event about to run, for the exit guard.
void name_event(const Session& s) {
  std::snprintf(exit_context, sizeof exit_context, "seed %llu, event %ld",
                static_cast<unsigned long long>(s.seed), s.index);
  gl_guard_exit_context = exit_context;
}

void deliver_mouse(Session& s, Target t, int button, int state, int x, int y, int modifiers = 0) {
  if (done(s)) return;
  name_event(s);
  const TargetWindow& w = TARGETS[t];
  if (state == GLUT_DOWN) {
    x = std::clamp(x, 0, w.entry->width - 1);
    y = std::clamp(y, 0, w.entry->height - 1);
  }
  // The left release that follows a press on "  Quit!" would end the process:
  // the button is let go here instead, and every other release goes through.
  if (t == PANEL && button == GLUT_LEFT_BUTTON && state == GLUT_UP && btn_quit.state == 1)
    btn_quit.state = 0;
  std::ostringstream what;
  what << s.index << " " << w.name << " mouse button " << button << " state " << state << " at ("
       << x << ", " << y << ") modifiers " << modifiers;
  remember(s, what.str());
  glutSetWindow(w.entry->id);
  gl_guard_modifiers = modifiers;
  w.mouse(button, state, x, y);
  gl_guard_modifiers = -1;
  after_event(s);
}

void deliver_motion(Session& s, Target t, int x, int y) {
  if (done(s) || TARGETS[t].motion == nullptr) return;
  name_event(s);
  const TargetWindow& w = TARGETS[t];
  std::ostringstream what;
  what << s.index << " " << w.name << " motion to (" << x << ", " << y << ")";
  remember(s, what.str());
  glutSetWindow(w.entry->id);
  w.motion(x, y);
  after_event(s);
}

void display_round(Session& s) {
  remember(s, "display round");
  random_session_display_all();
  s.result.displays++;
  std::string broken = random_session_check();
  if (!broken.empty()) fail(s, "after a display round: " + broken);
}

//------------------------------------------------------------------------------
// Positions
//------------------------------------------------------------------------------

// Anywhere in the window, on its edges, just outside or far outside it.
// Motions and releases reach a window wherever the pointer is (the window that
// took the press keeps the pointer); presses only inside it.
void any_position(Session& s, const WindowEntry& w, int* x, int* y) {
  const int roll = rnd(s, 0, 99);
  if (roll < 70) {
    *x = rnd(s, 0, w.width - 1);
    *y = rnd(s, 0, w.height - 1);
  } else if (roll < 85) {
    const int xs[] = {-1, 0, 1, w.width - 1, w.width, w.width + 1};
    const int ys[] = {-1, 0, 1, w.height - 1, w.height, w.height + 1};
    *x = xs[rnd(s, 0, 5)];
    *y = ys[rnd(s, 0, 5)];
  } else if (roll < 95) {
    *x = rnd(s, -40, w.width + 40);
    *y = rnd(s, -40, w.height + 40);
  } else {
    *x = rnd(s, -FAR_OUTSIDE, FAR_OUTSIDE);
    *y = rnd(s, -FAR_OUTSIDE, FAR_OUTSIDE);
  }
}

// On or just around a rectangle given in window y up, as a GLUT position.
void rect_position(Session& s, const WindowEntry& w, bool flipped, int x1, int y1, int x2, int y2,
                   int jitter, int* x, int* y) {
  *x = rnd(s, x1 - jitter, x2 + jitter);
  const int up = rnd(s, y1 - jitter, y2 + jitter);
  *y = flipped ? glut_y_from_flipped(w, up) : glut_y_from_up(w, up);
}

// Near control point i of the edited curve on the pad, through the pad's own
// mapping: (0, 0) at the centre, 6 pad units across.
void point_position(Session& s, int i, int jitter, int* x, int* y) {
  const WindowEntry& w = window_table.win_pad;
  const ControlPoint& q = edited_curve->points[i];
  const double px = w.width / 2.0 + q.x * w.width / 6.0;
  const double py = w.height / 2.0 + q.y * w.height / 6.0;
  *x = static_cast<int>(std::trunc(px)) + rnd(s, -jitter, jitter);
  *y = glut_y_from_up(w, static_cast<int>(std::trunc(py)) + rnd(s, -jitter, jitter));
}

// Somewhere on the pad worth a press: near a point, anywhere, or off the pad.
void pad_position(Session& s, int* x, int* y) {
  const int n = edited_curve->point_count;
  if (n > 0 && chance(s, 55)) {
    point_position(s, rnd(s, 0, n - 1), chance(s, 80) ? PICK_RADIUS : NEAR_JITTER, x, y);
  } else {
    any_position(s, window_table.win_pad, x, y);
  }
}

int random_modifiers(Session& s) {
  const int roll = rnd(s, 0, 99);
  if (roll < 55) return 0;
  if (roll < 85) return GLUT_ACTIVE_SHIFT;
  if (roll < 90) return GLUT_ACTIVE_CTRL;
  if (roll < 95) return GLUT_ACTIVE_ALT;
  return GLUT_ACTIVE_SHIFT | (chance(s, 50) ? GLUT_ACTIVE_CTRL : GLUT_ACTIVE_ALT);
}

int random_button(Session& s) {
  const int roll = rnd(s, 0, 99);
  if (roll < 55) return GLUT_LEFT_BUTTON;
  if (roll < 70) return GLUT_MIDDLE_BUTTON;
  if (roll < 94) return GLUT_RIGHT_BUTTON;
  return chance(s, 50) ? GLUT_WHEEL_UP : GLUT_WHEEL_DOWN;
}

// One step of a drag: mostly a few pixels, sometimes a jump.
int drag_step(Session& s) {
  return chance(s, 90) ? rnd(s, -SMALL_STEP, SMALL_STEP) : rnd(s, -LARGE_STEP, LARGE_STEP);
}

//------------------------------------------------------------------------------
// Gestures
//------------------------------------------------------------------------------

// Press at (x, y), a few motion steps, release where the pointer ended (GLUT
// sends the motions and the release to the window that took the press).
void press_drag_release(Session& s, Target t, int button, int x, int y, int modifiers, int steps) {
  deliver_mouse(s, t, button, GLUT_DOWN, x, y, modifiers);
  for (int i = 0; i < steps; i++) {
    x += drag_step(s);
    y += drag_step(s);
    deliver_motion(s, t, x, y);
  }
  deliver_mouse(s, t, button, GLUT_UP, x, y, modifiers);
}

void click(Session& s, Target t, int x, int y) {
  deliver_mouse(s, t, GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
  deliver_mouse(s, t, GLUT_LEFT_BUTTON, GLUT_UP, x, y);
}

// A press of any button on the pad, perhaps a drag, and its release.
void gesture_pad(Session& s) {
  int x, y;
  pad_position(s, &x, &y);
  const int button = random_button(s);
  const int steps = chance(s, 40) ? rnd(s, 1, DRAG_STEPS_MAX) : 0;
  press_drag_release(s, PAD, button, x, y, random_modifiers(s), steps);
}

// A run of right clicks on the pad: sometimes until the curve is full and a
// few past it, so that the 101st point is refused.
void gesture_bulk_add(Session& s) {
  const WindowEntry& w = window_table.win_pad;
  int count = rnd(s, 1, BULK_RUN_MAX);
  if (chance(s, BULK_FILL_PERCENT))
    count = POINT_LIMIT - edited_curve->point_count + rnd(s, 0, EXTRA_ADDS);
  for (int i = 0; i < count && !done(s); i++) {
    int x = rnd(s, 0, w.width - 1);
    int y = rnd(s, 0, w.height - 1);
    if (chance(s, 5)) any_position(s, w, &x, &y);
    deliver_mouse(s, PAD, GLUT_RIGHT_BUTTON, GLUT_DOWN, x, y);
    deliver_mouse(s, PAD, GLUT_RIGHT_BUTTON, GLUT_UP, x, y);
  }
}

// A press on or around one of the panel's widgets or the slider, its release.
void gesture_panel(Session& s) {
  const WindowEntry& w = window_table.win_panel;
  int x, y;
  const int roll = rnd(s, 0, 99);
  if (roll < 60) {
    const Button* b = PANEL_WIDGETS[rnd(s, 0, static_cast<int>(std::size(PANEL_WIDGETS)) - 1)];
    rect_position(s, w, true, b->x1, b->y1, b->x2, b->y2, WIDGET_JITTER, &x, &y);
  } else if (roll < 85) {
    const Slider& sl = weight_slider;
    rect_position(s, w, true, sl.x1, sl.y1 - 2, sl.x2, sl.y1 + 16, WIDGET_JITTER, &x, &y);
  } else {
    any_position(s, w, &x, &y);
  }
  const int button = chance(s, 80) ? GLUT_LEFT_BUTTON : random_button(s);
  const int steps = chance(s, 30) ? rnd(s, 1, DRAG_STEPS_MAX) : 0;
  press_drag_release(s, PANEL, button, x, y, 0, steps);
}

// Selects a point, then takes the weight slider to an end, near zero or
// anywhere, or presses "  Reset".
void gesture_weights(Session& s) {
  const int n = edited_curve->point_count;
  if (n > 0) {
    int x, y;
    point_position(s, rnd(s, 0, n - 1), 0, &x, &y);
    click(s, PAD, x, y);
  }
  const WindowEntry& w = window_table.win_panel;
  const Slider& sl = weight_slider;
  const int y = glut_y_from_flipped(w, sl.y1 + 6);
  const int roll = rnd(s, 0, 99);
  if (roll < 15) {
    click(s, PANEL, rnd(s, btn_reset.x1, btn_reset.x2), glut_y_from_flipped(w, btn_reset.y1 + 5));
    return;
  }
  // The thumb is taken where it is drawn; the first draw places it.
  const int from = sl.thumb_x;
  int to;
  if (roll < 40) {
    to = sl.x1 - rnd(s, 0, 400);  // past the left end: weight -3
  } else if (roll < 60) {
    to = slider_thumb_x(&sl, 0.0f) + rnd(s, -1, 1);  // at or next to weight 0
  } else if (roll < 70) {
    to = sl.x2 + rnd(s, 0, 400);  // past the right end: weight 10
  } else {
    to = rnd(s, sl.x1, sl.x2);
  }
  deliver_mouse(s, PANEL, GLUT_LEFT_BUTTON, GLUT_DOWN, from, y);
  const int steps = rnd(s, 1, 4);
  for (int i = 1; i <= steps; i++) deliver_motion(s, PANEL, from + (to - from) * i / steps, y);
  deliver_mouse(s, PANEL, GLUT_LEFT_BUTTON, GLUT_UP, to, y);
}

// The knot bar: a knot mark (left of the axis), the thumb, a step box, or
// anywhere; then a drag and the release.
void gesture_knots(Session& s) {
  const WindowEntry& w = window_table.win_knots;
  const KnotBar& k = knot_bar;
  const Curve* c = edited_curve;
  int x, y;
  const int roll = rnd(s, 0, 99);
  if (roll < 40 && c->knot_count > 0) {
    const int y_up = knot_bar_y(&k, c->knots[rnd(s, 0, c->knot_count - 1)]);
    rect_position(s, w, false, k.x1, y_up, k.x1 + 14, y_up, WIDGET_JITTER, &x, &y);
  } else if (roll < 70) {
    rect_position(s, w, false, k.x1 + 15, k.thumb_y - 8, k.x1 + 22, k.thumb_y + 8, 1, &x, &y);
  } else if (roll < 85) {
    const bool up = chance(s, 50);
    rect_position(s, w, false, k.x1 + 8, up ? k.y2 - 10 : k.y1, k.x1 + 27, up ? k.y2 : k.y1 + 10,
                  WIDGET_JITTER, &x, &y);
  } else {
    any_position(s, w, &x, &y);
  }
  const int button = chance(s, 85) ? GLUT_LEFT_BUTTON : random_button(s);
  press_drag_release(s, KNOTS, button, x, y, 0, chance(s, 70) ? rnd(s, 1, DRAG_STEPS_MAX) : 0);
}

// "   New", a few boxes, a degree and a knot type taken in turn so that every
// pair comes up, then "OK" (or "Cancel") released on or off the button.
void gesture_new_curve(Session& s) {
  const WindowEntry& panel = window_table.win_panel;
  const WindowEntry& w = window_table.win_new_curve;
  click(s, PANEL, btn_new.x1 + 5, glut_y_from_flipped(panel, btn_new.y1 + 5));
  int x, y;
  for (int i = rnd(s, 0, 3); i > 0; i--) {
    any_position(s, w, &x, &y);
    deliver_mouse(s, NEW_CURVE, random_button(s), GLUT_DOWN, x, y);
    deliver_mouse(s, NEW_CURVE, GLUT_LEFT_BUTTON, GLUT_UP, x, y);
  }
  const Button* degree = DEGREE_BOXES[s.degree_turn];
  const Button* type = KNOT_TYPE_BOXES[s.type_turn];
  s.degree_turn = (s.degree_turn + 1) % DEGREE_COUNT;
  if (s.degree_turn == 0) s.type_turn = (s.type_turn + 1) % KNOT_TYPE_COUNT;
  rect_position(s, w, true, degree->x1, degree->y1, degree->x2, degree->y2, 0, &x, &y);
  click(s, NEW_CURVE, x, y);
  rect_position(s, w, true, type->x1, type->y1, type->x2, type->y2, 0, &x, &y);
  click(s, NEW_CURVE, x, y);
  const bool ok = chance(s, 85);
  const Button* end = ok ? &btn_ok : &btn_cancel;
  rect_position(s, w, true, end->x1, end->y1, end->x2, end->y2, 0, &x, &y);
  deliver_mouse(s, NEW_CURVE, GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
  if (chance(s, 20)) any_position(s, w, &x, &y);
  const bool armed = btn_ok.state == 1 && !done(s);
  deliver_mouse(s, NEW_CURVE, GLUT_LEFT_BUTTON, GLUT_UP, x, y);
  if (armed && !done(s)) s.result.new_curves++;
}

// " About", a few presses in the About window, then "Dismiss".
void gesture_about(Session& s) {
  const WindowEntry& panel = window_table.win_panel;
  const WindowEntry& w = window_table.win_about;
  click(s, PANEL, btn_about.x1 + 5, glut_y_from_flipped(panel, btn_about.y1 + 5));
  int x, y;
  for (int i = rnd(s, 0, 3); i > 0; i--) {
    any_position(s, w, &x, &y);
    const int button = random_button(s);
    deliver_mouse(s, ABOUT, button, GLUT_DOWN, x, y);
    deliver_mouse(s, ABOUT, button, GLUT_UP, x, y);
  }
  const Button& b = btn_dismiss;
  rect_position(s, w, false, b.x1, b.y1, b.x2, b.y2, 1, &x, &y);
  click(s, ABOUT, x, y);
}

// A rotation drag (or another button) in the projection window.
void gesture_projection(Session& s) {
  int x, y;
  any_position(s, window_table.win_projection, &x, &y);
  const int button = chance(s, 75) ? GLUT_LEFT_BUTTON : random_button(s);
  press_drag_release(s, PROJECTION, button, x, y, 0, rnd(s, 0, DRAG_STEPS_MAX));
}

// A lone motion or release in any window, anywhere: what a window sees when a
// press began elsewhere or the pointer left it.
void gesture_stray(Session& s) {
  const Target t = static_cast<Target>(rnd(s, 0, TARGET_COUNT - 1));
  int x, y;
  any_position(s, *TARGETS[t].entry, &x, &y);
  if (chance(s, 50)) {
    deliver_motion(s, t, x, y);
  } else {
    deliver_mouse(s, t, random_button(s), GLUT_UP, x, y, random_modifiers(s));
  }
}

void run_gesture(Session& s, const EventMix& mix) {
  void (*const gestures[])(Session&) = {gesture_pad,     gesture_bulk_add,   gesture_panel,
                                        gesture_weights, gesture_knots,      gesture_new_curve,
                                        gesture_about,   gesture_projection, gesture_stray};
  const int weights[] = {mix.pad,       mix.bulk_add, mix.panel,      mix.weights, mix.knots,
                         mix.new_curve, mix.about,    mix.projection, mix.stray};
  // A large curve makes every display round slow: it is replaced by a new one
  // after a dozen gestures or so, so that a session sees many curves.
  if (edited_curve->point_count >= LARGE_CURVE && chance(s, LARGE_CURVE_RESET_PERCENT)) {
    gesture_new_curve(s);
    return;
  }
  std::discrete_distribution<int> pick(std::begin(weights), std::end(weights));
  gestures[pick(s.rng)](s);
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

std::string random_session_check() {
  std::string broken = check_edited_curve();
  if (broken.empty()) broken = check_lift();
  if (broken.empty()) broken = check_widgets();
  if (broken.empty() && gl_guard_faults > 0)
    broken = std::string("non-finite number passed to ") + gl_guard_first_fault;
  return broken;
}

void random_session_display_all() {
  const struct {
    const WindowEntry* entry;
    void (*display)();
  } windows[] = {
      {&window_table.win_main, main_display},
      {&window_table.win_knots, knot_panel_display},
      {&window_table.win_pad, pad_display},
      {&window_table.win_panel, panel_display},
      {&window_table.win_projection, proj_display},
      {&window_table.win_new_curve, new_curve_display},
      {&window_table.win_about, about_display},
  };
  for (const auto& w : windows) {
    glutSetWindow(w.entry->id);
    w.display();
  }
}

SessionResult random_session_run(uint64_t seed, long events, const EventMix& mix) {
  Session s{seed, std::mt19937_64(seed), events, 0, 0, 0, 0, {}, {}};
  s.next_display = display_gap(s);
  gl_guard_reset();
  std::string broken = random_session_check();
  if (!broken.empty()) fail(s, "before the first event: " + broken);
  while (!done(s)) run_gesture(s, mix);
  gl_guard_exit_context = nullptr;
  return s.result;
}
