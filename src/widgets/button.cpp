// Widget primitives: bevels, frames, push buttons, check boxes, group frames,
// labelled boxes, text blocks and the hit test, in window pixels with y up.
#include "widgets/button.h"

#include "app/palette.h"

#include <GL/freeglut.h>

#include <cstdlib>

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

namespace {

constexpr float BOX_LINE_WIDTH = 1.0f;     // raised box, check square bevel, group frame
constexpr float SUNKEN_LINE_WIDTH = 0.5f;  // sunken box
constexpr float FRAME_LINE_WIDTH = 1.5f;   // bevel of a push button's frame
constexpr float OUTLINE_OFFSET = 1.5f;     // px, black outline outside a push button
constexpr float SQUARE_OUTLINE_WIDTH = 0.5f;
constexpr float MARK_SHORT_WIDTH = 3.5f;  // short stroke of the check mark
constexpr float MARK_LONG_WIDTH = 2.5f;   // long stroke of the check mark
constexpr float MARK_START_X = 5.0f;      // px, the mark starts at (x1 + 5, y2 - 6) ...
constexpr float MARK_START_DROP = 6.0f;
constexpr float MARK_BEND_X = 8.0f;  // ... bends at (x1 + 8, y1 - 1), below the square ...
constexpr float MARK_BEND_DROP = 1.0f;
constexpr float MARK_END_OUT = 5.0f;  // ... and ends at (x2 + 5, y2), past its right edge

constexpr int LABEL_FREE_HEIGHT = 13;  // px of a button that the label fills
constexpr int LABEL_LEFT = 3;          // px from x1 to a push button's label
constexpr int LABEL_RAISE = 3;         // px from y1 to a label's baseline
constexpr int BOX_LABEL_RAISE = 2;     // px from y1 to a labelled box's baseline
constexpr int CHECK_LABEL_LEFT = 15;   // px from x1 to a check box's label
constexpr int CHECK_SQUARE_SIZE = 10;  // px
constexpr int CHECK_SQUARE_RAISE = 5;  // px from y1 to the square's bottom
constexpr int GROUP_TITLE_LEFT = 14;   // px from x1 to a group title
constexpr int GROUP_TITLE_DROP = 3;    // px from y2 down to a group title's baseline
constexpr int GROUP_GAP_LEFT = 10;     // top edge open from x1 + 10 ...
constexpr int GROUP_GAP_RIGHT = 15;    // ... to x2 - 15

// Keeps the current colour across a draw. GL saves and restores it itself, so
// the same holds inside a display list, where reading the colour back would
// give the context's colour at compile time rather than the list's own.
struct ColourKeeper {
  ColourKeeper() { glPushAttrib(GL_CURRENT_BIT); }
  ~ColourKeeper() { glPopAttrib(); }
  ColourKeeper(const ColourKeeper&) = delete;
  ColourKeeper& operator=(const ColourKeeper&) = delete;
};

// Height left over above a label, split evenly: |y2 - y1| - 13, never negative.
int label_slack(int y1, int y2) {
  const int t = std::abs(y2 - y1) - LABEL_FREE_HEIGHT;
  return t < 0 ? 0 : t;
}

// Two-colour bevel: `light` on the left and top edges, `dark` on the bottom and right.
void draw_bevel(int x1, int y1, int x2, int y2, const float* light, const float* dark) {
  glColor4fv(light);
  glBegin(GL_LINE_STRIP);
  glVertex2i(x1, y1);
  glVertex2i(x1, y2);
  glVertex2i(x2, y2);
  glEnd();
  glColor4fv(dark);
  glBegin(GL_LINE_STRIP);
  glVertex2i(x1, y1);
  glVertex2i(x2, y1);
  glVertex2i(x2, y2);
  glEnd();
}

// Black outline 1.5 px outside a push button's rectangle.
void draw_button_outline(int x1, int y1, int x2, int y2) {
  const float l = x1 - OUTLINE_OFFSET;
  const float b = y1 - OUTLINE_OFFSET;
  const float r = x2 + OUTLINE_OFFSET;
  const float t = y2 + OUTLINE_OFFSET;
  glColor4fv(COLOUR_BLACK);
  glLineWidth(BOX_LINE_WIDTH);
  glBegin(GL_LINE_LOOP);
  glVertex2f(l, b);
  glVertex2f(l, t);
  glVertex2f(r, t);
  glVertex2f(r, b);
  glEnd();
}

// One line segment between two integer points.
void segment(int xa, int ya, int xb, int yb) {
  glVertex2i(xa, ya);
  glVertex2i(xb, yb);
}

// Draws a button's label, never reading past the record's array.
void draw_label(const Button* button) {
  for (int i = 0; i < BUTTON_LABEL_SIZE && button->label[i] != '\0'; ++i) {
    glutBitmapCharacter(button->font, static_cast<unsigned char>(button->label[i]));
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Raised bevel: lit left and top, shadowed bottom and right.
void draw_raised_box(int x1, int y1, int x2, int y2) {
  ColourKeeper keep;
  glLineWidth(BOX_LINE_WIDTH);
  draw_bevel(x1, y1, x2, y2, COLOUR_WHITE, SHADOW_GREY);
}

// Sunken bevel: the raised box's colours exchanged, thinner lines.
void draw_sunken_box(int x1, int y1, int x2, int y2) {
  ColourKeeper keep;
  glLineWidth(SUNKEN_LINE_WIDTH);
  draw_bevel(x1, y1, x2, y2, SHADOW_GREY, COLOUR_WHITE);
}

// Frame of a push button that is up; SHADOW_GREY stays current.
void draw_frame_released(int x1, int y1, int x2, int y2) {
  draw_button_outline(x1, y1, x2, y2);
  glLineWidth(FRAME_LINE_WIDTH);
  draw_bevel(x1, y1, x2, y2, COLOUR_WHITE, SHADOW_GREY);
}

// Frame of a push button held down; white stays current.
void draw_frame_pressed(int x1, int y1, int x2, int y2) {
  draw_button_outline(x1, y1, x2, y2);
  glLineWidth(FRAME_LINE_WIDTH);
  draw_bevel(x1, y1, x2, y2, SHADOW_GREY, COLOUR_WHITE);
}

// Push button: label in the caller's colour, then the frame for its state.
void button_draw(const Button* button) {
  if (button == nullptr) return;
  const int t = label_slack(button->y1, button->y2);
  glRasterPos2i(button->x1 + LABEL_LEFT, button->y1 + LABEL_RAISE + t / 2);
  draw_label(button);
  if (button->state != 0) {
    draw_frame_pressed(button->x1, button->y1, button->x2, button->y2);
  } else {
    draw_frame_released(button->x1, button->y1, button->x2, button->y2);
  }
}

// Check box: label right of a 10 px square, red mark on it when checked.
void checkbox_draw(const Button* button) {
  if (button == nullptr) return;
  const int t = label_slack(button->y1, button->y2);
  glRasterPos2i(button->x1 + CHECK_LABEL_LEFT, button->y1 + LABEL_RAISE + t / 2);
  draw_label(button);
  const int sx1 = button->x1;
  const int sy1 = button->y1 + CHECK_SQUARE_RAISE;
  const int sx2 = sx1 + CHECK_SQUARE_SIZE;
  const int sy2 = sy1 + CHECK_SQUARE_SIZE;
  draw_check_square(sx1, sy1, sx2, sy2);
  if (button->state != 0) draw_check_mark(sx1, sy1, sx2, sy2);
}

// Bevelled square inside a thin black outline.
void draw_check_square(int x1, int y1, int x2, int y2) {
  ColourKeeper keep;
  glLineWidth(BOX_LINE_WIDTH);
  draw_bevel(x1 + 1, y1 + 1, x2 - 1, y2 - 1, COLOUR_WHITE, SHADOW_GREY);
  glColor4fv(COLOUR_BLACK);
  glLineWidth(SQUARE_OUTLINE_WIDTH);
  glBegin(GL_LINE_LOOP);
  glVertex2i(x1, y1);
  glVertex2i(x2, y1);
  glVertex2i(x2, y2);
  glVertex2i(x1, y2);
  glEnd();
}

// Red tick: a short thick stroke down, then a long stroke up past the square.
void draw_check_mark(int x1, int y1, int x2, int y2) {
  glColor4fv(COLOUR_RED);
  glLineWidth(MARK_SHORT_WIDTH);
  glBegin(GL_LINES);
  glVertex2f(x1 + MARK_START_X, y2 - MARK_START_DROP);
  glVertex2f(x1 + MARK_BEND_X, y1 - MARK_BEND_DROP);
  glEnd();
  glLineWidth(MARK_LONG_WIDTH);
  glBegin(GL_LINES);
  glVertex2f(x1 + MARK_BEND_X, y1 - MARK_BEND_DROP);
  glVertex2f(x2 + MARK_END_OUT, static_cast<float>(y2));
  glEnd();
}

// Etched frame with a title; the top edge stays open where the title sits.
void draw_group_frame(const char* title, int x1, int y1, int x2, int y2, void* font) {
  glRasterPos2i(x1 + GROUP_TITLE_LEFT, y2 - GROUP_TITLE_DROP);
  draw_bitmap_text(title, font);
  glLineWidth(BOX_LINE_WIDTH);
  glColor4fv(SHADOW_GREY);
  glBegin(GL_LINES);
  segment(x1, y1, x1, y2);
  segment(x1, y2, x1 + GROUP_GAP_LEFT, y2);
  segment(x2 - GROUP_GAP_RIGHT, y2, x2, y2);
  segment(x2, y2, x2, y1);
  segment(x2, y1, x1 + 1, y1);
  glEnd();
  // The white etch runs inside the grey on the left and top, outside on the right and bottom.
  glColor4fv(COLOUR_WHITE);
  glBegin(GL_LINES);
  segment(x1 + 1, y1 + 1, x1 + 1, y2 - 1);
  segment(x1 + 1, y2 - 1, x1 + GROUP_GAP_LEFT, y2 - 1);
  segment(x2 - GROUP_GAP_RIGHT, y2 - 1, x2 - 1, y2 - 1);
  segment(x2 + 1, y2 - 1, x2 + 1, y1 - 1);
  segment(x2 - 1, y1 - 1, x1 + 1, y1 - 1);
  glEnd();
}

// Raised box with a text in the caller's colour, 2 px above its bottom.
void draw_labelled_box(int x1, int y1, int x2, int y2, const char* text, void* font) {
  ColourKeeper keep;
  const int t = label_slack(y1, y2);
  glRasterPos2i(x1 + LABEL_LEFT, y1 + BOX_LABEL_RAISE + t / 2);
  draw_bitmap_text(text, font);
  draw_raised_box(x1, y1, x2, y2);
}

// Lines of a text one below the other; a trailing newline opens no new line.
void draw_text_block(const char* text, int x, int y, int line_height, void* font) {
  if (text == nullptr) return;
  const char* c = text;
  int line = 0;
  while (*c != '\0') {
    glRasterPos2i(x, y - line * line_height);
    while (*c != '\0' && *c != '\n') {
      glutBitmapCharacter(font, static_cast<unsigned char>(*c));
      ++c;
    }
    if (*c == '\n') ++c;
    ++line;
  }
}

// 1 when (x, y) lies inside the button's rectangle, edges included.
int button_hit(const Button* button, int x, int y) {
  if (button == nullptr) return 0;
  return button->x1 <= x && x <= button->x2 && button->y1 <= y && y <= button->y2 ? 1 : 0;
}

// Emits a NUL-terminated text at the current raster position.
void draw_bitmap_text(const char* text, void* font) {
  if (text == nullptr) return;
  for (const char* c = text; *c != '\0'; ++c) {
    glutBitmapCharacter(font, static_cast<unsigned char>(*c));
  }
}
