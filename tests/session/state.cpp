// The program's state against the model's, and the 2D windows against pictures
// drawn from the model with plain GL.
#include "session/session.h"

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

namespace session {

Model m;
int modifiers = 0;
long events = 0;
std::string failure;

static const LayoutBox &PANEL_SEEN = layout("visible", "panel"),
                       &KNOTS_SEEN = layout("visible", "knots");
Window windows[WINDOWS] = {
    {&window_table.win_pad, pad_mouse, pad_motion, pad_display, {}},
    {&window_table.win_panel,
     panel_mouse,
     panel_motion,
     panel_display,
     {PANEL_SEEN[0], PANEL_SEEN[1], PANEL_SEEN[2], PANEL_SEEN[3]}},
    {&window_table.win_knots,
     knot_panel_mouse,
     knot_panel_motion,
     knot_panel_display,
     {KNOTS_SEEN[0], KNOTS_SEEN[1], KNOTS_SEEN[2], KNOTS_SEEN[3]}},
    {&window_table.win_new_curve, new_curve_mouse, empty_motion, new_curve_display, {}},
    {&window_table.win_about, about_mouse, empty_motion, about_display, {}},
    {&window_table.win_projection, proj_mouse, proj_motion, proj_display, {}},
};
const char* const NAMES[WINDOWS] = {
    "pad", "control panel", "knot panel", "new-curve window", "About window", "3D view"};

namespace {

Button* const NEW_BOXES[13] = {&chk_degree_1, &chk_degree_2,  &chk_degree_3, &chk_degree_4,
                               &chk_degree_5, &chk_degree_6,  &chk_degree_7, &chk_degree_8,
                               &chk_degree_9, &chk_degree_10, &chk_uniform,  &chk_clamped,
                               &chk_closed};
// The program's codes of the model's states.
const int KNOT_CODE[3] = {KNOT_UNIFORM, KNOT_CLAMPED, KNOT_CLOSED};
const int HOLD_CODE[3] = {KNOT_BAR_NONE, KNOT_BAR_KNOT, KNOT_BAR_THUMB};
const int PAD_MODE_CODE[4] = {10, ADD_AFTER, 3, 2};  // start, right press, left and middle pick
Button* const PUSHES[7] = {&btn_new,     &btn_reset,    &btn_about, &btn_quit,
                           &btn_zoom_in, &btn_zoom_out, &btn_grid};

}  // namespace

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
  EXPECT_STATE(c->point_count == n && c->degree == m.degree && c->knot_type == KNOT_CODE[m.type] &&
               pad_mode == PAD_MODE_CODE[m.pad_mode]);
  for (int i = 0; i < n; ++i)
    EXPECT_STATE(std::fabs(c->points[i].x - m.pts[i].x) < 1e-9 &&
                 std::fabs(c->points[i].y - m.pts[i].y) < 1e-9 && c->points[i].w == m.pts[i].w);
  EXPECT_STATE(selection_count == static_cast<int>(m.sel.size()));
  for (size_t e = 0; e < m.sel.size(); ++e) EXPECT_STATE(c->selected[e] == m.sel[e]);
  EXPECT_STATE(c->knot_count == static_cast<int>(m.knots.size()));
  for (size_t i = 0; i < m.knots.size(); ++i) EXPECT_STATE(c->knots[i] == m.knots[i]);
  EXPECT_STATE(knot_bar.value == m.u && knot_bar.thumb_y == m.thumb &&
               knot_bar.drag_mode == HOLD_CODE[m.hold]);
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
    EXPECT_STATE(NEW_BOXES[i]->state == (i < 10 ? m.box_degree == i + 1 : m.box_type == i - 10));
  EXPECT_STATE(btn_ok.state == (m.new_pushed == 1) && btn_cancel.state == (m.new_pushed == 2));
  EXPECT_STATE(gl_shown(window_table.win_new_curve.id) == m.new_shown &&
               gl_shown(window_table.win_about.id) == m.about_shown &&
               btn_dismiss.state == m.dismiss_held);
  EXPECT_STATE(rot_step_x == m.step_x && rot_step_y == m.step_y && proj_dragging == m.turning);
  for (int i = 0; i < 16; ++i) EXPECT_STATE(std::fabs(view_matrix[i] - m.view[i]) < 1e-3);
  std::copy(view_matrix, view_matrix + 16, m.view.begin());  // GL turns in floats: no drift
  for (int i = 0; i < 3; ++i) EXPECT_STATE(std::fabs(tracing_point_3d[i] - m.trace3d[i]) < 1e-4);
}

namespace {

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
  raised(WEIGHT_UP[0], WEIGHT_UP[1], WEIGHT_UP[2], WEIGHT_UP[3], m.arrow == 1);
  raised(WEIGHT_DOWN[0], WEIGHT_DOWN[1], WEIGHT_DOWN[2], WEIGHT_DOWN[3], m.arrow == -1);
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
  for (const int* r : {STEP_DOWN, STEP_UP}) {
    text(BLACK, r[0] + 3, r[1] + 2, r == STEP_UP ? "Up" : "Dn", TIMES);
    raised(r[0], r[1], r[2], r[3]);
  }
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
              i < 10 ? m.box_degree == i + 1 : m.box_type == i - 10);
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

}  // namespace

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

}  // namespace session
