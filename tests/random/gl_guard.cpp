// Wrapped GL, GLU and GLUT entry points of the random-event test, listed once in
// gl_guard.def: each checks its numbers and passes the call on unchanged. The
// linker routes the program's calls here through -Wl,--wrap (tests/CMakeLists.txt
// reads the same list); calls made inside the GL libraries themselves are not seen.
#include "gl_guard.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

long gl_guard_faults = 0;
const char* gl_guard_first_fault = nullptr;
int gl_guard_modifiers = -1;
const char* gl_guard_exit_context = nullptr;

namespace {

bool all_finite_impl(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// True when every number is finite.
template <class... V>
bool all_finite(V... values) {
  return all_finite_impl({static_cast<double>(values)...});
}

// True when the first n numbers behind the pointer are finite.
template <class T>
bool finite_n(const T* values, long n) {
  for (long i = 0; i < n; i++)
    if (!std::isfinite(values[i])) return false;
  return true;
}

// Counts a fault and keeps the name of the first one.
void guard_fault(const char* name) {
  if (gl_guard_first_fault == nullptr) gl_guard_first_fault = name;
  gl_guard_faults++;
}

}  // namespace

// Clears the fault record before a run.
void gl_guard_reset() {
  gl_guard_faults = 0;
  gl_guard_first_fault = nullptr;
}

extern "C" {

// One checking wrapper per entry point of gl_guard.def.
#define GUARD(name, R, params, args, numbers_finite) \
  R __real_##name params;                            \
  R __wrap_##name params {                           \
    if (!(numbers_finite)) guard_fault(#name);       \
    return __real_##name args;                       \
  }
#define SEAM(name)
#include "gl_guard.def"

int __real_glutGetModifiers();
[[noreturn]] void __real_exit(int status);

// glutGetModifiers: the injected state during a random run, GLUT's otherwise.
int __wrap_glutGetModifiers() {
  if (gl_guard_modifiers >= 0) return gl_guard_modifiers;
  return __real_glutGetModifiers();
}

// exit: refused while a random run delivers events, passed on otherwise.
[[noreturn]] void __wrap_exit(int status) {
  if (gl_guard_exit_context != nullptr) {
    std::fprintf(stderr, "exit(%d) called from an event: %s\n", status, gl_guard_exit_context);
    std::abort();
  }
  __real_exit(status);
}

}  // extern "C"
