#!/usr/bin/env bash
# The records shared with the unzip library compile as 32-bit C and C++ with every warning an
# error. Usage: records_32bit.sh CC CXX SOURCE_DIR. Exits with 77, which CTest reports as
# skipped, where the compilers cannot make 32-bit objects.
set -euo pipefail
cc=$1 cxx=$2 top=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'int main(void) { return 0; }\n' >"$scratch/empty.c"
printf '#include "zipformat/KvxLib.h"\nint main(void) { return 0; }\n' >"$scratch/layout.c"
if ! "$cc" -m32 -c "$scratch/empty.c" -o "$scratch/empty.o" 2>/dev/null ||
  ! "$cxx" -m32 -x c++ -c "$scratch/empty.c" -o "$scratch/empty.o" 2>/dev/null; then
  echo "skipped: no 32-bit compiler on this machine ($(uname -m))"
  exit 77
fi
"$cc" -m32 -std=c11 -Wall -Wextra -Wpedantic -Werror -I"$top" -c "$scratch/layout.c" -o "$scratch/layout.o"
"$cxx" -m32 -std=c++20 -Wall -Wextra -Wpedantic -Werror -x c++ -I"$top" -c "$scratch/layout.c" -o "$scratch/layout.o"
