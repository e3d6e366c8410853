// The reader of tests/layout.txt: one record a line, "kind name numbers", where
// widgets also name their window, which the tests know from the widget.
#include "support/layout.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>

const LayoutBox& layout(const char* kind, const char* name) {
  static const std::map<std::pair<std::string, std::string>, LayoutBox> boxes = [] {
    std::map<std::pair<std::string, std::string>, LayoutBox> read;
    std::ifstream file(TERNIVAL_SOURCE_DIR "/tests/layout.txt");
    for (std::string line; std::getline(file, line);) {
      std::istringstream words(line);
      std::string k, n, window;
      LayoutBox b{};
      words >> k >> n;
      if (k == "widget") words >> window;
      if (words >> b[0] >> b[1] >> b[2] >> b[3]) read[{k, n}] = b;
    }
    return read;
  }();
  const auto found = boxes.find({kind, name});
  if (found != boxes.end()) return found->second;
  std::fprintf(stderr, "tests/layout.txt has no %s %s\n", kind, name);
  std::abort();
}
