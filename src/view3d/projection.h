// Projection window "3D B-Spline Projection": the lifted curve, the axes, the
// projection lines with their cones and, in the plane z = 1, the grid and the
// edited curve; turned by left drags (degrees). Callbacks registered at start-up.
#pragma once

// Radians to degrees as the cone rotations use it.
constexpr double DEG_PER_RAD = 57.295827908797776;

extern double view_matrix[16];  // accumulated drag rotations, column-major
extern int rot_step_x;          // degrees about the window's horizontal axis, last drag step
extern int rot_step_y;          // degrees about the window's vertical axis, last drag step
extern int proj_dragging;       // 1 while the left button is held
extern int proj_last_x;         // window x of the press or last drag step
extern int proj_last_y;         // window y (up) of the same

void proj_reshape(int width, int height);
void proj_display();
void proj_mouse(int button, int state, int x, int y);
void proj_motion(int x, int y);
void draw_projection_lines();
