// Control panel: weight slider, de Boor and grid switches, 3D zoom and grid,
// New, Reset, About and Quit. Buttons act on the release that follows a press
// inside them; check boxes act on the press.
#include "windows/control_panel.h"

#include "app/shell.h"
#include "curve/curve.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

//------------------------------------------------------------------------------
// Defines
//------------------------------------------------------------------------------

namespace {

constexpr int LEFT_PANE_RIGHT = 464;  // right edge of the left background pane, px
constexpr int RIGHT_PANE_LEFT = 466;  // left edge of the right background pane, px
constexpr int PANE_INSET = 1;         // px between the panes and the panel's other edges

constexpr const char* GRID_ON_LABEL = " Grid: ON";
constexpr const char* GRID_OFF_LABEL = "Grid: OFF";

constexpr float RESET_WEIGHT = 1.0f;
constexpr int QUIT_STATUS = 0;

// Group frames of the panel, in panel pixels.
constexpr int WEIGHT_FRAME[4] = {10, 545, 220, 605};
constexpr int BSPLINE_FRAME[4] = {485, 545, 630, 605};

// Zoom after `presses` presses from the start (negative: zooming out), with a
// margin of half a press so that rounding never blocks the last allowed step.
constexpr float zoom_bound(int presses) {
  float zoom = PROJ_ZOOM_START;
  for (int i = 0; i < presses; ++i) zoom *= ZOOM_FACTOR;
  for (int i = 0; i > presses; --i) zoom /= ZOOM_FACTOR;
  return presses > 0 ? zoom * 0.9f : zoom * 1.1f;
}

}  // namespace

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

