// A seeded random session on the real windows, checked against the independent
// model of model.h: presses, drags and releases in every window (on widget
// edges, on points and knots, and anywhere), delivered to the callbacks as GLUT
// delivers them. After every event the program's state must equal the model's,
// every window whose picture the event changed must have been asked to redraw,
// and every redrawn window must show what the model says: the 2D windows pixel
// for pixel against a picture this test draws with plain GL from the model, the
// pad and the 3D view at the pixels where the model's mathematics puts points,
// labels, spheres, levels, curves, rays, cones, grid and axis letters.
// TERNIVAL_SEED replays a seed; TERNIVAL_EVENTS sets the number of events.
#include "session/session.h"

#include "windows/control_panel.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <random>

namespace session {

namespace {

constexpr long DEFAULT_EVENTS = 2000;

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
    const int* r = windows[v].rect;
    const Pixels p = gl_capture(windows[v].entry->id, windows[v].display, r[0], r[1],
                                r[2] ? r[2] : -1, r[3] ? r[3] : -1);
    model_display(m, v);
    if (REFERENCE[v]) compare_picture(v, p);
    if (v == PAD) check_pad(p);
    if (v == PROJ) check_proj(p);
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

void gesture() {
  const int n = static_cast<int>(m.pts.size()), g = n > 16 && rnd(0, 3) == 0 ? 70 : rnd(0, 99);
  int x, y;
  const int whole[4] = {0, 0, 540, 540};
  if (g < 18) {  // points added on the pad; a few curves grow large
    for (int i = n < 4 ? 4 : rnd(1, n > 40 ? 1 : 5); i > 0; --i) click(PAD, whole, 0, 2);
  } else if (g < 32 && n > 0) {  // a point picked (shift: added to the selection), maybe dragged
    const Pt& q = m.pts[rnd(0, n - 1)];
    x = static_cast<int>(270.5 + q.x * PAD_SIZE / 6) + rnd(-10, 10);
    y = static_cast<int>(270.5 + q.y * PAD_SIZE / 6) + rnd(-10, 10);
    const int dx = rnd(0, 2) ? rnd(-60, 60) : rnd(-600, 600), dy = rnd(-60, 60);
    drag(PAD, x, y, x + dx, y + dy, rnd(0, 1) * rnd(1, 6), rnd(0, 4) ? 0 : 1, rnd(0, 2) ? 0 : 1);
  } else if (g < 48) {  // a switch or button of the panel, or a press on one released elsewhere
    const int* r = rnd(0, 1) ? PUSH_RECT[rnd(0, 6)] : CHECK_RECT[rnd(0, 2)];
    aim(r, 1, x, y);
    drag(PANEL, x, y, rnd(0, 3) ? x : rnd(0, 640), rnd(0, 3) ? y : rnd(540, 614), rnd(0, 2));
  } else if (g < 56) {  // the weight: arrows (up to the ends of the range), or the thumb
    const int up = rnd(0, 1), arrow[4] = {200, up ? 569 : 560, 210, up ? 576 : 567};
    x = (m.slider_held ? m.slider_thumb : slider_x(m.weight)) + rnd(-10, 10);
    if (rnd(0, 1)) drag(PANEL, x, rnd(557, 575), x + rnd(-200, 200), rnd(540, 600), rnd(1, 5));
    for (int i = rnd(0, 1) * rnd(1, 6); i > 0; --i) click(PANEL, arrow);
    if (rnd(0, 2) == 0) click(PANEL, PUSH_RECT[RESET]);  // "  Reset" after a change
  } else if (g < 68) {  // the knot bar: steps (also at the ends), the thumb, a knot
    const int box = rnd(0, 1) ? 50 : 490, step[4] = {48, box, 67, box + 10};
    const int k =
        m.knots.empty() ? 0 : bar_y(m.knots[rnd(0, static_cast<int>(m.knots.size()) - 1)]);
    const int t = rnd(0, 2);
    if (t == 0) {  // sometimes from an end of the bar, the thumb first dragged there
      if (rnd(0, 2) == 0) drag(KNOTS, 58, m.thumb, 58, box == 50 ? 0 : 540, 1);
      for (int i = rnd(1, 5); i > 0; --i) click(KNOTS, step);
    } else {
      x = t == 1 ? 58 + rnd(-4, 4) : 48 + rnd(-2, 6);
      y = t == 1 ? m.thumb + rnd(-10, 10) : k + rnd(-4, 4);
      drag(KNOTS, x, y, x + rnd(-20, 20), y + (rnd(0, 3) ? rnd(-80, 80) : rnd(-600, 600)),
           rnd(1, 6));
    }
  } else if (g < 78) {  // "   New", boxes, "OK" or "Cancel" (sometimes released off it)
    click(PANEL, PUSH_RECT[NEW_BTN]);
    for (int i = rnd(1, 4); i > 0 && m.new_shown; --i) click(NEW, NEW_RECT[rnd(0, 12)], 1);
    if (!m.new_shown) return;
    aim(NEW_RECT[rnd(13, 14)], 0, x, y);
    drag(NEW, x, y, rnd(0, 3) ? x : rnd(0, 214), rnd(0, 3) ? y : rnd(0, 154), rnd(0, 1));
  } else if (g < 82) {  // About, then "Dismiss" or a miss
    click(PANEL, PUSH_RECT[ABOUT_BTN]);
    if (m.about_shown) click(ABOUT, DISMISS_RECT, rnd(0, 1) * 3);
  } else if (g < 92) {  // the 3D view turned
    x = rnd(0, 539), y = rnd(0, 539);
    drag(PROJ, x, y, x + rnd(-120, 120), y + rnd(-120, 120), rnd(1, 5));
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
  rng.seed(seed ? std::stoul(seed) : 20261207);
  const long limit = count ? std::stol(count) : DEFAULT_EVENTS;
  while (failure.empty() && events < limit) gesture();
  EXPECT_EQ(failure, "") << "seed " << (seed ? seed : "20261207");
}

}  // namespace
}  // namespace session
