// Readers of the test data shared with the browser tests: the windows' and widgets'
// geometry (tests/layout.txt) and the golden scenes (tests/golden/scenes.txt), and the
// PNG pictures the golden test keeps. Parse errors throw std::runtime_error naming the line.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using Rect = std::array<int, 4>;

struct Layout {
  std::map<std::string, Rect> windows;  // screen corner (y down) and size: x, y, w, h
  std::map<std::string, Rect> visible;  // the part a user sees: x, y, w, h (y up); absent: all
  std::map<std::string, std::pair<std::string, Rect>> widgets;  // window, x1 y1 x2 y2 (y up)
};
Layout layout_read(const std::string& path);
// The screen pixel (x, y down) of a widget's centre, as real input reaches it.
std::array<int, 2> layout_screen(const Layout& layout, const std::string& widget);

// One event as GLUT delivers it: button 0 left, 1 middle, 2 right; state 0 down,
// 1 up, -1 a motion; y in GLUT's rows from the top; mods GLUT's modifier bits.
struct SceneEvent {
  std::string window;
  int button, state, x, y, mods;
};
struct Scene {
  std::string name, about;
  std::vector<SceneEvent> events;
};
std::vector<Scene> scenes_read(const std::string& path, const Layout& layout);

// RGB pictures, rows from the bottom as GL reads them. Written with a palette
// when they hold 256 colours or fewer.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};
bool png_read(const std::string& path, Picture& out);
bool png_write(const std::string& path, const Picture& p);
