// Horizontal value slider: drawing, arrow clicks, thumb drags with snapping,
// and the optional piecewise map of the shown number. Window pixels, y up.
#include "widgets/slider.h"

#include "app/palette.h"
#include "widgets/button.h"
#include "widgets/value_steps.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

namespace {

constexpr float THUMB_HELD_GREY = 0.75f;  // thumb fill while dragged
constexpr float THUMB_GREY = 0.5f;        // thumb fill at rest

constexpr const char* DEFAULT_FORMAT = "%5.2f";  // used when a record has no format

constexpr int TRACK_MARGIN = 25;      // px from either end to the thumb's travel
constexpr int TRACK_LEFT = 23;        // px from x1 to the track's left end
constexpr int TRACK_RISE = 7;         // px from y1 to the track's centre line
constexpr float TRACK_WIDTH = 12.0f;  // px
constexpr float ARROW_LINE_WIDTH = 1.0f;
constexpr int THUMB_GRAB = 8;    // px either side of thumb_x that take the thumb
constexpr int BODY_DEAD = 22;    // px at either end of the body that take nothing
constexpr int BODY_BELOW = 2;    // px below y1 that still belong to the body
constexpr int BODY_TOP = 14;     // px above y1, top of the body
constexpr int ARROW_LEFT = 20;   // arrow column from x2 - 20 ...
constexpr int ARROW_RIGHT = 10;  // ... to x2 - 10
constexpr int DOWN_TOP = 7;      // decrease arrow's box: y1 .. y1 + 7; row y1 + 8 takes nothing
constexpr int UP_BOTTOM = 9;     // increase arrow's box: y1 + 9 .. y1 + 16
constexpr int UP_TOP = 16;
constexpr int VALUE_LEFT_SHIFT = 4;  // px left of the centre to the value text
constexpr int VALUE_RISE = 14;       // px above y1 to the value text
constexpr int MIN_LEFT = 17;         // min text at (x1 + 17, y1 + 16)
constexpr int MIN_RISE = 16;
constexpr int MAX_LEFT = 30;  // max text at (x2 - 30, y1 + 17)
constexpr int MAX_RISE = 17;
constexpr int ARROW_BASE_LEFT = 18;   // arrow triangles' bases from x2 - 18 ...
constexpr int ARROW_BASE_RIGHT = 12;  // ... to x2 - 12
constexpr int ARROW_TIP = 15;         // tips at x2 - 15
constexpr int UP_ARROW_BASE = 12;     // increase arrow: base at y1 + 12, tip at y1 + 15
constexpr int UP_ARROW_TIP = 15;
constexpr int DOWN_ARROW_BASE = 5;  // decrease arrow: base at y1 + 5, tip at y1 + 1
constexpr int DOWN_ARROW_TIP = 1;
constexpr int THUMB_BOX_LEFT = 6;     // thumb's bevel from x - 6 ...
constexpr int THUMB_HALF_WIDTH = 5;   // ... to x + 5; its fill from x - 5 to x + 5
constexpr int THUMB_BOX_BOTTOM = 2;   // bevel from y1 + 2 ...
constexpr int THUMB_FILL_BOTTOM = 3;  // ... fill from y1 + 3 ...
constexpr int THUMB_TOP = 11;         // ... both up to y1 + 11

// Track length L: the thumb's travel in pixels.
int track_length(const Slider* s) {
  return s->x2 - s->x1 - 2 * TRACK_MARGIN;
}

// Prints v with the record's format at (x, y) in the current colour.
void print_number(const Slider* s, int x, int y, float v) {
  char text[SLIDER_TEXT_SIZE];
  const char* format = s->format != nullptr ? s->format : DEFAULT_FORMAT;
  std::snprintf(text, sizeof text, format, static_cast<double>(v));
  glRasterPos2i(x, y);
  draw_bitmap_text(text, GLUT_BITMAP_TIMES_ROMAN_10);
}

// The two arrow triangles, in black: increase pointing up, decrease pointing down.
void emit_arrows(const Slider* s) {
  glColor4fv(COLOUR_BLACK);
  glLineWidth(ARROW_LINE_WIDTH);
  glBegin(GL_TRIANGLES);
  glVertex2i(s->x2 - ARROW_BASE_LEFT, s->y1 + UP_ARROW_BASE);
  glVertex2i(s->x2 - ARROW_TIP, s->y1 + UP_ARROW_TIP);
  glVertex2i(s->x2 - ARROW_BASE_RIGHT, s->y1 + UP_ARROW_BASE);
  glVertex2i(s->x2 - ARROW_BASE_LEFT, s->y1 + DOWN_ARROW_BASE);
  glVertex2i(s->x2 - ARROW_TIP, s->y1 + DOWN_ARROW_TIP);
  glVertex2i(s->x2 - ARROW_BASE_RIGHT, s->y1 + DOWN_ARROW_BASE);
  glEnd();
}

// The value one arrow click away: the neighbouring point k * step of the step
// grid, so that clicks gather no float error (ten steps of 0.1 down from 1 land
// on 0 itself, not on -7.45e-8). A step that is not positive moves as it is.
float arrow_value(const Slider* s, int clicks) {
  if (!(s->step > 0.0f)) return s->value + static_cast<float>(clicks) * s->step;
  const double k = std::round(static_cast<double>(s->value) / s->step) + clicks;
  return static_cast<float>(k * s->step);
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Pixel x of value v: (v - min) / (max - min) * L + x1 + 25, truncated.
int slider_thumb_x(const Slider* slider, float v) {
  const float span = slider->max - slider->min;
  const int left = slider->x1 + TRACK_MARGIN;
  if (!(span > 0.0f) || !std::isfinite(v)) return left;
  // In double throughout: 2.2f - -3.0f rounds down in float and would put the
  // thumb of 2.2 one pixel left of 93, its exact place.
  const double p = (static_cast<double>(v) - slider->min) / span * track_length(slider) + left;
  return pixel_from_double(p);
}

namespace {

// The arrows come from a display list compiled on the first draw, which also
// places the thumb; the list is called on that draw too, so no frame lacks them.
void draw_arrows(Slider* s) {
  if (s->arrow_list == 0) {
    if (s->mapped == 1) slider_map(s, 0);
    s->arrow_list = glGenLists(1);
    if (s->arrow_list != 0) {
      glNewList(s->arrow_list, GL_COMPILE);
      emit_arrows(s);
      glEndList();
    }
    s->thumb_x = slider_thumb_x(s, s->value);
  }
  if (s->arrow_list != 0) {
    glCallList(s->arrow_list);
  } else {
    emit_arrows(s);
  }
}

// The track, shading from white on the left to black on the right, the value
// above it in blue and the range's ends in red.
void draw_track_and_numbers(const Slider* s) {
  glLineWidth(TRACK_WIDTH);
  glBegin(GL_LINES);
  glColor4fv(COLOUR_WHITE);
  glVertex2i(s->x1 + TRACK_LEFT, s->y1 + TRACK_RISE);
  glColor4fv(COLOUR_BLACK);
  glVertex2i(s->x2 - TRACK_MARGIN, s->y1 + TRACK_RISE);
  glEnd();

  glColor4fv(COLOUR_BLUE);
  print_number(s, s->x1 + (s->x2 - s->x1) / 2 - VALUE_LEFT_SHIFT, s->y1 + VALUE_RISE,
               s->mapped == 1 ? s->shown : s->value);
  glColor4fv(COLOUR_RED);
  print_number(s, s->x1 + MIN_LEFT, s->y1 + MIN_RISE, s->min);
  print_number(s, s->x2 - MAX_LEFT, s->y1 + MAX_RISE, s->max);
}

// The two arrow boxes, sunken while their arrow is held.
void draw_arrow_boxes(const Slider* s) {
  const int ax1 = s->x2 - ARROW_LEFT;
  const int ax2 = s->x2 - ARROW_RIGHT;
  if (s->up_pressed) {
    draw_sunken_box(ax1, s->y1 + UP_BOTTOM, ax2, s->y1 + UP_TOP);
  } else {
    draw_raised_box(ax1, s->y1 + UP_BOTTOM, ax2, s->y1 + UP_TOP);
  }
  if (s->down_pressed) {
    draw_sunken_box(ax1, s->y1, ax2, s->y1 + DOWN_TOP);
  } else {
    draw_raised_box(ax1, s->y1, ax2, s->y1 + DOWN_TOP);
  }
}

// The thumb at thumb_x: the fill covers the box's inside, and the box's lit
// left and shadowed bottom edges frame it. The fill colour is left current.
void draw_thumb(const Slider* s) {
  const int tx = s->thumb_x;
  draw_raised_box(tx - THUMB_BOX_LEFT, s->y1 + THUMB_BOX_BOTTOM, tx + THUMB_HALF_WIDTH,
                  s->y1 + THUMB_TOP);
  const float grey = s->dragging ? THUMB_HELD_GREY : THUMB_GREY;
  glColor4f(grey, grey, grey, 1.0f);
  glBegin(GL_POLYGON);
  glVertex2i(tx - THUMB_HALF_WIDTH, s->y1 + THUMB_FILL_BOTTOM);
  glVertex2i(tx + THUMB_HALF_WIDTH, s->y1 + THUMB_FILL_BOTTOM);
  glVertex2i(tx + THUMB_HALF_WIDTH, s->y1 + THUMB_TOP);
  glVertex2i(tx - THUMB_HALF_WIDTH, s->y1 + THUMB_TOP);
  glEnd();
}

}  // namespace

// Draws the whole slider; the arrows come from a display list built on the first draw.
void slider_draw(Slider* slider) {
  if (slider == nullptr) return;
  draw_arrows(slider);
  draw_track_and_numbers(slider);
  // A held thumb stays where the pointer put it.
  if (slider->dragging == 0) slider->thumb_x = slider_thumb_x(slider, slider->value);
  draw_arrow_boxes(slider);
  draw_thumb(slider);
}

// One mouse button event in window coordinates; only the first matching case acts.
void slider_mouse(Slider* slider, int button, int state, int x, int y) {
  if (slider == nullptr) return;
  Slider* s = slider;
  const bool left_press = button == GLUT_LEFT_BUTTON && state == GLUT_DOWN;
  const bool in_arrows =
      s->x2 - ARROW_LEFT <= x && x <= s->x2 - ARROW_RIGHT && s->y1 <= y && y <= s->y1 + UP_TOP;
  const bool in_body = s->x1 <= x && x <= s->x2 && s->y1 - BODY_BELOW <= y && y <= s->y1 + BODY_TOP;

  if (left_press && in_arrows) {
    // An arrow click leaves `changed` alone: the owner decides when to apply the value.
    if (y <= s->y1 + DOWN_TOP) {
      s->value = step_box_value(arrow_value(s, -1), -1, s->min, s->max);
      s->thumb_x = slider_thumb_x(s, s->value);
      s->down_pressed = 1;
    } else if (y >= s->y1 + UP_BOTTOM) {
      s->value = step_box_value(arrow_value(s, 1), 1, s->min, s->max);
      s->thumb_x = slider_thumb_x(s, s->value);
      s->up_pressed = 1;
    } else {
      s->changed = 0;  // the row y1 + 8 between the arrows
    }
    if (s->mapped == 1) slider_map(s, 1);
  } else if (left_press && in_body) {
    if (x < s->x1 + BODY_DEAD || x > s->x2 - BODY_DEAD) {
      s->changed = 0;
    } else if (s->thumb_x - THUMB_GRAB <= x && x <= s->thumb_x + THUMB_GRAB) {
      s->dragging = 1;
      s->drag_x = x;
      s->drag_y = y;
    }
    if (s->mapped == 1) slider_map(s, 1);
  } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
    s->dragging = 0;
    s->changed = 0;
    s->up_pressed = 0;
    s->down_pressed = 0;
  } else {
    s->changed = 0;
  }
}

// One motion event: the held thumb follows the pointer, the value snaps to the step grid.
void slider_drag(Slider* slider, int x, int y) {
  if (slider == nullptr) return;
  Slider* s = slider;
  if (s->dragging != 1) {
    s->changed = 0;
    return;
  }
  const int left = s->x1 + TRACK_MARGIN;
  const long long moved = static_cast<long long>(s->thumb_x) + x - s->drag_x;
  const int thumb = clamp_pixel(moved, left, s->x2 - TRACK_MARGIN);
  s->thumb_x = thumb;

  // Offset from min in value units, then the nearest step (d >= 0, so +0.5 rounds half up).
  const int length = track_length(s);
  const float d =
      length > 0 ? static_cast<float>((thumb - left) * (s->max - s->min) / length) : 0.0f;
  const float k = s->step > 0.0f ? std::floor(d / s->step + 0.5f) : 0.0f;
  s->value = s->min + k * s->step;

  s->drag_x = x;
  s->drag_y = y;
  if (s->mapped == 1) slider_map(s, 1);
}

// Keeps value and shown in step through the piecewise map (A inside [-1, 1], slope B outside).
void slider_map(Slider* slider, int direction) {
  if (slider == nullptr || slider->mapped == 0) return;
  Slider* s = slider;
  const float a = static_cast<float>(s->inner_scale);
  const float b = static_cast<float>(s->outer_slope);
  if (direction == 1) {
    if (s->value >= -1.0f && s->value <= 1.0f) {
      s->shown = a * s->value;
    } else if (s->value < -1.0f) {
      s->shown = (s->value + 1.0f) * b - a;
    } else {
      s->shown = (s->value - 1.0f) * b + a;
    }
    return;
  }
  // The inverse; a zero scale or slope flattens its piece, whose inverse is then its end.
  if (s->shown >= -a && s->shown <= a) {
    s->value = a != 0.0f ? s->shown / a : 0.0f;
  } else if (s->shown < -a) {
    s->value = b != 0.0f ? (s->shown + a) / b - 1.0f : -1.0f;
  } else {
    s->value = b != 0.0f ? (s->shown - a) / b + 1.0f : 1.0f;
  }
}
