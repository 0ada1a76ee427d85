#!/usr/bin/env bash
# Stages an installation root from the build: one folder per program beside database/, skin/
# and help/. An existing database, media folder or updater version file is never replaced.
set -euo pipefail
cd "$(dirname "$0")/.."
root="${1:?usage: stage.sh INSTALL-ROOT}"
build=build/stage

mkdir -p "$root/database/media"
for folder in health growth Reelbox liveupdate skin help modules; do
    [ -d "$build/$folder" ] || continue
    mkdir -p "$root/$folder"
    # Program files are replaced; the updater keeps its own version file.
    find "$build/$folder" -mindepth 1 -maxdepth 1 ! -name version.ini -exec cp -a {} "$root/$folder/" \;
    if [ -f "$build/$folder/version.ini" ] && [ ! -f "$root/$folder/version.ini" ]; then
        cp "$build/$folder/version.ini" "$root/$folder/version.ini"
    fi
done
build/tools/kestrin-dbinit "$root/database/kestrin.db"

# Media the programs ship: copied only when absent, so a family's own file of that name stays.
for file in catoon.avi; do
    if [ -f "$build/database/media/$file" ] && [ ! -e "$root/database/media/$file" ]; then
        cp "$build/database/media/$file" "$root/database/media/$file"
    fi
done
# The list of what the installation ships there, with hashes: on a first start those files, while
# unchanged, do not count as the family's.
if [ -f "$build/database/shipped-files.sha256" ]; then
    cp "$build/database/shipped-files.sha256" "$root/database/shipped-files.sha256"
fi

root=$(cd "$root" && pwd)

# Writes the launcher of one staged program, so it starts with a double-click from the desktop's
# menu or file manager: folder, program file, icon in the source tree, launcher file name,
# English and Chinese names, Chinese comment.
launcher() {
    local folder="$1" program="$2" icon="$3" file="$4" name="$5" name_zh="$6" comment_zh="$7"
    [ -x "$root/$folder/$program" ] || return 0
    cp "$icon" "$root/$folder/$program.png"
    cat > "$root/$folder/$file" <<DESKTOP
[Desktop Entry]
Type=Application
Name=$name
Name[zh_CN]=$name_zh
Comment[zh_CN]=$comment_zh
Exec="$root/$folder/$program"
Path=$root/$folder
Icon=$root/$folder/$program.png
Terminal=false
Categories=Office;
DESKTOP
    chmod +x "$root/$folder/$file"
    if [ -n "${HOME:-}" ] && [ "${KESTRIN_NO_MENU:-}" != 1 ]; then
        mkdir -p "$HOME/.local/share/applications"
        cp "$root/$folder/$file" "$HOME/.local/share/applications/"
    fi
}

launcher health health health/ui/resources/health.png kestrin-health.desktop \
    "Kestrin Health" "禾岚森儿童成长健康管理" "记录孩子的健康与成长"
launcher Reelbox Reelbox reelbox/ui/resources/reelbox.png kestrin-reelbox.desktop \
    "Kestrin Reelbox" "禾岚森儿童成长媒体文件管理系统" "整理和欣赏孩子的照片、声音和视频"
launcher growth growth growth/ui/resources/growth.png kestrin-growth.desktop \
    "Kestrin Growth" "禾岚森儿童成长档案管理" "成长日记、生日和荣誉，附照片、声音和视频"
echo "Kestrin staged in $root"
