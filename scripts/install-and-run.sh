#!/usr/bin/env bash
# Installs what is missing, builds, stages Kestrin in ~/Kestrin (or $KESTRIN_ROOT) and starts health.
set -euo pipefail
cd "$(dirname "$0")/.."
root="${KESTRIN_ROOT:-$HOME/Kestrin}"
scripts/install-deps.sh
scripts/build.sh
scripts/stage.sh "$root"
exec "$root/health/health"
