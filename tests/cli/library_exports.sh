#!/usr/bin/env bash
# libkvx.so makes its two exports visible and nothing else.
set -uo pipefail
lib=$1/libkvx.so
exports=$(nm -D --defined-only "$lib" | awk '{print $NF}' | sort | tr '\n' ' ')
[[ $exports == "GetKvxUnzipVersion KvxUnzipExec " ]] || { echo "FAIL exports: $exports"; exit 1; }
