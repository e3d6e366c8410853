// Gathers what the current window draws (triangles, pixel rectangles, clears) into runs of one
// WebGL draw each, sent by gl_web_flush. Called by the primitive, raster and clear code.
// Takes window pixels (y up) and depth 0..1, or clip coordinates; colours as bytes.
#ifndef TERNIVAL_WEB_GL_BATCH_H
#define TERNIVAL_WEB_GL_BATCH_H

#include "gl_pixels.h"
#include "gl_state.h"

#include <vector>

// Where the current window lies: its WebGL context, its corner in the canvas.
void batch_target(long webgl, int win_x, int win_y);
// Colour bytes as Mesa stores them (round to nearest), premultiplied by alpha when blending
// with GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA so that WebGL rounds the blend as Mesa does.
void batch_colour(const float colour[4], unsigned char rgba[4]);
// A filled triangle of three clip-space vertices, rasterised by WebGL.
void batch_triangle(const GlVertex* a, const GlVertex* b, const GlVertex* c);
// Depth over the window as a plane: depth = at + dx * x + dy * y, window pixels.
struct DepthPlane {
  float at, dx, dy;
};
// The pixels of columns x0 .. x1 and rows y0 .. y1 (inclusive) of a line, point or bitmap.
void batch_rect(int x0, int y0, int x1, int y1, const DepthPlane& depth,
                const unsigned char rgba[4]);
// Pixels of one primitive in one colour, in rows (each row's pixels left to right, rows in
// order up or down), sent as few rectangles as cover them.
void batch_fragments(const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                     const unsigned char rgba[4]);
// glClear of the current window within the scissor box when the scissor test is on.
void batch_clear(GLbitfield mask);
// Sends everything gathered to WebGL.
void batch_flush();
// Canvas row and column of the window's bottom-left pixel.
void batch_window_origin(int* x, int* y);

#endif
