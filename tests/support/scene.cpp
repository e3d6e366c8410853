// Readers of tests/layout.txt and tests/golden/scenes.txt, and PNG files through
// libpng's simplified interface (a negative row stride keeps GL's bottom-up rows).
#include "scene.h"

#include <GL/freeglut.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int DEFAULT_STEPS = 8;
constexpr size_t PALETTE_SIZE = 256;

std::runtime_error line_error(const std::string& path, int line, const std::string& why) {
  return std::runtime_error(path + ":" + std::to_string(line) + ": " + why);
}

std::ifstream open_text(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  return in;
}

uint32_t rgb_key(const uint8_t* c) {
  return uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
}

// Sets v (whatever s holds) and says whether s is a whole integer.
bool integer(const std::string& s, int& v) {
  char* end = nullptr;
  v = static_cast<int>(std::strtol(s.c_str(), &end, 10));
  return !s.empty() && *end == '\0';
}

// `X Y` or `@widget[+DX+DY]` from token i on; i moves past it.
void read_point(const std::vector<std::string>& t, size_t& i, const Layout& layout,
                const std::string& window, int* p) {
  if (i < t.size() && t[i][0] == '@') {
    const std::string& s = t[i++];
    const size_t offset = s.find_first_of("+-", 1);
    const auto w = layout.widgets.find(s.substr(1, offset - 1));
    if (w == layout.widgets.end() || w->second.first != window)
      throw std::runtime_error("no widget " + s + " in window " + window);
    int dx = 0, dy = 0, used = 0;
    if (offset != std::string::npos &&
        (std::sscanf(s.c_str() + offset, "%d%d%n", &dx, &dy, &used) != 2 ||
         offset + used != s.size()))
      throw std::runtime_error("bad offset in " + s);
    const Rect& r = w->second.second;
    p[0] = (r[0] + r[2]) / 2 + dx, p[1] = (r[1] + r[3]) / 2 + dy;
  } else if (i + 1 < t.size() && integer(t[i], p[0]) && integer(t[i + 1], p[1])) {
    i += 2;
  } else {
    throw std::runtime_error("expected a point");
  }
}

// GLUT's rows from the top less a row y up; the panel and the new-curve window read
// them back one row lower.
int glut_rows(const Layout& layout, const std::string& window) {
  return layout.windows.at(window)[3] - (window == "panel" || window == "new" ? 1 : 0);
}

void read_events(const std::vector<std::string>& t, const Layout& layout,
                 std::vector<SceneEvent>& out) {
  const std::string& verb = t[0];
  if (t.size() < 2 || !layout.windows.count(t[1])) throw std::runtime_error("expected a window");
  const std::string& window = t[1];
  int p[2][2] = {}, steps = DEFAULT_STEPS, button = 0, mods = 0;
  size_t i = 2;
  for (int k = 0; k < (verb == "drag" ? 2 : 1); ++k) read_point(t, i, layout, window, p[k]);
  for (; i < t.size(); ++i) {
    if (t[i] == "left" || t[i] == "middle" || t[i] == "right")
      button = t[i] == "left" ? 0 : t[i] == "middle" ? 1 : 2;
    else if (t[i] == "shift")
      mods = GLUT_ACTIVE_SHIFT;
    else if (verb != "drag" || !integer(t[i], steps) || steps < 1)
      throw std::runtime_error("unexpected " + t[i]);
  }
  const int h = glut_rows(layout, window);
  const auto add = [&](int state, int x, int y) {
    out.push_back({window, button, state, x, h - y, mods});
  };
  if (verb == "click" || verb == "press" || verb == "drag") add(0, p[0][0], p[0][1]);
  if (verb == "move") add(-1, p[0][0], p[0][1]);
  if (verb == "drag")
    for (int s = 1; s <= steps; ++s)
      add(-1, p[0][0] + (p[1][0] - p[0][0]) * s / steps, p[0][1] + (p[1][1] - p[0][1]) * s / steps);
  if (verb == "click" || verb == "release") add(1, p[0][0], p[0][1]);
  if (verb == "drag") add(1, p[1][0], p[1][1]);
  if (verb != "click" && verb != "press" && verb != "move" && verb != "release" && verb != "drag")
    throw std::runtime_error("unknown command " + verb);
}

}  // namespace

