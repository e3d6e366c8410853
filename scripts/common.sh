# Shared by scripts/run, scripts/test and scripts/bench (sourced, not run): the
# packages Ternival needs and a quiet install of whichever of them are missing.

# Building and running the program (configured with -DTERNIVAL_TESTS=OFF, which
# looks for neither GoogleTest nor Google Benchmark); x11-utils gives the
# xdpyinfo that scripts/run checks the display with.
RUN_PACKAGES=(g++ cmake make pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev
  libgl1-mesa-dri libx11-dev x11-utils)

# Everything the tests and benchmarks use on top: their libraries (libpng reads
# and writes the golden pictures), the XTest extension that sends real input, a
# virtual X server, X tools for looking at windows, picture tools, valgrind, the
# desktop entry and metainfo checkers, man, and what builds and checks the
# Debian package.
TEST_PACKAGES=("${RUN_PACKAGES[@]}" libgtest-dev libbenchmark-dev libxtst-dev libpng-dev xvfb
  xauth xdotool imagemagick valgrind desktop-file-utils appstream man-db dpkg-dev lintian)

# Building the browser version (scripts/web): Emscripten (which brings Node.js)
# and Python's static web server; the font tables under web/fonts, checked in,
# are remade from the desktop's freeglut only when missing (FONT_PACKAGES).
WEB_PACKAGES=(emscripten python3 gzip)
FONT_PACKAGES=(g++ freeglut3-dev libgl1-mesa-dev xvfb)

# The browser tests (tests/web) and scripts/bench-web on top of the web build: headless
# Chromium, Node.js and npm for their npm packages (puppeteer-core, see tests/web/package.json).
BROWSER_TEST_PACKAGES=("${WEB_PACKAGES[@]}" chromium nodejs)

# Installs the named Debian packages that are not installed yet; runs
# apt-get update only when something is missing.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  ((${#missing[@]} == 0)) && return 0

  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages: ${missing[*]}; install them as root (apt-get install)." >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

# Installs tests/web's npm packages (puppeteer-core, never a browser of its own) as its
# package-lock.json says, unless they are installed already; npm comes with some builds of
# nodejs and is Debian's package npm otherwise.
ensure_browser_test_modules() {
  local dir=tests/web
  [[ $dir/node_modules/.package-lock.json -nt $dir/package-lock.json ]] && return 0
  command -v npm >/dev/null || ensure_packages npm
  echo "Installing the npm packages of $dir"
  (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}

# Number of parallel build jobs: the machine's cores.
build_jobs() {
  nproc 2>/dev/null || echo 2
}
