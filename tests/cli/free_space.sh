#!/usr/bin/env bash
# An extraction never fills the destination: on a small file system of its own, an archive whose
# entries declare more than it has free beyond its margin is refused before anything is written
# (report 12), and one that fits is unpacked whole. Needs a tmpfs mount: skipped where there is none.
set -uo pipefail
bin=$(cd "$1" && pwd)
tool=$bin/kvxtool
work=$(mktemp -d)
cleanup() {
  umount "$work/small" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/small"
if ! mount -t tmpfs -o size=4m tmpfs "$work/small" 2>/dev/null; then
  echo "no tmpfs can be mounted here: skipped"
  exit 0
fi
failed=0
fail() { echo "FAIL $*"; failed=1; }
cd "$work"

python3 - <<'PY'
import zipfile
with zipfile.ZipFile("big.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("index.htm", "first page")
    z.writestr("img/zeros.bin", bytes(6 << 20))
with zipfile.ZipFile("fits.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("index.htm", "first page")
    z.writestr("img/zeros.bin", bytes(2 << 20))
PY

rc=0; "$tool" extract -d small/big big.zip 2>err.txt || rc=$?
((rc == 1)) && grep -q '^kvxtool: 12: Too much output: .* more than the .* it keeps free' err.txt ||
  fail "too big: exit $rc, $(cat err.txt)"
[ -z "$(ls -A small/big)" ] || fail "too big: written $(ls -A small/big)"

rc=0; "$tool" extract -d small/fits fits.zip 2>err.txt || rc=$?
((rc == 0)) && [ "$(stat -c %s small/fits/img/zeros.bin)" = $((2 << 20)) ] || fail "fits: exit $rc, $(cat err.txt)"

((failed == 0)) && echo "free space: all cases passed"
exit $failed
