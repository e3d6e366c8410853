// Knot panel: hosts the knot bar, loads it from the edited curve and forwards
// mouse events to it. Panel pixels with y up. Callbacks registered at start-up.
#pragma once

#include "curve/curve.h"

// Offset of a closed curve's valid range from its knots: half a bar step.
constexpr float CLOSED_RANGE_OFFSET = 0.0005f;

void knot_panel_reshape(int width, int height);
void knot_panel_display();
void knot_panel_mouse(int button, int state, int x, int y);
void knot_panel_motion(int x, int y);
// Gathers the knots of every curve joined to `curve` into knot_list_curve;
// returns their number.
int merge_joined_knots(Curve* curve);
