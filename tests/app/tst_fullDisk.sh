#!/usr/bin/env bash
# The whole program on a full disk: its home is a 16 MB tmpfs, filled until 64 KB are free once
# the window is up; Ctrl+S of a project larger than that fails visibly ("保存失败" and the
# reason), the project file stays byte-identical, no QML cache is written into the home, and the
# program runs on until it is stopped. Meant to run in private mount and network namespaces under
# a virtual X display:
#     unshare -rmn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
#         tests/app/tst_fullDisk.sh PROGRAM OUT_DIR
set -euo pipefail
program=$1 out=$2
work=$(mktemp -d)
app_log=$work/program.log
source "$(dirname "$0")/screen.sh"

home=$work/home
mkdir -p "$home"
mount -t tmpfs -o size=16m tavix-full-home "$home"
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; umount "$home"
      [[ -n "${KEEP:-}" ]] && cp "$app_log" "$out/" || rm -rf "$work"' EXIT
packet=$home/packets/show
mkdir -p "$packet"
# One scene with a long type name: a project file of about 400 KB.
python3 - > "$work/project.tavx" <<'PY'
import json
scene = {"propertyArray": [{"name": "Name", "value": "场景"}, {"name": "TypeName", "value": "x" * 400000},
                           {"name": "Width", "value": 960}, {"name": "Height", "value": 540}],
         "itemArray": []}
print(json.dumps({"version": "3.0.0", "setting": {"SceneListVisible": True},
                  "sceneArray": {"sceneArray": [scene]}}, indent=4))
PY
cp "$work/project.tavx" "$packet/project.tavx"

export HOME=$home XDG_CONFIG_HOME=$home/.config
"$program" "$packet/project.tavx" > "$app_log" 2>&1 &
app=$!
pids+=("$app")
wait_window
shot before-save

dd if=/dev/zero of="$home/filler" bs=64k > /dev/null 2>&1 || true
truncate -s -64K "$home/filler"
echo "free: $(df -k --output=avail "$home" | tail -1) KB"
click 350 500                       # the canvas: the window takes the keys
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 1 100); do grep -q "磁盘空间不足" "$app_log" && break; sleep 0.1; done
grep -q "磁盘空间不足" "$app_log" || fail "the save did not fail for want of space"
wait_pixel "${dialog_body[@]}" 2C2C2C 50   # the message box telling the user
shot full-disk-save
cmp -s "$work/project.tavx" "$packet/project.tavx" || fail "the project file changed"
if find "$home" -path '*qmlcache*' | grep -q .; then
    fail "a QML cache was written into the home: $(find "$home" -path '*qmlcache*' | head -3)"
fi
stop_program
echo "PASS: a failed save on a full disk kept the project file, and the program ran on"
