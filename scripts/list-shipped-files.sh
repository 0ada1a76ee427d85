#!/usr/bin/env bash
# Writes the list of files an installation ships into its database folder, with their SHA-256
# (sha256sum's format), as FOLDER/shipped-files.sha256. The programs read it on a first start:
# these files, while unchanged, do not make the folder count as used.
# Usage: list-shipped-files.sh FOLDER FILE... (files relative to FOLDER)
set -euo pipefail
folder="${1:?usage: list-shipped-files.sh FOLDER FILE...}"
shift
cd "$folder"
sha256sum -- "$@" > shipped-files.sha256.part
mv -f shipped-files.sha256.part shipped-files.sha256
