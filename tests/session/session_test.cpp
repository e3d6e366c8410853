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
#include "session/model.h"
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
#include <cstring>
#include <functional>
#include <random>

using namespace model;

namespace {

constexpr long DEFAULT_EVENTS = 2000;

std::mt19937 rng;
Model m;
int modifiers = 0;  // what glutGetModifiers tells the program
long events = 0;
std::string failure;

const auto rnd = [](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

struct Window {
  WindowEntry* entry;
  void (*mouse)(int, int, int, int);
  void (*motion)(int, int);
  void (*display)();
  int rect[4];  // the part a user sees: x, y, width, height (0: all)
};
Window windows[WINDOWS] = {
    {&window_table.win_pad, pad_mouse, pad_motion, pad_display, {}},
    {&window_table.win_panel, panel_mouse, panel_motion, panel_display, {0, 540, 641, 75}},
    {&window_table.win_knots,
     knot_panel_mouse,
     knot_panel_motion,
     knot_panel_display,
     {0, 0, 100, 541}},
    {&window_table.win_new_curve, new_curve_mouse, empty_motion, new_curve_display, {}},
    {&window_table.win_about, about_mouse, empty_motion, about_display, {}},
    {&window_table.win_projection, proj_mouse, proj_motion, proj_display, {}},
};
const char* const NAMES[WINDOWS] = {
    "pad", "control panel", "knot panel", "new-curve window", "About window", "3D view"};
Button* const NEW_BOXES[13] = {&chk_degree_1, &chk_degree_2,  &chk_degree_3, &chk_degree_4,
                               &chk_degree_5, &chk_degree_6,  &chk_degree_7, &chk_degree_8,
                               &chk_degree_9, &chk_degree_10, &chk_uniform,  &chk_clamped,
                               &chk_closed};
Button* const PUSHES[7] = {&btn_new,     &btn_reset,    &btn_about, &btn_quit,
                           &btn_zoom_in, &btn_zoom_out, &btn_grid};

void fail(const std::string& why) {
  if (failure.empty()) failure = "event " + std::to_string(events) + ": " + why;
}
#define EXPECT_STATE(cond) \
  if (!(cond)) return fail("state differs from the model: " #cond)

//------------------------------------------------------------------------------
// The program's state against the model's
//------------------------------------------------------------------------------

void compare_state() {
  const Curve* c = edited_curve;
  const int n = static_cast<int>(m.pts.size());
  EXPECT_STATE(c->point_count == n && c->degree == m.degree && c->knot_type == m.type);
  for (int i = 0; i < n; ++i)
    EXPECT_STATE(std::fabs(c->points[i].x - m.pts[i].x) < 1e-9 &&
                 std::fabs(c->points[i].y - m.pts[i].y) < 1e-9 && c->points[i].w == m.pts[i].w);
  EXPECT_STATE(selection_count == static_cast<int>(m.sel.size()));
  for (size_t e = 0; e < m.sel.size(); ++e) EXPECT_STATE(c->selected[e] == m.sel[e]);
  EXPECT_STATE(c->knot_count == static_cast<int>(m.knots.size()));
  for (size_t i = 0; i < m.knots.size(); ++i) EXPECT_STATE(c->knots[i] == m.knots[i]);
  EXPECT_STATE(knot_bar.value == m.u && knot_bar.thumb_y == m.thumb &&
               knot_bar.drag_mode == m.hold);
  EXPECT_STATE(c->trace_u == m.edited_u && lifted_curve->trace_u == m.lifted_u);
  EXPECT_STATE(std::fabs(weight_slider.value - m.weight) < 1e-5 &&
               weight_slider.dragging == m.slider_held &&
               (!m.slider_held || weight_slider.thumb_x == m.slider_thumb));
  EXPECT_STATE(weight_slider.up_pressed == (m.arrow == 1) &&
               weight_slider.down_pressed == (m.arrow == -1));
  for (int i = 0; i < 7; ++i) EXPECT_STATE(PUSHES[i]->state == (m.pushed == i));
  EXPECT_STATE(chk_deboor.state == m.deboor && show_deboor == m.deboor &&
               chk_points.state == m.dots && show_deboor_points == m.dots &&
               chk_grid.state == m.pad_grid);
  EXPECT_STATE(proj_grid == m.proj_grid &&
               !std::strcmp(btn_grid.label, m.proj_grid ? " Grid: ON" : "Grid: OFF"));
  EXPECT_STATE(proj_zoom == m.zoom && saved_degree == m.saved_degree);
  for (int i = 0; i < 13; ++i)
    EXPECT_STATE(NEW_BOXES[i]->state == (i < 10 ? m.box_degree == i + 1 : m.box_type == 291 + i));
  EXPECT_STATE(btn_ok.state == (m.new_pushed == 1) && btn_cancel.state == (m.new_pushed == 2));
  EXPECT_STATE(gl_shown(window_table.win_new_curve.id) == m.new_shown &&
               gl_shown(window_table.win_about.id) == m.about_shown &&
               btn_dismiss.state == m.dismiss_held);
  EXPECT_STATE(rot_step_x == m.step_x && rot_step_y == m.step_y && proj_dragging == m.turning);
  for (int i = 0; i < 16; ++i) EXPECT_STATE(std::fabs(view_matrix[i] - m.view[i]) < 1e-3);
  std::copy(view_matrix, view_matrix + 16, m.view.begin());  // GL turns in floats: no drift
  for (int i = 0; i < 3; ++i) EXPECT_STATE(std::fabs(tracing_point_3d[i] - m.trace3d[i]) < 1e-4);
}

//------------------------------------------------------------------------------
// Reference pictures of the 2D windows, drawn with plain GL from the model
//------------------------------------------------------------------------------

const float GREY[4] = {0.33f, 0.33f, 0.33f, 1}, WHITE[4] = {1, 1, 1, 1}, BLACK[4] = {0, 0, 0, 1},
            RED[4] = {1, 0, 0, 1}, BLUE[4] = {0, 0, 1, 1};
void* const HELVETICA = GLUT_BITMAP_HELVETICA_12;
void* const TIMES = GLUT_BITMAP_TIMES_ROMAN_10;

void text(const float* colour, int x, int y, const std::string& s, void* font) {
  glColor4fv(colour);
  glRasterPos2i(x, y);
  for (char ch : s) glutBitmapCharacter(font, ch);
}
void lines(GLenum mode, float width, const float* colour, std::initializer_list<float> xy) {
  glLineWidth(width);
  glColor4fv(colour);
  glBegin(mode);
  for (auto v = xy.begin(); v != xy.end(); v += 2) glVertex2f(v[0], v[1]);
  glEnd();
}
void bevel(int x1, int y1, int x2, int y2, float width, const float* lit, const float* shade) {
  lines(GL_LINE_STRIP, width, lit,
        {float(x1), float(y1), float(x1), float(y2), float(x2), float(y2)});
  lines(GL_LINE_STRIP, width, shade,
        {float(x1), float(y1), float(x2), float(y1), float(x2), float(y2)});
}
void raised(int x1, int y1, int x2, int y2, bool sunken = false) {
  sunken ? bevel(x1, y1, x2, y2, 0.5f, GREY, WHITE) : bevel(x1, y1, x2, y2, 1, WHITE, GREY);
}
void push_button(const int* r, const char* label, const float* colour, bool pressed) {
  text(colour, r[0] + 3, r[1] + 3 + std::max(r[3] - r[1] - 13, 0) / 2, label, HELVETICA);
  const float a = r[0] - 1.5f, b = r[1] - 1.5f, c = r[2] + 1.5f, d = r[3] + 1.5f;
  lines(GL_LINE_LOOP, 1, BLACK, {a, b, a, d, c, d, c, b});
  pressed ? bevel(r[0], r[1], r[2], r[3], 1.5f, GREY, WHITE)
          : bevel(r[0], r[1], r[2], r[3], 1.5f, WHITE, GREY);
}
void check_box(const int* r, const char* label, const float* colour, bool checked) {
  text(colour, r[0] + 15, r[1] + 3 + std::max(r[3] - r[1] - 13, 0) / 2, label, HELVETICA);
  const int x1 = r[0], y1 = r[1] + 5, x2 = r[0] + 10, y2 = r[1] + 15;
  bevel(x1 + 1, y1 + 1, x2 - 1, y2 - 1, 1, WHITE, GREY);
  lines(GL_LINE_LOOP, 0.5f, BLACK,
        {float(x1), float(y1), float(x2), float(y1), float(x2), float(y2), float(x1), float(y2)});
  if (!checked) return;
  lines(GL_LINES, 3.5f, RED, {x1 + 5.0f, y2 - 6.0f, x1 + 8.0f, y1 - 1.0f});
  lines(GL_LINES, 2.5f, RED, {x1 + 8.0f, y1 - 1.0f, x2 + 5.0f, float(y2)});
}
void group(const char* title, int x1, int y1, int x2, int y2) {
  text(BLUE, x1 + 14, y2 - 3, title, HELVETICA);
  const float a = x1, b = y1, c = x2, d = y2;
  lines(GL_LINES, 1, GREY,
        {a, b, a, d, a, d, a + 10, d, c - 15, d, c, d, c, d, c, b, c, b, a + 1, b});
  lines(GL_LINES, 1, WHITE,
        {a + 1, b + 1, a + 1, d - 1, a + 1, d - 1, a + 10, d - 1, c - 15, d - 1,
         c - 1, d - 1, c + 1, d - 1, c + 1, b - 1, c - 1,  b - 1, a + 1,  b - 1});
}
std::string printed(const char* format, double v, int mult = -1) {
  char s[24];
  mult < 0 ? std::snprintf(s, sizeof s, format, v) : std::snprintf(s, sizeof s, format, mult, v);
  return s;
}

void draw_panel() {
  glClear(GL_COLOR_BUFFER_BIT);
  raised(1, 1, 464, 614), raised(466, 1, 640, 614);
  group("Current Point Weight", 10, 545, 220, 605);
  glColor4fv(BLACK);  // the slider: arrows, track, numbers, arrow boxes, thumb
  const int arrows[] = {202, 572, 205, 575, 208, 572, 202, 565, 205, 561, 208, 565};
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < 12; i += 2) glVertex2i(arrows[i], arrows[i + 1]);
  glEnd();
  glLineWidth(12);
  glBegin(GL_LINES);
  glColor4fv(WHITE), glVertex2i(23, 567), glColor4fv(BLACK), glVertex2i(195, 567);
  glEnd();
  text(BLUE, 106, 574, printed("%5.2f", m.weight), TIMES);
  text(RED, 17, 576, "-3.00", TIMES), text(RED, 190, 577, "10.00", TIMES);
  raised(200, 569, 210, 576, m.arrow == 1), raised(200, 560, 210, 567, m.arrow == -1);
  const int tx = m.slider_held ? m.slider_thumb : slider_x(m.weight);
  raised(tx - 6, 562, tx + 5, 571);
  const float fill = m.slider_held ? 0.75f : 0.5f;
  glColor4f(fill, fill, fill, 1);
  glRecti(tx - 5, 563, tx + 5, 571);
  group("BSpline Window", 485, 545, 630, 605);
  push_button(PUSH_RECT[ZOOM_IN], " +", BLUE, m.pushed == ZOOM_IN);
  push_button(PUSH_RECT[ZOOM_OUT], " -", BLUE, m.pushed == ZOOM_OUT);
  check_box(CHECK_RECT[0], "Show DeBoor", BLUE, m.deboor);
  check_box(CHECK_RECT[1], "Show Points", BLUE, m.dots);
  check_box(CHECK_RECT[2], "Display Grid", BLUE, m.pad_grid);
  push_button(PUSH_RECT[GRID], m.proj_grid ? " Grid: ON" : "Grid: OFF", m.proj_grid ? BLUE : RED,
              m.pushed == GRID);
  const char* labels[] = {"   New", "  Reset", " About", "  Quit!"};
  for (int i = NEW_BTN; i <= QUIT; ++i)
    push_button(PUSH_RECT[i], labels[i], i == QUIT ? RED : BLUE, m.pushed == i);
}

void draw_knot_panel() {
  glClear(GL_COLOR_BUFFER_BIT);
  raised(0, 1, 99, 540);
  text(BLACK, 51, 52, "Dn", TIMES), raised(48, 50, 67, 60);
  text(BLACK, 51, 492, "Up", TIMES), raised(48, 490, 67, 500);
  lines(GL_LINES, 2, RED, {50, 65, 65, 65, 57, 65, 57, 485, 50, 485, 65, 485});
  text(RED, 70, 50, "0.000", TIMES), text(RED, 70, 490, "1.000", TIMES);
  float lo, hi;
  valid_range(m, &lo, &hi);
  for (size_t i = 0, f = 1; i < m.knots.size(); i += f, f = 1) {
    const float k = m.knots[i];
    while (i + f < m.knots.size() && m.knots[i + f] == k) ++f;
    const int y = bar_y(k);
    const float purple[4] = {0.5f, 0.07f, 0.5f, 1}, green[4] = {0, 0.5f, 0, 1};
    glColor4fv(k >= lo && k <= hi ? purple : green);
    glBegin(GL_TRIANGLES);
    glVertex2i(56, y), glVertex2i(48, y + 3), glVertex2i(48, y - 3);
    glEnd();
    text(BLACK, 7, y - 3, printed("%2d (%5.3f)", k, static_cast<int>(f)), TIMES);
  }
  lines(GL_LINE_STRIP, 2, BLUE, {63, 65, 59, 65, 59, 485, 63, 485});
  text(BLUE, 46, 35, printed("%5.3f", m.u), TIMES);
  glRecti(54, m.thumb - 3, 62, m.thumb + 3);
}

void draw_new_curve() {
  glClear(GL_COLOR_BUFFER_BIT);
  raised(1, 1, 214, 154);
  push_button(NEW_RECT[13], "OK", BLUE, m.new_pushed == 1);
  push_button(NEW_RECT[14], "Cancel", RED, m.new_pushed == 2);
  group("Knot Type", 9, 110, 205, 145), group("Degree", 9, 40, 205, 95);
  const char* types[] = {"Uniform", "Clamped", "Closed"};
  for (int i = 0; i < 13; ++i)
    check_box(NEW_RECT[i], i < 10 ? std::to_string(i + 1).c_str() : types[i - 10], BLACK,
              i < 10 ? m.box_degree == i + 1 : m.box_type == 291 + i);
}

void draw_about() {
  glClear(GL_COLOR_BUFFER_BIT);
  push_button(DISMISS_RECT, "Dismiss", RED, m.dismiss_held);
  int line = 0;
  for (const char* s = about_text; *s; ++line) {
    const char* end = std::strchr(s, '\n');
    const std::string row(s, end ? end : s + std::strlen(s));
    text(BLACK, 10, 640 - 20 * line, row, GLUT_BITMAP_9_BY_15);
    s = end ? end + 1 : s + row.size();
  }
}

void (*const REFERENCE[WINDOWS])() = {nullptr,        draw_panel, draw_knot_panel,
                                      draw_new_curve, draw_about, nullptr};

void compare_picture(Win w, const Pixels& shown) {
  const int* r = windows[w].rect;
  const Pixels want = gl_capture(windows[w].entry->id, REFERENCE[w], r[0], r[1], r[2] ? r[2] : -1,
                                 r[3] ? r[3] : -1);
  if (want.data == shown.data) return;
  for (int y = shown.y0; y < shown.y0 + shown.height; ++y)
    for (int x = shown.x0; x < shown.x0 + shown.width; ++x)
      if (want.count(x, y, x, y, shown.at(x, y), 0) == 0)
        return fail(std::string("the ") + NAMES[w] + " differs from its picture at (" +
                    std::to_string(x) + ", " + std::to_string(y) + ")");
}

//------------------------------------------------------------------------------
// The pad and the 3D view at the pixels the model names
//------------------------------------------------------------------------------

struct Spot {
  double x, y;
  bool in(int size, int margin = 4) const {
    return x >= margin && y >= margin && x < size - margin && y < size - margin;
  }
};
double dist(Spot a, Spot b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}
int near(const Pixels& p, Spot s, int r, Rgba c, int tolerance) {
  const int x = static_cast<int>(std::floor(s.x)), y = static_cast<int>(std::floor(s.y));
  return p.count(x - r, y - r, x + r, y + r, c, tolerance);
}
// Pixels of the colour anywhere in the picture.
int anywhere(const Pixels& p, Rgba c, int tolerance) {
  return p.count(p.x0, p.y0, p.x0 + p.width - 1, p.y0 + p.height - 1, c, tolerance);
}
// Pixels of the picture for which `is` holds, within r of s (everywhere when r < 0).
template <typename Is>
int where(const Pixels& p, Spot s, double r, Is is) {
  int n = 0;
  const int x0 = r < 0 ? p.x0 : int(s.x - r), x1 = r < 0 ? p.x0 + p.width : int(s.x + r) + 1;
  const int y0 = r < 0 ? p.y0 : int(s.y - r), y1 = r < 0 ? p.y0 + p.height : int(s.y + r) + 1;
  for (int y = std::max(y0, p.y0); y < std::min(y1, p.y0 + p.height); ++y)
    for (int x = std::max(x0, p.x0); x < std::min(x1, p.x0 + p.width); ++x)
      n += (r < 0 || dist(s, {x + 0.5, y + 0.5}) <= r) && is(p.at(x, y));
  return n;
}
// Colour c of alpha a over white, as blending puts it on the cleared window.
Rgba over_white(const float* c, float a) {
  return rgba_bytes(c[0] * a + 1 - a, c[1] * a + 1 - a, c[2] * a + 1 - a);
}
const float LEVEL_ROWS[10][3] = {
    {0.38f, 0.184f, 0.184f}, {0.184f, 0.6f, 0.184f},  {0.184f, 0.184f, 0.5f}, {0.8f, 0.59f, 0.3f},
    {0.5f, 0.0f, 0.2f},      {0.137f, 0.55f, 0.537f}, {0.75f, 0.18f, 0.7f},   {0.2f, 0.8f, 0.05f},
    {0.25f, 0.1f, 0.7f},     {1.0f, 0.25f, 0.0f}};
Rgba level_colour(int r) {
  return over_white(LEVEL_ROWS[(r + 1) % 10], 0.8f);
}
const Rgba CONTROL = rgba_bytes(0.14f, 0.14f, 0.56f), SELECTED = {0, 255, 0, 255},
           INDEX = {0, 128, 255, 255}, KNOT = rgba_bytes(0.5f, 0.07f, 0.5f),
           GRID_LINE = {186, 186, 186, 255}, CURVE_BLUE = {0, 0, 255, 255},
           CURVE_RED = {255, 0, 0, 255}, RAY_GREEN = {0, 204, 0, 255};
const auto is_dark = [](Rgba c) {
  return c.r < 100 && c.g < 100 && c.b < 100 &&
         std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) <= 10;
};

// One curve as a window draws it: spots of its points, levels and curve.
struct View {
  const Pixels& p;
  int size;
  std::function<Spot(const Vec&)> at;  // homogeneous point to window pixel
  std::vector<int> selected;           // indices drawn in "Selected Point"
  bool later_wins;                     // no depth test: the last drawn covers
  std::vector<Spot> others = {};       // points of another curve, in other colours
};

// Control points in their colours, index labels beside the isolated ones; points
// under a sphere in front of them (`hidden`) are left out.
void check_points(const View& v, const Drawn& d, int labels, const std::vector<Spot>& hidden = {}) {
  const int n = static_cast<int>(d.points.size());
  std::vector<Spot> s;
  for (const Vec& q : d.points) s.push_back(v.at({q[0], q[1], q[2], q[3]}));
  for (int i = 0; i < n; ++i) {
    if (d.points[i][3] == 0 || !s[i].in(v.size)) continue;
    bool covered = false, alone = true, far = true;
    for (int j = 0; j < n; ++j) {
      const double gap = dist(s[i], s[j]);
      covered |= j != i && gap < 4 && (v.later_wins ? j > i : j < i);
      alone &= j == i || gap < 0.5 || gap >= 12;
      far &= j == i || gap >= 30;
    }
    auto hides = [&](double r) {
      return std::any_of(hidden.begin(), hidden.end(), [&](Spot h) { return dist(h, s[i]) < r; });
    };
    alone &=
        std::none_of(v.others.begin(), v.others.end(), [&](Spot o) { return dist(o, s[i]) < 12; });
    if (covered || hides(6)) continue;
    const bool chosen = std::count(v.selected.begin(), v.selected.end(), i) > 0;
    if (near(v.p, s[i], 4, chosen ? SELECTED : CONTROL, 12) < 3 ||
        (alone && near(v.p, s[i], 4, chosen ? CONTROL : SELECTED, 12) > 0))
      return fail("point " + std::to_string(i) + (chosen ? " not drawn selected" : " not drawn"));
    if (!far || !labels || hides(24)) continue;
    const Vec lift = {d.points[i][0] / d.points[i][3] + 0.07,
                      d.points[i][1] / d.points[i][3] + 0.07,
                      d.points[i][2] / d.points[i][3] + 0.07, 1};
    const Spot l = v.at(lift);
    const int width = 9 * static_cast<int>(std::to_string(i).size());
    if (!l.in(v.size - width, 12)) continue;  // a raster position off the window draws nothing
    if (v.p.count(int(l.x), int(l.y) - 3, int(l.x) + width, int(l.y) + 12, INDEX, 20) < 4)
      return fail("no label beside point " + std::to_string(i));
  }
}

double to_segment(Spot p, Spot a, Spot b) {
  const double dx = b.x - a.x, dy = b.y - a.y, l = dx * dx + dy * dy;
  const double f = l > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l, 0.0, 1.0) : 0;
  return dist(p, {a.x + f * dx, a.y + f * dy});
}

