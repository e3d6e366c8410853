// Arithmetic the value widgets share: a pointer's pixel held to a track or
// axis, a pixel worked out in double made an int, and the value a step box
// gives. Called by the slider and the knot bar; window pixels.
#pragma once

// A pixel v held to [lo, hi]; v comes in a wide type so that adding a pointer
// motion to a pixel cannot overflow.
int clamp_pixel(long long v, int lo, int hi);
// A pixel worked out in double, truncated, and cut to +-1e9 (what an int
// holds, far outside any window); NaN gives the low end.
int pixel_from_double(double p);
// The value after a click on a step box: `stepped` is the value one step
// down (direction -1) or up (direction 1), held at the end of [min, max] it
// moved toward.
float step_box_value(float stepped, int direction, float min, float max);
