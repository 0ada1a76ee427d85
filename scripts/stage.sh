#!/usr/bin/env bash
# Stages an installation root from the build: one folder per program beside database/, skin/
# and help/. An existing database, media folder or updater version file is never replaced.
set -euo pipefail
cd "$(dirname "$0")/.."
root="${1:?usage: stage.sh INSTALL-ROOT}"
build=build/stage

mkdir -p "$root/database/media"
for folder in health growth Reelbox liveupdate skin help; do
    [ -d "$build/$folder" ] || continue
    mkdir -p "$root/$folder"
    # Program files are replaced; the updater keeps its own version file.
    find "$build/$folder" -mindepth 1 -maxdepth 1 ! -name version.ini -exec cp -a {} "$root/$folder/" \;
    if [ -f "$build/$folder/version.ini" ] && [ ! -f "$root/$folder/version.ini" ]; then
        cp "$build/$folder/version.ini" "$root/$folder/version.ini"
    fi
done
build/data/kestrin-dbinit "$root/database/kestrin.db"
echo "Kestrin staged in $root"
