#!/usr/bin/env bash
# Sets split by zip -s into set.z01, set.z02, ... and set.zip: list reads the directory across the
# parts, join gives zip -s 0's bytes, extract unpacks what unzip unpacks from that join; the first
# part is refused, join never writes over a part (by its name or through a link) nor into a folder
# that is not there, and a missing part is named as it is called.
set -euo pipefail
bin=$(cd "$1" && pwd)
tool=$bin/kvxtool
command -v zip >/dev/null || { echo "zip missing: skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cd "$work"
mkdir -p tree/sub
# No entry longer than a part: zip -s 0 rejoins an entry that crosses two part ends wrongly.
for i in $(seq 1 30); do head -c $((i * 2000)) /dev/urandom >"tree/r$i.bin"; done
# Enough names for the central directory to start on an earlier part than the last.
for i in $(seq 1 1300); do echo "$i" >"tree/sub/t$i.txt"; done
zip -q -r -s 64k set.zip tree
zip -q -s 0 set.zip --out ref.zip
[ -e set.z02 ] || fail "expected a set of three parts or more"

"$tool" list --json set.zip >list.json 2>err.txt || fail "list exited $?: $(cat err.txt)"
python3 - list.json ref.zip <<'PY' || fail "list differs from the joined archive"
import json, sys, zipfile
listed = json.load(open(sys.argv[1]))
infos = zipfile.ZipFile(sys.argv[2]).infolist()
assert listed["multi_volume"] and listed["last_volume"] > 1, listed["last_volume"]
names = [e["name"].replace("\\", "/") for e in listed["entries"]]
files = [i for i in infos if not i.is_dir()]
assert names == [i.filename for i in files], (len(names), len(files))
assert [e["crc32"] for e in listed["entries"]] == [i.CRC for i in files]
PY

"$tool" join set.zip joined.zip 2>err.txt || fail "join exited $?: $(cat err.txt)"
cmp -s joined.zip ref.zip || fail "joined archive differs from zip -s 0 --out"

"$tool" extract -d x set.zip 2>err.txt || fail "extract exited $?: $(cat err.txt)"
[ ! -s err.txt ] || fail "extract printed: $(cat err.txt)"
mkdir y && (cd y && unzip -q ../ref.zip) && diff -r y x || fail "extracted tree differs from unzip's"

rc=0; "$tool" join set.z01 kept.zip 2>err.txt || rc=$?
((rc == 1)) && grep -q '^kvxtool: 11037: This is the first disk in a backup set,' err.txt ||
  fail "first part: exit $rc, $(cat err.txt)"

cp set.z01 z01.before
ln -s set.z01 link.zip
for output in set.z01 set.Z01 link.zip; do
  rc=0; "$tool" join set.zip "$output" 2>err.txt || rc=$?
  ((rc == 1)) && grep -q 'would replace a file of the set' err.txt || fail "join onto $output: exit $rc, $(cat err.txt)"
done
cmp -s set.z01 z01.before && [ ! -e set.Z01 ] || fail "a join wrote over a part of the set"
rc=0; "$tool" join set.zip nowhere/out.zip 2>err.txt || rc=$?
((rc == 1)) && grep -q "no folder '$work/nowhere'" err.txt || fail "join into a missing folder: exit $rc, $(cat err.txt)"

mv set.z02 hidden
for command in "join set.zip missing.zip" "extract -d z set.zip"; do
  rc=0; "$tool" $command 2>err.txt || rc=$?
  ((rc == 1)) && grep -q '^kvxtool: 11001: ' err.txt && grep -qx "kvxtool: missing file: $work/set.z02" err.txt ||
    fail "$command without set.z02: exit $rc, $(cat err.txt)"
done
[ ! -e missing.zip ] || fail "missing part: an output was left"
echo "split sets: all cases passed"
