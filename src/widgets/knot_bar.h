// Vertical knot bar: shows a knot vector with multiplicities and the valid
// range, carries the tracing parameter u on its thumb and lets knots be
// dragged in place. Hosted by the knot panel; read by the drawing pad
// (knot_bar.value). Coordinates are window pixels with y up.
#pragma once

constexpr int KNOT_BAR_TEXT_SIZE = 20;  // every formatted label fits in this

enum KnotBarDrag {
  KNOT_BAR_NONE = 0,
  KNOT_BAR_KNOT = 1,
  KNOT_BAR_THUMB = 2,
};

struct KnotBar {
  int x1;                 // left edge; every x is an offset from it
  int y1;                 // bottom edge: the "Dn" box sits on it
  int x2;                 // right edge, not read
  int y2;                 // top edge: the "Up" box hangs from it
  int thumb_y;            // pixel y of the thumb's centre
  float min;              // value at the bottom of the axis
  float max;              // value at the top of the axis
  float step;             // one step of the value; knot grouping tolerance unit
  float value;            // the tracing parameter u
  int steps_per_unit;     // 1 / step
  const char* format;     // printf format of the value and end labels
  float lo;               // valid knot range, lower end
  float hi;               // valid knot range, upper end
  unsigned int list_id;   // display list of the static part, 0 = not built
  int last_x;             // x of the last event taken
  int last_y;             // y of the last event taken; drags are measured from it
  int press_y;            // y where the current knot drag began
  int drag_mode;          // KnotBarDrag
  int drag_index;         // first index of the held knot group
  int drag_mult;          // size of the held group
  int changed;            // set by the host before each call; cleared when nothing moved
  int knot_count;         // entries of knots
  float* knots;           // host's knot vector, ascending, edited in place; not owned
  float range_lo;         // bottom of the range bracket
  float range_hi;         // top of the range bracket
  float range_colour[3];  // RGB of the range bracket
  int merged_count;       // entries of merged_knots
  float* merged_knots;    // second list, drawn but never grabbed; not owned
  int knot_type;          // KnotType of the knots shown, set by the host with them:
                          // only a uniform vector lets a knot land on lo or hi
};

extern KnotBar knot_bar;
// 1 (the default): the knot marks of a list are drawn in one batch before
// their labels wherever no label can reach a mark, which lets GL gather the
// labels' bitmaps; the picture stays the same pixel for pixel. 0 draws mark and
// label in turn: the reference path the picture-identity tests compare with.
extern int knot_bar_batch;

// Pixel y of a value v: the one value-to-pixel map, used everywhere.
int knot_bar_y(const KnotBar* bar, float v);
// with_controls: 1 adds the step boxes, end labels, value label and thumb; 0 the bare axis.
void knot_bar_draw(KnotBar* bar, int with_controls);
void knot_bar_mouse(KnotBar* bar, int button, int state, int x, int y);
void knot_bar_drag(KnotBar* bar, int x, int y);
