// Placeholder until knot vectors, editing and evaluation land.
#include "curve/curve.h"

ControlPoint DeBoorTriangle[DEBOOR_SIZE];
int deboor_marks[DEBOOR_SIZE];
