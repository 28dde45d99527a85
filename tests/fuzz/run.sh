#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build-fuzz/ (every library instrumented,
# with AddressSanitizer and UndefinedBehaviorSanitizer) and fuzzes each target in turn for SECONDS
# (default 60). Each target's corpus grows in build-fuzz/corpus/<target>/ from its seeds and the
# shared corpus; crashes, leaks, timeouts and out-of-memory inputs land in build-fuzz/findings/<target>/.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
build=${FOLIVO_FUZZ_BUILD_DIR:-$top/build-fuzz}
targets=(fuzz_list fuzz_readspan fuzz_kvx_extract fuzz_deflate64 fuzz_salvage fuzz_page_text)

"$top/scripts/install-deps.sh" fuzz

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFOLIVO_LIBFUZZER=ON -DFOLIVO_GUI=OFF -DFOLIVO_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

# Every run writes its input to a file: keep those in memory rather than on a shared disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d /dev/shm/folivo-fuzz-XXXXXX)
  export TMPDIR
  trap 'rm -rf "$TMPDIR"' EXIT
fi

status=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  inputs=("$corpus" "$top/tests/fuzz/seeds/$target")
  [ -d "$top/../shared/corpus" ] && inputs+=("$top/../shared/corpus")
  echo "== $target for ${seconds}s"
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -dict="$top/tests/fuzz/zip.dict" \
    -max_len=16384 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${inputs[@]}" || status=1
done
exit $status
