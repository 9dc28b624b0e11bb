# Sourced: a Wine set up for the program. Chinese ANSI code page, a CJK font, no Mono or Gecko
# installers, a display (Xvfb when there is none) and one wineserver kept running for all starts.
# WINEPREFIX may be set by the caller; the default is a prefix inside build/.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# A shell that started before deps.sh generated the locale can't switch to it itself and would
# say so; the programs it starts from here on can.
export LC_ALL=zh_CN.UTF-8 2>/dev/null
export WINEDEBUG=-all
# No Mono or Gecko installers; and no debugger: Wine's would wait on a crashed program until the
# test's time-out, where without it the program ends at once with its fault.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64

tessilor_started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
  tessilor_started_xvfb=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

# A prefix holds the system DLLs of each architecture Wine had when it was made: one made before
# wine32 was installed no longer starts ("could not load kernel32.dll"). Each prefix records the
# architectures it was made with and is made afresh when they have changed.
# 32-bit Wine (wine32) may be missing (a half-synced mirror), and some kernels can't run 32-bit
# programs at all ("Exec format error"). There Wine runs through its 64-bit loader alone, in a
# 64-bit-only prefix, and the tests that need a 32-bit process are skipped: TESSILOR_NO_WOW64
# says why.
arches="64"
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  arches="64 32"
  unset TESSILOR_NO_WOW64
else
  if [ -e /usr/lib/wine/wine ]; then
    export TESSILOR_NO_WOW64="this machine's kernel runs no 32-bit program, so Wine has no 32-bit side"
  else
    export TESSILOR_NO_WOW64="32-bit Wine (wine32:i386) is not installed"
  fi
  shim="$root/build/wine64-only"
  mkdir -p "$shim"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' > "$shim/$name"
    chmod +x "$shim/$name"
  done
  case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
fi
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
