#!/usr/bin/env bash
# Runs every benchmark from an optimised build and prints their ratios. With arguments, runs one
# benchmark with its own arguments, e.g. a smaller backup: bench/run.sh bench_backup 10000 100.
# KESTRIN_ATTACH_MB sets the size of bench_attach's file (default 1024 MB), KESTRIN_BACKUP_MB the
# media of bench_backup's family (default 1024 MB). bench_report prints the figure "report" (the
# health report's PDF against a plain HTML table printed to PDF).
# bench_thumbnails prints the figures thumbnails_cold, thumbnails_cached and catalogue_search_thumbnails.
set -euo pipefail
cd "$(dirname "$0")/.."
KESTRIN_BUILD_TYPE=Release KESTRIN_BUILD_DIR=build-release scripts/build.sh >/dev/null
if [ $# -gt 0 ]; then
    name="$1"
    shift
    QT_QPA_PLATFORM=offscreen "build-release/bench/$name" "$@"
    exit
fi
for b in build-release/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    args=()
    [ "$(basename "$b")" = bench_attach ] && args=("${KESTRIN_ATTACH_MB:-1024}")
    [ "$(basename "$b")" = bench_backup ] && args=(100000 "${KESTRIN_BACKUP_MB:-1024}")
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b" "${args[@]}"
done
