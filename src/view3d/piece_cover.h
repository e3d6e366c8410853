// Whether a piece of a filled shape (a fan triangle or a strip quad) can give
// GL a fragment, judged from its vertices' window positions alone. Used by
// the fast shapes (fast_shapes.cpp) to leave out pieces that cannot show.
// Units: window pixels, pixel centres at k + 0.5. Needs no GL context.
#pragma once

// True when the piece may give a fragment: a fan triangle v[0..3) (apex
// first), or a strip quad v[0..4) in strip order; count is 3 or 4 and each v[k]
// points at a window x and y. With back_culled, pieces GL surely culls as back
// faces (turning clockwise on screen) count as never showing.
bool piece_may_show(const double* const* v, int count, bool back_culled);
