#!/bin/bash
# ./build.sh run   installs what is missing, builds, and starts KORVA
# ./build.sh test  installs what is missing, builds, and runs every test
# ./build.sh bench installs what is missing, builds, and runs the benchmark
set -euo pipefail
cd "$(dirname "$0")"

# Building needs the compiler, CMake and the gtkmm-2.4 headers; the tests
# need GoogleTest, an X server of their own (Xvfb), xdotool for real input,
# xclip for text on the clipboard, Xlib for the black-box harness that reads
# the screen from outside, and the fonts the window names (DejaVu, and
# Liberation for "Arial").
packages=(build-essential cmake pkg-config libgtkmm-2.4-dev libgtk2.0-dev
          googletest libgtest-dev libgmock-dev xvfb xdotool xclip libx11-dev
          fonts-dejavu-core fonts-liberation util-linux)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j"$(nproc)"
}

case "${1:-}" in
  run)
    install_missing
    build
    exec build/app/korva
    ;;
  test)
    install_missing
    build
    mkdir -p build/test-output
    cd build
    KORVA_TEST_OUTPUT="$PWD/test-output" ctest --output-on-failure -j"$(nproc)"
    ;;
  bench)
    install_missing
    build
    mkdir -p build/test-output
    tests/support/sandbox "$PWD/build/bench/korva_bench" "$PWD/build/test-output/bench.txt"
    ;;
  *)
    echo "usage: $0 run|test|bench" >&2
    exit 2
    ;;
esac
