// Private Xvfb per test process: started once, found through -displayfd,
// stopped at exit (and by the kernel should this process die first).
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
// Displays are tried from a high number that depends on the process id, so
// that parallel test processes and the low displays people start by hand
// rarely meet; a taken number makes Xvfb exit and the next one is tried.
constexpr int DISPLAY_BASE = 200;
constexpr int DISPLAY_SPREAD = 3000;
constexpr int DISPLAY_TRIES = 40;

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

// Runs Xvfb in the child with the write end of the pipe as its -displayfd.
[[noreturn]] void exec_xvfb(int display, int write_fd) {
  // The server must not outlive a test process that crashes or is killed.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  char fd_text[16];
  std::snprintf(fd_text, sizeof fd_text, "%d", write_fd);
  char display_text[16];
  std::snprintf(display_text, sizeof display_text, ":%d", display);
  // Keep the server's chatter out of the test output.
  FILE* null_out = std::freopen("/dev/null", "w", stderr);
  (void)null_out;
  execlp(XVFB_PATH, XVFB_PATH, display_text, "-displayfd", fd_text, "-screen", "0", SCREEN_GEOMETRY,
         "-nolisten", "tcp", static_cast<char*>(nullptr));
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

// Starts Xvfb on one display number; true and the number once it is ready.
bool try_display(int display, pid_t* pid_out, std::string* number) {
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
    exec_xvfb(display, fds[1]);
  }
  close(fds[1]);
  bool ok = read_display_number(fds[0], number);
  close(fds[0]);
  if (!ok) {
    kill(pid, SIGKILL);
    reap_within(pid, STOP_WAIT_MS);
    return false;
  }
  *pid_out = pid;
  return true;
}

}  // namespace

std::string xserver_start() {
  if (server_pid > 0) return server_display;
  int first = DISPLAY_BASE + static_cast<int>(getpid() % DISPLAY_SPREAD);
  std::string number;
  pid_t pid = -1;
  for (int i = 0; i < DISPLAY_TRIES && pid < 0; ++i) {
    number.clear();
    if (!try_display(first + i, &pid, &number)) pid = -1;
  }
  if (pid < 0) {
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
