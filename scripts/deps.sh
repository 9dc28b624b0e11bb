#!/usr/bin/env bash
# Installs what building, running and testing need, when it is missing (Debian 12, as root).
#   deps.sh run   what building and running the program need
#   deps.sh       that, what the test suite needs, and 32-bit support for the one test of a 32-bit
#                 process (32-bit Wine and the i686 compiler); without the latter that test is
#                 skipped and everything else runs.
# A package mirror is often half-synced: one index of one architecture fails to download, or the
# i386 libraries lag the 64-bit ones already installed. Neither stops this script; only a package
# the program or the suite needs that can't be installed does. Nothing is ever removed and no
# release is forced.
set -uo pipefail
run_packages=(cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb fonts-wqy-microhei imagemagick
              x11-utils locales python3)
test_packages=(g++ googletest)
wow64_packages=(gcc-mingw-w64-i686-posix wine32:i386)

export DEBIAN_FRONTEND=noninteractive
apt_log="$(mktemp)"
trap 'rm -f "$apt_log"' EXIT

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
  done
}

# apt's first and last errors, without "E: " and a closing full stop.
first_error() { grep -m1 '^E:' "$apt_log" | sed 's/^E: *//; s/\.* *$//' || true; }
last_error() { grep '^E:' "$apt_log" | tail -n1 | sed 's/^E: *//; s/\.* *$//' || true; }

# apt-get update fails as a whole when one index is mid-sync, though every other list was fetched.
# Tried once more after a short wait; after that the lists apt has are used.
updated=0
update_lists() {
  [ "$updated" = 1 ] && return
  updated=1
  apt-get update -qq >"$apt_log" 2>&1 && return
  sleep "${TESSILOR_APT_RETRY_WAIT:-10}"
  apt-get update -qq >"$apt_log" 2>&1 && return
  echo "warning: apt-get update failed ($(first_error)); going on with the package lists apt has" >&2
}

# --no-remove: apt stops rather than remove a package to make room for another.
install_packages() {
  apt-get install -y -qq --no-remove "$@" >"$apt_log" 2>&1
}


wanted=("${run_packages[@]}")
[ "${1:-}" != run ] && wanted+=("${test_packages[@]}")
mapfile -t missing < <(missing_of "${wanted[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  update_lists
  if ! install_packages "${missing[@]}"; then
    cat "$apt_log" >&2
    echo "error: could not install ${missing[*]} ($(last_error))" >&2
    exit 1
  fi
fi

if [ "${1:-}" != run ]; then
  # 32-bit Windows programs run in wine32, which is built for i386 only.
  mapfile -t missing < <(missing_of "${wow64_packages[@]}")
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing 32-bit support: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
      updated=0
    fi
    update_lists
    # Each alone: the compiler installs even when the i386 libraries can't.
    for p in "${missing[@]}"; do
      if ! install_packages "$p"; then
        case "$p" in wine32*) what="32-bit Wine ($p)" ;; *) what="the i686 compiler ($p)" ;; esac
        echo "warning: $what could not be installed: $(last_error); the test of a 32-bit process will be skipped" >&2
      fi
    done
  fi
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives code page 936 (GBK), the
# suite's locale; en_US.UTF-8 gives 1252, the locale the program must also read right under.
generate=0
for loc in zh_CN en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" >> /etc/locale.gen
    generate=1
  fi
done
if [ "$generate" = 1 ] && ! locale-gen >/dev/null; then
  echo "error: could not generate the zh_CN.UTF-8 and en_US.UTF-8 locales" >&2
  exit 1
fi
exit 0
