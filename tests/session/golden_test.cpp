// Golden scenes: short scripts of events from start-up (tests/golden/scenes.txt),
// each event delivered as the random session delivers it, so that the model's state,
// redraw and probe checks hold after every one; then every shown window, its visible
// part, must equal its reviewed picture tests/golden/<scene>.<window>.png pixel for
// pixel. On a difference the shown picture and a picture of the difference are left
// in the build tree. TERNIVAL_GOLDEN=update (scripts/golden) writes the references
// that differ or are missing instead, each change with its difference picture;
// TERNIVAL_SCENE runs one scene.
#include "session/session.h"
#include "support/scene.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace session {
namespace {

const std::string GOLDEN = TERNIVAL_SOURCE_DIR "/tests/golden/";
const std::string OUT = TERNIVAL_BUILD_DIR "/golden/";
// The windows in the order their pictures are checked, by their names in layout.txt.
const std::pair<const char*, Win> CHECKED[] = {{"pad", PAD},   {"knots", KNOTS}, {"panel", PANEL},
                                               {"proj", PROJ}, {"new", NEW},     {"about", ABOUT}};
constexpr uint8_t MAGENTA[3] = {255, 0, 255};
constexpr int FADE = 4;  // the reference's distance from white is divided by this

// The part of window w that a user sees, drawn by its display callback.
Picture shown(Win w, const Layout& layout, const std::string& name) {
  const auto v = layout.visible.find(name);
  const Rect r = v == layout.visible.end() ? Rect{0, 0, -1, -1} : v->second;
  const Pixels p = gl_capture(windows[w].entry->id, windows[w].display, r[0], r[1], r[2], r[3]);
  Picture out{p.width, p.height, {}};
  for (size_t i = 0; i < p.data.size(); i += 4)
    out.rgb.insert(out.rgb.end(), p.data.begin() + i, p.data.begin() + i + 3);
  return out;
}

// How many pixels differ (-1: the sizes differ), the first of them (y up), and a
// picture of them: magenta over the faded reference.
int difference(const Picture& want, const Picture& got, Picture& diff, int& x, int& y) {
  if (want.width != got.width || want.height != got.height) return -1;
  int n = 0;
  diff = want;
  for (size_t i = 0; i < want.rgb.size(); i += 3) {
    const bool same = std::memcmp(&want.rgb[i], &got.rgb[i], 3) == 0;
    for (int c = 0; c < 3; ++c)
      diff.rgb[i + c] = same ? uint8_t(255 - (255 - want.rgb[i + c]) / FADE) : MAGENTA[c];
    if (!same && n++ == 0) x = int(i / 3) % want.width, y = int(i / 3) / want.width;
  }
  return n;
}

// Compares one window's picture with its reference, or in update mode replaces the reference.
void check(const std::string& scene, const std::string& window, const Picture& got, bool update) {
  const std::string ref = GOLDEN + scene + "." + window + ".png";
  const std::string out = OUT + scene + "." + window;
  Picture want, diff;
  int x = 0, y = 0;
  const int n = png_read(ref, want) ? difference(want, got, diff, x, y) : -1;
  if (n == 0) return;
  const std::string where = n < 0 ? " (missing, or of another size)"
                                  : ": " + std::to_string(n) + " pixels, the first at (" +
                                        std::to_string(x) + ", " + std::to_string(y) + ")";
  if (n > 0) png_write(out + ".diff.png", diff);
  if (update) {
    EXPECT_TRUE(png_write(ref, got)) << ref;
    std::printf("golden: %s%s%s\n", ref.c_str(), where.c_str(),
                n > 0 ? (", difference: " + out + ".diff.png").c_str() : "");
    return;
  }
  png_write(out + ".png", got);
  ADD_FAILURE() << "scene " << scene << ": the " << window << " window differs from " << ref
                << where << "; shown: " << out << ".png"
                << (n > 0 ? ", difference (magenta): " + out + ".diff.png" : "");
}

// The scenes in four shares, one process each, so that ctest runs them side by side.
constexpr int SHARES = 4;
class Golden : public ::testing::TestWithParam<int> {};

TEST_P(Golden, ScenesShowTheirReferences) {
  const char *mode = std::getenv("TERNIVAL_GOLDEN"), *only = std::getenv("TERNIVAL_SCENE");
  if (only != nullptr && GetParam() != 0) GTEST_SKIP() << "TERNIVAL_SCENE runs in share 0";
  gl_app_start();
  const Layout layout = layout_read(TERNIVAL_SOURCE_DIR "/tests/layout.txt");
  const bool update = mode != nullptr && std::strcmp(mode, "update") == 0;
  std::filesystem::create_directories(OUT);
  std::ofstream written;  // for scripts/golden to drop the pictures no scene shows
  if (update) written.open(OUT + "references.txt", std::ios::app);
  int index = 0, ran = 0;
  for (const Scene& scene : scenes_read(GOLDEN + "scenes.txt", layout)) {
    if (only != nullptr ? scene.name != only : index++ % SHARES != GetParam()) continue;
    ++ran;
    gl_reset_state();
    m = Model{}, failure.clear(), events = 0, modifiers = 0;
    for (const SceneEvent& e : scene.events)
      for (const auto& [name, w] : CHECKED)  // "main" is covered by its subwindows
        if (e.window == name) send(w, e.button, e.state, e.x, e.y, e.mods);
    if (!failure.empty()) {
      ADD_FAILURE() << "scene " << scene.name << ", " << failure;
      continue;
    }
    for (const auto& [name, w] : CHECKED) {
      if (!gl_shown(windows[w].entry->id)) continue;
      check(scene.name, name, shown(w, layout, name), update);
      written << scene.name << "." << name << ".png\n";
    }
  }
  EXPECT_GT(ran, 0) << "no scene " << (only != nullptr ? only : "");
}
INSTANTIATE_TEST_SUITE_P(Share, Golden, ::testing::Range(0, SHARES));

}  // namespace
}  // namespace session
