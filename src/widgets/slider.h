// Horizontal value slider with a draggable thumb, step arrows and printed
// range. Owned by the control panel (the weight slider); coordinates are
// window pixels with y up, values in the slider's own unit.
#pragma once

constexpr int SLIDER_TEXT_SIZE = 8;  // formatted numbers: 7 characters and the terminator

struct Slider {
  int x1;                      // left end
  int y1;                      // base line: bottom of the decrease arrow's box
  int x2;                      // right end
  int y2;                      // top (y1 + 16); not read
  int thumb_x;                 // x of the thumb's centre
  float min;                   // lowest value
  float max;                   // highest value
  float step;                  // arrow step and drag snapping grid
  float value;                 // current value
  const char* format;          // printf format of the three numbers
  unsigned int arrow_list;     // display list of the arrows, 0 = not built
  int mapped;                  // 1 = the number shown is `shown`
  int inner_scale;             // A of the piecewise map
  int outer_slope;             // B of the piecewise map
  float shown;                 // mapped value, valid when mapped is 1
  int drag_x;                  // x of the last thumb press or drag step
  int drag_y;                  // y of the same event, stored only
  int dragging;                // 1 while the thumb is held
  int changed;                 // set by the owner before a drag; cleared when nothing moved
  unsigned char up_pressed;    // 1 while the increase arrow is held
  unsigned char down_pressed;  // 1 while the decrease arrow is held
};

// Pixel x of a value: the one value-to-pixel map, used by drawing and hit tests.
int slider_thumb_x(const Slider* slider, float v);
void slider_draw(Slider* slider);
void slider_mouse(Slider* slider, int button, int state, int x, int y);
void slider_drag(Slider* slider, int x, int y);
// Keeps value and shown in step: direction 1 maps value to shown, 0 shown to value.
void slider_map(Slider* slider, int direction);
