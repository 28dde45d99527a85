#!/usr/bin/env bash
# Names read one way by list and extract: a backslash separates folders whatever the maker's host,
# and a Shift-JIS name keeps its two-byte characters whole. A wrong password leaves no empty
# folder. Reports read right in a terminal: the table's line breaks as one space, "1 volume", no
# totals for an archive that was not read; the JSON gives the DOS time in ISO 8601 too.
set -uo pipefail
bin=$(cd "$1" && pwd)
tool=$bin/kvxtool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }
cd "$work"

python3 - <<'PY'
import zipfile
# Raw name bytes that are not UTF-8 are put in place of ASCII stand-ins of the same length.
names = [(b"extra\\nota.htm", 3), (b"\x95\\\x82\xbe\x82\xe6/\x88\xea\x97\x97\x95\\.txt", 11),
         (b"Perch\x82\\pagina.htm", 0)]
with zipfile.ZipFile("names.zip", "w") as z:
    for i, (raw, host) in enumerate(names):
        info = zipfile.ZipInfo("%d" % i * len(raw), (2011, 3, 20, 10, 39, 44))
        info.create_system = host
        z.writestr(info, "data %d" % i)
data = open("names.zip", "rb").read()
for i, (raw, host) in enumerate(names):
    data = data.replace(("%d" % i * len(raw)).encode(), raw)
open("names.zip", "wb").write(data)
with zipfile.ZipFile("plain.zip", "w") as z:
    z.writestr("a.txt", "hello")
open("marked.zip", "wb").write(b"PK\x07\x08" + open("plain.zip", "rb").read())
PY
expected=$'extra/nota.htm\n表だよ/一覧表.txt\nPerché/pagina.htm'

"$tool" list --json names.zip >names.json 2>err.txt || fail "list names: $(cat err.txt)"
listed=$(python3 -c 'import json,sys; print("\n".join(e["name"] for e in json.load(open(sys.argv[1]))["entries"]))' names.json)
[ "$listed" = "$expected" ] || fail "listed names: $listed"
python3 -c 'import json,sys; e=json.load(open(sys.argv[1]))["entries"][0]; assert e["modified"]=="2011-03-20T10:39:44", e' names.json ||
  fail "modified field"
"$tool" extract -d out names.zip 2>err.txt || fail "extract names: $(cat err.txt)"
written=$(cd out && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$written" = "$(LC_ALL=C sort <<<"$expected")" ] || fail "written names: $written"

if command -v zip >/dev/null; then
  mkdir -p tree/img tree/pages && echo page >tree/pages/a.htm && echo pic >tree/img/b.png && echo top >tree/index.htm
  (cd tree && zip -q -D -P secret ../locked.zip index.htm img/b.png pages/a.htm)
  rc=0; "$tool" extract -p wrong -d locked locked.zip 2>err.txt || rc=$?
  # Once in 256 the wrong password passes an entry's check byte: its file may stay, failing its CRC.
  left=$(cd locked && find . -mindepth 1 -type d -empty)
  ((rc == 1)) && [ -z "$left" ] || fail "wrong password: exit $rc, empty folders: $left"
fi

"$tool" list marked.zip >marked.out 2>err.txt || fail "marked: $(cat err.txt)"
grep -q ', spanned over 1 volume$' marked.out || fail "one volume: $(tail -1 marked.out)"
printf 'PK\003\004not a zip' >numero001.zip
rc=0; "$tool" list numero001.zip >broken.out 2>err.txt || rc=$?
((rc == 1)) && [ ! -s broken.out ] || fail "unread archive printed: $(cat broken.out)"
grep -q '\\n' err.txt && fail "literal line break: $(cat err.txt)"
if command -v zip >/dev/null; then
  head -c 150000 /dev/urandom >tree/big.bin
  (cd tree && zip -q -s 64k ../set.zip big.bin) && mv set.z01 first001.zip
  rc=0; "$tool" list first001.zip >/dev/null 2>err.txt || rc=$?
  grep -qx 'kvxtool: 11045: This is the first file in a backup set, please choose the last file of this set' err.txt ||
    fail "line break of 11045: $(cat err.txt)"
fi

((failed == 0)) && echo "names and reports: all cases passed"
exit $failed
