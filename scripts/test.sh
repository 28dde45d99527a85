#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: the normal
# build (GUI tests under Xvfb, and the 32-bit check of the records shared with the unzip library)
# and the sanitizer build (unit and integration).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

echo "== source format"
"$top/scripts/check-format.sh"

echo "== build"
"$top/scripts/build.sh" "$top/build" -DFOLIVO_WERROR=ON
echo "== tests"
(cd "$top/build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout 600)

echo "== sanitizer build"
"$top/scripts/build.sh" "$top/build-asan" -DFOLIVO_WERROR=ON -DFOLIVO_SANITIZE=ON -DFOLIVO_GUI=OFF
(cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j2 -L 'unit|integration' --timeout 900)
echo "All tests passed."
