// Drawing pad: shows the edited curve in pad units and turns mouse events into
// added, picked, selected and dragged control points.
#include "windows/drawing_pad.h"

#include "app/shell.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/control_panel.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

int pad_mode = 10;
int picked_point = -1;
int drag_last_x = 0;
int drag_last_y = 0;

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr double PAD_SPAN = 6.0;     // pad units across the window (-3 .. 3)
constexpr double PAD_DEPTH = 30.0;   // depth of the orthographic volume either side
constexpr double PAD_LIFT = 1.0;     // z of the pad plane in the modelview
constexpr int MODE_PICK_LEFT = 3;    // pad_mode after a left press that hit a point
constexpr int MODE_PICK_MIDDLE = 2;  // pad_mode after a middle press that hit a point
constexpr int MIN_CURVE_POINTS = 3;  // fewest points that get a knot vector

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// The pad transformation: (0, 0) at the centre, 6 pad units across each way.
void pad_transform() {
  const WindowEntry& win = window_table.win_pad;
  glLoadIdentity();
  glTranslated(win.width / 2.0, win.height / 2.0, PAD_LIFT);
  glScaled(win.width / PAD_SPAN, win.height / PAD_SPAN, 1.0);
}

// Posts a redisplay of the pad, keeping the caller's window current.
void pad_redisplay() {
  window_run(window_table.win_pad.id, glutPostRedisplay);
}

// Index of the first control point whose projection lies within PICK_RADIUS
// pixels of (x, y_up) on both axes, or -1.
int pad_pick(int x, int y_up) {
  GLint viewport[4];
  GLdouble modelview[16], projection[16];
  glPushMatrix();
  pad_transform();
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glPopMatrix();

  for (int i = 0; i < edited_curve->point_count; ++i) {
    const ControlPoint& p = edited_curve->points[i];
    GLdouble wx, wy, wz;
    if (gluProject(p.x, p.y, p.z, modelview, projection, viewport, &wx, &wy, &wz) != GL_TRUE)
      continue;
    const long px = static_cast<long>(std::trunc(wx));
    const long py = static_cast<long>(std::trunc(wy));
    if (std::labs(px - x) <= PICK_RADIUS && std::labs(py - y_up) <= PICK_RADIUS) return i;
  }
  return -1;
}

// After every event: show the current point's weight, lift, refresh the
// control panel and the projection window.
void pad_common_ending() {
  const int current = edited_curve->selected[0];
  if (current >= 0 && current < edited_curve->point_count)
    weight_slider.value = static_cast<float>(edited_curve->points[current].w);
  curve_lift(edited_curve, lifted_curve);
  redisplay("3S");
}

// Right press: a new point of weight 1 right after the current one.
void pad_add_point(int x, int y_up) {
  const WindowEntry& win = window_table.win_pad;
  pad_mode = ADD_AFTER;
  if (edited_curve->point_count < curve_point_limit(edited_curve->kind)) {
    // Integer half sizes, so the centre pixel column and row map to 0. The top
    // row counts as row H, half a pixel above y = 3: it is kept on the pad.
    const int half_w = win.width / 2, half_h = win.height / 2;
    const double px = (x - half_w) * PAD_SPAN / win.width;
    const double py = std::min((y_up - half_h) * PAD_SPAN / win.height, PAD_LIMIT);
    curve_add_point(edited_curve, ControlPoint{px, py, 0.0, 1.0}, ADD_AFTER);
    pad_redisplay();
    const int kind = edited_curve->kind;
    if ((kind == CURVE_KIND_LIFTED || kind == CURVE_KIND_RATIONAL) &&
        edited_curve->point_count >= MIN_CURVE_POINTS)
      curve_make_knots(edited_curve, edited_curve->knot_type);
  }
  redisplay("12");
}

// Left or middle press: pick a point and select it (shift alone extends the
// selection). Returns false when the event ends without the common ending.
bool pad_pick_press(int button, int modifiers, int x, int y_up) {
  drag_last_x = x;
  drag_last_y = y_up;
  picked_point = -1;
  const int hit = pad_pick(x, y_up);
  if (hit < 0) return true;
  picked_point = hit;

  int* selected = edited_curve->selected;
  if (modifiers == GLUT_ACTIVE_SHIFT) {
    const int used = selection_used();
    if (used >= SELECTION_MAX) return true;
    for (int e = 0; e < used; ++e)
      if (selected[e] == hit) return false;
    selected[used] = hit;
    selection_count = used + 1;
  } else {
    selection_count = 1;
    selected[0] = hit;
  }
  pad_redisplay();
  pad_mode = button == GLUT_LEFT_BUTTON ? MODE_PICK_LEFT : MODE_PICK_MIDDLE;
  return true;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Keeps the pad size and sets the depth test, hints and the pixel projection.
void pad_reshape(int width, int height) {
  window_table.win_pad.width = width;
  window_table.win_pad.height = height;
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_NORMALIZE);
  glEnable(GL_AUTO_NORMAL);
  glFrontFace(GL_CCW);
  glDepthFunc(GL_LESS);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
  set_depth_projection(width, height, PAD_DEPTH);
}

// Grid, x and y axes and the edited curve at the knot bar's parameter.
void pad_display() {
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_LIGHTING);
  glPushMatrix();
  pad_transform();
  if (chk_grid.state) draw_grid();
  draw_axes(0);
  edited_curve->trace_u = knot_bar.value;
  draw_curve(edited_curve);
  glPopMatrix();
  glutSwapBuffers();
}

// Right press adds, left or middle press picks, releases refresh the panels.
void pad_mouse(int button, int state, int x, int y) {
  const int modifiers = glutGetModifiers();
  const int y_up = window_y_up(window_table.win_pad.height, y);

  const bool right = button == GLUT_RIGHT_BUTTON;
  const bool picking = button == GLUT_LEFT_BUTTON || button == GLUT_MIDDLE_BUTTON;

  if (right && state == GLUT_DOWN) {
    pad_add_point(x, y_up);
  } else if (picking && state == GLUT_DOWN) {
    if (!pad_pick_press(button, modifiers, x, y_up)) return;
  } else if (!right && state == GLUT_UP) {
    if (picked_point != -1) pad_redisplay();
    redisplay("12");
  }
  pad_common_ending();
}

// A left drag moves the picked point by the pointer's motion, in pad units.
void pad_motion(int x, int y) {
  const WindowEntry& win = window_table.win_pad;
  const int y_up = window_y_up(win.height, y);
  // The picked index is checked against the curve as it is now: the points
  // may have been replaced since the press.
  if (picked_point >= 0 && picked_point < edited_curve->point_count && pad_mode == MODE_PICK_LEFT) {
    const double dx = (x - drag_last_x) * PAD_SPAN / win.width;
    const double dy = (y_up - drag_last_y) * PAD_SPAN / win.height;
    drag_last_x = x;
    drag_last_y = y_up;
    curve_move_point(edited_curve, picked_point, dx, dy, 0.0);
  }
  curve_lift(edited_curve, lifted_curve);
  redisplay("12S");
}
