// The batch's frame path: a window's pixels drawn on the CPU into its own colour and depth
// buffers, as WebGL would draw the batch's rectangles, and sent to WebGL as an image at every
// flush. Called by the batch (batch.cpp) while the current window draws into its frame; what the
// frame cannot draw it refuses, and the window is then drawn again through WebGL.
#ifndef TERNIVAL_WEB_GL_FRAME_H
#define TERNIVAL_WEB_GL_FRAME_H

#include "gl/batch/batch.h"

#include <vector>

// Nothing of the window's attempt is shown: it is to be drawn again, through WebGL.
void frame_refuse(Batch* batch);
// As batch_rect, batch_fragments and batch_clear (the clear's colour as bytes), into the frame.
void frame_draw_rect(Batch* batch, const BatchDraw& draw, int x0, int y0, int x1, int y1,
                     const DepthPlane& depth, const unsigned char rgba[4]);
void frame_draw_fragments(Batch* batch, const BatchDraw& draw,
                          const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                          const unsigned char rgba[4]);
void frame_draw_clear(Batch* batch, const BatchDraw& draw, bool colour, bool depth,
                      const unsigned char rgba[4], float clear_depth);
// Sends what changed in the frame since it was last sent: a clear, then the tiles drawn.
void frame_send(Batch* batch, Backend* backend);

#endif
