// Windows and widget rectangles of tests/layout.txt, read once on first use, for
// the tests that aim at widgets or draw them. An unknown name fails the test run.
#pragma once

#include <array>

using LayoutBox = std::array<int, 4>;

// A widget's rectangle: x1, y1, x2, y2 in its window's pixels, y up, edges included.
const LayoutBox& layout_rect(const char* name);
// A window as created: its x and y on the screen and its width and height.
const LayoutBox& layout_window(const char* name);
// The part of a window a user sees: x, y, width and height in window pixels, y up.
const LayoutBox& layout_visible(const char* name);
