// Stage 4, the batch: by default draws what the current window draws into the window's frame
// (frame.h), sent by batch_flush as an image; else gathers it (triangles, pixel rectangles,
// clears) into runs of one WebGL draw each, sent by batch_flush to the backend (stage 5).
// Called by assembly (stage 2) and the front end (stage 1), which hand it the draw state.
// Takes window pixels (y up) and depth 0..1, or clip coordinates; colours as bytes.
#ifndef TERNIVAL_WEB_GL_BATCH_H
#define TERNIVAL_WEB_GL_BATCH_H

#include "gl/raster/raster.h"
#include "gl/webgl/backend.h"

#include <vector>

// One vertex of a primitive: clip coordinates and the colour current when it was given.
struct GlVertex {
  float clip[4];
  float colour[4];
};

// What the batch needs of the GL state. The front end keeps it current as the state changes;
// `serial` changes with every change, so a run can tell it is still under the same state.
struct BatchDraw {
  BackendState triangles;  // triangles: culled as GL culls, kept to the viewport and scissor
  BackendState pixels;     // pixel rectangles and clears: never culled, kept to the scissor
  bool premultiply;        // blending is source alpha over: colours go out premultiplied
  int viewport[4];         // x, y, width, height in window pixels
  int win_width, win_height;
  unsigned serial;
};

// Depth over the window as a plane: depth = at + dx * x + dy * y, window pixels.
struct DepthPlane {
  float at, dx, dy;
};

// A rectangle of pixels being grown row by row: columns x0 .. x1, rows y0 .. y1.
struct BatchRect {
  int x0, x1, y0, y1;
};

constexpr int FRAME_TILE = 16;  // pixels a side of the tiles a frame is sent by

// A window's own pixels as the CPU draws them on the frame path: colour bytes and depth, rows
// up, kept between frames. Each window's GL state owns one.
struct BatchFrame {
  int width, height;
  std::vector<unsigned char> rgba;  // 4 bytes a pixel
  std::vector<float> depth;
  bool colour_known, depth_known;  // every pixel is what the window holds: a whole clear since
                                   // the window was last drawn through WebGL
  bool webgl;  // the window is drawn through WebGL rectangles until a time it is current and
               // draws, but draws nothing only WebGL can (a triangle WebGL clips)
  bool drawn;  // changed since it was last sent
  // What changed since it was last sent: a whole clear to clear_rgba, then the tiles of
  // FRAME_TILE x FRAME_TILE pixels (rows up, tiles_x a row) marked 1.
  bool cleared;
  unsigned char clear_rgba[4];
  int tiles_x, tiles_y;
  std::vector<unsigned char> tiles;
};

// The batch's state: what is gathered since the last flush, and where it goes.
struct Batch {
  // Switch: false (the default) draws each window on the CPU into its BatchFrame, sent to WebGL
  // as one image; true draws through WebGL rectangles, as no_merge says.
  bool no_frame;
  // Switch: false (the default) gathers consecutive one-colour pixels at one depth and sends
  // them as the fewest rectangles covering them all; true sends each primitive's own.
  bool no_merge;
  BatchFrame* frame;      // the current window's, or null
  bool frame_on;          // the current window draws into its frame now
  bool refused;           // the frame met what it cannot draw: nothing more is drawn until retarget
  bool redo;              // the window drawn must be drawn again, now through WebGL
  bool drew, drew_webgl;  // since it was made current, the window drew; it drew a WebGL triangle
  std::vector<int> parts;  // scratch: the parts of a frame sent
  std::vector<BackendVertex> vertices;
  std::vector<BackendRun> runs;
  std::vector<PixelFragment> pending;  // pixels merged but not yet turned into rectangles
  BatchDraw pending_draw;              // their draw state, colour and depth
  unsigned char pending_rgba[4];
  float pending_depth;
  DepthPlane pending_plane;            // the depth of the first primitive merged, as it was given
  int pending_parts;                   // primitives merged
  std::vector<PixelFragment> sorted;   // the pixels merged, put in rows while they are sent
  std::vector<int> counts;             // where each column or row starts as they are counted
  std::vector<BatchRect> open, grown;  // rectangles reaching the last row, and the next one
  std::vector<unsigned> marks;         // per window pixel: the last group that merged it
  unsigned group;                      // the pixels merged now; changes with every send
  unsigned run_serial;                 // serial of the draw state the last run was opened under
  long webgl;                          // the current window's WebGL context
  int target_x, target_y;  // the current window's bottom-left corner in its canvas, pixels
  int canvas_width;        // the canvas's drawing buffer, pixels; at least 1 each
  int canvas_height;
};

// Where the current window lies: its WebGL context, its corner in the canvas, its frame (or
// null, when it has none and draws through WebGL).
void batch_target(Batch* batch, Backend* backend, long webgl, int win_x, int win_y,
                  BatchFrame* frame);
// No window is current any more: its frame is forgotten, and what is drawn goes through WebGL.
void batch_untarget(Batch* batch);
// Whether the window drawn last met what its frame cannot draw, once: it is then to be made
// current and drawn again, through WebGL, as nothing of that attempt was shown.
bool batch_redo(Batch* batch);
// Colour bytes as Mesa stores them (round to nearest), premultiplied by alpha when blending
// with GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA so that WebGL rounds the blend as Mesa does.
void batch_colour(const BatchDraw& draw, const float colour[4], unsigned char rgba[4]);
// A filled triangle of three clip-space vertices, rasterised by WebGL. `window` holds their
// window x, y (up) and depth when all three lie within the near and far planes, else null and
// WebGL clips them.
void batch_triangle(Batch* batch, const BatchDraw& draw, const GlVertex* const v[3],
                    const float (*window)[3]);
// The pixels of columns x0 .. x1 and rows y0 .. y1 (inclusive) of a line, point or bitmap.
void batch_rect(Batch* batch, const BatchDraw& draw, int x0, int y0, int x1, int y1,
                const DepthPlane& depth, const unsigned char rgba[4]);
// Pixels of one primitive in one colour, in rows (each row's pixels left to right, rows in
// order up or down), sent as few rectangles as cover them; unless no_merge, those at one
// depth join the pixels of the primitives before them in the same colour and state.
void batch_fragments(Batch* batch, const BatchDraw& draw,
                     const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                     const unsigned char rgba[4]);
// glClear of the current window (within the scissor box when the scissor test is on) to the
// colour (0..1) and depth given, each when asked for.
void batch_clear(Batch* batch, const BatchDraw& draw, bool colour, bool depth,
                 const float clear_colour[4], float clear_depth);
// Sends everything gathered to WebGL.
void batch_flush(Batch* batch, Backend* backend);

#endif
