#!/usr/bin/env bash
# Runs every benchmark from an optimised build and prints their figures: each sets the suite
# against a baseline measured in the same run, both sides taking turns over several rounds, with
# the median and the range of the rounds.
#
#   bench/run.sh [--json FILE] [BENCHMARK [ARGUMENTS...]]
#
# With a benchmark's name, runs only that one with its own arguments, e.g. a smaller backup:
# bench/run.sh bench_backup 10000 100. With --json FILE, FILE gets one JSON object per figure and
# line (it is emptied first), so a script can track the figures over time:
#   {"name": "display", "ms": 21.3, "baseline_ms": 17.9, "ratio": 1.19, "range": [1.05, 1.41],
#    "goal": 1.3, "rounds": 15, "met": true}
# "name" is stable; "ratio" and "range" are the median and range of the rounds' ratios. A figure
# printed beside another for comparison only has "goal": null and "met": null. Figures
# of memory give "kb" and "baseline_kb" instead of the times; a goal measured beyond the
# baseline, not as a ratio, says so with "goal_over_baseline_ms": true.
# KESTRIN_ATTACH_MB sets the size of bench_attach's file (default 1024 MB), KESTRIN_BACKUP_MB the
# media of bench_backup's family (default 1024 MB). bench_report prints the figure "report" (the
# health report's PDF against a plain HTML table printed to PDF); bench_thumbnails the figures
# thumbnails_cold, thumbnails_cached and catalogue_search_thumbnails; bench_backup also "restore";
# bench_server (a PostgreSQL 15 server it starts in a temporary folder, as the tests do)
# server_display and server_diary_search, against the raw query through libpq.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --json ]; then
    [ $# -ge 2 ] || { echo "usage: bench/run.sh [--json FILE] [BENCHMARK [ARGUMENTS...]]" >&2; exit 2; }
    KESTRIN_BENCH_JSON="$(realpath -m "$2")"
    export KESTRIN_BENCH_JSON
    : >"$KESTRIN_BENCH_JSON"
    shift 2
fi
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
