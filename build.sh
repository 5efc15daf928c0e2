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

# CTest shows a skipped case without its reason, and a case skipped inside
# a binary it runs as one test not at all; GoogleTest's output in the log
# has both.
show_skipped() {
  [ -f "$1" ] || return 0
  awk '
    /: Skipped$/ { taking = 1; reason = ""; next }
    taking && /^\[  SKIPPED \] / {
      name = $0; sub(/^\[  SKIPPED \] /, "", name); sub(/ \([0-9]+ ms\)$/, "", name)
      list = list "  " name ": " reason "\n"; taking = 0; next
    }
    taking { reason = reason (reason == "" ? "" : " ") $0 }
    END { if (list != "") printf "\nSkipped, and why:\n%s", list }
  ' "$1"
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
    status=0
    KORVA_TEST_OUTPUT="$PWD/test-output" ctest --output-on-failure -j"$(nproc)" || status=$?
    show_skipped Testing/Temporary/LastTest.log
    exit "$status"
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
