#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native ones, then the Windows ones
# under Wine in a throw-away prefix. Ends with one line naming every skipped test and why.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
(cd build/native && ctest --output-on-failure)
export WINEPREFIX="$PWD/build/test-prefix"
rm -rf "$WINEPREFIX"
source scripts/wine-env.sh
trap tessilor_wine_cleanup EXIT
cd build/win
rc=0
ctest --output-on-failure --timeout 600 || rc=$?
# gtest writes a skip's reason on the line after "...: Skipped"; ctest keeps every output here.
skipped="$(awk '/: Skipped$/ { getline why; next }
                /^\[  SKIPPED \] [^ ]+ \(/ && why != "" { printf "%s%s (%s)", sep, $4, why; sep = "; "; why = "" }' \
           Testing/Temporary/LastTest.log 2>/dev/null | tr -d '\r')"
echo "skipped: ${skipped:-none}"
exit "$rc"
