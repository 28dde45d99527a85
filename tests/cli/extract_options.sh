#!/usr/bin/env bash
# kvxtool extract: options, passwords, reports and exit status; the tool does not link the library.
set -uo pipefail
bin=$1
tool=$bin/kvxtool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }

expect() {  # expected-status description command...
  local want=$1 what=$2
  shift 2
  "$@" >"$work/out" 2>"$work/err" </dev/null
  local got=$?
  [[ $got == "$want" ]] || { fail "$what: exit $got, expected $want"; cat "$work/err"; }
}

ldd "$tool" | grep -q libkvx && fail "kvxtool links libkvx"

mkdir -p "$work/src/sub/deeper"
printf 'index\n' >"$work/src/index.htm"
printf 'page\n' >"$work/src/sub/page.htm"
head -c 70000 /dev/urandom >"$work/src/sub/deeper/blob.bin"
(cd "$work/src" && zip -qr "$work/plain.zip" . && zip -q -P Sesame "$work/locked.zip" index.htm sub/page.htm)

expect 2 "no archive" "$tool" extract
expect 2 "-d without a folder" "$tool" extract -d
expect 2 "unknown option" "$tool" extract --frob "$work/plain.zip"
expect 1 "missing archive" "$tool" extract -d "$work/none" "$work/missing.zip"

expect 0 "plain extract into new nested folder" "$tool" extract -d "$work/a/b/c" "$work/plain.zip"
diff -r "$work/src" "$work/a/b/c" >/dev/null || fail "tree differs from the source"
[[ -s $work/err ]] && { fail "reports on success"; cat "$work/err"; }

(cd "$work" && mkdir rel && cd rel && "$tool" extract plain.zip 2>/dev/null; true)
(cd "$work/rel" && "$tool" extract ../plain.zip index.htm) || fail "relative archive"
[[ -f $work/rel/index.htm && ! -e $work/rel/sub ]] || fail "a pattern selects one entry into the current folder"

# A folder that cannot be entered stops the extraction; nothing lands in the current folder.
# As root, permission bits hold only without the capabilities that override them.
mkdir -p "$work/locked" "$work/here"
chmod 0 "$work/locked"
drop=()
[[ $(id -u) == 0 ]] && drop=(setpriv --bounding-set=-dac_override,-dac_read_search --)
cd "$work/here" || exit 1
expect 1 "folder that cannot be entered" "${drop[@]}" "$tool" extract -d "$work/locked" "$work/plain.zip"
cd - >/dev/null || exit 1
[[ -z $(ls -A "$work/here") ]] || fail "extracted into the current folder instead"
chmod 700 "$work/locked"
[[ -z $(ls -A "$work/locked") ]] || fail "wrote into a folder it could not enter"

# A pattern that matches no entry is an error, also beside one that matches.
expect 1 "pattern matching nothing" "$tool" extract -d "$work/pat" "$work/plain.zip" 'nothing*'
[[ $(cat "$work/err") == "kvxtool: no entry matches nothing*" && ! -e $work/pat/index.htm ]] ||
  fail "pattern matching nothing: $(cat "$work/err")"
expect 1 "two patterns, one matching" "$tool" extract -d "$work/pat" "$work/plain.zip" 'sub/*.htm' 'nothing*'
[[ $(cat "$work/err") == "kvxtool: no entry matches nothing*" && -f $work/pat/sub/page.htm ]] ||
  fail "two patterns, one matching: $(cat "$work/err")"

expect 0 "junk paths" "$tool" extract -d "$work/junk" --junk-paths "$work/plain.zip"
[[ -f $work/junk/blob.bin && -f $work/junk/page.htm && ! -e $work/junk/sub ]] || fail "junk paths layout"

printf 'mine\n' >"$work/junk/index.htm"
expect 0 "no overwrite keeps the existing file" "$tool" extract -d "$work/junk" --junk-paths --no-overwrite "$work/plain.zip"
[[ $(cat "$work/junk/index.htm") == mine ]] || fail "--no-overwrite replaced a file"
expect 0 "overwrite by default" "$tool" extract -d "$work/junk" --junk-paths "$work/plain.zip"
[[ $(cat "$work/junk/index.htm") == index ]] || fail "default did not overwrite"

expect 0 "test mode" "$tool" extract -d "$work/tested" --test "$work/plain.zip"
[[ -z $(ls -A "$work/tested") ]] || fail "--test wrote files"

expect 0 "right password" "$tool" extract -d "$work/pw" -p Sesame "$work/locked.zip"
diff "$work/src/sub/page.htm" "$work/pw/sub/page.htm" >/dev/null || fail "decrypted content"
expect 1 "wrong password" "$tool" extract -d "$work/bad" -p Wrong "$work/locked.zip"
[[ ! -e $work/bad/index.htm ]] || fail "wrong password wrote a file"
grep -q '^kvxtool: [0-9]*: ' "$work/err" || fail "report format: $(cat "$work/err")"
expect 1 "no password, no terminal" "$tool" extract -d "$work/nopw" "$work/locked.zip"
[[ ! -e $work/nopw/index.htm ]] || fail "missing password wrote a file"

if command -v script >/dev/null; then
  # A terminal: the password is asked without echo.
  rm -rf "$work/tty"
  printf 'Sesame\nSesame\n' | script -qec "$tool extract -d $work/tty $work/locked.zip" /dev/null >"$work/ttyout" 2>&1
  [[ -f $work/tty/index.htm ]] || { fail "terminal password"; cat "$work/ttyout"; }
  grep -q 'Password for' "$work/ttyout" || fail "no prompt on the terminal"
fi

exit $failed