// Each level of the triangle in its colour where the model puts it, or no level at all.
void check_levels(const View& v, const std::vector<std::vector<Vec>>& tri, bool whole,
                  const std::vector<Spot>& hidden = {}) {
  if (!m.deboor || tri.empty()) {
    if (whole && anywhere(v.p, level_colour(0), 3) + anywhere(v.p, level_colour(1), 3) > 0)
      fail("a de Boor level is drawn that should not be");
    return;
  }
  std::vector<Spot> all = hidden;
  for (const auto& level : tri)
    for (const Vec& q : level)
      if (q[3] != 0) all.push_back(v.at(q));
  auto under = [&](size_t r, Spot on) {  // lower levels, drawn first, lie over the pieces near them
    for (size_t k = 0; k < r; ++k)
      for (size_t i = 0; i + 1 < tri[k].size(); ++i)
        if (to_segment(on, v.at(tri[k][i]), v.at(tri[k][i + 1])) < 5) return true;
    return false;
  };
  // In the 3D view the control polygon, drawn later, lies on level 0.
  for (size_t r = whole ? 0 : 1; r < tri.size(); ++r) {
    int eligible = 0, shown = 0;
    for (size_t j = 0; j + 1 < tri[r].size(); ++j) {
      const Vec &a = tri[r][j], &b = tri[r][j + 1];
      if (a[3] <= 0.05 || b[3] <= 0.05) continue;
      const Spot sa = v.at(a), sb = v.at(b);
      for (double f : {0.3, 0.5, 0.7}) {
        const Spot on = {sa.x + f * (sb.x - sa.x), sa.y + f * (sb.y - sa.y)};
        if (dist(sa, sb) < 14 || !on.in(v.size) || under(r, on) ||
            std::any_of(all.begin(), all.end(), [&](Spot q) { return dist(q, on) < 9; }))
          continue;
        // In the 3D view a level of weights 1 lies on the same level of the lifted curve.
        const Rgba once = level_colour(static_cast<int>(r)),
                   twice = {static_cast<uint8_t>(once.r - 51 + once.r / 5),
                            static_cast<uint8_t>(once.g - 51 + once.g / 5),
                            static_cast<uint8_t>(once.b - 51 + once.b / 5), 255};
        ++eligible;
        shown += near(v.p, on, 2, once, 10) + (whole ? 0 : near(v.p, on, 2, twice, 10)) > 0;
      }
    }
    if (eligible > 0 && shown == 0) return fail("level " + std::to_string(r) + " not drawn");
    if (r == 0 || !whole) continue;
    for (const Vec& q : tri[r]) {  // the points of the levels above 0, with "Show Points"
      const Spot s = v.at(q);
      if (q[3] <= 0.05 || !s.in(v.size) || under(r, s) ||
          std::count_if(all.begin(), all.end(), [&](Spot o) { return dist(o, s) < 10; }) > 1)
        continue;
      const int dots = near(v.p, s, 3, level_colour(static_cast<int>(r)), 10);
      if (m.dots ? dots < 30 : dots > 20)
        return fail("points of level " + std::to_string(r) + (m.dots ? " missing" : " shown"));
    }
  }
}

