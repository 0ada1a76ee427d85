#!/usr/bin/env bash
# Configures and builds Kestrin in build/ (the build also stages programs, skins and help in build/stage).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${KESTRIN_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build build
