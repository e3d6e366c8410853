// Lookups in tests/layout.txt, read once through the scenes' reader.
#include "support/layout.h"

#include "support/scene.h"

#include <cstdio>
#include <cstdlib>
#include <string>

const LayoutBox& layout(const char* kind, const char* name) {
  static const Layout read = layout_read(TERNIVAL_SOURCE_DIR "/tests/layout.txt");
  const std::string k = kind;
  const auto& boxes = k == "window" ? read.windows : read.visible;
  if (k == "widget" && read.widgets.count(name)) return read.widgets.at(name).second;
  if (k != "widget" && boxes.count(name)) return boxes.at(name);
  std::fprintf(stderr, "tests/layout.txt has no %s %s\n", kind, name);
  std::abort();
}
