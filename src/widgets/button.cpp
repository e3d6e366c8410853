// Placeholder until the widget primitives land.
#include "widgets/button.h"
