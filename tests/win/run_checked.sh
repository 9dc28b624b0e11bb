#!/usr/bin/env bash
# Runs one Windows test program under Wine with Wine's heap checks on, and fails it when they
# report anything, also from the program's exit. Free-block and tail checking (GlobalFlag 0x30
# for this image only) make Wine fill released blocks with a pattern and look at every block
# whenever a heap is validated; the program validates its heaps after each test and at exit.
# Validating on every allocation (0x80) finds the same faults a little sooner at several
# times the cost.
#
# Wine now and then loses the start of a new process and says so ("ShellExecuteEx failed:
# Internal error", in the locale's words) before the program has printed anything. Such a start is
# tried again, twice at most; a program that ran and failed stays failed.
set -u
exe="$1"
shift
name="$(basename "$exe")"
wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\$name" \
  /v GlobalFlag /t REG_DWORD /d 0x30 /f >/dev/null 2>&1
log="$(mktemp)"
out="$(mktemp)"
for attempt in 1 2 3; do
  WINEDEBUG="-all,err+heap" wine "$exe" "$@" 2>"$log" | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && grep -q 'ShellExecuteEx' "$log"; then
    echo "Wine could not start $name (attempt $attempt): $(tr -d '\r' <"$log" | head -c 200)" >&2
    continue
  fi
  break
done
cat "$log" >&2
if grep -q 'err:heap' "$log"; then
  echo "Wine's heap validation reported errors (err:heap above)" >&2
  rc=1
fi
rm -f "$log" "$out"
exit "$rc"
