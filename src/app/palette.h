// Named colour palette: 36 RGBA rows that the drawing code reads directly,
// plus the de Boor level colour table. Row "Current Curve" is written once at
// start-up with the edited curve's colour; nothing else writes the palette.
#pragma once

constexpr int PALETTE_ROWS = 36;
constexpr int PALETTE_NAME_SIZE = 30;  // 29 characters and the terminator
constexpr int LEVEL_COLOUR_COUNT = 10;

// Row indices, named after the rows.
enum PaletteRow {
  PAL_PLACEHOLDER = 0,
  PAL_MAINWIN_BACKGROUND = 1,
  PAL_SUBWIN1_BACKGROUND = 2,
  PAL_SUBWIN3_BACKGROUND = 3,
  PAL_SUBWIN4_BACKGROUND = 4,
  PAL_DRAWING_CANVAS = 5,
  PAL_CURRENT_CURVE = 6,
  PAL_CONTROL_POINT = 7,
  PAL_CONTROL_POINT_INDEX = 8,
  PAL_SELECTED_POINT = 9,
  PAL_TRACING_POINT = 10,
  PAL_KNOT_POINT = 11,
  PAL_CONVEX_HULL = 12,
  PAL_CONVEX_HULL_POINT = 13,
  PAL_CONTROL_POLYGON = 14,
  PAL_TANGENT_VECTOR = 15,
  PAL_BINORMAL_VECTOR = 16,
  PAL_NORMAL_VECTOR = 17,
  PAL_CURVATURE_SPHERE = 18,
  PAL_COORDINATE_AXES = 19,
  PAL_COORDINATE_NAME = 20,
  PAL_DEBOOR_1 = 21,  // first of the ten level colours
  PAL_DATA_POINT = 31,
  PAL_DATA_POINT_INDEX = 32,
  PAL_SELECTED_DATA_POINT = 33,
  PAL_DATA_POINT_POLYGON = 34,
  PAL_DRAWING_PAD = 35,  // grid lines
};

// The table: all colours, then all names; row i is entry i of both.
struct Palette {
  float colours[PALETTE_ROWS][4];
  char names[PALETTE_ROWS][PALETTE_NAME_SIZE];
};

extern Palette palette;

// Fixed colours of the controls and window backgrounds, beside the table and
// not part of it.
constexpr float COLOUR_BLACK[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr float COLOUR_WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float COLOUR_RED[4] = {1.0f, 0.0f, 0.0f, 1.0f};
constexpr float COLOUR_BLUE[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr float COLOUR_PANEL_GREY[4] = {0.85f, 0.85f, 0.85f, 1.0f};  // panels and dialogs
constexpr float COLOUR_DARK_GREEN[4] = {0.0f, 0.5f, 0.0f, 1.0f};  // knots outside the valid range

// Points at row "DeCasteljau/Deboor 1"; level r of the de Boor triangle takes
// entry (r + 1) % 10.
extern float (*level_colours)[4];
