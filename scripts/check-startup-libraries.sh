#!/usr/bin/env bash
# Checks that no window program links a library it only needs after its start: the media framework,
# the help engine, the archive, crypto and PostgreSQL client libraries (and printing, outside
# health's report) are opened when first used. Linking one again by accident makes every start
# slower and bigger.
set -euo pipefail
stage="${1:?usage: check-startup-libraries.sh STAGE-DIR}"
late='libQt6Multimedia|libQt6Help|libarchive|libcrypto|libssl|libpq|libgst'
status=0
for program in health/health growth/growth Reelbox/Reelbox; do
    [ "$program" = health/health ] && pattern="$late" || pattern="$late|libQt6PrintSupport"
    needed=$(readelf -d "$stage/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    if found=$(grep -E "^($pattern)" <<<"$needed"); then
        echo "$program links what it opens on first use: $(tr '\n' ' ' <<<"$found")"
        status=1
    fi
done
exit $status
