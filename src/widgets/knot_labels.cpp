// Knot marks and labels of the knot bar: mark and label in turn, or runs of
// marks followed by their labels gathered into strips GL draws at once.
#include "widgets/knot_labels.h"

#include "app/palette.h"
#include "widgets/button.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

int knot_bar_batch = 1;

namespace {

//------------------------------------------------------------------------------
// Constants (window pixels)
//------------------------------------------------------------------------------

constexpr const char* KNOT_FORMAT = "%2d (%5.3f)";  // multiplicity and value
constexpr int MARK_TIP = 16;                        // knot triangle points right at x1 + 16 ...
constexpr int MARK_BASE = 8;                        // ... from its base at x1 + 8
constexpr int KNOT_LABEL_LEFT = -33;                // knot labels left of the bar
constexpr int LABEL_STRIP = 16;      // rows of label positions one bitmap batch takes
constexpr int LABEL_HEIGHT = 14;     // px of a glyph of the 10-point Times font
constexpr int LABEL_BOX_MARGIN = 8;  // px round the labels' glyphs, for their origins

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// Formats the "mult (value)" label of a group.
void format_knot_label(const KnotGroup& g, char (&text)[KNOT_BAR_TEXT_SIZE]) {
  std::snprintf(text, sizeof text, KNOT_FORMAT, g.mult, static_cast<double>(g.value));
}

// Draws the triangle mark of a group in its colour: the knot points' purple
// inside [lo, hi], green outside.
void emit_knot_mark(const KnotBar* b, const KnotGroup& g) {
  const bool inside = b->lo <= g.value && g.value <= b->hi;
  glColor4fv(inside ? palette.colours[PAL_KNOT_POINT] : COLOUR_DARK_GREEN);
  glVertex2i(b->x1 + MARK_TIP, g.y);
  glVertex2i(b->x1 + MARK_BASE, g.y + KNOT_MARK_HALF);
  glVertex2i(b->x1 + MARK_BASE, g.y - KNOT_MARK_HALF);
}

// Draws the "mult (value)" label of a group in black.
void print_knot_label(const KnotBar* b, const KnotGroup& g) {
  char text[KNOT_BAR_TEXT_SIZE];
  format_knot_label(g, text);
  glColor4fv(COLOUR_BLACK);
  glRasterPos2i(b->x1 + KNOT_LABEL_LEFT, g.y - KNOT_LABEL_DROP);
  draw_bitmap_text(text, GLUT_BITMAP_TIMES_ROMAN_10);
}

// Width in pixels of the group's label: its glyphs' advances, which are also
// their bitmaps' widths.
int knot_label_width(const KnotGroup& g) {
  char text[KNOT_BAR_TEXT_SIZE];
  format_knot_label(g, text);
  return glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_10, reinterpret_cast<const unsigned char*>(text));
}

// True when the group's label ends left of every mark's base column. A label's
// pixels span its advance from the raster position; a mark's leftmost pixel
// column starts at the base.
bool label_clear_of_marks(const KnotGroup& g) {
  return KNOT_LABEL_LEFT + knot_label_width(g) <= MARK_BASE;
}

// Sends the bitmaps GL holds back to draw together: a draw of a triangle with
// no area, which makes no fragment.
void bitmap_batch_flush() {
  glBegin(GL_TRIANGLES);
  for (int k = 0; k < 3; ++k) glVertex2i(0, 0);
  glEnd();
}

// Labels of groups [start, end), bottom to top. GL batches bitmaps lying in a
// strip of rows around the first one it gets and fills that strip's whole
// width: a blank glyph (a space) in the middle of each strip of labels lets a
// strip go out as one draw, and a scissor box round the labels keeps GL from
// filling the strip's width. The box holds every pixel of every label, so it
// clips nothing, and the labels are drawn before it goes. A scissor box of the
// caller's is left alone.
void draw_label_run(const KnotBar* b, const KnotGroup* groups, size_t start, size_t end) {
  const bool clip = glIsEnabled(GL_SCISSOR_TEST) != GL_TRUE;
  GLint box[4] = {0, 0, 0, 0};
  if (clip) {
    int width = 0, lo = groups[start].y, hi = lo;
    for (size_t g = start; g < end; ++g) {
      width = std::max(width, knot_label_width(groups[g]));
      lo = std::min(lo, groups[g].y);
      hi = std::max(hi, groups[g].y);
    }
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glEnable(GL_SCISSOR_TEST);
    const int x = b->x1 + KNOT_LABEL_LEFT - LABEL_BOX_MARGIN;
    const int y = lo - KNOT_LABEL_DROP - LABEL_BOX_MARGIN;
    glScissor(x, y, width + 2 * LABEL_BOX_MARGIN, hi - lo + LABEL_HEIGHT + 2 * LABEL_BOX_MARGIN);
  }
  int strip_end = 0;
  for (size_t g = start; g < end; ++g) {
    const int y = groups[g].y - KNOT_LABEL_DROP;
    if (g == start || y >= strip_end || y < strip_end - LABEL_STRIP) {
      glColor4fv(COLOUR_BLACK);
      glRasterPos2i(b->x1 + KNOT_LABEL_LEFT, y + LABEL_STRIP / 2);
      draw_bitmap_text(" ", GLUT_BITMAP_TIMES_ROMAN_10);
      strip_end = y + LABEL_STRIP;
    }
    print_knot_label(b, groups[g]);
  }
  if (clip) {
    bitmap_batch_flush();
    glScissor(box[0], box[1], box[2], box[3]);
    glDisable(GL_SCISSOR_TEST);
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Marks and labels, in runs while knot_bar_batch is on, in turn otherwise.
void knot_groups_draw(const KnotBar* b, const KnotGroup* groups, int count) {
  // Each label is drawn after its own mark and before the next, so it covers
  // earlier marks and later marks cover it. A run of groups whose labels reach
  // no mark may draw all its marks first and then all its labels: nothing of
  // that order shows. A label that may reach a mark closes its run, so every
  // later mark still comes after it. Consecutive labels, with no mark between
  // them, let GL draw their bitmaps together.
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  size_t start = 0;
  while (start < n) {
    size_t end = start + 1;
    if (knot_bar_batch != 0)
      while (end < n && label_clear_of_marks(groups[end - 1])) ++end;
    glBegin(GL_TRIANGLES);
    for (size_t g = start; g < end; ++g) emit_knot_mark(b, groups[g]);
    glEnd();
    if (knot_bar_batch != 0) {
      draw_label_run(b, groups, start, end);
    } else {
      for (size_t g = start; g < end; ++g) print_knot_label(b, groups[g]);
    }
    start = end;
  }
}
