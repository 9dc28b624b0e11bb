# Sourced: a Wine set up for the program. Chinese ANSI code page, a CJK font, no Mono or Gecko
# installers, a display (Xvfb when there is none) and one wineserver kept running for all starts.
# WINEPREFIX may be set by the caller; the default is a prefix inside build/.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64

tessilor_started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  tessilor_started_xvfb=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

# A prefix holds the system DLLs of each architecture Wine had when it was made: one made before
# wine32 was installed no longer starts ("could not load kernel32.dll"). Each prefix records the
# architectures it was made with and is made afresh when they have changed.
arches="64"
[ -x /usr/lib/wine/wine ] && arches="64 32"  # wine32's loader
if [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$WINEPREFIX/tessilor-arches" 2>/dev/null)" != "$arches" ]; then
  case "$WINEPREFIX" in
    "$root"/build/*) wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" ;;
    *) echo "warning: $WINEPREFIX was made for other architectures than Wine's ($arches)" >&2 ;;
  esac
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  iconv -f UTF-8 -t GBK "$root/scripts/wine-prefix.reg" > "$WINEPREFIX/tessilor.reg"
  wine regedit /S "$WINEPREFIX/tessilor.reg" >/dev/null 2>&1
  wineserver -w
  echo "$arches" > "$WINEPREFIX/tessilor-arches"
fi
wineserver -p >/dev/null 2>&1 || true  # one may be running already
# Start Wine's own services now, detached from our output: started later by a test, they would
# hold the test runner's pipes open after the test has ended.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

tessilor_wine_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$tessilor_started_xvfb" ] && kill "$tessilor_started_xvfb" 2>/dev/null || true
}
