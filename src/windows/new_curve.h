// New-curve window "Create New 2D NURBS": degree and knot-type check boxes,
// OK and Cancel. Window pixels with y up. Callbacks registered at start-up.
#pragma once

#include "widgets/button.h"

extern Button btn_ok;
extern Button btn_cancel;
extern Button chk_degree_1;
extern Button chk_degree_2;
extern Button chk_degree_3;
extern Button chk_degree_4;
extern Button chk_degree_5;
extern Button chk_degree_6;
extern Button chk_degree_7;
extern Button chk_degree_8;
extern Button chk_degree_9;
extern Button chk_degree_10;
extern Button chk_uniform;
extern Button chk_clamped;
extern Button chk_closed;

void new_curve_reshape(int width, int height);
void new_curve_display();
void new_curve_mouse(int button, int state, int x, int y);
void clear_degree_boxes();
void clear_knot_type_boxes();
void read_degree_boxes();
