// Shared state of the application shell: the global curves, the window table,
// redisplay by code, the display switches and the About text. Every window
// and the renderer read it; only the curve model is included from here.
// Window sizes are pixels; redisplay codes are '1' knot panel, '2' drawing
// pad, '3' control panel, 'N' new-curve window, 'S' projection window.
#pragma once

#include "app/palette.h"
#include "curve/curve.h"

#include <GL/glu.h>

//------------------------------------------------------------------------------
// Window table
//------------------------------------------------------------------------------

struct WindowEntry {
  int id;      // GLUT window id, 0 until created
  int width;   // pixels, as last reported by the window's reshape
  int height;  // pixels
};

struct WindowTable {
  WindowEntry win_main;        // "2D NURBS Curve"
  WindowEntry win_knots;       // knot panel, subwindow of win_main
  WindowEntry win_pad;         // drawing pad, subwindow of win_main
  WindowEntry win_panel;       // control panel, subwindow of win_main
  WindowEntry win_projection;  // "3D B-Spline Projection", held at its size
  WindowEntry win_new_curve;   // "Create New 2D NURBS", hidden at start
  WindowEntry win_about;       // "About Ternival", hidden at start
};

extern WindowTable window_table;

// Posts a redisplay to each window named by a code, in order; other
// characters are skipped. The caller's current window stays current.
void redisplay(const char* codes);
// Runs the GLUT call on the window with the id (nothing when it is 0, not
// created yet), then makes the caller's window current again.
void window_run(int id, void (*action)());
// Records a 2D window's size and sets up pixel coordinates with y up over it.
void window_reshape(WindowEntry* win, int width, int height);
// GLUT mouse y to rows counted upwards as height - y: one row above what
// flip_y gives, the convention of the pad, the knot panel, the About window
// and the projection window.
int window_y_up(int height, int y);
// GLUT mouse y (0 at the top) to window y (0 at the bottom), by the current
// viewport: the convention of the control panel and the new-curve window.
int flip_y(int y);

//------------------------------------------------------------------------------
// Global curves and shared switches
//------------------------------------------------------------------------------

extern Curve* edited_curve;     // the 2D rational curve the user builds (kind 3)
extern Curve* lifted_curve;     // its lift, a 3D non-rational B-spline (kind 2)
extern Curve* knot_list_curve;  // knots gathered from joined curves (kind 3)

extern int show_deboor;         // 1 = draw the de Boor levels as polylines
extern int show_deboor_points;  // 1 = draw the points of levels 1 and up
extern int proj_grid;           // 1 = grid in the projection plane
constexpr float PROJ_ZOOM_START = 2.0f;
extern float proj_zoom;      // scale of the 3D scene, PROJ_ZOOM_START at start
extern int selection_count;  // leading entries of edited_curve->selected in use, 1..20
// selection_count kept within 0 .. SELECTION_MAX, whatever was stored in it.
int selection_used();

// Quadrics of the scene, all GLU_FILL; created with the drawing pad.
extern GLUquadric* sphere_quadric;  // tracing and knot point spheres
extern GLUquadric* axis_quadric;    // axis shafts
extern GLUquadric* cone_quadric;    // axis heads and projection cones

constexpr int ABOUT_TEXT_SIZE = 2600;
extern char about_text[ABOUT_TEXT_SIZE];  // whole About text, lines ended by '\n'

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Creates the edited (blue) and lifted (red) curves, knot type 302.
void init_curves();
// Creates the knot-list curve, points level_colours, fills about_text.
void init_shared();
// Frees the edited and lifted curves and creates them afresh.
void curves_reset();

// Sets the clear colour from an RGBA array.
void set_clear_colour(const float* rgba);
// Viewport over the whole window and gluOrtho2D over its pixels (y up, one
// unit a pixel), modelview left current: the set-up of every 2D window.
void set_pixel_projection(int width, int height);

// Viewport over the whole window and glOrtho over its pixels with `depth`
// units either side of z = 0, modelview current and reset: the set-up of the
// windows that draw curves (the pad and the projection window).
void set_depth_projection(int width, int height, double depth);

// Main window callbacks: clear and swap; reshape does nothing.
void main_display();
void main_reshape(int width, int height);

// Callbacks for events a window does not use.
void empty_motion(int x, int y);
void empty_entry(int state);
void empty_keyboard(unsigned char key, int x, int y);
