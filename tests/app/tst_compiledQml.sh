#!/usr/bin/env bash
# The whole program starts on the QML compiled into it and caches no QML: started with a fresh
# home, once on the start page and once with a project of several kinds of items, its engine
# compiles no QML or JavaScript at run time (QML_SHOW_UNIT_STATS makes Qt report every unit it
# compiles: "Generated JS unit …"), and no QML cache (.qmlc, .jsc, a qmlcache folder) is under
# the home or the XDG cache folder. A third start, with QML_DISABLE_DISK_CACHE set from outside
# (which makes Qt 6.4 refuse the compiled units), must show the compiling that the check looks
# for, so a Qt that stopped reporting it fails here too. Meant to run in a private network
# namespace under a virtual X display:
#     unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
#         tests/app/tst_compiledQml.sh PROGRAM OUT_DIR
set -euo pipefail
program=$1 out=$2
source "$(dirname "$0")/screen.sh"
export QML_SHOW_UNIT_STATS=1

packet=$work/packet
mkdir -p "$packet"
item() { # controlType qmlPath x
    printf '{"propertyArray": [{"name": "ControlType", "value": %s}, {"name": "Name", "value": "i"},
        {"name": "QmlPath", "value": "qrc:/qml/scenePanel/%s.qml"}, {"name": "X", "value": %s},
        {"name": "Y", "value": 20}, {"name": "Width", "value": 100}, {"name": "Height", "value": 60}]}' "$@"
}
cat > "$packet/project.tavx" <<JSON
{"version": "3.0.0", "setting": {"SceneListVisible": true}, "sceneArray": {"sceneArray": [
    {"propertyArray": [{"name": "Name", "value": "S"}, {"name": "Width", "value": 960},
        {"name": "Height", "value": 540}],
     "itemArray": [$(item 9 RCSceneItemActionButton 0), $(item 2 RCSceneItemStageView 120),
                   $(item 17 RCSceneItemSliderGlobalProperty 240),
                   $(item 3 RCSceneItemProgramManager 360)]}]}}
JSON

for start in start-page project; do
    home=$work/$start
    export XDG_CACHE_HOME=$work/$start-cache XDG_CONFIG_HOME=$home/.config
    if [[ $start == project ]]; then
        start_program "$home" "$packet/project.tavx"
    else
        start_program "$home"
    fi
    stop_program
    compiled=$(grep -c "Generated JS unit" "$app_log" || true)
    ((compiled == 0)) || fail "$start: the engine compiled $compiled units at run time"
    grep -q "main window loaded" "$app_log" || fail "$start: no \"main window loaded\" in the log"
    cache=$(find "$home" "$XDG_CACHE_HOME" \( -name '*.qmlc' -o -name '*.jsc' -o -name qmlcache \) \
        2>/dev/null || true)
    [[ -z "$cache" ]] || fail "$start: a QML cache was written: $(head -3 <<< "$cache")"
done
QML_DISABLE_DISK_CACHE=1 start_program "$work/refusing"
stop_program
grep -q "Generated JS unit" "$app_log" || fail "no unit reported compiled with the compiled ones refused"
echo "PASS: the program started on its compiled QML and cached none"
