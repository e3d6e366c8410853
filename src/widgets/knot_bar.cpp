// Vertical knot bar: the axis with its knot marks, the thumb of the tracing
// parameter, step boxes, and knot and thumb drags. Window pixels, y up;
// every x is an offset from x1.
#include "widgets/knot_bar.h"

#include "app/palette.h"
#include "curve/curve.h"
#include "widgets/button.h"
#include "widgets/knot_labels.h"
#include "widgets/value_steps.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

KnotBar knot_bar = {
    40,                  // x1
    50,                  // y1
    60,                  // x2
    500,                 // y2
    0,                   // thumb_y
    0.0f,                // min
    1.0f,                // max
    0.001f,              // step
    0.0f,                // value
    1000,                // steps_per_unit
    "%5.3f",             // format
    0.0f,                // lo
    1.0f,                // hi
    0,                   // list_id
    0,                   // last_x
    0,                   // last_y
    0,                   // press_y
    KNOT_BAR_NONE,       // drag_mode
    0,                   // drag_index
    0,                   // drag_mult
    0,                   // changed
    0,                   // knot_count
    nullptr,             // knots
    0.0f,                // range_lo
    0.0f,                // range_hi
    {0.0f, 0.0f, 0.0f},  // range_colour
    0,                   // merged_count
    nullptr,             // merged_knots
    KNOT_CLAMPED,        // knot_type, the type of every new curve
};

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