// The curve line through the model's curve points, clear of the points drawn on it.
// Samples within 8 pixels of `avoid`, or of the curve `under` drawn later at the same u, are left
// out.
void check_line(const View& v, const Drawn& d, Rgba colour, const std::vector<Spot>& avoid,
                const View* later = nullptr, const Drawn* under = nullptr) {
  if (!d.usable()) return;
  for (const Vec& q : d.points)
    if (q[3] <= 0.05) return;
  const int n = static_cast<int>(d.points.size());
  int eligible = 0, shown = 0, area = 0;
  for (int i = d.p; i < n; ++i)
    for (double f : {0.3, 0.7}) {
      if (d.knots[i + 1] <= d.knots[i]) continue;
      const double u = d.knots[i] + f * (d.knots[i + 1] - d.knots[i]);
      const Spot s = v.at(model_point(d, u));
      if (!s.in(v.size) || (under && dist(later->at(model_point(*under, u)), s) < 8) ||
          std::any_of(avoid.begin(), avoid.end(), [&](Spot a) { return dist(a, s) < 8; }))
        continue;
      ++eligible;
      shown += near(v.p, s, 2, colour, 60) > 0;
      area += near(v.p, s, 2, colour, 60);
    }
  // Translucent pieces of the 3D view drawn after the red curve may hide a few samples.
  if (eligible >= (under ? 6 : 3) && shown * 10 < eligible * (under ? 5 : 7))
    fail("the curve line is not where it runs");
  // A line 3.5 pixels wide fills a good part of the 5 x 5 squares it crosses; 1 pixel, 5 of them.
  if (!under && shown >= 3 && area < 10 * shown) fail("the curve line is too thin");
}

