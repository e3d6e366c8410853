// A seeded random session on the real windows, checked against the independent
// model of model.h: presses, drags and releases in every window (on widget
// edges, on points and knots, and anywhere), delivered to the callbacks as GLUT
// delivers them. After every event the program's state must equal the model's,
// every window whose picture the event changed must have been asked to redraw,
// and the windows it asked for are redrawn. What the windows show is checked by
// the golden scenes. The model names the rules it applies; the default session
// must apply each of them at least five times.
// TERNIVAL_SEED replays a seed; TERNIVAL_EVENTS sets the number of events.
#include "session/session.h"

#include "windows/control_panel.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <random>

namespace session {

namespace {

constexpr long DEFAULT_EVENTS = 2400;
constexpr unsigned long DEFAULT_SEED = 20261207;
constexpr long RULE_MINIMUM = 5;   // applications of each rule the default session must reach
constexpr long TOUR_EVENTS = 200;  // events from one knot tour to the next

std::mt19937 rng;
const auto rnd = [](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

}  // namespace

//------------------------------------------------------------------------------
// Delivery
//------------------------------------------------------------------------------

// One GLUT event to window w and to the model (state -1: a motion), then every check.
void send(Win w, int button, int state, int x, int y, int mods) {
  if (!failure.empty()) return;
  std::string before[WINDOWS];
  for (int i = 0; i < WINDOWS; ++i) before[i] = model_look(m, Win(i));
  const bool was_shown[2] = {m.new_shown, m.about_shown};
  gl_take_redisplays();
  glutSetWindow(windows[w].entry->id);
  modifiers = mods;
  state < 0 ? windows[w].motion(x, y) : windows[w].mouse(button, state, x, y);
  model_event(m, w, button, state, x, y, mods);
  compare_state();
  const std::vector<int> posted = gl_take_redisplays();
  // GLUT redraws the posted windows, the new ones shown, in the order they were made.
  for (Win v : {NEW, ABOUT, PROJ, KNOTS, PANEL, PAD}) {
    const bool shown = v == NEW ? m.new_shown : v == ABOUT ? m.about_shown : true;
    const bool opened = v == NEW || v == ABOUT ? shown && !was_shown[v - NEW] : false;
    const bool redraw =
        shown && (opened || std::count(posted.begin(), posted.end(), windows[v].entry->id));
    if (shown && !redraw && model_look(m, v) != before[v])
      return fail(std::string("the ") + NAMES[v] + " was not redrawn");
    if (!redraw || !failure.empty()) continue;
    glutSetWindow(windows[v].entry->id);  // drawing changes state: the bar merges near knots
    windows[v].display();
    model_display(m, v);
  }
  if (failure.empty()) compare_state();
  ++events;
}

}  // namespace session

extern "C" int __wrap_glutGetModifiers() {  // NOLINT(bugprone-reserved-identifier)
  return session::modifiers;
}

namespace session {

//------------------------------------------------------------------------------
// Gestures
//------------------------------------------------------------------------------

// GLUT's y (rows from the top) of window row y_up: the panel and the new-curve
// window read it back as height - 1 - y, the others as height - y.
int glut_y(Win w, int y_up) {
  return HEIGHT[w] - (w == PANEL || w == NEW ? 1 : 0) - y_up;
}

namespace {

// A spot in or around rectangle r (window pixels, y up), often on its edges.
void aim(const int* r, int jitter, int& x, int& y) {
  const int e = rnd(0, 5);
  x = e == 0 ? (rnd(0, 1) ? r[2] : r[0]) + rnd(-1, 1) : rnd(r[0] - jitter, r[2] + jitter);
  y = e == 1 ? (rnd(0, 1) ? r[3] : r[1]) + rnd(-1, 1) : rnd(r[1] - jitter, r[3] + jitter);
}
bool on_quit(int x, int y) {
  return x >= PUSH_RECT[QUIT][0] && x <= PUSH_RECT[QUIT][2] && y >= PUSH_RECT[QUIT][1] &&
         y <= PUSH_RECT[QUIT][3];
}
// Press at (x, y up), `steps` motions to (tx, ty), release there.
void drag(Win w, int x, int y, int tx, int ty, int steps, int button = 0, int mods = 0) {
  if (w == PANEL && (on_quit(x, y) || (button == 0 && m.pushed == QUIT))) return;
  x = std::clamp(x, 0, windows[w].entry->width - 1), y = std::clamp(y, 0, HEIGHT[w] - 1);
  send(w, button, 0, x, glut_y(w, y), mods);
  for (int i = 1; i <= steps; ++i)
    send(w, button, -1, x + (tx - x) * i / steps, glut_y(w, y + (ty - y) * i / steps), mods);
  if (w == PANEL && m.pushed == QUIT) m.pushed = NONE, btn_quit.state = 0;  // would end the process
  send(w, button, 1, tx, glut_y(w, ty), mods);
}
void click(Win w, const int* r, int jitter = 0, int button = 0) {
  int x, y;
  aim(r, jitter, x, y);
  drag(w, x, y, x, y, 0, button);
}

int zoom_phase = 0, zoom_stuck = 0;  // zoom runs: up to the bound, back, down to it, back
int next_type = 0;                   // knot types chosen in turn, each for a while

// A pad pixel (x, y up) of point q.
void pad_spot(const Pt& q, int& x, int& y) {
  x = static_cast<int>(270.5 + q.x * PAD_SIZE / 6),
  y = static_cast<int>(270.5 + q.y * PAD_SIZE / 6);
}

// A knot (mostly one that can be taken) dragged onto a neighbour's mark, a pixel either side of
// it, or an end of the axis.
void knot_aimed(bool to_end = false) {
  float lo, hi;
  valid_range(m, &lo, &hi);
  std::vector<int> valid;
  const bool any = !to_end && rnd(0, 3) == 0;
  for (size_t i = 0; i < m.knots.size(); ++i)
    if (any || (m.knots[i] >= lo && m.knots[i] <= hi)) valid.push_back(static_cast<int>(i));
  const int pad[4] = {0, 0, PAD_SIZE - 1, PAD_SIZE - 1};
  if (valid.empty() && m.pts.size() < 40) return click(PAD, pad, 0, 2);  // a longer curve first
  if (valid.empty()) return;
  const int i = valid[rnd(0, static_cast<int>(valid.size()) - 1)], last = int(m.knots.size()) - 1;
  const int j = std::clamp(i + (rnd(0, 1) ? 1 : -1) * rnd(1, m.degree + 1), 0, last);
  const int to = !to_end && rnd(0, 1)                       ? bar_y(m.knots[j]) + rnd(-1, 1)
                 : m.knots[i] < (rnd(0, 1) ? 0.45f : 0.55f) ? AXIS[3] + rnd(0, 1)
                                                            : AXIS[1] - rnd(0, 1);
  drag(KNOTS, rnd(48, 53), bar_y(m.knots[i]), rnd(48, 53), to, rnd(1, 3));
}

// Presses and releases the middle of rectangle r.
void press_middle(Win w, const int* r) {
  drag(w, (r[0] + r[2]) / 2, (r[1] + r[3]) / 2, (r[0] + r[2]) / 2, (r[1] + r[3]) / 2, 0);
}

// A fresh curve of the next knot type, degree 2 and six points, whose knots are dragged to the
// ends of their range and onto their neighbours (a closed curve's first knots, outside the
// range, pressed too); picks among points in reach (shift with Ctrl or Alt is a plain pick); a 3D
// turn, and a middle drag that turns nothing; u and the weight stepped past their ends; "Reset".
// Before the second, the pad is filled to its 100 points and clicked beyond, and 40 of them
// shift-picked (20 at most are kept).
int tours = 0;
void knot_tour() {
  if (tours == 1) {
    const int pad[4] = {20, 20, PAD_SIZE - 20, PAD_SIZE - 20};
    while (m.pts.size() < 100 && failure.empty()) click(PAD, pad, 0, 2);
    for (int i = 0; i < RULE_MINIMUM; ++i) click(PAD, pad, 0, 2);
    for (size_t i = 0; i < 40 && failure.empty(); ++i) {
      int x, y;
      pad_spot(m.pts[2 * i], x, y);
      drag(PAD, x, y, x, y, 0, 0, 1);
    }
  }
  press_middle(PANEL, PUSH_RECT[NEW_BTN]);  // first "Cancel" after a changed type and degree
  for (int box : {10 + (m.type + 1) % 3, m.degree == 3 ? 3 : 2, 14})
    press_middle(NEW, NEW_RECT[box]);
  press_middle(PANEL, PUSH_RECT[NEW_BTN]);
  for (int box : {10 + tours++ % 3, 1, 13}) press_middle(NEW, NEW_RECT[box]);
  const int pad[4] = {20, 20, PAD_SIZE - 20, PAD_SIZE - 20};
  for (int i = 0; i < 6; ++i) click(PAD, pad, 0, 2);
  // A point within reach of the first; the two picked, shift held, and dragged; the first
  // picked again with shift, then with the middle button; a point inserted after the second.
  int x, y;
  pad_spot(m.pts[0], x, y);
  drag(PAD, x + 4, y + 4, x + 4, y + 4, 0, 2);
  drag(PAD, x + 2, y + 2, x + 30, y + 30, 2, 0, 1);
  pad_spot(m.pts[0], x, y);
  drag(PAD, x, y, x, y, 0, 0, 1);
  drag(PAD, x, y, x + 9, y + 9, 1, 1);
  pad_spot(m.pts[0], x, y);
  drag(PAD, x, y, x, y, 0, 0,
       tours % 2 ? GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL : GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_ALT);
  pad_spot(m.pts[1], x, y);
  drag(PAD, x, y, x + 600, y, 2);  // and dragged against the pad's edge
  drag(PAD, x + 40, y, x + 40, y, 0, 2);
  drag(PROJ, 270, 270, 270 + rnd(-60, 60), 270 + rnd(-60, 60), 2);  // a turn of the 3D view
  drag(PROJ, 270, 270, 330, 300, 2, 1);  // the middle button turns nothing
  for (size_t k = 0; m.type == CLOSED && k < 3; ++k)
    drag(KNOTS, 50, bar_y(m.knots[k]), 50, bar_y(0.5f), 1);
  for (int i = 0; i < 7; ++i) knot_aimed(i < 4);
  for (const int* r : {STEP_DOWN, STEP_UP}) {  // the thumb to an end, and a step beyond it
    drag(KNOTS, 58, m.thumb, 58, r == STEP_DOWN ? 0 : 540, 1);
    press_middle(KNOTS, r), press_middle(KNOTS, r);
  }
  drag(PANEL, slider_x(m.weight), 566, slider_x(m.weight) + 200, 566, 1);  // the weight to 10
  press_middle(PANEL, WEIGHT_UP), press_middle(PANEL, PUSH_RECT[RESET]);
}

void gesture() {
  if (events >= TOUR_EVENTS * (tours + 1)) return knot_tour();
  const int n = static_cast<int>(m.pts.size()), g = n > 16 && rnd(0, 3) == 0 ? 70 : rnd(0, 99);
  int x, y;
  const int whole[4] = {0, 0, 540, 540};
  if (g < 18) {  // points added on the pad; a few curves grow large
    for (int i = n < 4 ? 4 : rnd(1, n > 40 ? 1 : 5); i > 0; --i) {
      if (m.pts.empty() || rnd(0, 1)) {
        click(PAD, whole, 0, 2);
        continue;
      }
      pad_spot(m.pts[rnd(0, static_cast<int>(m.pts.size()) - 1)], x, y);  // within reach of one
      x += rnd(-8, 8), y += rnd(-8, 8);
      drag(PAD, x, y, x, y, 0, 2);
    }
  } else if (g < 32 && n > 0) {  // a point picked (shift: added to the selection), maybe dragged
    const int s = m.sel[rnd(0, static_cast<int>(m.sel.size()) - 1)];  // often a selected one
    pad_spot(m.pts[s >= 0 && s < n && rnd(0, 1) ? s : rnd(0, n - 1)], x, y);
    x += rnd(-10, 10), y += rnd(-10, 10);
    const int dx = rnd(0, 2) ? rnd(-60, 60) : rnd(-600, 600),
              dy = rnd(0, 2) ? rnd(-60, 60) : rnd(-600, 600);
    const int button = rnd(0, 2) ? 0 : 1;
    drag(PAD, x, y, x + dx, y + dy, rnd(0, 2) ? rnd(1, 6) : 0, button, rnd(0, 1));
  } else if (g < 44) {  // a switch or button of the panel, or a press on one released elsewhere
    const int* r = rnd(0, 1) ? PUSH_RECT[rnd(0, 6)] : CHECK_RECT[rnd(0, 2)];
    aim(r, 1, x, y);
    drag(PANEL, x, y, rnd(0, 3) ? x : rnd(0, 640), rnd(0, 3) ? y : rnd(540, 614), rnd(0, 2));
  } else if (g < 52) {         // the weight: arrows (up to the ends of the range), or the thumb
    const int up = rnd(0, 1);  // the thumb dragged, and the arrows pressed, the same way
    x = (m.slider_held ? m.slider_thumb : slider_x(m.weight)) + rnd(-10, 10);
    if (rnd(0, 3))
      drag(PANEL, x, rnd(557, 575), x + (up ? 1 : -1) * rnd(120, 200), rnd(540, 600), rnd(1, 5));
    for (int i = rnd(1, 4); i > 0; --i) click(PANEL, up ? WEIGHT_UP : WEIGHT_DOWN);
    if (rnd(0, 1)) click(PANEL, PUSH_RECT[RESET]);  // "  Reset" after a change
  } else if (g < 68) {  // the knot bar: steps (also at the ends), the thumb, a knot
    const int* step = rnd(0, 1) ? STEP_DOWN : STEP_UP;
    const int k =
        m.knots.empty() ? 0 : bar_y(m.knots[rnd(0, static_cast<int>(m.knots.size()) - 1)]);
    const int t = rnd(-1, 4);
    if (t >= 3) {
      for (int i = rnd(2, 5); i > 0; --i) knot_aimed();
      if (rnd(0, 2) == 0) click(PANEL, PUSH_RECT[RESET]);
    } else if (t <= 0) {  // mostly from an end of the bar, the thumb first dragged there
      if (rnd(0, 3)) drag(KNOTS, 58, m.thumb, 58, step == STEP_DOWN ? 0 : 540, 1);
      for (int i = rnd(1, 5); i > 0; --i) click(KNOTS, step);
    } else {
      x = t == 1 ? 58 + rnd(-4, 4) : 48 + rnd(-2, 6);
      y = t == 1 ? m.thumb + rnd(-10, 10) : k + rnd(-4, 4);
      drag(KNOTS, x, y, x + rnd(-20, 20), y + (rnd(0, 3) ? rnd(-80, 80) : rnd(-600, 600)),
           rnd(1, 6));
    }
  } else if (g < 78) {  // "   New", boxes, "OK" or "Cancel" (sometimes released off it)
    click(PANEL, PUSH_RECT[NEW_BTN]);
    for (int i = rnd(2, 4); i > 0 && m.new_shown; --i)  // a type, then boxes, lastly a degree
      click(NEW,
            NEW_RECT[i == 4 || i == 1 ? rnd(0, 9)
                     : rnd(0, 2)      ? 10 + next_type++ % 3
                                      : rnd(0, 12)],
            1);
    if (!m.new_shown) return;
    aim(NEW_RECT[rnd(0, 2) ? 14 : 13], 0, x, y);  // mostly "Cancel": the tours make new curves
    drag(NEW, x, y, rnd(0, 3) ? x : rnd(0, 214), rnd(0, 3) ? y : rnd(0, 154), rnd(0, 1));
  } else if (g < 82) {  // About, then "Dismiss" or a miss
    click(PANEL, PUSH_RECT[ABOUT_BTN]);
    if (m.about_shown) click(ABOUT, DISMISS_RECT, rnd(0, 1) * 3);
  } else if (g < 86) {  // the 3D view turned
    x = rnd(0, 539), y = rnd(0, 539);
    drag(PROJ, x, y, x + rnd(-120, 120), y + rnd(-120, 120), rnd(1, 5));
  } else if (g < 92 && zoom_phase < 4) {  // a run of zoom presses
    for (int i = rnd(15, 30); i > 0 && zoom_phase < 4; --i) {
      const float before = m.zoom;
      const int* r = PUSH_RECT[zoom_phase == 0 || zoom_phase == 3 ? ZOOM_IN : ZOOM_OUT];
      drag(PANEL, r[0] + 2, r[1] + 2, r[0] + 2, r[1] + 2, 0);
      zoom_stuck += m.zoom == before;
      if (zoom_phase % 2 ? std::fabs(m.zoom - 2) < 0.1f : zoom_stuck >= RULE_MINIMUM + 1)
        ++zoom_phase, zoom_stuck = 0;
    }
  } else {  // any button anywhere in a shown window, a lone motion or release
    const Win w = Win(rnd(0, WINDOWS - 1));
    if ((w == NEW && !m.new_shown) || (w == ABOUT && !m.about_shown)) return;
    const int r[4] = {0, 0, windows[w].entry->width - 1, HEIGHT[w] - 1};
    aim(r, 0, x, y);
    const int button = rnd(0, 2), state = rnd(-1, 1);
    if (state == 0) x = std::clamp(x, 0, r[2]), y = std::clamp(y, 0, r[3]);
    if (w == PANEL && (on_quit(x, y) || m.pushed == QUIT)) return;
    send(w, button, state, x, glut_y(w, y), rnd(0, 3) ? 0 : rnd(1, 7));
  }
}

TEST(Session, RandomEventsShowWhatTheModelSays) {
  gl_app_start();
  gl_reset_state();
  const char *seed = std::getenv("TERNIVAL_SEED"), *count = std::getenv("TERNIVAL_EVENTS");
  rng.seed(seed ? std::stoul(seed) : DEFAULT_SEED);
  const long limit = count ? std::stol(count) : DEFAULT_EVENTS;
  while (failure.empty() && events < limit) gesture();
  EXPECT_EQ(failure, "") << "seed " << (seed ? std::stoul(seed) : DEFAULT_SEED);
  std::string rare;  // the default session must reach every rule
  std::printf("Rules applied in %ld events:\n", events);
  for (int r = 0; r < RULES; ++r) {
    std::printf("%6ld  %s\n", m.fired[r], RULE_NAMES[r]);
    if (!seed && !count && m.fired[r] < RULE_MINIMUM) rare += std::string("\n  ") + RULE_NAMES[r];
  }
  EXPECT_EQ(rare, "") << "rules applied fewer than " << RULE_MINIMUM << " times";
}

}  // namespace
}  // namespace session
