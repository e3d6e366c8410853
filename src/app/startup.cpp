// Creation of every window with its callbacks, in the fixed order.
#include "app/startup.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "windows/about.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"
#include "windows/new_curve.h"

#include <GL/freeglut.h>

namespace {

// The main window is created one row taller than its table height, so that
// the control panel's 75 visible rows end flush with its bottom.
constexpr int MAIN_EXTRA_ROW = 1;

// Subwindows are created at the left-top corner of their placement rectangle,
// with the rectangle's right and bottom coordinates as their size: they are
// larger than what the main window shows of them and are clipped by it.
struct Placement {
  int left, top, right, bottom;
};
constexpr Placement KNOTS_PLACE = {541, 1, 641, 541};
constexpr Placement PANEL_PLACE = {1, 541, 641, 615};
constexpr Placement PAD_PLACE = {1, 1, 541, 541};

constexpr int NEW_CURVE_X = 200, NEW_CURVE_Y = 200;
constexpr int ABOUT_X = 150, ABOUT_Y = 25;
constexpr int PROJECTION_X = 653, PROJECTION_Y = 0;
constexpr int MAIN_X = 0, MAIN_Y = 0;

int create_top_level(WindowEntry& entry, int x, int y, const char* title, int extra_height) {
  glutInitWindowPosition(x, y);
  glutInitWindowSize(entry.width, entry.height + extra_height);
  entry.id = glutCreateWindow(title);
  return entry.id;
}

int create_sub(WindowEntry& entry, const Placement& place) {
  entry.id = glutCreateSubWindow(window_table.win_main.id, place.left, place.top, place.right,
                                 place.bottom);
  return entry.id;
}

void enable_blending() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

GLUquadric* new_filled_quadric() {
  GLUquadric* quadric = gluNewQuadric();
  gluQuadricDrawStyle(quadric, GLU_FILL);
  return quadric;
}

}  // namespace

unsigned int startup_display_mode() {
  return GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH;
}

void create_windows() {
  create_top_level(window_table.win_new_curve, NEW_CURVE_X, NEW_CURVE_Y, "Create New 2D NURBS", 0);
  glutDisplayFunc(new_curve_display);
  glutReshapeFunc(new_curve_reshape);
  glutMouseFunc(new_curve_mouse);
  glutMotionFunc(empty_motion);
  glutHideWindow();

  create_top_level(window_table.win_about, ABOUT_X, ABOUT_Y, "About Ternival", 0);
  glutDisplayFunc(about_display);
  glutReshapeFunc(about_reshape);
  glutMouseFunc(about_mouse);
  glutHideWindow();

  create_top_level(window_table.win_projection, PROJECTION_X, PROJECTION_Y,
                   "3D B-Spline Projection", 0);
  glutDisplayFunc(proj_display);
  glutReshapeFunc(proj_reshape);
  glutMouseFunc(proj_mouse);
  glutMotionFunc(proj_motion);
  enable_blending();

  create_top_level(window_table.win_main, MAIN_X, MAIN_Y, "2D NURBS Curve", MAIN_EXTRA_ROW);
  glutDisplayFunc(main_display);
  glutReshapeFunc(main_reshape);
  set_clear_colour(COLOUR_PANEL_GREY);

  create_sub(window_table.win_knots, KNOTS_PLACE);
  glutDisplayFunc(knot_panel_display);
  glutReshapeFunc(knot_panel_reshape);
  glutMouseFunc(knot_panel_mouse);
  glutMotionFunc(knot_panel_motion);
  set_clear_colour(COLOUR_PANEL_GREY);

  create_sub(window_table.win_panel, PANEL_PLACE);
  glutDisplayFunc(panel_display);
  glutReshapeFunc(panel_reshape);
  glutMouseFunc(panel_mouse);
  glutMotionFunc(panel_motion);
  set_clear_colour(COLOUR_PANEL_GREY);

  create_sub(window_table.win_pad, PAD_PLACE);
  glutDisplayFunc(pad_display);
  glutReshapeFunc(pad_reshape);
  glutMouseFunc(pad_mouse);
  glutMotionFunc(pad_motion);
  glutPassiveMotionFunc(empty_motion);
  glutEntryFunc(empty_entry);
  glutKeyboardFunc(empty_keyboard);
  enable_blending();
  sphere_quadric = new_filled_quadric();
  axis_quadric = new_filled_quadric();
  cone_quadric = new_filled_quadric();
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

  glutSetWindow(window_table.win_main.id);
}
