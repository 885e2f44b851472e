#!/bin/sh
# unqualified_access.sh QMLLINT QML_DIR PENDING_LIST WRITE_QMLTYPES TYPES_DIR
# Writes the descriptions of the run-time modules into TYPES_DIR (WRITE_QMLTYPES), then runs
# qmllint, importing from TYPES_DIR, with only the unqualified-access check on every .qml file
# under QML_DIR except those named (relative to QML_DIR) in PENDING_LIST. Fails on any warning,
# on a non-zero exit of qmllint or of the writer, on a listed file that no longer exists, and
# when there is nothing to check.
set -u
qmllint=$1
qml_dir=$2
pending=$3
write_qmltypes=$4
types_dir=$5

status=0
rm -rf "$types_dir"
if ! "$write_qmltypes" "$types_dir"; then
    echo "FAIL: the type descriptions could not be written to $types_dir" >&2
    exit 1
fi
# The descriptions must make qmllint resolve every module, its type and the values of its
# enumerations: a probe that reads each type and a few enumeration values lints clean.
probe="$types_dir/probe.qml"
{
    echo "import QtQml"
    for module in $(cd "$types_dir" && find Rc -name qmldir | sed 's|/qmldir$||' | sort); do
        echo "import $(echo "$module" | tr / .)"
    done
    echo "QtObject {"
    # Each export, "<module>/<type> 1.0", names the type.
    for name in $(cat "$types_dir"/Rc/*/*.qmltypes | sed -n 's|.*exports: \["[^/]*/\([A-Za-z]*\) 1.0"\].*|\1|p'); do
        echo "    property var type_$name: $name"
    done
    echo "    property int action: IRCAction.EActionType_Redo"
    echo "    property int appModel: IRCProject.EAppModel_Control"
    echo "    property int alignment: RcEnums.EIRCTextAlignment_VCenter"
    echo "}"
} > "$probe"
probe_output=$("$qmllint" -I "$types_dir" "$probe" 2>&1)
if [ $? -ne 0 ] || [ -n "$probe_output" ]; then
    echo "$probe_output" >&2
    echo "FAIL: qmllint does not resolve the described modules (probe: $probe)" >&2
    exit 1
fi
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
# qmllint 6.4 drops the -I folders when it ignores settings files, so none may exist: a
# .qmllint.ini in the QML folder or above it could turn the check off.
dir=$(cd "$qml_dir" && pwd)
while :; do
    if [ -f "$dir/.qmllint.ini" ]; then
        echo "FAIL: $dir/.qmllint.ini would change what qmllint checks" >&2
        exit 1
    fi
    [ "$dir" = / ] && break
    dir=$(dirname "$dir")
done
for settings in $(find "$qml_dir" -name .qmllint.ini); do
    echo "FAIL: $settings would change what qmllint checks" >&2
    exit 1
done
# Every category but unqualified access is off: only unqualified access and errors (a file
# qmllint cannot read or parse) decide the result.
output=$("$qmllint" -I "$types_dir" \
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
