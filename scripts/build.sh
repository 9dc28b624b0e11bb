#!/usr/bin/env bash
# Builds the Windows program and its tests and benchmarks (MinGW-w64) in build/win, and the native
# tests (host g++) in build/native. "program" builds the program alone, in a tree of its own
# (build/win-release), so that running or releasing it never builds or configures the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Configured every time (a second or so when nothing changed), with every option given, so that
# an option set once never sticks to a tree.
if [ "${1:-}" = program ]; then
  cmake -S . -B build/win-release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTESSILOR_TESTS=OFF -DTESSILOR_BENCH=OFF >/dev/null
  cmake --build build/win-release -j"$jobs" --target Tessilor
  exit
fi
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DTESSILOR_TESTS=ON -DTESSILOR_BENCH=ON >/dev/null
cmake --build build/win -j"$jobs" "$@"
cmake -S tests/native -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"
