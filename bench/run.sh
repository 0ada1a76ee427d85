#!/usr/bin/env bash
# Runs every benchmark from an optimised build and prints their ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
KESTRIN_BUILD_TYPE=Release KESTRIN_BUILD_DIR=build-release scripts/build.sh >/dev/null
for b in build-release/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b"
done
