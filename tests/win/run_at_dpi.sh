#!/usr/bin/env bash
# Runs one Windows test program (through run_checked.sh) with the display at another scale: the
# prefix's LogPixels is set for this run and put back after, as a user's display setting would
# be. Wine reads it when a program starts.
set -u
dpi="$1"
shift
key='HKCU\Control Panel\Desktop'
before=$(wine reg query "$key" /v LogPixels 2>/dev/null | grep -o '0x[0-9a-fA-F]*' | head -1)
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
bash "$(dirname "$0")/run_checked.sh" "$@"
rc=$?
if [ -n "$before" ]; then
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((before))" /f >/dev/null 2>&1
else
  wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
fi
exit "$rc"
