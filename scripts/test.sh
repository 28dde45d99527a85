#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: the normal
# build (GUI tests under Xvfb), the sanitizer build (unit and integration), and the 32-bit check
# of the records shared with the unzip library.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

echo "== source format"
"$top/scripts/check-format.sh"

echo "== 32-bit record layouts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'int main(void) { return 0; }\n' >"$scratch/empty.c"
printf '#include "zip/KvxLib.h"\nint main(void) { return 0; }\n' >"$scratch/layout.c"
if gcc -m32 -c "$scratch/empty.c" -o "$scratch/empty.o" 2>/dev/null &&
  g++ -m32 -x c++ -c "$scratch/empty.c" -o "$scratch/empty.o" 2>/dev/null; then
  gcc -m32 -std=c11 -Wall -Wextra -Wpedantic -Werror -I"$top" -c "$scratch/layout.c" -o "$scratch/layout.o"
  g++ -m32 -std=c++20 -Wall -Wextra -Wpedantic -Werror -x c++ -I"$top" -c "$scratch/layout.c" -o "$scratch/layout.o"
else
  echo "skipped: no 32-bit compiler on this machine ($(dpkg --print-architecture))"
fi

echo "== build"
"$top/scripts/build.sh" "$top/build" -DFOLIVO_WERROR=ON
echo "== tests"
(cd "$top/build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout 600)

echo "== sanitizer build"
"$top/scripts/build.sh" "$top/build-asan" -DFOLIVO_WERROR=ON -DFOLIVO_SANITIZE=ON -DFOLIVO_GUI=OFF
(cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j2 -L 'unit|integration' --timeout 900)
echo "All tests passed."
