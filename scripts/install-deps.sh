#!/usr/bin/env bash
# Installs the Debian 12 packages Kestrin needs, only those that are missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkgconf clang-format libsqlite3-dev
    qt6-base-dev libqt6sql6-sqlite qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
    qt6-multimedia-dev libgstreamer1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-tools
    unixodbc-dev odbcinst libsqliteodbc unixodbc
    postgresql-15 libqt6sql6-psql odbc-postgresql libpq-dev
    libarchive-dev libssl-dev python3 unzip
    fonts-noto-cjk fonts-droid-fallback qt6-translations-l10n
    poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
