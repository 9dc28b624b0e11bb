#!/usr/bin/env bash
# Installs what running needs, builds the program alone, and starts it under Wine. Without a
# display it runs under Xvfb, saves a screenshot of the main window and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
bash scripts/build.sh program >/dev/null
had_display="${DISPLAY:-}"
source scripts/wine-env.sh
if [ -n "$had_display" ]; then
  exec wine build/win-release/Tessilor.exe
fi
trap tessilor_wine_cleanup EXIT
wine build/win-release/Tessilor.exe &
app=$!
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q 'Quorvane' && break
  sleep 0.2
done
sleep 2
shot="$PWD/build/screenshot.png"
import -window root "$shot"
kill "$app" 2>/dev/null || true
echo "$shot"
