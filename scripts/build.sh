#!/usr/bin/env bash
# Configures and builds Kestrin in build/ (or $KESTRIN_BUILD_DIR); the build also stages the
# programs, skins and help in <build>/stage.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${KESTRIN_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${KESTRIN_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$dir"
