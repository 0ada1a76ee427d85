#!/usr/bin/env bash
# Fails when the code crosses its layers: a file outside a ui/ folder that includes a ui/
# header (a core that could call a widget), or any file but the dialog service that names
# QMessageBox or QFileDialog (every message box and file dialog goes through the service, so
# tests can answer them). The service's print dialog lives in a run-time module of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

core_files=$(git ls-files '*.cpp' '*.h' | grep -vE '^(tests|bench)/' | grep -vE '(^|/)ui/' || true)
for file in $core_files; do
    if grep -nE '^\s*#\s*include\s*[<"]([^">]*/)?ui/' "$file"; then
        echo "$file: a file outside ui/ includes a ui/ header" >&2
        status=1
    fi
done

for file in $(git ls-files '*.cpp' '*.h' | grep -vE '^common/ui/(DialogService\.(h|cpp)|print/DialogServicePrint\.cpp)$'); do
    if grep -nE '\bQ(MessageBox|FileDialog|PrintDialog)\b' "$file"; then
        echo "$file: only the dialog service may use QMessageBox, QFileDialog or QPrintDialog" >&2
        status=1
    fi
done
exit $status
