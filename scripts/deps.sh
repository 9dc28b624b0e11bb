#!/usr/bin/env bash
# Installs what building, running and testing need, when it is missing (Debian 12, as root).
# "run" installs only what building and running the program need: no test tools, no 32-bit Wine.
set -euo pipefail
packages=(cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb fonts-wqy-microhei imagemagick x11-utils
          locales python3)
if [ "${1:-}" != run ]; then
  # 32-bit Windows programs (a test's fixture) run in wine32, which is built for i386 only.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  packages+=(g++ googletest gcc-mingw-w64-i686-posix wine32:i386)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
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
[ "$generate" = 1 ] && locale-gen >/dev/null
true
