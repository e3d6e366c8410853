// Projection window "3D B-Spline Projection": the lifted curve, the axes, the
// projection lines with their cones and, in the plane z = s, the grid and the
// edited curve; left drags turn the scene.
#include "view3d/projection.h"

#include "app/shell.h"
#include "view3d/renderer.h"

#include <GL/freeglut.h>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

double view_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
int rot_step_x = 0;
int rot_step_y = 0;
int proj_dragging = 0;
int proj_last_x = 0;
int proj_last_y = 0;

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr double ORTHO_DEPTH = 3000.0;        // window pixels of depth either side of z = 0
constexpr double SCREEN_SCALE = 2.7;          // pixels per unit before zoom and view scale
constexpr double VIEW_SCALE = 10.0;           // scale of the fixed view
constexpr double VIEW_TURN_Y = 30.0;          // degrees about y of the fixed view
constexpr double VIEW_TILT_X = -70.0;         // degrees about x of the fixed view
constexpr int DRAG_DEGREES_PER_WIDTH = 1080;  // one window width of drag = three turns
constexpr int FULL_TURN = 360;                // degrees

constexpr float LINE_COLOUR[4] = {0.0f, 0.0f, 0.0f, 0.5f};   // translucent black
constexpr float TRACE_COLOUR[4] = {0.0f, 0.8f, 0.0f, 1.0f};  // green

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// Drag step in degrees: one window extent is DRAG_DEGREES_PER_WIDTH, the
// quotient truncated toward zero and the remainder keeping the step's sign.
int drag_degrees(int pixels, int extent) {
  if (extent <= 0) return 0;
  return (pixels * DRAG_DEGREES_PER_WIDTH) / extent % FULL_TURN;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Holds the window at its table size and resets the accumulated rotation.
void proj_reshape(int width, int height) {
  const WindowEntry& win = window_table.win_projection;
  if (width != win.width || height != win.height) glutReshapeWindow(win.width, win.height);
  set_depth_projection(width, height, ORTHO_DEPTH);
  glGetDoublev(GL_MODELVIEW_MATRIX, view_matrix);
}

// Draws the lifted curve, axes, projection lines, then the plane z = s with
// the grid and the edited curve.
void proj_display() {
  const WindowEntry& win = window_table.win_projection;
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_LIGHTING);

  glPushMatrix();
  glPushAttrib(GL_CURRENT_BIT);
  glPushMatrix();
  glLoadIdentity();
  glTranslated(win.width / 2.0, win.height / 2.0, 0.0);
  glScaled(SCREEN_SCALE, SCREEN_SCALE, SCREEN_SCALE);
  glScaled(proj_zoom, proj_zoom, proj_zoom);
  glRotated(rot_step_x, 1.0, 0.0, 0.0);
  glRotated(rot_step_y, 0.0, 1.0, 0.0);
  glMultMatrixd(view_matrix);

  // Steps are applied in screen axes, before everything turned so far: fold
  // this one into the accumulated rotation.
  glPushMatrix();
  glLoadIdentity();
  glRotated(rot_step_x, 1.0, 0.0, 0.0);
  glRotated(rot_step_y, 0.0, 1.0, 0.0);
  glMultMatrixd(view_matrix);
  glGetDoublev(GL_MODELVIEW_MATRIX, view_matrix);
  glPopMatrix();

  glRotated(VIEW_TURN_Y, 0.0, 1.0, 0.0);
  glRotated(VIEW_TILT_X, 1.0, 0.0, 0.0);
  glScaled(VIEW_SCALE, VIEW_SCALE, VIEW_SCALE);

  draw_curve(lifted_curve);
  draw_axes(1);
  draw_projection_lines();
  glTranslated(0.0, 0.0, plane_height);
  if (proj_grid != 0) draw_grid();
  draw_curve(edited_curve);

  glPopMatrix();
  glPopAttrib();
  glPopMatrix();
  glutSwapBuffers();
}

// A line and cone from the origin to every lifted point, then to the tracing point.
void draw_projection_lines() {
  // The lifted curve mirrors the edited curve's n points; a closed curve's
  // wrapped copy exists only while drawing, so only the n points get a line.
  const Curve* lifted = lifted_curve;
  if (lifted != nullptr) draw_rays(lifted->points.data(), lifted->point_count, LINE_COLOUR);

  const double t[3] = {tracing_point_3d[0], tracing_point_3d[1], tracing_point_3d[2]};
  glColor4fv(TRACE_COLOUR);
  draw_ray_cone(t);
  draw_ray_line(t);
}

// Left press starts a drag, left release ends it; nothing is redrawn here.
void proj_mouse(int button, int state, int x, int y) {
  const int y_up = window_y_up(window_table.win_projection.height, y);
  if (button != GLUT_LEFT_BUTTON) return;
  if (state == GLUT_DOWN) {
    proj_last_x = x;
    proj_last_y = y_up;
    proj_dragging = 1;
  } else if (state == GLUT_UP) {
    rot_step_x = 0;
    rot_step_y = 0;
    proj_dragging = 0;
  }
}

// Turns the pointer's motion since the last event into the step rotation.
void proj_motion(int x, int y) {
  const WindowEntry& win = window_table.win_projection;
  const int y_up = window_y_up(win.height, y);
  if (proj_dragging != 1) return;
  rot_step_y = drag_degrees(x - proj_last_x, win.width);
  rot_step_x = drag_degrees(y_up - proj_last_y, win.height);
  proj_last_x = x;
  proj_last_y = y_up;
  glutPostRedisplay();
}
