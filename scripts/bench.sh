#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine, pinned to one CPU so that figures repeat.
set -euo pipefail
cd "$(dirname "$0")/.."
# Everything, wineserver included, on one CPU.
if [ -z "${TESSILOR_PINNED:-}" ]; then
  TESSILOR_PINNED=1 exec taskset -c 0 bash "$0" "$@"
fi
bash scripts/deps.sh
bash scripts/build.sh >/dev/null
export WINEPREFIX="$PWD/build/bench-prefix"
source scripts/wine-env.sh
trap tessilor_wine_cleanup EXIT
cp build/win/Tessilor.exe build/win/tests/
cd build/win/tests
wine tessilor_bench.exe "$@" | iconv -f GBK -t UTF-8
