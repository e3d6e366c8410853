// The program's state against the model's.
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

Window windows[WINDOWS] = {
    {&window_table.win_pad, pad_mouse, pad_motion, pad_display},
    {&window_table.win_panel, panel_mouse, panel_motion, panel_display},
    {&window_table.win_knots, knot_panel_mouse, knot_panel_motion, knot_panel_display},
    {&window_table.win_new_curve, new_curve_mouse, empty_motion, new_curve_display},
    {&window_table.win_about, about_mouse, empty_motion, about_display},
    {&window_table.win_projection, proj_mouse, proj_motion, proj_display},
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

}  // namespace session
