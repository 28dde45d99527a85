#!/usr/bin/env bash
# kvxtool: usage errors, --help, --version and the man page; list: reports on stderr, exit status,
# the totals line and the JSON object.
set -uo pipefail
bin=$1
src=$2
tool=$bin/kvxtool
data=$src/tests/data/list
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

expect() {  # expected-status description command...
  local want=$1 what=$2
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [[ $got != "$want" ]]; then
    echo "FAIL $what: exit $got, expected $want"; cat "$work/err"; failed=1
  fi
}
stderr_is() {  # description expected-text
  if [[ "$(cat "$work/err")" != "$2" ]]; then
    echo "FAIL $1: stderr was:"; cat "$work/err"; failed=1
  fi
}

expect 2 "no command" "$tool"
expect 2 "unknown command" "$tool" frobnicate x.zip
expect 2 "list without archive" "$tool" list
expect 2 "list with two archives" "$tool" list a.zip b.zip
expect 2 "unknown option" "$tool" list --xml a.zip
grep -q "usage: kvxtool list" "$work/err" || { echo "FAIL usage text"; failed=1; }

expect 0 "help" "$tool" --help
grep -q "^usage: kvxtool list" "$work/out" && grep -q "^  2  wrong command line" "$work/out" ||
  { echo "FAIL help text lacks the usage or the exit statuses"; failed=1; }
expect 0 "help of a command" "$tool" extract --help
expect 0 "version" "$tool" --version
grep -qx "kvxtool [0-9][0-9.]* (archive component .*)" "$work/out" || { echo "FAIL version line"; failed=1; }
# The man page renders without warnings and names every option --help names.
if command -v groff >/dev/null; then
  man=$src/tools/kvxtool.1
  [[ -z $(groff -man -ww -z "$man" 2>&1) ]] || { echo "FAIL man page warnings"; failed=1; }
  "$tool" --help | grep -o -- '--\?[a-z][a-z-]*' | sort -u | while read -r option; do
    grep -qF -- "${option//-/\\-}" "$man" || echo "FAIL the man page lacks $option"
  done | grep . && failed=1
fi

expect 1 "missing archive" "$tool" list "$work/none.zip"
stderr_is "missing archive" "kvxtool: 11001: Input file does not exist"

expect 0 "empty archive" "$tool" list "$data/empty-archive.zip"
stderr_is "empty archive" ""
grep -q "^0 entries" "$work/out" || { echo "FAIL empty archive listing"; failed=1; }

# The last line gives the totals under the size columns.
python3 - "$work/two.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("a/one.txt", "abc")
    z.writestr("two.txt", "defgh")
PY
expect 0 "totals" "$tool" list "$work/two.zip"
grep -q '  a/one\.txt$' "$work/out" || { echo "FAIL names with / between folders"; failed=1; }
[[ $(tail -n 1 "$work/out") =~ ^\ +8\ +8\ +2\ entries$ ]] || { echo "FAIL totals: $(tail -n 1 "$work/out")"; failed=1; }

expect 0 "warning only" "$tool" list "$data/garbage-after-end.zip"
stderr_is "warning only" "kvxtool: 10204: Warning - Garbage at the end of the zipfile!"
grep -q "index.htm" "$work/out" || { echo "FAIL warning only: entries not listed"; failed=1; }

expect 1 "cut central header" "$tool" list --json "$data/cut-central-header.zip"
stderr_is "cut central header" "kvxtool: 11013: Error while reading a central header"
python3 - "$work/out" <<'PY' || failed=1
import json, sys
doc = json.load(open(sys.argv[1]))
assert doc["entries"] == [], doc["entries"]
assert doc["messages"] == [{"id": 11013, "text": "Error while reading a central header"}], doc
PY

expect 0 "stub in front" "$tool" list --json "$data/unadjusted-stub.zip"
python3 - "$work/out" <<'PY' || failed=1
import json, sys
doc = json.load(open(sys.argv[1]))
keys = ["entries", "skipped_dirs", "comment", "multi_volume", "last_volume", "first_entry_offset",
        "central_dir_offset", "end_record_pos", "structure_warning", "messages"]
assert list(doc) == keys, list(doc)
assert doc["structure_warning"] is True and doc["first_entry_offset"] == 64, doc
assert [e["seq"] for e in doc["entries"]] == [1, 2]
assert sorted(doc["entries"][0]) == sorted(["seq", "name", "method", "compressed", "uncompressed",
                                            "crc32", "dos_datetime", "modified", "encrypted", "comment",
                                            "data_method", "encryption", "key_bits"])
assert doc["messages"][0]["id"] == 10203
PY

# Bytes that are not UTF-8 come out as U+FFFD; control characters are escaped.
python3 - "$work/odd.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    info = zipfile.ZipInfo("x")
    info.create_system = 3
    z.writestr(info, b"data")
    z.comment = b"bad \xff byte\ttab"
PY
expect 0 "odd bytes" "$tool" list --json "$work/odd.zip"
python3 - "$work/out" <<'PY' || failed=1
import json, sys
raw = open(sys.argv[1], "rb").read()
doc = json.loads(raw.decode("utf-8"))
assert doc["comment"] == "bad \ufffd byte\ttab", doc["comment"]
PY
exit $failed
