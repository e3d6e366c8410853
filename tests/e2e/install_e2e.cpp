// `cmake --install` of the build tree this test belongs to, into a fresh
// prefix: the program lands in bin/, the desktop entry (category Education)
// under share/applications and the icon in the hicolor theme, and the entry
// passes desktop-file-validate when that tool is on the PATH.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Exit status and output (both streams) of a shell command.
struct CommandResult {
  int status = -1;
  std::string output;
};

CommandResult run(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) result.output += buffer;
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string quoted(const fs::path& p) {
  return "'" + p.string() + "'";
}

std::string read_file(const fs::path& p) {
  std::ifstream in(p);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The build tree: the nearest folder above the program that holds a CMakeCache.txt.
fs::path build_tree() {
  for (fs::path dir = fs::path(TERNIVAL_BINARY).parent_path(); !dir.empty();
       dir = dir.parent_path()) {
    if (fs::exists(dir / "CMakeCache.txt")) return dir;
    if (dir == dir.root_path()) break;
  }
  return {};
}

class InstallE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ternival-install-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    prefix = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(prefix, ignored);
  }
  fs::path prefix;
};

TEST_F(InstallE2e, InstallPutsProgramDesktopEntryAndIconUnderThePrefix) {
  const fs::path tree = build_tree();
  ASSERT_FALSE(tree.empty()) << "no CMakeCache.txt above " << TERNIVAL_BINARY;
  const CommandResult install =
      run("cmake --install " + quoted(tree) + " --prefix " + quoted(prefix));
  ASSERT_EQ(install.status, 0) << install.output;

  const fs::path program = prefix / "bin" / "ternival";
  EXPECT_EQ(access(program.c_str(), X_OK), 0) << program << " missing or not executable";

  const fs::path entry = prefix / "share" / "applications" / "ternival.desktop";
  const std::string text = read_file(entry);
  EXPECT_NE(text.find("[Desktop Entry]"), std::string::npos) << entry;
  EXPECT_NE(text.find("\nExec=ternival"), std::string::npos);
  EXPECT_NE(text.find("\nIcon=ternival"), std::string::npos);
  EXPECT_NE(text.find("Education;"), std::string::npos);

  const fs::path icon = prefix / "share/icons/hicolor/scalable/apps/ternival.svg";
  EXPECT_NE(read_file(icon).find("<svg"), std::string::npos) << icon;

  if (run("command -v desktop-file-validate").status == 0) {
    const CommandResult valid = run("desktop-file-validate " + quoted(entry));
    EXPECT_EQ(valid.status, 0) << valid.output;
    EXPECT_EQ(valid.output.find("error"), std::string::npos) << valid.output;
  }
}

}  // namespace
