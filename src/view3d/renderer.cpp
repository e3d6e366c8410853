// Placeholder until the renderer lands.
#include "view3d/renderer.h"

float tracing_point_3d[3] = {0.0f, 0.0f, 0.0f};