Layout layout_read(const std::string& path) {
  std::ifstream in = open_text(path);
  Layout layout;
  int n = 0;
  for (std::string line; std::getline(in, line);) {
    ++n;
    std::istringstream s(line);
    std::string kind, name, window;
    Rect r;
    if (!(s >> kind) || kind[0] == '#') continue;
    s >> name;
    if (kind == "widget") s >> window;
    if (!(s >> r[0] >> r[1] >> r[2] >> r[3])) throw line_error(path, n, "expected four integers");
    if (kind == "window")
      layout.windows[name] = r;
    else if (kind == "visible")
      layout.visible[name] = r;
    else if (kind == "widget")
      layout.widgets[name] = {window, r};
    else
      throw line_error(path, n, "unknown line " + kind);
  }
  return layout;
}

std::array<int, 2> layout_screen(const Layout& layout, const std::string& widget) {
  const auto& [window, r] = layout.widgets.at(widget);
  const Rect& corner = layout.windows.at(window);
  return {corner[0] + (r[0] + r[2]) / 2, corner[1] + glut_rows(layout, window) - (r[1] + r[3]) / 2};
}

std::vector<Scene> scenes_read(const std::string& path, const Layout& layout) {
  std::ifstream in = open_text(path);
  std::vector<Scene> scenes;
  int n = 0;
  for (std::string line; std::getline(in, line);) {
    ++n;
    std::istringstream s(line);
    std::vector<std::string> t;
    for (std::string word; s >> word;) t.push_back(word);
    try {
      if (t.empty() || t[0][0] == '#') continue;
      if (t[0] == "scene" && t.size() > 1) {
        const size_t about =
            line.find_first_not_of(" \t", line.find(t[1], line.find("scene") + 5) + t[1].size());
        scenes.push_back({t[1], about == std::string::npos ? "" : line.substr(about), {}});
      } else if (scenes.empty()) {
        throw std::runtime_error("an event before the first scene");
      } else {
        read_events(t, layout, scenes.back().events);
      }
    } catch (const std::runtime_error& e) {
      throw line_error(path, n, e.what());
    }
  }
  return scenes;
}

bool png_read(const std::string& path, Picture& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out.width = static_cast<int>(image.width), out.height = static_cast<int>(image.height);
  out.rgb.assign(PNG_IMAGE_SIZE(image), 0);
  return png_image_finish_read(&image, nullptr, out.rgb.data(), -3 * out.width, nullptr) != 0;
}

bool png_write(const std::string& path, const Picture& p) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION, image.format = PNG_FORMAT_RGB;
  image.width = static_cast<png_uint_32>(p.width);
  image.height = static_cast<png_uint_32>(p.height);
  std::map<uint32_t, uint8_t> colours;
  for (size_t i = 0; i < p.rgb.size() && colours.size() <= PALETTE_SIZE; i += 3)
    colours[rgb_key(&p.rgb[i])] = 0;
  const bool mapped = colours.size() <= PALETTE_SIZE;
  std::vector<uint8_t> palette, indices;
  if (mapped) {
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(colours.size());
    for (auto& [rgb, index] : colours) {
      index = static_cast<uint8_t>(palette.size() / 3);
      palette.insert(palette.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
    }
    for (size_t i = 0; i < p.rgb.size(); i += 3) indices.push_back(colours[rgb_key(&p.rgb[i])]);
  }
  return png_image_write_to_file(&image, path.c_str(), 0, mapped ? indices.data() : p.rgb.data(),
                                 mapped ? -p.width : -3 * p.width, palette.data()) != 0;
}
