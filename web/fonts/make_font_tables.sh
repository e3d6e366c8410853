#!/usr/bin/env bash
# Rebuilds web/fonts/font_tables.c from the system freeglut: compiles make_font_tables.cpp and
# runs it on a private Xvfb. Needs g++, freeglut3-dev and xvfb (scripts/web installs them).
set -euo pipefail
cd "$(dirname "$0")"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program's own glBitmap, glVertex2f... must be the ones freeglut's calls bind to.
g++ -std=c++17 -O1 -Wall -Wl,--export-dynamic make_font_tables.cpp -o "$work/make_font_tables" \
  -lglut -lGL

display_number=$((90 + RANDOM % 100))
while [[ -e /tmp/.X${display_number}-lock ]]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 320x240x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [[ -e /tmp/.X11-unix/X$display_number ]] && break
  sleep 0.1
done

DISPLAY=":$display_number" "$work/make_font_tables" "$work/font_tables.c"
mv "$work/font_tables.c" font_tables.c
echo "wrote web/fonts/font_tables.c"
