#!/usr/bin/env bash
# The whole program under Xvfb with a project named on the command line (scripts/xvfb-screenshot.sh:
# a private network namespace, a temporary HOME): the scene rectangle is centred in the canvas, an
# item at the scene's top-left and one at its bottom-right show there, and an item whose view
# cannot be made shows nothing and is logged as "sceneItemQml is null".
#     tests/app/tst_sceneScreenshot.sh PROGRAM
# With KEEP set, the work folder (project, screenshot, program log) is left in place.
set -euo pipefail
program=$(realpath "$1")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap '[[ -n "${KEEP:-}" ]] || rm -rf "$work"' EXIT

packet="$work/scene"
mkdir -p "$packet/image"
convert -size 480x300 xc:'#2060a0' "$packet/image/background.png"
convert -size 64x64 xc:'#ff0000' "$packet/image/red.png"
item() { # x y controlType qmlPath: a red item
    printf '{"propertyArray": [{"name": "ControlType", "value": %s}, {"name": "Name", "value": ""},
        {"name": "QmlPath", "value": "%s"}, {"name": "IconPath", "value": "rcimg:/red.png"},
        {"name": "X", "value": %s}, {"name": "Y", "value": %s},
        {"name": "Width", "value": 100}, {"name": "Height", "value": 100}]}' "$3" "$4" "$1" "$2"
}
button="qrc:/qml/scenePanel/RCSceneItemActionButton.qml"
# a view file that does not exist, of no kind: the project keeps it as the default, unknown view
missing="qrc:/qml/scenePanel/Missing.qml"
scene() { # name items
    printf '{"propertyArray": [{"name": "Name", "value": "%s"}, {"name": "Width", "value": 480},
        {"name": "Height", "value": 300}, {"name": "BackgroundImg", "value": "rcimg:/background.png"}],
        "itemArray": [%s]}' "$1" "$2"
}
cat > "$packet/project.tavx" <<JSON
{"version": "3.0.0", "setting": {"SceneListVisible": true}, "sceneArray": {"sceneArray": [
    $(scene S "$(item 0 0 9 "$button"), $(item 380 200 9 "$button"), $(item 190 100 0 "$missing")")]}}
JSON

XVFB_SCREENSHOT_LOG="$work/program.log" scripts/xvfb-screenshot.sh "$work/shot.png" "$program" "$packet/project.tavx"
grep -q "sceneItemQml is null" "$work/program.log" || { echo "FAIL: no \"sceneItemQml is null\" in the log"; exit 1; }
convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb"
read -r width height <<< "$(identify -format '%w %h' "$work/shot.png")"

python3 - "$work/shot.rgb" "$width" "$height" <<'PY'
import sys
data, width, height = open(sys.argv[1], "rb").read(), int(sys.argv[2]), int(sys.argv[3])
def px(x, y):
    i = (y * width + x) * 3
    return tuple(data[i:i + 3])
def near(p, q):
    return all(abs(a - b) <= 24 for a, b in zip(p, q))
BLUE, RED = (0x20, 0x60, 0xa0), (0xff, 0, 0)
# the rows crossed by a long run of the scene's colours (icons elsewhere share them)
runs = []
for y in range(height):
    start, best = None, None
    for x in range(width + 1):
        inside = x < width and (near(px(x, y), BLUE) or near(px(x, y), RED))
        if inside and start is None:
            start = x
        elif not inside and start is not None:
            if x - start >= 200 and (best is None or x - start > best[1] - best[0]):
                best = (start, x - 1)
            start = None
    if best:
        runs.append((y, best))
if not runs:
    sys.exit("FAIL: no scene rectangle on the screen")
top, bottom = runs[0][0], runs[-1][0]
left, right = min(r[1][0] for r in runs), max(r[1][1] for r in runs)
w, h = right - left + 1, bottom - top + 1
print(f"scene rectangle {w}x{h} at ({left}, {top})")
fails = []
if (w, h) != (480, 300):
    fails.append(f"the scene rectangle is {w}x{h}, not 480x300 at one pixel per scene unit")
# The canvas is scrolled so that the scene's centre is the middle of the visible area: the middle
# of the scroll bars, where their handles then lie (grey, along the canvas's bottom and right edge).
def grey(p):
    return min(p) > 60 and max(p) - min(p) < 24
handle_x = [x for y in range(bottom + 1, height) for x in range(left, right + 1) if grey(px(x, y))]
# the vertical handle: the first column right of the scene holding one short grey run near it
handle_y = []
for x in range(right + 1, width):
    ys = [y for y in range(max(0, top - 150), min(height, bottom + 150)) if grey(px(x, y))]
    if ys and ys[-1] - ys[0] + 1 == len(ys) and 5 <= len(ys) <= 60:
        handle_y = ys
        break
print(f"scene centre ({(left + right) / 2}, {(top + bottom) / 2}),",
      f"scroll bar handles at x {sum(handle_x) / max(1, len(handle_x))}, y {sum(handle_y) / max(1, len(handle_y))}")
if not handle_x or abs(sum(handle_x) / len(handle_x) - (left + right) / 2) > 2:
    fails.append("not centred across")
if not handle_y or abs(sum(handle_y) / len(handle_y) - (top + bottom) / 2) > 2:
    fails.append("not centred up and down")
# the items are 100 x 100 scene units; the one without a view covers the scene's middle
for name, (x, y), colour in (("top-left item", (left + 1, top + 1), RED),
                             ("top-left item", (left + 98, top + 98), RED),
                             ("right of the top-left item", (left + 102, top + 102), BLUE),
                             ("bottom-right item", (right - 1, bottom - 1), RED),
                             ("bottom-right item", (right - 98, bottom - 98), RED),
                             ("left of the bottom-right item", (right - 102, bottom - 102), BLUE),
                             ("item without a view", (left + 240, top + 150), BLUE)):
    if not near(px(x, y), colour):
        fails.append(f"{name}: {px(x, y)} at ({x}, {y})")
for f in fails:
    print("FAIL:", f)
sys.exit(1 if fails else 0)
PY
echo "PASS"
