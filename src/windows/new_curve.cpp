// New-curve window: one degree box and one knot-type box checked at a time;
// "OK" starts empty curves of that degree and type, "Cancel" restores the
// degree saved when the window opened. Both hide the window.
#include "windows/new_curve.h"

#include "app/shell.h"
#include "curve/curve.h"
#include "view3d/renderer.h"
#include "windows/control_panel.h"

#include <GL/freeglut.h>

//------------------------------------------------------------------------------
// Defines
//------------------------------------------------------------------------------

namespace {

// Group frames around the boxes, in window pixels.
constexpr int KNOT_TYPE_FRAME[4] = {9, 110, 205, 145};
constexpr int DEGREE_FRAME[4] = {9, 40, 205, 95};

}  // namespace

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

Button btn_ok = {10, 10, 45, 30, "OK", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_cancel = {150, 10, 205, 30, "Cancel", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_1 = {14, 69, 45, 87, "1", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_2 = {54, 69, 85, 87, "2", GLUT_BITMAP_HELVETICA_12, 1};
Button chk_degree_3 = {94, 69, 125, 87, "3", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_4 = {134, 69, 165, 87, "4", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_5 = {174, 69, 205, 87, "5", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_6 = {14, 45, 45, 63, "6", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_7 = {54, 45, 85, 63, "7", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_8 = {94, 45, 125, 63, "8", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_9 = {134, 45, 165, 63, "9", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_degree_10 = {174, 45, 205, 63, "10", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_uniform = {14, 117, 65, 135, "Uniform", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_clamped = {77, 117, 128, 135, "Clamped", GLUT_BITMAP_HELVETICA_12, 1};
Button chk_closed = {147, 117, 198, 135, "Closed", GLUT_BITMAP_HELVETICA_12, 0};

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

namespace {

// Degree boxes in the order of their numbers: entry i stands for degree i + 1.
Button* const DEGREE_BOXES[DEGREE_MAX] = {
    &chk_degree_1, &chk_degree_2, &chk_degree_3, &chk_degree_4, &chk_degree_5,
    &chk_degree_6, &chk_degree_7, &chk_degree_8, &chk_degree_9, &chk_degree_10,
};

// Knot-type boxes with the type each one stands for.
struct KnotTypeBox {
  Button* box;
  int type;
};
const KnotTypeBox KNOT_TYPE_BOXES[] = {
    {&chk_uniform, KNOT_UNIFORM},
    {&chk_clamped, KNOT_CLAMPED},
    {&chk_closed, KNOT_CLOSED},
};

// Knot type of the first checked box; the curve's own type when none is.
int read_knot_type_boxes(int fallback) {
  for (const KnotTypeBox& entry : KNOT_TYPE_BOXES)
    if (entry.box->state) return entry.type;
  return fallback;
}

// Hides this window, whichever window the event left current.
void new_curve_hide() {
  window_run(window_table.win_new_curve.id, glutHideWindow);
}

// Left press: a push button is held, or a box becomes the checked one of its group.
void new_curve_press(int x, int y) {
  if (button_hit(&btn_ok, x, y)) {
    btn_ok.state = 1;
    return;
  }
  if (button_hit(&btn_cancel, x, y)) {
    btn_cancel.state = 1;
    return;
  }
  for (Button* box : DEGREE_BOXES) {
    if (button_hit(box, x, y)) {
      clear_degree_boxes();
      box->state = 1;
      redisplay("N");
      return;
    }
  }
  for (const KnotTypeBox& entry : KNOT_TYPE_BOXES) {
    if (button_hit(entry.box, x, y)) {
      clear_knot_type_boxes();
      entry.box->state = 1;
      redisplay("N");
      return;
    }
  }
}

// "OK": fresh empty curves of the chosen degree and knot type.
void new_curve_accept() {
  read_degree_boxes();
  btn_ok.state = 0;
  const int degree = edited_curve->degree;
  curves_reset();
  edited_curve->degree = degree;
  edited_curve->knot_type = read_knot_type_boxes(edited_curve->knot_type);
  tracing_point_3d[0] = 0.0f;
  tracing_point_3d[1] = 0.0f;
  tracing_point_3d[2] = 0.0f;
  new_curve_hide();
}

// "Cancel": the curve keeps the degree it had when the window opened.
void new_curve_cancel() {
  btn_cancel.state = 0;
  edited_curve->degree = saved_degree;
  new_curve_hide();
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Unchecks every degree box.
void clear_degree_boxes() {
  for (Button* box : DEGREE_BOXES) box->state = 0;
}

// Unchecks every knot-type box.
void clear_knot_type_boxes() {
  for (const KnotTypeBox& entry : KNOT_TYPE_BOXES) entry.box->state = 0;
}

// The edited curve takes the degree of the first checked box; none checked
// leaves it as it is.
void read_degree_boxes() {
  for (int i = 0; i < DEGREE_MAX; ++i) {
    if (DEGREE_BOXES[i]->state) {
      edited_curve->degree = i + 1;
      return;
    }
  }
}

//------------------------------------------------------------------------------
// Callbacks
//------------------------------------------------------------------------------

// Records the window's size and sets up pixel coordinates with y up; the
// display sets its own clear colour.
void new_curve_reshape(int width, int height) {
  window_reshape(&window_table.win_new_curve, width, height);
}

// Draws the pane, the two push buttons, the group frames and the boxes.
void new_curve_display() {
  set_clear_colour(COLOUR_PANEL_GREY);
  glClear(GL_COLOR_BUFFER_BIT);
  draw_raised_box(1, 1, window_table.win_new_curve.width - 1,
                  window_table.win_new_curve.height - 1);

  glColor4fv(COLOUR_BLUE);
  button_draw(&btn_ok);
  glColor4fv(COLOUR_RED);
  button_draw(&btn_cancel);

  glColor4fv(COLOUR_BLUE);
  draw_group_frame("Knot Type", KNOT_TYPE_FRAME[0], KNOT_TYPE_FRAME[1], KNOT_TYPE_FRAME[2],
                   KNOT_TYPE_FRAME[3], GLUT_BITMAP_HELVETICA_12);
  glColor4fv(COLOUR_BLUE);
  draw_group_frame("Degree", DEGREE_FRAME[0], DEGREE_FRAME[1], DEGREE_FRAME[2], DEGREE_FRAME[3],
                   GLUT_BITMAP_HELVETICA_12);

  for (const Button* box : DEGREE_BOXES) {
    glColor4fv(COLOUR_BLACK);
    checkbox_draw(box);
  }
  for (const KnotTypeBox& entry : KNOT_TYPE_BOXES) {
    glColor4fv(COLOUR_BLACK);
    checkbox_draw(entry.box);
  }

  glutSwapBuffers();
}

// Runs the boxes and buttons, then re-lifts and redraws every view.
void new_curve_mouse(int button, int state, int x, int y) {
  y = flip_y(y);
  if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) {
    new_curve_press(x, y);
  } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
    if (btn_ok.state == 1) {
      new_curve_accept();
    } else if (btn_cancel.state == 1) {
      new_curve_cancel();
    }
    redisplay("2");
  }
  curve_lift(edited_curve, lifted_curve);
  redisplay("13SN");
}
