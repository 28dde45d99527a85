#!/usr/bin/env bash
# Fails when a C or C++ source of the tree differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror
