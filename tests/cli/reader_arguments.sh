#!/usr/bin/env bash
# The reader's command line, with no display to open a window on: a wrong one is one usage line on
# stderr and status 2; --help and --version answer on stdout.
set -euo pipefail
bin=$1
[ -x "$bin/folivo" ] || { echo "reader_arguments: no reader in this build, skipped"; exit 0; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$bin/folivo" "$@"; }
for wrong in "a.kvx b.kvx" "--open" "file://elsewhere/a.kvx"; do
  status=0
  # shellcheck disable=SC2086
  err=$(run $wrong 2>&1 >/dev/null) || status=$?
  [ "$status" = 2 ] || { echo "FAIL '$wrong': status $status"; exit 1; }
  [ "$err" = "usage: folivo [--help | --version] [ISSUE]" ] || { echo "FAIL '$wrong': $err"; exit 1; }
done
run --help | head -1 | grep -qx 'usage: folivo \[--help | --version\] \[ISSUE\]'
run --version | grep -qx 'folivo [0-9.]*'
echo "reader_arguments: ok"