std::vector<Spot> spots(const View& v, const Drawn& d, const std::vector<std::vector<Vec>>& tri) {
  std::vector<Spot> out;
  for (const Vec& q : d.points) out.push_back(v.at(q));
  for (const auto& level : tri)
    for (const Vec& q : level) out.push_back(v.at(q));
  return out;
}

std::vector<int> selected_set() {
  std::vector<int> s;
  for (int e : m.sel)
    if (e >= 0) s.push_back(e);
  return s;
}

// Index labels of isolated points, drawn by the test as the pad draws them: GLUT's 9 x 15 font
// at the raster position 0.07 up and right of the point, through the pad's own transformation.
std::vector<std::pair<Pt, int>> labels;
void draw_labels() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  glLoadIdentity();
  glTranslated(PAD_SIZE / 2.0, PAD_SIZE / 2.0, 1);
  glScaled(PAD_SIZE / 6.0, PAD_SIZE / 6.0, 1);
  glColor3ub(INDEX.r, INDEX.g, INDEX.b);
  for (const auto& [q, i] : labels) {
    glRasterPos3d(q.x + 0.07, q.y + 0.07, 0.07);
    for (char c : std::to_string(i)) glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c);
  }
  glPopMatrix();
}

void check_pad(const Pixels& p) {
  const double unit = PAD_SIZE / 6.0;
  const View v{p, PAD_SIZE,
               [unit](const Vec& q) {
                 return Spot{270.5 + q[0] / q[3] * unit, 270.5 + q[1] / q[3] * unit};
               },
               selected_set(), false};
  const Drawn d = drawn_edited(m);
  const auto tri = model_triangle(d, m.u);
  // Knot spheres of radius 0.05, the tracing sphere of 0.067 and nothing else dark.
  std::vector<Spot> knots;
  // Knots dragged into a run of p + 1 inside the vector break the curve there.
  bool runs = false;
  for (size_t i = 1; d.usable() && i + d.p + 1 < d.knots.size(); ++i)
    runs |= d.knots[i] == d.knots[i + d.p] && d.knots[i] > 0 && d.knots[i] < 1;
  const bool sure = !runs && std::all_of(d.points.begin(), d.points.end(),
                                         [](const Vec& q) { return q[3] > 0.05; });
  std::vector<Spot> spheres;  // where knot spheres may be, the curve's ends on either side of a run
  for (int i = d.p; d.usable() && i <= static_cast<int>(d.points.size()); ++i)
    for (double e : {0.0, -1e-4, 1e-4}) {
      const Vec q = model_point(d, std::clamp(d.knots[i] + e, 0.0, 1.0));
      if (q[3] != 0 && (e == 0 || runs)) spheres.push_back(v.at(q));
      if (q[3] != 0 && e == 0 && sure && (i == d.p || d.knots[i] != d.knots[i - 1]))
        knots.push_back(v.at(q));
    }
  const bool tracing = !tri.empty() && tri.back()[0][3] != 0;
  const Spot t = tracing ? v.at(tri.back()[0]) : Spot{270, 270};
  std::vector<Spot> avoid_t = spheres;  // what the tracing sphere may lie over
  for (const Vec& q : d.points) avoid_t.push_back(v.at(q));
  if (tracing) spheres.push_back(t);
  check_points(v, d, 1, spheres);
  labels.clear();
  for (int i = 0; i < static_cast<int>(m.pts.size()) && m.type != 303; ++i) {
    const Spot q = v.at({m.pts[i].x, m.pts[i].y, 0, 1});
    auto near_to = [&](const std::vector<Spot>& o, double r) {
      return std::count_if(o.begin(), o.end(), [&](Spot a) { return dist(a, q) < r; });
    };
    if (q.in(PAD_SIZE - 30, 12) && near_to(spheres, 24) == 0 && near_to(spots(v, d, tri), 30) == 1)
      labels.push_back({m.pts[i], i});
  }
  const Pixels want = labels.empty() ? p : gl_capture(window_table.win_pad.id, draw_labels);
  for (const auto& [q, i] : labels) {
    const Spot l = v.at({q.x + 0.07, q.y + 0.07, 0, 1});
    for (int y = int(l.y) - 5; y <= int(l.y) + 14; ++y)
      for (int x = int(l.x) - 2; x <= int(l.x) + 24; ++x)
        if ((p.count(x, y, x, y, INDEX, 20) > 0) != (want.count(x, y, x, y, INDEX, 20) > 0))
          return fail("the label of point " + std::to_string(i) + " is not \"" + std::to_string(i) +
                      "\" in the 9 x 15 font beside it");
  }
  spheres.push_back({270.5, 270.5});  // where the axes cross
  check_levels(v, tri, true, spheres);
  for (Spot k : knots) {
    if (!k.in(PAD_SIZE, 8) || dist(k, t) < 16 || std::fabs(k.x - 270.5) < 8 ||
        std::fabs(k.y - 270.5) < 8 ||
        std::count_if(knots.begin(), knots.end(), [&](Spot o) { return dist(o, k) < 14; }) > 1)
      continue;
    const int area = near(p, k, 7, KNOT, 10);
    if (area < 38 || area > 85) return fail("a knot sphere of " + std::to_string(area) + " pixels");
  }
  const int dark = where(p, t, -1, [&](Rgba c) { return is_dark(c); }) -
                   where(p, {270.5, 270.5}, 5, [&](Rgba c) { return is_dark(c); });
  const int away = where(p, t, 9, [&](Rgba c) { return is_dark(c); });
  // Over white and grid alone the sphere's whole disc of 6 pixels shows.
  const bool strict =
      !m.deboor && std::fabs(t.x - 270.5) > 9 && std::fabs(t.y - 270.5) > 9 &&
      std::none_of(avoid_t.begin(), avoid_t.end(), [&](Spot o) { return dist(o, t) < 14; });
  const int rim = away - where(p, t, 5.2, [&](Rgba c) { return is_dark(c); });
  if (tracing && t.in(PAD_SIZE, 8) && dist(t, {270.5, 270.5}) > 8 &&
      (dark < (strict ? 70 : 8) || dark > 180 || away < dark || (dark >= 20 && rim == 0)))
    return fail("the tracing sphere: " + std::to_string(dark) + " dark pixels");
  if (!tracing && dark > 0) return fail("a tracing sphere where the triangle is not drawn");
  std::vector<Spot> avoid = spots(v, d, tri);
  avoid.insert(avoid.end(), knots.begin(), knots.end());
  check_line(v, d, CURVE_BLUE, avoid);
  if (!d.usable() && near(p, {270, 270}, 270, CURVE_BLUE, 30) > 0)
    fail("a curve line with no curve");
  // The grid every third of a unit (a line at x = -8/3 fills column 30), the axes' letters.
  const int grid = p.count(29, 0, 31, 540, GRID_LINE, 5);
  if (m.pad_grid ? grid < 400 : grid > 0) fail("the pad's grid is wrong");
  if (p.count(517, 279, 536, 301, CURVE_RED, 40) < 10 ||
      p.count(279, 517, 298, 539, CURVE_RED, 40) < 10 ||
      p.count(273, 266, 293, 274, CURVE_RED, 40) > 0)
    fail("the pad's axis letters X and Y (and no Z) are not where they belong");
}

