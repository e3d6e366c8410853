// Widget primitives: the Button record (push button or check box), bevelled
// boxes and frames, group frames, labelled boxes, text blocks and hit tests.
// Called by the slider, the knot bar and every 2D window; coordinates are
// window pixels with y growing upwards (gluOrtho2D over the window).
#pragma once

constexpr int BUTTON_LABEL_SIZE = 60;  // 59 characters and the terminator

// Push button (state 1 while held) or check box (state 1 while checked).
struct Button {
  int x1;                         // left edge
  int y1;                         // bottom edge
  int x2;                         // right edge
  int y2;                         // top edge
  char label[BUTTON_LABEL_SIZE];  // drawn byte by byte, leading blanks included
  void* font;                     // GLUT bitmap font, e.g. GLUT_BITMAP_HELVETICA_12
  unsigned char state;            // 0 or 1
};

// Grey of the shadowed edges of every bevel.
constexpr float SHADOW_GREY[4] = {0.33f, 0.33f, 0.33f, 1.0f};

void draw_raised_box(int x1, int y1, int x2, int y2);      // keeps the colour
void draw_sunken_box(int x1, int y1, int x2, int y2);      // keeps the colour
void draw_frame_released(int x1, int y1, int x2, int y2);  // leaves SHADOW_GREY
void draw_frame_pressed(int x1, int y1, int x2, int y2);   // leaves white
void button_draw(const Button* button);    // leaves SHADOW_GREY (up) or white (pressed)
void checkbox_draw(const Button* button);  // leaves red when checked
void draw_check_square(int x1, int y1, int x2, int y2);  // keeps the colour
void draw_check_mark(int x1, int y1, int x2, int y2);    // leaves red
void draw_group_frame(const char* title, int x1, int y1, int x2, int y2,
                      void* font);  // leaves white
void draw_labelled_box(int x1, int y1, int x2, int y2, const char* text,
                       void* font);  // keeps the colour
void draw_text_block(const char* text, int x, int y, int line_height,
                     void* font);  // sets no colour
// 1 when (x, y) lies inside the rectangle, edges included.
int button_hit(const Button* button, int x, int y);

// Draws a string at the current raster position with a GLUT bitmap font.
void draw_bitmap_text(const char* text, void* font);
