#!/bin/sh
# unqualified_access.sh QMLLINT QML_DIR PENDING_LIST
# Runs qmllint with only the unqualified-access check on every .qml file under QML_DIR except those
# named (relative to QML_DIR) in PENDING_LIST. Fails on any warning, on a non-zero exit of
# qmllint, on a listed file that no longer exists, and when there is nothing to check.
set -u
qmllint=$1
qml_dir=$2
pending=$3

status=0
for listed in $(grep -v '^#' "$pending"); do
    if [ ! -f "$qml_dir/$listed" ]; then
        echo "FAIL: $listed is listed as pending but does not exist" >&2
        status=1
    fi
done

files=$(cd "$qml_dir" && find . -name '*.qml' | sed 's|^\./||' | sort | grep -vxF -f "$pending")
if [ -z "$files" ]; then
    echo "FAIL: no QML file to check under $qml_dir" >&2
    exit 1
fi

cd "$qml_dir" || exit 1
# Every category but unqualified access is off, so that only this check decides the result.
# Every category but unqualified access is off. Handlers of types from modules that are
# registered only at run time are still reported under another heading: only unqualified access
# and errors (a file qmllint cannot read or parse) decide the result.
output=$("$qmllint" --ignore-settings \
    --alias disable --deferred-property-id disable --deprecated disable --import disable \
    --inheritance-cycle disable --multiline-strings disable --property disable --required disable \
    --signal disable --type disable --unused-imports disable --with disable --plugin disable \
    --unqualified warning $files 2>&1)
rc=$?
failures=$(echo "$output" | grep -E 'Unqualified access|^Error|rror:' || true)
if [ -n "$failures" ]; then
    echo "$output" >&2
    status=1
fi
# qmllint exits with 255 (-1) when it printed warnings; anything else non-zero is a failure of
# the tool itself.
if [ $rc -ne 0 ] && [ $rc -ne 255 ]; then
    echo "FAIL: qmllint exited with $rc" >&2
    status=1
fi
if [ $rc -eq 255 ] && [ -z "$output" ]; then
    echo "FAIL: qmllint failed without saying why" >&2
    status=1
fi
[ $status -eq 0 ] && echo "$(echo "$files" | wc -l) files without unqualified access"
exit $status
