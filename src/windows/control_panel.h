// Control panel: the weight slider, the de Boor and grid switches, zoom and
// 3D grid buttons, New, Reset, About and Quit. Owns its widgets and
// saved_degree; the pad reads chk_grid and writes weight_slider.value.
// Coordinates are panel pixels with y up (615 rows, widgets in the top 75).
#pragma once

#include "widgets/button.h"
#include "widgets/slider.h"

constexpr float ZOOM_FACTOR = 1.5f;  // one press of " +" or " -"
// The zoom stops this many presses away from its start in either direction:
// far beyond any lesson, and well short of where the scene's coordinates
// would stop being finite floats in the projection window.
constexpr int ZOOM_PRESS_LIMIT = 40;

extern Button btn_new;
extern Button btn_reset;
extern Button btn_about;
extern Button btn_quit;
extern Button btn_zoom_in;
extern Button btn_zoom_out;
extern Button btn_grid;
extern Button chk_deboor;
extern Button chk_points;
extern Button chk_grid;
extern Slider weight_slider;
extern int saved_degree;  // edited curve's degree when the new-curve window opened

void panel_reshape(int width, int height);
void panel_display();
void panel_mouse(int button, int state, int x, int y);
void panel_motion(int x, int y);