namespace {

constexpr const char* DEFAULT_FORMAT = "%5.3f";  // used when a record has no format

constexpr float AXIS_WIDTH = 2.0f;     // px, axis, ticks and range bracket
constexpr int END_MARGIN = 15;         // px from y1 / y2 to the ends of the axis
constexpr int AXIS_X = 17;             // axis column
constexpr int TICK_LEFT = 10;          // end ticks from x1 + 10 ...
constexpr int TICK_RIGHT = 25;         // ... to x1 + 25
constexpr int BOX_LEFT = 8;            // step boxes from x1 + 8 ...
constexpr int BOX_RIGHT = 27;          // ... to x1 + 27, also the bar's hit width
constexpr int BOX_HEIGHT = 10;         // px
constexpr int END_LABEL_LEFT = 30;     // end labels at x1 + 30
constexpr int DEAD_ZONE = 12;          // px from y1 / y2 in which a press takes nothing
constexpr int THUMB_LEFT = 14;         // thumb quad from x1 + 14 ...
constexpr int THUMB_RIGHT = 22;        // ... to x1 + 22
constexpr int THUMB_HALF = 3;          // px, half height of the thumb quad
constexpr int THUMB_COLUMN_LEFT = 15;  // thumb column of hit tests: x1 + 15 .. x1 + 22
constexpr int THUMB_GRAB = 8;          // px either side of thumb_y that take the thumb
constexpr int SEARCH_REACH = 3;        // px either side of the pointer searched for a knot
constexpr int BRACKET_OUTER = 23;      // range bracket's arms end at x1 + 23 ...
constexpr int BRACKET_INNER = 19;      // ... and its spine runs at x1 + 19
constexpr int VALUE_LEFT = 6;          // value label at (x1 + 6, y1 - 15)
constexpr int VALUE_DROP = 15;

// Pixel length H of the axis.
int axis_length(const KnotBar* b) {
  return b->y2 - b->y1 - 2 * END_MARGIN;
}
// Pixel y of min, the bottom end of the axis.
int axis_bottom(const KnotBar* b) {
  return b->y1 + END_MARGIN;
}
// Pixel y of max, the top end of the axis.
int axis_top(const KnotBar* b) {
  return b->y2 - END_MARGIN;
}

// Clamps a pixel to the axis, in a wide type so no pointer motion can overflow.
int clamp_to_axis(const KnotBar* b, long long y) {
  return clamp_pixel(y, axis_bottom(b), axis_top(b));
}

// Value offset from min of a pixel offset along the axis, rounded to a float.
float offset_value(const KnotBar* b, int pixels) {
  const int h = axis_length(b);
  if (h <= 0) return 0.0f;
  return static_cast<float>(static_cast<double>(pixels) / h * (b->max - b->min));
}

// min + step * trunc(steps_per_unit * r + bias): r snapped to the step grid.
float snap(const KnotBar* b, float r, float bias) {
  return b->min + b->step * std::trunc(b->steps_per_unit * r + bias);
}

// Value of an axis pixel, snapped down to the step grid.
float grid_value(const KnotBar* b, int y) {
  return snap(b, offset_value(b, y - axis_bottom(b)), 0.0f);
}

// Lets go of a held item the host's array no longer has.
void drop_hold(KnotBar* b) {
  b->drag_mode = KNOT_BAR_NONE;
  b->changed = 0;
}

// A list the bar may touch: a null array counts as empty, a negative count as zero.
int usable_count(const float* list, int count) {
  return list == nullptr || count < 0 ? 0 : count;
}

// Formats one number (or a multiplicity and a number) and draws it at (x, y).
void print_at(int x, int y, const char* format, float v, int mult = -1) {
  char text[KNOT_BAR_TEXT_SIZE];
  if (mult >= 0) {
    std::snprintf(text, sizeof text, format, mult, static_cast<double>(v));
  } else {
    std::snprintf(text, sizeof text, format, static_cast<double>(v));
  }
  glRasterPos2i(x, y);
  draw_bitmap_text(text, GLUT_BITMAP_TIMES_ROMAN_10);
}

// Step boxes, red axis with end ticks, and the end labels.
void emit_static_part(const KnotBar* b, int with_controls, const char* format) {
  if (with_controls == 1) {
    glColor4fv(COLOUR_BLACK);
    draw_labelled_box(b->x1 + BOX_LEFT, b->y1, b->x1 + BOX_RIGHT, b->y1 + BOX_HEIGHT, "Dn",
                      GLUT_BITMAP_TIMES_ROMAN_10);
    draw_labelled_box(b->x1 + BOX_LEFT, b->y2 - BOX_HEIGHT, b->x1 + BOX_RIGHT, b->y2, "Up",
                      GLUT_BITMAP_TIMES_ROMAN_10);
  }
  glColor4fv(COLOUR_RED);
  glLineWidth(AXIS_WIDTH);
  glBegin(GL_LINES);
  glVertex2i(b->x1 + TICK_LEFT, axis_bottom(b));
  glVertex2i(b->x1 + TICK_RIGHT, axis_bottom(b));
  glVertex2i(b->x1 + AXIS_X, axis_bottom(b));
  glVertex2i(b->x1 + AXIS_X, axis_top(b));
  glVertex2i(b->x1 + TICK_LEFT, axis_top(b));
  glVertex2i(b->x1 + TICK_RIGHT, axis_top(b));
  glEnd();
  if (with_controls == 1) {
    print_at(b->x1 + END_LABEL_LEFT, b->y1, format, b->min);
    print_at(b->x1 + END_LABEL_LEFT, b->y2 - BOX_HEIGHT, format, b->max);
  }
}

std::vector<KnotGroup> knot_groups;  // groups of the list being drawn

// Marks one knot list: equal-looking neighbours are merged in place into groups,
// each group drawn once with its multiplicity.
void draw_knot_list(const KnotBar* b, float* list, int count) {
  const int n = usable_count(list, count);
  knot_groups.clear();
  int i = 0;
  while (i < n) {
    const float k = list[i];
    int f = 1;
    if (k < b->min || k > b->max) {
      ++i;
      continue;
    }
    while (i + f < n && std::fabs(list[i + f] - k) < b->step / 2.0f) {
      list[i + f] = k;
      ++f;
    }
    knot_groups.push_back(KnotGroup{k, f, knot_bar_y(b, k)});
    i += f;
  }

  knot_groups_draw(b, knot_groups.data(), static_cast<int>(knot_groups.size()));
}

// Takes the first knot whose value lies in [v_low, v_high], with its equal
// followers, unless that knot lies outside [lo, hi].
void take_knot(KnotBar* b, float v_low, float v_high, int x, int y) {
  const int n = usable_count(b->knots, b->knot_count);
  for (int i = 0; i < n; ++i) {
    const float k = b->knots[i];
    if (k < v_low || k > v_high) continue;
    if (k < b->lo || k > b->hi) return;
    int mult = 1;
    while (i + mult < n && b->knots[i + mult] == k) ++mult;
    b->drag_index = i;
    b->drag_mult = mult;
    b->drag_mode = KNOT_BAR_KNOT;
    b->last_x = x;
    b->last_y = y;
    b->press_y = y;
    return;
  }
}

// Moves the held knot group to the pixel y; the neighbours it passes step over it.
void drag_knot(KnotBar* b, int x, int y) {
  const int n = usable_count(b->knots, b->knot_count);
  // The host's array shrank under the hold: nothing left to move.
  if (b->drag_index < 0 || b->drag_mult < 1 || b->drag_index > n - b->drag_mult)
    return drop_hold(b);
  const int cy = clamp_to_axis(b, y);
  if (cy != b->last_y) {
    const float nv = grid_value(b, cy);
    // Only a uniform vector may put an inner knot exactly on an end of the valid range.
    if ((nv == b->hi || nv == b->lo) && b->knot_type != KNOT_UNIFORM) return;
    if (nv >= b->lo && nv <= b->hi) {
      float* t = b->knots;
      // The shift follows the new value rather than the pointer's direction: a press
      // a few pixels off the knot can make the first step go against the motion.
      while (b->drag_index > 0 && nv < t[b->drag_index - 1]) {
        t[b->drag_index + b->drag_mult - 1] = t[b->drag_index - 1];
        --b->drag_index;
      }
      while (b->drag_index + b->drag_mult < n && nv > t[b->drag_index + b->drag_mult]) {
        t[b->drag_index] = t[b->drag_index + b->drag_mult];
        ++b->drag_index;
      }
      for (int j = 0; j < b->drag_mult; ++j) t[b->drag_index + j] = nv;
    }
  }
  b->last_x = x;
  b->last_y = cy;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Y(v) = trunc((v - min) / (max - min) * H + y1 + 15).
int knot_bar_y(const KnotBar* bar, float v) {
  const float span = bar->max - bar->min;
  const int bottom = axis_bottom(bar);
  if (!(span > 0.0f) || !std::isfinite(v)) return bottom;
  return pixel_from_double(static_cast<double>(v - bar->min) / span * axis_length(bar) + bottom);
}

namespace {

// The static part from its display list, compiled on the first draw (which
// also places the thumb) and called on that draw too, so no frame lacks it.
void draw_static_part(KnotBar* b, int with_controls, const char* format) {
  if (b->list_id == 0) {
    b->list_id = glGenLists(1);
    if (b->list_id != 0) {
      glNewList(b->list_id, GL_COMPILE);
      emit_static_part(b, with_controls, format);
      glEndList();
    }
    b->thumb_y = knot_bar_y(b, b->value);
  }
  if (b->list_id != 0) {
    glCallList(b->list_id);
  } else {
    emit_static_part(b, with_controls, format);
  }
}

// The range bracket just right of the axis, in the host's colour.
void draw_range_bracket(const KnotBar* b) {
  const int lo_y = knot_bar_y(b, b->range_lo);
  const int hi_y = knot_bar_y(b, b->range_hi);
  glLineWidth(AXIS_WIDTH);
  glColor3fv(b->range_colour);
  glBegin(GL_LINE_STRIP);
  glVertex2i(b->x1 + BRACKET_OUTER, lo_y);
  glVertex2i(b->x1 + BRACKET_INNER, lo_y);
  glVertex2i(b->x1 + BRACKET_INNER, hi_y);
  glVertex2i(b->x1 + BRACKET_OUTER, hi_y);
  glEnd();
}

// The value under the "Dn" box and the thumb, both in blue.
void draw_value_and_thumb(const KnotBar* b, const char* format) {
  glColor4fv(COLOUR_BLUE);
  print_at(b->x1 + VALUE_LEFT, b->y1 - VALUE_DROP, format, b->value);
  glBegin(GL_QUADS);
  glVertex2i(b->x1 + THUMB_LEFT, b->thumb_y - THUMB_HALF);
  glVertex2i(b->x1 + THUMB_LEFT, b->thumb_y + THUMB_HALF);
  glVertex2i(b->x1 + THUMB_RIGHT, b->thumb_y + THUMB_HALF);
  glVertex2i(b->x1 + THUMB_RIGHT, b->thumb_y - THUMB_HALF);
  glEnd();
}

// A press on the axis away from the thumb column: the values whose pixels lie
// within 3 px of the pointer, snapped down to the step grid, are searched for
// a knot left of the thumb column.
void press_on_axis(KnotBar* b, int x, int y) {
  const int h = axis_length(b);
  const int t = y - 2 * SEARCH_REACH >= axis_bottom(b) ? y - axis_bottom(b) - SEARCH_REACH : 0;
  const int g = y + SEARCH_REACH <= axis_top(b) ? y - axis_bottom(b) + SEARCH_REACH : h;
  const float v_low = snap(b, offset_value(b, t), 0.0f);
  const float v_high = snap(b, offset_value(b, g), 0.0f);
  if (x <= b->x1 + THUMB_LEFT) take_knot(b, v_low, v_high, x, y);
}

}  // namespace

// Draws the static part (display list), knot marks, range bracket and thumb.
void knot_bar_draw(KnotBar* b, int with_controls) {
  if (b == nullptr) return;
  const char* format = b->format != nullptr ? b->format : DEFAULT_FORMAT;
  draw_static_part(b, with_controls, format);
  draw_knot_list(b, b->merged_knots, b->merged_count);
  draw_knot_list(b, b->knots, b->knot_count);
  draw_range_bracket(b);
  if (with_controls == 1) draw_value_and_thumb(b, format);
}

// One mouse button event in window pixels (y up): step boxes, thumb or knot grab.
void knot_bar_mouse(KnotBar* b, int button, int state, int x, int y) {
  if (b == nullptr) return;
  const bool left_press = button == GLUT_LEFT_BUTTON && state == GLUT_DOWN;
  const bool inside = b->x1 <= x && x <= b->x1 + BOX_RIGHT && b->y1 <= y && y <= b->y2;
  if (left_press && inside) {
    if (y <= b->y1 + BOX_HEIGHT) {
      b->value = step_box_value(b->value - b->step, -1, b->min, b->max);
      b->thumb_y = knot_bar_y(b, b->value);
    } else if (y >= b->y2 - BOX_HEIGHT) {
      b->value = step_box_value(b->value + b->step, 1, b->min, b->max);
      b->thumb_y = knot_bar_y(b, b->value);
    } else if (y < b->y1 + DEAD_ZONE || y > b->y2 - DEAD_ZONE) {
      b->changed = 0;
    } else if (x >= b->x1 + THUMB_COLUMN_LEFT && x <= b->x1 + THUMB_RIGHT) {
      if (b->thumb_y - THUMB_GRAB <= y && y <= b->thumb_y + THUMB_GRAB) {
        b->drag_mode = KNOT_BAR_THUMB;
        b->last_x = x;
        b->last_y = y;
      }
    } else {
      press_on_axis(b, x, y);
    }
  } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
    b->drag_mode = KNOT_BAR_NONE;
    b->changed = 0;
  } else {
    b->changed = 0;
  }
}

// One motion event: moves whatever drag_mode says is held.
void knot_bar_drag(KnotBar* b, int x, int y) {
  if (b == nullptr) return;
  switch (b->drag_mode) {
    case KNOT_BAR_THUMB: {
      const long long moved = static_cast<long long>(b->thumb_y) + y - b->last_y;
      b->thumb_y = clamp_to_axis(b, moved);
      // The value rounds to the nearest step; the thumb keeps its pixel.
      b->value = snap(b, offset_value(b, b->thumb_y - axis_bottom(b)), 0.5f);
      // The pointer's own y, so the thumb turns back as soon as the pointer does.
      b->last_x = x;
      b->last_y = y;
      break;
    }
    case KNOT_BAR_KNOT: drag_knot(b, x, y); break;
    default: b->changed = 0; break;
  }
}
