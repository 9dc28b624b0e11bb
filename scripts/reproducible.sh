#!/usr/bin/env bash
# Checks that the program builds to the same bytes anywhere: clones HEAD (commits only, not the
# working tree) into two temporary folders of different path lengths, runs the release build in
# each, one after the other and in another time zone and umask, and compares Tessilor.exe and the
# zip. Exits 1 when they differ.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
base=$(mktemp -d)
trap 'rm -rf "$base"' EXIT
dirs=("$base/a" "$base/a-folder-with-a-much-longer-name/b")
for i in 0 1; do
  dir=${dirs[$i]}
  # The PE header held the link time to the second: the second build links later.
  [ "$i" = 1 ] && sleep 2
  git clone -q "$PWD" "$dir"
  # A build's log is shown only when it fails.
  if ! (cd "$dir" && if [ "$i" = 1 ]; then export TZ=Asia/Shanghai; umask 002; fi
        bash scripts/release.sh) >"$base/log$i" 2>&1; then
    cat "$base/log$i"
    exit 1
  fi
done
sums() { sha256sum "${dirs[0]}/$1" "${dirs[1]}/$1" | sed "s|$base/||"; }
exe=build/win-release/Tessilor.exe
zip=$(cd "${dirs[0]}" && ls build/release/Tessilor-*.zip)
sums "$exe"
sums "$zip"
status=0
for f in "$exe" "$zip"; do
  if ! cmp -s "${dirs[0]}/$f" "${dirs[1]}/$f"; then
    echo "differs: $f (first bytes that differ: offset, then the two octal values)"
    cmp -l "${dirs[0]}/$f" "${dirs[1]}/$f" | head -20 || true
    status=1
  fi
done
[ "$status" = 0 ] && echo "reproducible: both builds are byte-identical"
exit "$status"