Button btn_new = {332, 578, 388, 600, "   New", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_reset = {332, 550, 388, 572, "  Reset", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_about = {398, 578, 452, 600, " About", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_quit = {398, 550, 452, 572, "  Quit!", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_zoom_in = {502, 577, 522, 592, " +", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_zoom_out = {502, 552, 522, 567, " -", GLUT_BITMAP_HELVETICA_12, 0};
Button btn_grid = {540, 552, 615, 574, " Grid: ON", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_deboor = {230, 588, 280, 610, "Show DeBoor", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_points = {230, 565, 280, 587, "Show Points", GLUT_BITMAP_HELVETICA_12, 0};
Button chk_grid = {230, 542, 280, 564, "Display Grid", GLUT_BITMAP_HELVETICA_12, 1};

Slider weight_slider = {
    0,        // x1
    560,      // y1
    220,      // x2
    576,      // y2
    0,        // thumb_x, computed at the first draw
    -3.0f,    // min
    10.0f,    // max
    0.1f,     // step
    0.0f,     // value
    "%5.2f",  // format
    0,        // arrow_list
    0,        // mapped
    0,        // inner_scale
    0,        // outer_slope
    0.0f,     // shown
    0,        // drag_x
    0,        // drag_y
    0,        // dragging
    0,        // changed
    0,        // up_pressed
    0,        // down_pressed
};

int saved_degree = 0;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

namespace {

// One button or check box of the panel with the colour of its label.
struct PanelWidget {
  const Button* button;
  const float* colour;
  void (*draw)(const Button*);  // button_draw or checkbox_draw
};

// Writes v into the current point's weight; an empty or stale selection
// writes nothing.
void set_current_weight(float v) {
  int index = edited_curve->selected[0];
  if (index < 0 || index >= edited_curve->point_count) return;
  edited_curve->points[index].w = static_cast<double>(v);
}

// Shows one of the windows opened from the panel and raises it: created
// before the main window, it would otherwise open beneath it where no window
// manager restacks it. The caller's window stays current.
void show_window(int id) {
  window_run(id, [] {
    glutShowWindow();
    glutPopWindow();
  });
}

// Flips the 3D grid switch; the button's label is its only record.
void toggle_proj_grid() {
  if (std::strcmp(btn_grid.label, GRID_OFF_LABEL) != 0) {
    std::snprintf(btn_grid.label, sizeof btn_grid.label, "%s", GRID_OFF_LABEL);
    proj_grid = 0;
  } else {
    std::snprintf(btn_grid.label, sizeof btn_grid.label, "%s", GRID_ON_LABEL);
    proj_grid = 1;
  }
}

// Left press: the first push button hit is held, else a check box acts.
void panel_press(int x, int y) {
  Button* const push_buttons[] = {&btn_new,     &btn_reset,    &btn_about, &btn_quit,
                                  &btn_zoom_in, &btn_zoom_out, &btn_grid};
  for (Button* button : push_buttons) {
    if (button_hit(button, x, y)) {
      button->state = 1;
      return;
    }
  }
  if (button_hit(&chk_grid, x, y)) {
    chk_grid.state = chk_grid.state ? 0 : 1;
  } else if (button_hit(&chk_deboor, x, y)) {
    if (chk_deboor.state == 0) {
      chk_deboor.state = 1;
      show_deboor = 1;
    } else {
      // Points of the triangle make no sense without its polylines.
      chk_deboor.state = 0;
      chk_points.state = 0;
      show_deboor_points = 0;
      show_deboor = 0;
    }
  } else if (button_hit(&chk_points, x, y)) {
    if (chk_points.state == 0 && chk_deboor.state == 1) {
      chk_points.state = 1;
      show_deboor_points = 1;
    } else {
      chk_points.state = 0;
      show_deboor_points = 0;
    }
  }
}

// Left release: the held push button, if any, is let go and acts.
void panel_release() {
  if (btn_new.state) {
    btn_new.state = 0;
    saved_degree = edited_curve->degree;
    show_window(window_table.win_new_curve.id);
  } else if (btn_reset.state) {
    btn_reset.state = 0;
    weight_slider.value = RESET_WEIGHT;
    set_current_weight(weight_slider.value);
  } else if (btn_about.state) {
    btn_about.state = 0;
    show_window(window_table.win_about.id);
  } else if (btn_quit.state) {
    btn_quit.state = 0;
    std::exit(QUIT_STATUS);
  } else if (btn_zoom_in.state) {
    btn_zoom_in.state = 0;
    if (proj_zoom < zoom_bound(ZOOM_PRESS_LIMIT)) proj_zoom = proj_zoom * ZOOM_FACTOR;
  } else if (btn_zoom_out.state) {
    btn_zoom_out.state = 0;
    if (proj_zoom > zoom_bound(-ZOOM_PRESS_LIMIT)) proj_zoom = proj_zoom / ZOOM_FACTOR;
  } else if (btn_grid.state) {
    btn_grid.state = 0;
    toggle_proj_grid();
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Callbacks
//------------------------------------------------------------------------------

// Records the panel's size and sets up pixel coordinates with y up.
void panel_reshape(int width, int height) {
  window_reshape(&window_table.win_panel, width, height);
}

// Draws the two panes and every widget in its fixed order and colour.
void panel_display() {
  const int w = window_table.win_panel.width;
  const int h = window_table.win_panel.height;
  glClear(GL_COLOR_BUFFER_BIT);
  set_clear_colour(COLOUR_PANEL_GREY);
  draw_raised_box(PANE_INSET, PANE_INSET, LEFT_PANE_RIGHT, h - PANE_INSET);
  draw_raised_box(RIGHT_PANE_LEFT, PANE_INSET, w - PANE_INSET, h - PANE_INSET);

  glColor4fv(COLOUR_BLUE);
  draw_group_frame("Current Point Weight", WEIGHT_FRAME[0], WEIGHT_FRAME[1], WEIGHT_FRAME[2],
                   WEIGHT_FRAME[3], GLUT_BITMAP_HELVETICA_12);
  slider_draw(&weight_slider);

  glColor4fv(COLOUR_BLUE);
  draw_group_frame("BSpline Window", BSPLINE_FRAME[0], BSPLINE_FRAME[1], BSPLINE_FRAME[2],
                   BSPLINE_FRAME[3], GLUT_BITMAP_HELVETICA_12);

  // The grid button turns red while the 3D grid is off.
  const float* grid_colour =
      std::strcmp(btn_grid.label, GRID_OFF_LABEL) == 0 ? COLOUR_RED : COLOUR_BLUE;
  const PanelWidget widgets[] = {
      {&btn_zoom_in, COLOUR_BLUE, button_draw},  {&btn_zoom_out, COLOUR_BLUE, button_draw},
      {&chk_deboor, COLOUR_BLUE, checkbox_draw}, {&chk_points, COLOUR_BLUE, checkbox_draw},
      {&chk_grid, COLOUR_BLUE, checkbox_draw},   {&btn_grid, grid_colour, button_draw},
      {&btn_new, COLOUR_BLUE, button_draw},      {&btn_reset, COLOUR_BLUE, button_draw},
      {&btn_about, COLOUR_BLUE, button_draw},    {&btn_quit, COLOUR_RED, button_draw},
  };
  for (const PanelWidget& widget : widgets) {
    glColor4fv(widget.colour);
    widget.draw(widget.button);
  }

  glutSwapBuffers();
}

// Runs the slider and the buttons, then re-lifts and redraws the views.
void panel_mouse(int button, int state, int x, int y) {
  y = flip_y(y);
  slider_mouse(&weight_slider, button, state, x, y);
  const bool left_press = button == GLUT_LEFT_BUTTON && state == GLUT_DOWN;
  // An arrow click is a deliberate change of the weight: apply it at once,
  // as a drag step is.
  const bool arrow_click = left_press && (weight_slider.up_pressed || weight_slider.down_pressed);
  if (weight_slider.changed == 1 || arrow_click) set_current_weight(weight_slider.value);

  if (left_press) {
    panel_press(x, y);
  } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
    panel_release();
  }

  curve_lift(edited_curve, lifted_curve);
  redisplay("23SN");
}

// Lets a held thumb carry the current weight along, then re-lifts and redraws.
void panel_motion(int x, int y) {
  weight_slider.changed = 1;
  slider_drag(&weight_slider, x, y);
  if (weight_slider.changed == 1) set_current_weight(weight_slider.value);
  curve_lift(edited_curve, lifted_curve);
  redisplay("23S");
}
