// Whether a piece of a filled shape (a fan triangle or a strip quad) can give
// GL a fragment, and which pixels a convex shape's outline surely covers,
// judged from its vertices' window positions alone. Used by the fast shapes
// (fast_shapes.cpp) to leave out pieces that cannot show and to draw a flat
// convex shape as its outline. Units: window pixels, pixel centres at k + 0.5.
// Needs no GL context.
#pragma once

#include <vector>

// True when the piece may give a fragment: a fan triangle v[0..3) (apex
// first), or a strip quad v[0..4) in strip order; count is 3 or 4 and each v[k]
// points at a window x and y. With back_culled, pieces GL surely culls as back
// faces (turning clockwise on screen) count as never showing.
bool piece_may_show(const double* const* v, int count, bool back_culled);

// The convex hull of the n points (xy[2k], xy[2k + 1]) as indices into them,
// turning counter-clockwise, without repeated or collinear points.
void hull_of(const double* xy, int n, std::vector<int>* hull);
// True when every pixel centre lies clearly inside or clearly outside the
// convex polygon (xy[2k], xy[2k + 1]), k < n, turning counter-clockwise:
// farther from its outline than GL can misplace a vertex, so that GL gives
// it, or any triangles on its corners that cover it, the same pixels.
bool outline_pixels_certain(const double* xy, int n);