// The 3D view's transformation: pixels of a scene point, and of a point of the plane z = 1.
Mat scene() {
  const Mat screen =
      mat_mul(mat_translate(270, 270, 0), mat_scale(2.7 * m.zoom, 2.7 * m.zoom, 2.7 * m.zoom));
  const Mat fixed =
      mat_mul(mat_rotate(30, 0, 1, 0), mat_mul(mat_rotate(-70, 1, 0, 0), mat_scale(10, 10, 10)));
  return mat_mul(mat_mul(screen, m.view), fixed);
}

// A ray from the origin to q (samples near `avoid` left out) and its cone ending on q.
// Returns -1 when the ray is too short to judge, else whether its dashes leave gaps.
// Segments from the origin of every ray and axis in the view, for rays to keep clear of.
std::vector<Spot> rays_ends;
int check_ray(const Pixels& p, const Mat& s, const std::array<double, 3>& q, bool green,
              const std::vector<Spot>& avoid) {
  auto at = [&](double f) {
    const Vec w = mat_apply(s, {f * q[0], f * q[1], f * q[2], 1});
    return Spot{w[0], w[1]};
  };
  const double length = dist(at(0), at(1)), d = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
  if (length < 40 || !at(0.1).in(PROJ_SIZE) || !at(0.9).in(PROJ_SIZE)) return -1;
  int drawn = 0, clear = 0;
  for (int k = 0; k <= 40; ++k) {
    const double f = 0.1 + 0.02 * k;
    const Spot o = at(0), e = at(1);
    if (std::any_of(avoid.begin(), avoid.end(), [&](Spot a) { return dist(a, at(f)) < 7; }) ||
        std::any_of(rays_ends.begin(), rays_ends.end(),
                    [&](Spot r) { return dist(r, e) > 1e-6 && to_segment(at(f), o, r) < 5; }))
      continue;
    ++clear;
    drawn += where(p, at(f), 1.5, [green](Rgba c) {
               return green ? c.g > 170 && c.g < 235 && c.r < 40 && c.b < 40
                            : c.r > 50 && c.r < 165 && std::abs(c.r - c.g) < 12 &&
                                  std::abs(c.r - c.b) < 12;
             }) > 0;
  }
  const int gaps = clear - drawn;
  if (clear < 10) return -1;
  if (drawn == 0) {
    fail(std::string(green ? "tracing" : "projection") + " ray missing");
    return 0;
  }
  const Spot cone = at(1 - 0.125 / d), past = at(1 + 0.125 / d);
  const double reach = 2 * dist(cone, at(1)) + 4;  // another cone's length, and some
  // A cone seen along its axis shows one layer of its inside: judged only from the side.
  if (reach < 16 || 2 * dist(cone, at(1)) < 0.6 * 0.25 * 27 * m.zoom || !cone.in(PROJ_SIZE) ||
      !past.in(PROJ_SIZE) ||
      std::any_of(avoid.begin(), avoid.end(),
                  [&](Spot a) { return dist(a, cone) < 7 || dist(a, past) < 7; }) ||
      std::any_of(rays_ends.begin(), rays_ends.end(), [&](Spot r) {
        return dist(r, at(1)) > 1e-6 && (std::min(dist(r, past), dist(r, cone)) < reach ||
                                         to_segment(past, at(0), r) < 2 + 2 * m.zoom);
      }))
    return gaps >= std::max(2, clear / 8);
  const int in_cone = where(p, cone, 1.5, [green](Rgba c) {
    return green ? c.g > 170 && c.r < 40 : c.r < 110 && c.g < 110 && c.b < 110;
  });
  if (in_cone == 0) fail(std::string(green ? "tracing" : "projection") + " cone not on its ray");
  if (!green && where(p, past, 1.5, [](Rgba c) { return c.r < 90 && c.g < 90 && c.b < 90; }) > 0)
    fail("a cone reaches past its point");
  return gaps >= std::max(2, clear / 8);
}

