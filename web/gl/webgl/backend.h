// Stage 5, the WebGL backend: the few WebGL 1 calls the GL 1.x layer needs, behind plain C types
// so that no WebGL header meets our GL 1.x header. Called by the batch (stage 4) and by the
// front end's glReadPixels; calls only WebGL.
// Positions are WebGL clip coordinates over the whole canvas; rectangles are canvas pixels.
#ifndef TERNIVAL_WEB_GL_BACKEND_H
#define TERNIVAL_WEB_GL_BACKEND_H

#include <cstddef>
#include <vector>

// A vertex as WebGL receives it: clip position and a colour of bytes.
struct BackendVertex {
  float pos[4];
  unsigned char rgba[4];
};

// Fixed-function state of one draw; enum values are GL's, which WebGL shares.
struct BackendState {
  bool blend;
  unsigned blend_src, blend_dst;
  bool depth_test;
  unsigned depth_func;
  bool depth_mask;
  bool cull;
  unsigned cull_mode, front_face;
  bool colour_mask[4];
  int scissor[4];  // x, y, width, height; the scissor test is always on
};

// What one draw does: triangles as GL clips them, rectangles of whole pixels (triangles kept
// to the window but not to the viewport, never culled) or a clear.
enum BackendKind { BACKEND_TRIANGLES, BACKEND_RECTS, BACKEND_CLEAR };

struct BackendRun {
  BackendKind kind;
  BackendState state;
  int first, count;  // vertices of a draw
  bool clear_colour, clear_depth;
  unsigned char clear_rgba[4];
  float clear_to_depth;
};

// What a WebGL context has been given, so that unchanged state is not sent again.
struct BackendContext {
  long webgl;
  unsigned program, buffer;  // set up when the context is first used
  size_t buffer_bytes;       // size of the vertex buffer WebGL holds
  bool known;                // `state` is what WebGL holds; false until the first draw
  BackendState state;
  int viewport_w, viewport_h;  // WebGL viewport, the drawing buffer's size; -1 before the first use
  // Images: their program, the quad's buffer and the texture they pass through (sized to the
  // largest image so far), set up with the first image.
  unsigned image_program, image_buffer, texture;
  int texture_w, texture_h;
  bool image_bound;          // the image program is in use, not the one of runs
  std::vector<float> quads;  // scratch: the parts of an image as WebGL takes them
};

// The backend's state: every context used so far and which one WebGL has current.
struct Backend {
  std::vector<BackendContext> contexts;
  BackendContext* current;  // null until backend_use first runs
};

// Makes the WebGL context current (when it is not already) and reports its canvas size; with
// webgl 0 (no context yet) none is current and the size is 0 x 0.
void backend_use(Backend* backend, long webgl, int* canvas_width, int* canvas_height);
// Draws the runs, in order, from the vertices, in the context current.
void backend_draw(Backend* backend, const BackendVertex* vertices, int vertex_count,
                  const BackendRun* runs, int run_count);
// A window's image and what of it to send: a clear of its whole rectangle, then parts of it.
struct BackendImage {
  int x, y, width, height;    // its rectangle in the canvas
  const unsigned char* rgba;  // width x height RGBA bytes, rows bottom first
  bool clear;                 // the rectangle is first cleared to clear_rgba
  unsigned char clear_rgba[4];
  int row0, row1;                 // the rows that parts take, row1 excluded
  const std::vector<int>* parts;  // x, y, width, height of each, image pixels
};

// Puts the image's parts in place of what is in the canvas of the context current there.
void backend_image(Backend* backend, const BackendImage& image);
// Reads RGBA bytes of a canvas rectangle of the context current, rows bottom first.
void backend_read(Backend* backend, int x, int y, int width, int height, unsigned char* rgba);

#endif
