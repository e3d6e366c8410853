// Private Xvfb per test process: started once on the display it picks
// itself (-displayfd), stopped at exit (and by the kernel should this process die first).
#include "xserver.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr const char* XVFB_PATH = "Xvfb";
constexpr const char* SCREEN_GEOMETRY = "1400x1000x24";
constexpr int STOP_WAIT_MS = 2000;  // grace after SIGTERM before SIGKILL
constexpr int STOP_POLL_MS = 10;

pid_t server_pid = -1;
std::string server_display;

// Waits up to ms for the child to end; true when it has been reaped.
bool reap_within(pid_t pid, int ms) {
  for (int waited = 0; waited <= ms; waited += STOP_POLL_MS) {
    int status = 0;
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno == ECHILD)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(STOP_POLL_MS));
  }
  return false;
}

// Runs Xvfb in the child with the write end of the pipe as its -displayfd:
// the server picks a free display itself and writes its number there.
[[noreturn]] void exec_xvfb(int write_fd) {
  // The server must not outlive a test process that crashes or is killed.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  char fd_text[16];
  std::snprintf(fd_text, sizeof fd_text, "%d", write_fd);
  // Keep the server's chatter out of the test output.
  FILE* null_out = std::freopen("/dev/null", "w", stderr);
  (void)null_out;
  execlp(XVFB_PATH, XVFB_PATH, "-displayfd", fd_text, "-screen", "0", SCREEN_GEOMETRY, "-nolisten",
         "tcp", static_cast<char*>(nullptr));
  _exit(127);
}

// Reads the display number Xvfb writes once it accepts connections.
bool read_display_number(int read_fd, std::string* number) {
  char c = 0;
  while (true) {
    ssize_t n = read(read_fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    if (c == '\n') return !number->empty();
    number->push_back(c);
  }
}

void stop_at_exit() {
  xserver_stop();
}

}  // namespace

std::string xserver_start() {
  if (server_pid > 0) return server_display;
  int fds[2];
  if (pipe(fds) != 0) {
    std::perror("xserver_start: pipe");
    std::exit(1);
  }
  pid_t pid = fork();
  if (pid < 0) {
    std::perror("xserver_start: fork");
    std::exit(1);
  }
  if (pid == 0) {
    close(fds[0]);
    exec_xvfb(fds[1]);
  }
  close(fds[1]);
  std::string number;
  const bool ok = read_display_number(fds[0], &number);
  close(fds[0]);
  if (!ok) {
    kill(pid, SIGKILL);
    reap_within(pid, STOP_WAIT_MS);
    std::fprintf(stderr, "xserver_start: Xvfb did not start (is the xvfb package installed?)\n");
    std::exit(1);
  }
  server_pid = pid;
  server_display = ":" + number;
  setenv("DISPLAY", server_display.c_str(), 1);
  static bool registered = false;
  if (!registered) {
    std::atexit(stop_at_exit);
    registered = true;
  }
  return server_display;
}

void xserver_stop() {
  if (server_pid <= 0) return;
  kill(server_pid, SIGTERM);
  if (!reap_within(server_pid, STOP_WAIT_MS)) {
    kill(server_pid, SIGKILL);
    reap_within(server_pid, STOP_WAIT_MS);
  }
  server_pid = -1;
  server_display.clear();
}
