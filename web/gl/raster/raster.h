// Stage 3, the software rasteriser: lines, stippled lines, points and triangles turned into
// pixels on the CPU, so that the browser lights exactly the pixels the desktop's Mesa llvmpipe
// lights. Called by assembly (stage 2); calls nothing of the layer.
// Lines and triangles take positions as Mesa's rasteriser sees them, y counted DOWN from the
// window's top edge; points take y up. The pixels lit come back with rows counted up.
#ifndef TERNIVAL_WEB_GL_RASTER_H
#define TERNIVAL_WEB_GL_RASTER_H

#include <vector>

// One lit pixel: its column and row and where it lies along the primitive (0 at the
// first vertex, 1 at the second), for interpolating colour and depth.
struct PixelFragment {
  int x, y;
  float t;
};

// State of a stippled strip: the pattern, its repeat factor and how far the pattern has run.
struct PixelStipple {
  int factor;              // GL's repeat factor, 1 .. 256
  unsigned short pattern;  // bit 0 first
  float counter;           // pixels of pattern used so far in this strip
};

// Appends the pixels of the segment (x1, y1)-(x2, y2) (y down) drawn width pixels wide in a
// window of the given height; the segment is already clipped.
void raster_line(float x1, float y1, float x2, float y2, float width, int height,
                 std::vector<PixelFragment>* out);
// As raster_line, cut into the "on" runs of the stipple; reset starts the pattern afresh.
void raster_stippled_line(float x1, float y1, float x2, float y2, float width, int height,
                          bool reset, PixelStipple* stipple, std::vector<PixelFragment>* out);
// Appends the pixels of the filled triangle with corners a, b, c (x, y down each) that lie
// in box (first and last column, first and last row counted up).
void raster_triangle(const float* a, const float* b, const float* c, int height, const int box[4],
                     std::vector<PixelFragment>* out);
// Appends the pixels of a square, not smoothed, point of the given size centred on (x, y).
void raster_point(float x, float y, float size, std::vector<PixelFragment>* out);

#endif
