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
build/tools/kestrin-dbinit "$root/database/kestrin.db"

# A launcher, so health starts with a double-click from the desktop's menu or file manager.
root=$(cd "$root" && pwd)
cat > "$root/health/kestrin-health.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Kestrin Health
Name[zh_CN]=禾岚森儿童成长健康管理
Comment[zh_CN]=记录孩子的健康与成长
Exec="$root/health/health"
Path=$root/health
Icon=$root/health/health.png
Terminal=false
Categories=Office;
DESKTOP
chmod +x "$root/health/kestrin-health.desktop"
cp health/ui/resources/health.png "$root/health/health.png"
if [ -n "${HOME:-}" ] && [ "${KESTRIN_NO_MENU:-}" != 1 ]; then
    mkdir -p "$HOME/.local/share/applications"
    cp "$root/health/kestrin-health.desktop" "$HOME/.local/share/applications/"
fi
echo "Kestrin staged in $root"
