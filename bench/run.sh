#!/usr/bin/env bash
# Runs every benchmark from an optimised build and prints their ratios.
# KESTRIN_ATTACH_MB sets the size of bench_attach's file (default 1024 MB).
set -euo pipefail
cd "$(dirname "$0")/.."
KESTRIN_BUILD_TYPE=Release KESTRIN_BUILD_DIR=build-release scripts/build.sh >/dev/null
for b in build-release/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    args=()
    [ "$(basename "$b")" = bench_attach ] && args=("${KESTRIN_ATTACH_MB:-1024}")
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b" "${args[@]}"
done
