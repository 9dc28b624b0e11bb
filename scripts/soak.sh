#!/usr/bin/env bash
# The long run: 1000 refills, selections with ticks and module focus changes, 100 port lists,
# icon cache rebuilds and About boxes, with the handle, GDI and memory figures before and after.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh >/dev/null
export WINEPREFIX="$PWD/build/soak-prefix"
source scripts/wine-env.sh
trap tessilor_wine_cleanup EXIT
cd build/win/tests
TESSILOR_SOAK_COUNT="${1:-1000}" wine soak_tests.exe | iconv -f GBK -t UTF-8
