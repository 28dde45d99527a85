#!/usr/bin/env bash
# kvxtool prints names and comments from hostile archives escaped: no control, C1 or bidirectional
# character and no byte that is not UTF-8 reaches the terminal, in the table, the JSON, the reports,
# the "skipped" and "failed" lines and the password prompt; the JSON keeps the names exactly.
set -uo pipefail
bin=$(cd "$1" && pwd)
tool=$bin/kvxtool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }
cd "$work"

python3 - <<'PY'
import zipfile, zlib
names = ["dir/osc\x1b]52;c;aGk=\x07.txt", "erase\r\x1b[2Kforged.txt", "a\nkvxtool: 0: forged.txt",
         "c1\u009b31m.txt", "bidi\u202etxt.exe", "badXbyte.txt"]
with zipfile.ZipFile("hostile.zip", "w", zipfile.ZIP_DEFLATED) as z:
    for n in names:
        info = zipfile.ZipInfo(n)
        info.create_system = 3
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, "data of " + n)
    z.writestr("cut\x1b]0;title\x07.txt", "x" * 5000)
    z.comment = b"issue\x1b[2J\r\n\xff"
data = open("hostile.zip", "rb").read().replace(b"badXbyte", b"bad\xffbyte")
# Damage the deflated data of the last entry so that it is skipped and fails the test.
at = data.rfind(b"cut\x1b]0;title\x07.txt", 0, data.find(b"PK\x01\x02")) + 16
data = data[:at] + bytes([data[at] ^ 0xFF, data[at + 1] ^ 0xFF]) + data[at + 2:]
open("hostile.zip", "wb").write(data)
PY

"$tool" list hostile.zip >list.out 2>list.err
"$tool" list --json hostile.zip >json.out 2>json.err
"$tool" extract -d out hostile.zip >extract.out 2>extract.err
"$tool" extract --test hostile.zip >test.out 2>test.err

python3 - "$work" <<'PY' || failed=1
import json, os, re, sys
work = sys.argv[1]
unsafe = re.compile("[\x00-\x09\x0b-\x1f\x7f-\x9f\u061c\u200e\u200f\u2028-\u202e\u2066-\u2069]")
problems = []
for f in sorted(os.listdir(work)):
    if not f.endswith((".out", ".err")):
        continue
    raw = open(os.path.join(work, f), "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        problems.append("%s: not UTF-8: %s" % (f, e))
        continue
    if unsafe.search(text):
        problems.append("%s: unsafe character %r" % (f, unsafe.search(text).group()))
    if f.endswith(".err"):
        problems += ["%s: forged line %r" % (f, l) for l in text.splitlines() if not l.startswith("kvxtool: ")]
listing = open(os.path.join(work, "list.out"), encoding="utf-8").read()
for shown in (r"dir/osc\x1b]52;c;aGk=\x07.txt", r"a\nkvxtool: 0: forged.txt", r"bidi\u202etxt.exe",
              r"c1\u009b31m.txt", r"bad\xffbyte.txt", r"Comment: issue\x1b[2J\r\n\xff"):
    if shown not in listing:
        problems.append("list: %s not shown" % shown)
doc = json.load(open(os.path.join(work, "json.out"), encoding="utf-8"))
want = {"dir/osc\x1b]52;c;aGk=\x07.txt", "erase\r\x1b[2Kforged.txt", "a\nkvxtool: 0: forged.txt",
        "c1\u009b31m.txt", "bidi\u202etxt.exe", "bad\ufffdbyte.txt", "cut\x1b]0;title\x07.txt"}
if {e["name"] for e in doc["entries"]} != want:
    problems.append("json names: %r" % sorted(e["name"] for e in doc["entries"]))
if r"skipped cut\x1b]0;title\x07.txt" not in open(os.path.join(work, "extract.err")).read():
    problems.append("extract: no escaped skipped line")
if open(os.path.join(work, "test.out")).read().splitlines() != [r"failed: cut\x1b]0;title\x07.txt",
                                                                 "7 entries tested, 1 failed"]:
    problems.append("test report: %r" % open(os.path.join(work, "test.out")).read())
for p in problems:
    print("FAIL " + p)
sys.exit(1 if problems else 0)
PY

# A name with a NUL byte is reported whole, escaped as the listing shows it.
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("nul.zip", "w") as z:
    z.writestr("teXst.txt", "x")
data = open("nul.zip", "rb").read().replace(b"teXst", b"te\0st")
open("nul.zip", "wb").write(data)
PY
"$tool" list nul.zip 2>/dev/null | grep -qF 'te\x00st.txt' || fail "nul: listed $("$tool" list nul.zip)"
"$tool" extract -d nulout nul.zip 2>nul.err
grep -qF 'Unsafe name refused: te\x00st.txt' nul.err || fail "nul: reported $(cat nul.err)"

if command -v script >/dev/null && command -v zip >/dev/null; then
  # The password prompt on a terminal names the entry escaped.
  mkdir pw && printf 'secret\n' >"pw/osc$(printf '\033]52;c;aGk=\007').txt"
  (cd pw && zip -q -P Sesame ../locked.zip ./*)
  printf 'Sesame\n' | script -qec "$tool extract -d $work/pwout $work/locked.zip" /dev/null >prompt.log 2>&1
  grep -qF 'Password for osc\x1b]52;c;aGk=\x07.txt: ' prompt.log || fail "prompt: $(cat -v prompt.log)"
  grep -q $'\033' prompt.log && fail "prompt: an escape character reached the terminal"
fi
exit $failed
