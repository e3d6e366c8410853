// A private Xvfb per test process: Xvfb picks a free display itself and writes
// its number to a pipe once it accepts connections (-displayfd).
#include "xserver.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

pid_t server_pid = -1;
std::string server_display;

}  // namespace

std::string xserver_start() {
  if (server_pid > 0) return server_display;
  int fds[2];
  if (pipe(fds) != 0) std::exit(1);
  server_pid = fork();
  if (server_pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the test
    if (std::freopen("/dev/null", "w", stderr) == nullptr) _exit(127);
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1400x1000x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  close(fds[0]);
  if (server_pid < 0 || number.empty()) {
    std::fprintf(stderr, "xserver_start: Xvfb did not start (is the xvfb package installed?)\n");
    std::exit(1);
  }
  server_display = ":" + number;
  setenv("DISPLAY", server_display.c_str(), 1);
  std::atexit([] { xserver_stop(); });
  return server_display;
}

void xserver_stop() {
  if (server_pid <= 0) return;
  kill(server_pid, SIGTERM);
  waitpid(server_pid, nullptr, 0);
  server_pid = -1;
}
