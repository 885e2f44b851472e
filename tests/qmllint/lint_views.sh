#!/bin/sh
# lint_views.sh QMLLINT QML_DIR PENDING_LIST SERVICE_PROPERTIES WRITE_QMLTYPES TYPES_DIR
# Writes the descriptions of the run-time modules into TYPES_DIR (WRITE_QMLTYPES), then runs
# qmllint, importing from TYPES_DIR, on every .qml file under QML_DIR except those named
# (relative to QML_DIR) in PENDING_LIST. Fails on
# - unqualified access (a name read from an outer scope: the root context, the main window),
# - a type qmllint cannot resolve ("... is used but it is not resolved", "... was not found",
#   "No type found for property ...", a failed import): bindings on such a type go unchecked,
# - a service property (named in SERVICE_PROPERTIES) declared with any type but its own,
# - an error, a non-zero exit of qmllint or of the writer, a listed file that no longer exists,
#   and nothing to check.
# The other warnings of qmllint are counted, not failed on.
set -u
qmllint=$1
qml_dir=$2
pending=$3
services=$4
write_qmltypes=$5
types_dir=$6

status=0
rm -rf "$types_dir"
if ! "$write_qmltypes" "$types_dir"; then
    echo "FAIL: the type descriptions could not be written to $types_dir" >&2
    exit 1
fi
exports=$(cat "$types_dir"/Rc/*/*.qmltypes | sed -n 's|.*exports: \["[^/]*/\([A-Za-z]*\) 1.0"\].*|\1|p')
# The descriptions must make qmllint resolve every module, its type as a value and as the type of
# a property, and the values of its enumerations: a probe that reads them lints clean.
probe="$types_dir/probe.qml"
{
    echo "import QtQml"
    for module in $(cd "$types_dir" && find Rc -name qmldir | sed 's|/qmldir$||' | sort); do
        echo "import $(echo "$module" | tr / .)"
    done
    echo "QtObject {"
    for name in $exports; do
        echo "    property var type_$name: $name"
        echo "    property $name typed_$name: null"
    done
    echo "    property int action: IRCAction.EActionType_Redo"
    echo "    property int appModel: IRCProject.EAppModel_Control"
    echo "    property int alignment: RcEnums.EIRCTextAlignment_VCenter"
    echo "    property bool viewSlot: typed_RCSceneItemViewSlot.visible"
    echo "    property int tableRows: typed_ProgramTableModel.rowCount()"
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

# Service properties: "property <type> <name>" with the type of the list, whatever the qualifiers.
service_count=0
while read -r name type; do
    case $name in '#'* | '') continue ;; esac
    service_count=$((service_count + 1))
    if ! echo "$exports" | grep -qxF "$type"; then
        echo "FAIL: $type (for $name in $services) is not a described type" >&2
        status=1
    fi
    wrong=$(grep -nE "^[[:space:]]*((readonly|required|default)[[:space:]]+)*property[[:space:]]+[^[:space:]]+[[:space:]]+$name([^A-Za-z0-9_]|\$)" $files \
        | grep -vE "property[[:space:]]+$type[[:space:]]" || true)
    if [ -n "$wrong" ]; then
        echo "$wrong" >&2
        echo "FAIL: $name must be declared as a property of type $type" >&2
        status=1
    fi
done < "$services"
if [ $service_count -eq 0 ]; then
    echo "FAIL: no service property listed in $services" >&2
    status=1
fi

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
output=$("$qmllint" -I "$types_dir" --unqualified warning --type warning --import warning $files 2>&1)
rc=$?
failures=$(echo "$output" | grep -E 'Unqualified access|is used but it is not resolved|was not found|No type found|cannot be resolved|not found in namespace|Type of property .* not found|Failed to import|^Error|rror:' || true)
if [ -n "$failures" ]; then
    echo "$output" >&2
    echo "FAIL: $(echo "$failures" | wc -l) unqualified names or unresolved types" >&2
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
if [ $status -eq 0 ]; then
    echo "$(echo "$files" | wc -l) files without unqualified access or unresolved types, services typed;" \
        "other qmllint warnings: $(echo "$output" | grep -c '^Warning')"
fi
exit $status
