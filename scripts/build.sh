#!/usr/bin/env bash
# Builds the Windows program and its tests (MinGW-w64) and the native tests (host g++).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Configured every time (a second or so when nothing changed), so that changed options apply.
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$jobs" "$@"
cmake -S tests/native -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"
