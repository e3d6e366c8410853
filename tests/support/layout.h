// Windows and widget rectangles of tests/layout.txt, read once on first use, for
// the tests that aim at widgets or draw them. An unknown name ends the test run.
#pragma once

#include <array>

using LayoutBox = std::array<int, 4>;

// A record of kind "widget" (x1, y1, x2, y2 in its window, y up, edges included),
// "window" (x, y on the screen, width, height) or "visible" (x, y, width, height
// of the part a user sees, in window pixels, y up).
const LayoutBox& layout(const char* kind, const char* name);
