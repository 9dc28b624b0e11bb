#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native ones, then the Windows ones
# under Wine in a throw-away prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
(cd build/native && ctest --output-on-failure)
export WINEPREFIX="$PWD/build/test-prefix"
rm -rf "$WINEPREFIX"
source scripts/wine-env.sh
trap tessilor_wine_cleanup EXIT
cd build/win && ctest --output-on-failure --timeout 600
