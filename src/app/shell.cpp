// Global curves, shared switches, window table and redisplay by code.
#include "app/shell.h"

#include <GL/freeglut.h>

#include <cstring>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

WindowTable window_table = {
    {0, 641, 615},  // win_main
    {0, 100, 440},  // win_knots
    {0, 540, 540},  // win_pad
    {0, 640, 75},   // win_panel
    {0, 540, 540},  // win_projection
    {0, 215, 155},  // win_new_curve
    {0, 685, 660},  // win_about
};

Curve* edited_curve = nullptr;
Curve* lifted_curve = nullptr;
Curve* knot_list_curve = nullptr;

int show_deboor = 0;
int show_deboor_points = 0;
int proj_grid = 1;
float proj_zoom = PROJ_ZOOM_START;
int selection_count = 1;

GLUquadric* sphere_quadric = nullptr;
GLUquadric* axis_quadric = nullptr;
GLUquadric* cone_quadric = nullptr;

char about_text[ABOUT_TEXT_SIZE];

namespace {

// The About text, 32 lines of at most 74 characters; the first line is copied
// in and the rest appended, each within the buffer.
const char* const ABOUT_LINES[] = {
    "Ternival - rational curves, seen in two and three dimensions",
    "",
    "Ternival is a classroom tool for non-uniform rational B-splines (NURBS).",
    "Place control points on the drawing pad with the right mouse button,",
    "give each one a weight, and choose the degree and the knot style.",
    "",
    "The window \"3D B-Spline Projection\" shows the same curve as a plain",
    "B-spline in homogeneous space: every weighted point (x, y, w) is lifted",
    "to (wx, wy, w), and the central projection of the 3D curve through the",
    "origin onto the plane z = 1 is exactly the rational curve on the pad.",
    "",
    "Move the tracing parameter u on the knot bar to watch the de Boor",
    "algorithm at work: every level of the triangle has a colour of its own,",
    "in both views at once. Drag a knot on the bar to change the knot vector.",
    "",
    "Mouse: right click adds a point after the current one; left click picks",
    "a point, shift and left click add it to the selection, a left drag",
    "moves it; a left drag in the 3D window turns the scene.",
    "",
    "Written by the Ternival authors.",
    "",
    "This program is free software, provided for teaching and learning.",
    "",
    "THERE IS NO WARRANTY FOR THIS PROGRAM, TO THE EXTENT PERMITTED BY LAW.",
    "IT IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EITHER EXPRESSED",
    "OR IMPLIED, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED WARRANTIES OF",
    "MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE. THE WHOLE RISK AS",
    "TO THE QUALITY AND PERFORMANCE OF THE PROGRAM IS WITH YOU. IN NO EVENT",
    "WILL THE AUTHORS BE LIABLE FOR DAMAGES ARISING OUT OF THE USE OR",
    "INABILITY TO USE THE PROGRAM.",
    "",
    "Enjoy the curves.",
};

// Appends text to about_text, never past its end.
void about_append(const char* text) {
  size_t used = std::strlen(about_text);
  if (used + 1 >= sizeof about_text) return;
  std::strncat(about_text, text, sizeof about_text - used - 1);
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

void init_curves() {
  edited_curve = curve_new(CURVE_KIND_RATIONAL);
  std::memcpy(edited_curve->colour, COLOUR_BLUE, sizeof COLOUR_BLUE);
  edited_curve->knot_type = KNOT_CLAMPED;
  // The knot panel draws in the edited curve's colour through this row.
  std::memcpy(palette.colours[PAL_CURRENT_CURVE], COLOUR_BLUE, sizeof COLOUR_BLUE);

  lifted_curve = curve_new(CURVE_KIND_LIFTED);
  std::memcpy(lifted_curve->colour, COLOUR_RED, sizeof COLOUR_RED);
  lifted_curve->knot_type = KNOT_CLAMPED;
}

void init_shared() {
  knot_list_curve = curve_new(CURVE_KIND_RATIONAL);
  level_colours = &palette.colours[PAL_DEBOOR_1];

  about_text[0] = '\0';
  for (const char* line : ABOUT_LINES) {
    about_append(line);
    about_append("\n");
  }
}

void curves_reset() {
  curve_free(edited_curve);
  curve_free(lifted_curve);
  init_curves();
}

void redisplay(const char* codes) {
  if (codes == nullptr) return;
  for (const char* c = codes; *c != '\0'; ++c) {
    int id = 0;
    switch (*c) {
      case '1': id = window_table.win_knots.id; break;
      case '2': id = window_table.win_pad.id; break;
      case '3': id = window_table.win_panel.id; break;
      case 'N': id = window_table.win_new_curve.id; break;
      case 'S': id = window_table.win_projection.id; break;
      default: break;
    }
    window_run(id, glutPostRedisplay);
  }
}

int selection_used() {
  if (selection_count < 0) return 0;
  return selection_count > SELECTION_MAX ? SELECTION_MAX : selection_count;
}

void window_run(int id, void (*action)()) {
  if (id == 0) return;
  const int caller = glutGetWindow();
  glutSetWindow(id);
  action();
  if (caller != 0 && glutGetWindow() != caller) glutSetWindow(caller);
}

void window_reshape(WindowEntry* win, int width, int height) {
  win->width = width;
  win->height = height;
  set_pixel_projection(width, height);
}

int window_y_up(int height, int y) {
  return height - y;
}

// Window y of a GLUT mouse y, by the height of the current viewport.
int flip_y(int y) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  return viewport[3] - y - 1;
}

void set_clear_colour(const float* rgba) {
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void set_pixel_projection(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, width, 0, height);
  glMatrixMode(GL_MODELVIEW);
}

void set_depth_projection(int width, int height, double depth) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -depth, depth);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void main_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}

void main_reshape(int, int) {}

void empty_motion(int, int) {}
void empty_entry(int) {}
void empty_keyboard(unsigned char, int, int) {}
