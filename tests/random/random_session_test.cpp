// One long seeded random session on the real windows: presses, drags and releases of every
// button in every window (and around and far outside them), delivered straight to the callbacks
// as GLUT would, every window redrawn every 60 events, and the program's invariants checked
// after every event. The wrappers of gl_guard.def see that every coordinate the program hands
// to GL is finite. TERNIVAL_SEED replays a seed; TERNIVAL_EVENTS sets the number of events (a
// failure names its event: that number plus one replays up to it).
#include "support/gl_app.h"

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
#include <random>
#include <string>
#include <vector>

namespace {

constexpr long DEFAULT_EVENTS = 30000;

std::mt19937_64 rng;
long events = 0, limit = 0;         // an exit() while events < limit is a failure
const char* first_fault = nullptr;  // first guarded call that carried a non-finite number
int modifiers = 0, widest_selection = 0, new_curves = 0;  // modifiers: what the pad is told
std::string failure;

const auto all_finite = [](auto... v) { return (std::isfinite(double(v)) && ...); };
const auto finite_n = [](auto* v, int n) { return std::all_of(v, v + std::max(n, 0), all_finite); };
const auto rnd = [](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

enum { PAD, PANEL, KNOTS, NEW, ABOUT, PROJ, MAIN };
WindowEntry* const WINDOWS[] = {&window_table.win_pad,   &window_table.win_panel,
                                &window_table.win_knots, &window_table.win_new_curve,
                                &window_table.win_about, &window_table.win_projection,
                                &window_table.win_main};
void (*const MOUSE[])(int, int, int, int) = {pad_mouse,       panel_mouse, knot_panel_mouse,
                                             new_curve_mouse, about_mouse, proj_mouse};
void (*const MOTION[])(int, int) = {pad_motion,   panel_motion, knot_panel_motion,
                                    empty_motion, empty_motion, proj_motion};
void (*const DISPLAY[])() = {pad_display,   panel_display, knot_panel_display, new_curve_display,
                             about_display, proj_display,  main_display};
Button* const BOXES[] = {&chk_degree_1, &chk_degree_2, &chk_degree_3, &chk_degree_4, &chk_degree_5,
                         &chk_degree_6, &chk_degree_7, &chk_degree_8, &chk_degree_9, &chk_degree_10,
                         &chk_uniform,  &chk_clamped,  &chk_closed};
Button* const PANEL_WIDGETS[] = {&btn_new,      &btn_reset, &btn_about,  &btn_quit,   &btn_zoom_in,
                                 &btn_zoom_out, &btn_grid,  &chk_deboor, &chk_points, &chk_grid};
const auto checked = [](const Button* b) { return b->state != 0; };
const Slider& slider = weight_slider;
const KnotBar& bar = knot_bar;

#define REQUIRE(invariant) \
  if (!(invariant)) return #invariant

// The first broken invariant, or "". Only the knot panel's events and display load the knot
// bar from the edited curve. Entries past a curve's counts are scratch its arrays must hold.
std::string check(bool bar_loaded) {
  const Curve *c = edited_curve, *l = lifted_curve;
  const int n = c->point_count, p = c->degree, m = c->knot_count, type = c->knot_type;
  for (const Curve* k : {c, l})
    REQUIRE(k->points.size() > size_t(k->point_count) && k->knots.size() > size_t(k->knot_count));
  REQUIRE(n <= curve_point_limit(c->kind) && p >= 1 && p <= DEGREE_MAX);
  REQUIRE(m == (n < 3 || n <= p ? 0 : type == KNOT_CLOSED ? n + 2 * p + 1 : n + p + 1));
  REQUIRE(c->wrapped == (m > 0 && type == KNOT_CLOSED));
  REQUIRE(l->point_count == n && l->degree == p && l->knot_count == m && l->knot_type == type &&
          l->wrapped == c->wrapped && l->selected[0] == c->selected[0]);
  REQUIRE(l->colour[0] == 1.0f && l->colour[1] == 0.0f && l->colour[2] == 0.0f);
  for (int i = 0; i < m; i++)  // the knot bar groups near-equal knots in place as it draws
    REQUIRE(c->knots[i] >= (i > 0 ? c->knots[i - 1] : 0.0f) && c->knots[i] <= 1.0f &&
            std::fabs(l->knots[i] - c->knots[i]) <= 0.0005f);
  for (int i = 0; i < n; i++) {
    const ControlPoint &q = c->points[i], &r = l->points[i];
    REQUIRE(std::fabs(q.x) <= PAD_LIMIT && std::fabs(q.y) <= PAD_LIMIT && q.z == 0.0);
    REQUIRE(q.w >= -3.0 && q.w <= 10.0);
    REQUIRE(r.x == q.w * q.x && r.y == q.w * q.y && r.z == q.w * plane_height && r.w == 1.0);
  }
  REQUIRE(selection_count >= 1 && selection_count <= SELECTION_MAX);
  for (int s : c->selected) REQUIRE(s >= -1 && s < n);
  REQUIRE(slider.value >= -3.0f && slider.value <= 10.0f && bar.value >= 0.0f && bar.value <= 1.0f);
  REQUIRE(!slider.arrow_list || slider.dragging ||
          (slider.thumb_x >= slider.x1 + 25 && slider.thumb_x <= slider.x2 - 25));
  REQUIRE(!bar.list_id || (bar.thumb_y >= bar.y1 + 15 && bar.thumb_y <= bar.y2 - 15));
  REQUIRE(!bar_loaded || (bar.knots == c->knots.data() && bar.knot_count == m));
  REQUIRE(std::count_if(BOXES, BOXES + 10, checked) == 1 &&
          std::count_if(BOXES + 10, BOXES + 13, checked) == 1);
  REQUIRE(chk_deboor.state == show_deboor && chk_points.state == show_deboor_points &&
          show_deboor_points <= show_deboor);
  // The zoom stops ZOOM_PRESS_LIMIT presses of " +" or " -" away from its start.
  REQUIRE(std::fabs(std::log(proj_zoom / PROJ_ZOOM_START) / std::log(ZOOM_FACTOR)) <=
          ZOOM_PRESS_LIMIT + 0.5);
  REQUIRE(finite_n(view_matrix, 16) && finite_n(tracing_point_3d, 3));
  return first_fault ? std::string("non-finite number passed to ") + first_fault : "";
}

// Event number `events` as GLUT gives it (state -1: a motion), its window current, a press
// only inside it; then the invariants, and every 60 events every window's display and the
// invariants again.
void deliver(int w, int button, int state, int x, int y, int mods = 0) {
  if (!failure.empty() || events >= limit) return;
  if (state == GLUT_DOWN) x = std::clamp(x, 0, WINDOWS[w]->width - 1);
  if (state == GLUT_DOWN) y = std::clamp(y, 0, WINDOWS[w]->height - 1);
  if (w == PANEL && state == GLUT_UP) btn_quit.state = 0;  // its release would end the process
  glutSetWindow(WINDOWS[w]->id);
  modifiers = mods;
  state < 0 ? MOTION[w](x, y) : MOUSE[w](button, state, x, y);
  widest_selection = std::max(widest_selection, selection_count);
  std::string broken = check(w == KNOTS);
  if (broken.empty() && (events + 1) % 60 == 0) {
    for (int d = PAD; d <= MAIN; d++) glutSetWindow(WINDOWS[d]->id), DISPLAY[d]();
    broken = check(true);
  }
  if (!broken.empty()) failure = "event " + std::to_string(events) + ": " + broken;
  events++;
}

// A GLUT position on or around a rectangle given in window pixels with y up, as height - y
// (flip_y reads it as height - 1 - y: one row lower).
void aim(int w, int x1, int y1, int x2, int y2, int jitter, int& x, int& y) {
  x = rnd(x1 - jitter, x2 + jitter);
  y = WINDOWS[w]->height - rnd(y1 - jitter, y2 + jitter);
}

// Anywhere in the window, or around it, or far off it: a press there lands on its edges.
void anywhere(int w, int& x, int& y) {
  const int r = rnd(0, 19), jitter = r == 0 ? 5000 : r < 4 ? 40 : 0;
  aim(w, 0, 1, WINDOWS[w]->width - 1, WINDOWS[w]->height, jitter, x, y);
}

// A press, n motions on the line to (tx, ty), the release there.
void drag(int w, int button, int mods, int x, int y, int tx, int ty, int n) {
  deliver(w, button, GLUT_DOWN, x, y, mods);
  for (int i = 1; i <= n; i++) deliver(w, 0, -1, x + (tx - x) * i / n, y + (ty - y) * i / n);
  deliver(w, button, GLUT_UP, tx, ty, mods);
}

// A click inside b (whichever way the window reads y), or anywhere when b is null.
void click(int w, const Button* b, int button = GLUT_LEFT_BUTTON) {
  int x, y;
  b ? aim(w, b->x1, b->y1 + 1, b->x2, b->y2, 0, x, y) : anywhere(w, x, y);
  drag(w, button, 0, x, y, x, y, 0);
}

void gesture() {
  const int n = edited_curve->point_count, m = edited_curve->knot_count;
  // A curve of a few points gets more soon; a large one makes every display slow.
  const int r = n < 4 && rnd(0, 1) ? 90 : n >= 50 && rnd(0, 5) == 0 ? 99 : rnd(0, 99);
  int w = r < 30 ? PAD : r < 50 ? PANEL : r < 68 ? KNOTS : r < 70 ? ABOUT : PROJ;
  if (r >= 76) w = rnd(0, 5);
  const int ay = r == 40 ? slider.y1 + 9 : slider.y1;  // the weight's increase or decrease arrow
  const Button arrow = {slider.x2 - 20, ay, slider.x2 - 10, ay + 7, "", nullptr, 0};
  const Button* b = r < 40 ? PANEL_WIDGETS[r % 10] : r < 42 ? &arrow : &btn_dismiss;
  // A point to press near (the array holds 100 or more even when the curve has none).
  const ControlPoint& q = edited_curve->points[rnd(0, std::max(n - 1, 0))];
  const int px = int(window_table.win_pad.width * (0.5 + q.x / 6.0)),
            py = int(window_table.win_pad.height * (0.5 + q.y / 6.0));
  const int ky = m ? knot_bar_y(&bar, edited_curve->knots[rnd(0, m - 1)]) : 0,
            by = r % 2 ? bar.y1 : bar.y2 - 10;
  const int button = rnd(0, 3) ? GLUT_LEFT_BUTTON : rnd(1, 4);  // 3 and 4: wheel turns
  const int mods = rnd(0, 3) ? rnd(0, 1) * GLUT_ACTIVE_SHIFT : rnd(1, 7);
  int x, y, dx = rnd(0, 9) ? rnd(-40, 40) : rnd(-400, 400), steps = rnd(0, 1) ? 0 : rnd(1, 12);
  anywhere(w, x, y);
  if (r < 30 && n && r % 2) aim(PAD, px, py, px, py, rnd(0, 3) ? PICK_RADIUS : 12, x, y);
  if ((r >= 30 && r < 42) || r == 68) aim(w, b->x1, b->y1, b->x2, b->y2, 3, x, y);
  if (r >= 42 && r < 50) {  // the weight slider's thumb to the pixel of weight 0, or anywhere
    aim(PANEL, slider.thumb_x, slider.y1 + 6, slider.thumb_x, slider.y1 + 6, 0, x, y);
    dx = r % 2 ? slider_thumb_x(&slider, 0.0f) - x : rnd(-400, 400), steps = rnd(1, 4);
  }
  if (r >= 50 && r < 60 && m) aim(KNOTS, bar.x1, ky, bar.x1 + 14, ky, 3, x, y);  // a knot's mark
  if (r >= 60 && r < 64) aim(KNOTS, bar.x1 + 18, bar.thumb_y, bar.x1 + 18, bar.thumb_y, 4, x, y);
  if (r >= 64 && r < 66) aim(KNOTS, bar.x1 + 8, by, bar.x1 + 27, by + 10, 3, x, y);  // a step box
  if (r == 40 || r == 41 || ((r == 34 || r == 35) && rnd(0, 1))) {  // arrows, " +", " -"
    for (int i = rnd(1, r < 40 ? 300 : 100); i > 0; i--) click(PANEL, b);
  } else if (r < 76) {
    drag(w, button, mods, x, y, x + dx, y + dx * rnd(-1, 1), steps);
  } else if (r < 84) {  // a lone motion or release
    deliver(w, button, rnd(0, 1) ? -1 : GLUT_UP, x, y, mods);
  } else if (r < 92) {  // added points, sometimes up to the pad's limit and past it
    for (int i = rnd(0, 4) ? rnd(1, 12) : 103 - n; i > 0; i--)
      click(PAD, nullptr, GLUT_RIGHT_BUTTON);
  } else {  // "   New", stray presses, the next degree and knot type in turn, "OK" or "Cancel"
    click(PANEL, &btn_new);
    for (int i = rnd(0, 3); i > 0; i--) click(NEW, nullptr, rnd(0, 4));
    click(NEW, BOXES[new_curves % 10]);
    click(NEW, BOXES[10 + new_curves++ / 10 % 3]);
    click(NEW, rnd(0, 6) ? &btn_ok : &btn_cancel);
  }
}

TEST_F(GlAppTest, RandomSessionKeepsEveryInvariant) {
  const char *seed = std::getenv("TERNIVAL_SEED"), *count = std::getenv("TERNIVAL_EVENTS");
  rng.seed(seed ? std::stoul(seed) : 20240611);
  limit = count ? std::stol(count) : DEFAULT_EVENTS;
  while (failure.empty() && events < limit) gesture();
  ASSERT_EQ(failure, "") << "seed " << (seed ? seed : "20240611");
  // Shift picks reached the pad and extended its selection (a short run need not get there).
  EXPECT_TRUE(widest_selection > 1 || limit < DEFAULT_EVENTS / 2);
  glRasterPos3d(0.0, NAN, 0.0);  // the guard notices a non-finite number: the test's own too
  EXPECT_STREQ(first_fault, "glRasterPos3d");
}

}  // namespace

// The entry points of gl_guard.def: the program's calls come here (--wrap), and here they go on.
extern "C" {
#define GUARD(name, R, params, args, numbers_finite)            \
  R __real_##name params;                                       \
  R __wrap_##name params {                                      \
    if (!(numbers_finite) && !first_fault) first_fault = #name; \
    return __real_##name args;                                  \
  }
#define SEAM(name)
#include "gl_guard.def"

int __wrap_glutGetModifiers() {  // NOLINT(bugprone-reserved-identifier)
  return modifiers;
}
[[noreturn]] void __real_exit(int status);   // NOLINT(bugprone-reserved-identifier)
[[noreturn]] void __wrap_exit(int status) {  // NOLINT(bugprone-reserved-identifier)
  if (events < limit) std::fprintf(stderr, "exit(%d) in event %ld\n", status, events), std::abort();
  __real_exit(status);
}
}