void check_proj(const Pixels& p) {
  const Mat s = scene(), plane = mat_mul(s, mat_translate(0, 0, 1));
  auto spot_of = [](const Mat& t) {
    return [t](const Vec& q) {
      const Vec w = mat_apply(t, {q[0] / q[3], q[1] / q[3], q[2] / q[3], 1});
      return Spot{w[0], w[1]};
    };
  };
  const Drawn lifted = drawn_lifted(m), edited = drawn_edited(m);
  const View vl{p, PROJ_SIZE, spot_of(s), {m.sel[0]}, true};
  View ve{p, PROJ_SIZE, spot_of(plane), selected_set(), true};
  for (const Vec& q : lifted.points) ve.others.push_back(vl.at(q));
  const auto tri = model_triangle(edited, m.edited_u);
  std::vector<Spot> line;  // the plane's curve, drawn over its points
  for (int i = edited.p; edited.usable() && i < static_cast<int>(edited.points.size()); ++i) {
    const double t0 = edited.knots[i], t1 = edited.knots[i + 1];
    double u = t0, step = (t1 - t0) / 50;
    while (u < t1) {  // samples at most 4 pixels apart
      line.push_back(ve.at(model_point(edited, u)));
      if (line.size() > 1 && dist(line.back(), line[line.size() - 2]) > 4 &&
          step > (t1 - t0) / 2000)
        line.pop_back(), u -= step, step /= 2;
      u += step;
    }
  }
  check_points(ve, edited, 1, line);
  // Levels of larger curves, or in a plane seen nearly edge on, lie under other pieces.
  const bool facing = std::fabs(s[10] / std::hypot(s[8], s[9], s[10])) > 0.4;
  if (m.pts.size() <= 12 && facing) check_levels(ve, tri, false, line);
  std::vector<Spot> avoid = spots(ve, edited, tri);
  check_line(ve, edited, CURVE_BLUE, avoid);
  // The lifted points where no point of the plane covers them; the red curve clear of both.
  Drawn apart = lifted;
  for (size_t i = 0; i < lifted.points.size(); ++i)
    if (std::any_of(avoid.begin(), avoid.end(),
                    [&](Spot a) { return dist(a, vl.at(lifted.points[i])) < 8; }))
      apart.points[i][3] = 0;
  std::vector<Spot> over = line;  // the plane's curve and the axes' crossing lie over them
  over.push_back(vl.at({0, 0, 0, 1}));
  check_points(vl, apart, 0, over);
  const auto lifted_tri = model_triangle(lifted, m.lifted_u);
  for (Spot q : spots(vl, lifted, lifted_tri)) avoid.push_back(q);
  avoid.push_back(vl.at({0, 0, 0, 1}));
  check_line(vl, lifted, CURVE_RED, avoid, &ve, &edited);
  // Rays and cones to the first lifted points, and the green ray to the tracing point.
  std::vector<Spot> busy = avoid;  // and the levels of the plane's triangle, drawn over the rays
  busy.insert(busy.end(), line.begin(), line.end());
  for (size_t r = 0; m.deboor && r < tri.size(); ++r)
    for (size_t j = 0; j + 1 < tri[r].size(); ++j) {
      const Spot a = ve.at(tri[r][j]), b = ve.at(tri[r][j + 1]);
      const int pieces = static_cast<int>(dist(a, b) / 3) + 1;
      for (int k = 0; k <= pieces && tri[r][j][3] > 0 && tri[r][j + 1][3] > 0; ++k)
        busy.push_back({a.x + k * (b.x - a.x) / pieces, a.y + k * (b.y - a.y) / pieces});
    }
  rays_ends.clear();
  for (const Pt& q : m.pts) {
    const Vec e = mat_apply(s, {q.x * q.w, q.y * q.w, q.w, 1});
    rays_ends.push_back({e[0], e[1]});
  }
  for (const Vec& a :
       {Vec{m.trace3d[0], m.trace3d[1], m.trace3d[2], 1}, Vec{-3, 0, 0, 1}, Vec{3, 0, 0, 1},
        Vec{0, -3, 0, 1}, Vec{0, 3, 0, 1}, Vec{0, 0, -3, 1}, Vec{0, 0, 3, 1}})
    rays_ends.push_back(vl.at(a));
  int judged = 0, dashed = 0;  // rays long enough to judge, and those that show their dashes
  for (size_t i = 0; i < std::min<size_t>(m.pts.size(), 4); ++i) {
    const int gaps = check_ray(p, s, {m.pts[i].x * m.pts[i].w, m.pts[i].y * m.pts[i].w, m.pts[i].w},
                               false, busy);
    judged += gaps >= 0, dashed += gaps > 0;
  }
  if (m.trace3d != std::array<double, 3>{0, 0, 0}) {
    const int gaps = check_ray(p, s, m.trace3d, true, busy);
    judged += gaps >= 0, dashed += gaps > 0;
  } else if (anywhere(p, RAY_GREEN, 15) > 0) {
    fail("a tracing ray before any tracing point");
  }
  if (m.zoom > 1.9 && facing && judged >= 2 && dashed == 0) fail("the rays are not dashed");
  // The grid's corners in the plane z = 1, or no grid; the axis letters.
  int border = 0, shown = 0;  // the grid's outer lines, where nothing else covers them
  for (int k = -5; k <= 5; ++k)
    for (const Vec& q : {Vec{k / 2.0, -3, 0, 1}, Vec{k / 2.0, 3, 0, 1}, Vec{-3, k / 2.0, 0, 1},
                         Vec{3, k / 2.0, 0, 1}}) {
      const Spot g = ve.at(q);
      if (!g.in(PROJ_SIZE) ||
          std::any_of(avoid.begin(), avoid.end(), [&](Spot o) { return dist(o, g) < 10; }) ||
          std::any_of(line.begin(), line.end(), [&](Spot o) { return dist(o, g) < 8; }))
        continue;
      ++border, shown += near(p, g, 1, GRID_LINE, 8) > 0;
    }
  const int grid = anywhere(p, GRID_LINE, 2);
  if (m.zoom > 1 && m.zoom < 6 &&
      (m.proj_grid ? facing && border >= 8 && shown * 10 < border * 6 : grid > 0))
    fail("the 3D grid is wrong");
  if (m.zoom < 1.3 || m.zoom > 4.6) return;
  const Vec letters[3] = {{2.803, 0.22, 0, 1}, {0.17, 2.853, 0, 1}, {0.16, 0, 2.613, 1}};
  for (int i = 0; i < 3; ++i)
    if (vl.at(letters[i]).in(PROJ_SIZE, 24) &&
        std::none_of(busy.begin(), busy.end(),
                     [&](Spot o) { return dist(o, vl.at(letters[i])) < 14; }) &&
        near(p, vl.at(letters[i]), static_cast<int>(3 * m.zoom), CURVE_RED, 40) < 3)
      return fail(std::string("no letter ") + "XYZ"[i] + " at its axis");
}

//------------------------------------------------------------------------------
// Delivery
//------------------------------------------------------------------------------

// One GLUT event to window w and to the model (state -1: a motion), then every check.
void send(Win w, int button, int state, int x, int y, int mods = 0) {
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

}  // namespace

extern "C" int __wrap_glutGetModifiers() {  // NOLINT(bugprone-reserved-identifier)
  return modifiers;
}

namespace {

//------------------------------------------------------------------------------
// Gestures
//------------------------------------------------------------------------------

// GLUT's y (rows from the top) of window row y_up: the panel and the new-curve
// window read it back as height - 1 - y, the others as height - y.
int glut_y(Win w, int y_up) {
  return HEIGHT[w] - (w == PANEL || w == NEW ? 1 : 0) - y_up;
}
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
