#!/usr/bin/env python3
"""The rows of tst_standinModes.sh and the judge of one run.

    standin_modes.py runs README HELP PART PARTS
        Prints the runs of the README's table of the stand-in media server's options that fall to
        part PART of PARTS, one per line: the stand-in's arguments, a tab, the outcome. The runs
        are dealt out longest first, each to the part with the least time so far. Fails when a
        row of the table has no run, when a run leaves out an option of its row, when an outcome
        cannot be read, or when the stand-in's --help (the file HELP) and the table's rows do not
        name the same options.
    standin_modes.py watch OUTCOME T0 STANDIN_LOG OUT NAME
        Watches the screen from now until the last time the outcome names, does its actions with
        xdotool, and fails unless what was seen matches the outcome. T0 is the program's start
        (seconds since the epoch); every time of the outcome counts from it. Screenshots of every
        change go to OUT/NAME-<seconds>s.png.

An outcome is a list of clauses separated by "; ", times in seconds from the program's start:
    STATE by A s [until B s]   the pill (未连接, 加载中 or 已连接) shows STATE at A s at the latest,
    STATE until B s            and nothing else from then to B s. The states named come in that
                               order and no others: only 未连接 before the first one, and 加载中
                               right before a 已连接 when not named, may show besides.
    never STATE until B s      the pill does not show STATE up to B s
    link by A s                the stand-in has accepted a link from the panel by A s
    no link until B s          it has accepted none up to B s
    probed after A s           the panel's discovery still asked the stand-in after A s
    dialog by A s              the connect dialog shows at A s at the latest
    no dialog from A s until B s
    at A s type PW, 验证        types PW into the dialog's password field and presses 验证
    at A s 取消                 presses the dialog's 取消
"""
import datetime
import json
import re
import subprocess
import sys
import time

NUMBER = r"(\d+(?:\.\d+)?)"
PILL = (30, 63)
# The pill's colours, and behind a modal dialog, which lays a dark grey of half opacity over the
# window.
COLOURS = {"AA0428": "未连接", "2F4F4F": "加载中", "7CAA33": "已连接"}
DIMMED = (40, 40, 41)


def state_of(colour):
    """The pill's state shown in the colour RRGGBB, or None."""
    if not colour:
        return None
    got = bytes.fromhex(colour)
    for base, state in COLOURS.items():
        for weight in (0.0, 0.5):
            want = [c * (1 - weight) + d * weight for c, d in zip(bytes.fromhex(base), DIMMED)]
            if all(abs(g - w) <= 6 for g, w in zip(got, want)):
                return state
    return None


# The connect dialog of the 1024 x 768 window at the screen's top left: a point of its body, of
# the password field, and its two buttons.
DIALOG_BODY, DIALOG_COLOUR = (340, 455), "2C2C2C"
PASSWORD_FIELD, OK_BUTTON, CANCEL_BUTTON = (540, 378), (448, 500), (576, 500)


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


# ---- the table ----

def table_rows(readme):
    """The rows (option, outcome) of the table headed "| option | effect | ..." under the stand-in
    media server's section."""
    text = open(readme, encoding="utf-8").read()
    section = text.split("## Trying the panel with the stand-in media server", 1)
    if len(section) < 2:
        fail("the README has no section on the stand-in media server")
    lines = section[1].split("\n## ", 1)[0].splitlines()
    try:
        start = next(i for i, line in enumerate(lines) if line.startswith("| option | effect |"))
    except StopIteration:
        fail("the stand-in media server's section has no table of options")
    rows = []
    for line in lines[start + 2:]:
        if not line.startswith("|"):
            break
        cells = [c.strip() for c in line.strip().strip("|").split(" | ")]
        if len(cells) != 3:
            fail("a row of the options table has %d cells, not 3: %s" % (len(cells), line))
        rows.append((cells[0], cells[2]))
    if not rows:
        fail("the table of options has no rows")
    return rows


def runs(readme, help_file):
    listed = re.findall(r"^\s+(?:-\w, )?(--[a-z-]+)", open(help_file).read(), re.M)
    help_options = set(listed) - {"--help", "--help-all"}
    named = set()
    result = []
    for option, cell in table_rows(readme):
        options = re.findall(r"`(--[a-z-]+)", option)
        named.update(options)
        cell_runs = [r.strip() for r in cell.split("<br>") if r.strip()]
        if not options or not cell_runs:
            fail("the row %s names no option or has no run" % option)
        for run in cell_runs:
            match = re.fullmatch(r"`([^`]*)`(?: \([^)]*\))?: (.+)", run)
            if not match:
                fail("the run \"%s\" of %s is not `ARGUMENTS` (a note): OUTCOME" % (run, option))
            args, outcome = match.group(1), match.group(2)
            missing = [o for o in options if o not in args.split()]
            if missing:
                fail("the run \"%s\" of %s leaves out %s" % (args, option, " ".join(missing)))
            clauses(outcome)  # refuses what it cannot read
            result.append((args, outcome))
    undocumented = sorted(help_options - named)
    if undocumented:
        fail("the stand-in's --help lists %s, which no row of the README's table names" % " ".join(undocumented))
    unknown = sorted(named - help_options)
    if unknown:
        fail("the README's table names %s, which the stand-in's --help does not list" % " ".join(unknown))
    return result


# ---- an outcome ----

CLAUSES = [
    ("state", "(未连接|加载中|已连接)(?: by %s s)?(?: until %s s)?" % (NUMBER, NUMBER)),
    ("never", "never (未连接|加载中|已连接) until %s s" % NUMBER),
    ("link", "link by %s s" % NUMBER),
    ("nolink", "no link until %s s" % NUMBER),
    ("probed", "probed after %s s" % NUMBER),
    ("dialog", "dialog by %s s" % NUMBER),
    ("nodialog", "no dialog from %s s until %s s" % (NUMBER, NUMBER)),
    ("type", "at %s s type (\\S+), 验证" % NUMBER),
    ("cancel", "at %s s 取消" % NUMBER),
]


def clauses(outcome):
    result = []
    for text in outcome.split("; "):
        for kind, pattern in CLAUSES:
            match = re.fullmatch(pattern, text.strip())
            if match:
                # Times as numbers; the state and the password as they are.
                values = [float(v) if v is not None and re.fullmatch(NUMBER, v) and not (kind == "type" and i)
                          else v for i, v in enumerate(match.groups())]
                if kind == "state" and values[1] is None and values[2] is None:
                    fail("\"%s\": a state needs \"by\" or \"until\"" % text)
                result.append((kind, values, text.strip()))
                break
        else:
            fail("cannot read the clause \"%s\"" % text)
    return result


def times_of(parsed):
    return [v for _, values, _ in parsed for v in values if isinstance(v, float)]


# ---- watching ----

def screen_size():
    out = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True, timeout=10).stdout
    width, height = out.split()
    return int(width), int(height)


def sample(width):
    """The pill's state (None when its colour is none of them), its colour, and whether the dialog
    shows."""
    try:
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                             capture_output=True, timeout=20).stdout
    except subprocess.TimeoutExpired:
        return None, None, None

    def colour(point):
        at = (point[1] * width + point[0]) * 3
        return raw[at:at + 3].hex().upper() if len(raw) >= at + 3 else None

    pill = colour(PILL)
    return state_of(pill), pill, colour(DIALOG_BODY) == DIALOG_COLOUR


def xdotool(*args):
    subprocess.run(["xdotool", *args], timeout=10, check=False)


def click(point):
    xdotool("mousemove", "--sync", str(point[0]), str(point[1]), "click", "1")
    time.sleep(0.3)


def logged(log, t0):
    """The times (from t0) at which the stand-in accepted a link, and at which it was probed."""
    result = {"connected": [], "probe": []}
    try:
        for line in open(log, encoding="utf-8"):
            entry = json.loads(line)
            if entry.get("event") in result:
                at = datetime.datetime.fromisoformat(entry["time"].replace("Z", "+00:00")).timestamp()
                result[entry["event"]].append(at - t0)
    except (OSError, ValueError) as error:
        fail("cannot read the stand-in's log %s: %s" % (log, error))
    return result["connected"], result["probe"]


def watch(outcome, t0, log, out, name):
    parsed = clauses(outcome)
    end = max(times_of(parsed)) + 0.5
    actions = sorted((values[0], kind, values, text) for kind, values, text in parsed if kind in ("type", "cancel"))
    width, _ = screen_size()
    samples = []  # (t, state, colour, dialog)
    last = None
    while True:
        now = time.time() - t0
        if actions and now >= actions[0][0]:
            _, kind, values, text = actions.pop(0)
            if not (samples and samples[-1][3]):
                fail("%s at %.1f s: no dialog shows" % (text, now))
            if kind == "type":
                click(PASSWORD_FIELD)
                xdotool("key", "ctrl+a")
                xdotool("type", "--delay", "50", values[1])
                click(OK_BUTTON)
            else:
                click(CANCEL_BUTTON)
            print("%s: done at %.1f s" % (text, now))
            continue
        if now > end:
            break
        state, colour, dialog = sample(width)
        t = time.time() - t0
        samples.append((t, state, colour, dialog))
        if (state, dialog) != last:
            last = (state, dialog)
            print("%5.1f s: pill %s (%s)%s" % (t, state or "unreadable", colour, ", the dialog" if dialog else ""))
            subprocess.run(["import", "-window", "root", "%s/%s-%05.1fs.png" % (out, name, t)], timeout=20)
        time.sleep(max(0.0, 0.2 - (time.time() - t0 - t)))
    judge(parsed, samples, *logged(log, t0))


def judge(parsed, samples, linked, probed):
    unreadable = [(round(t, 1), colour) for t, state, colour, _ in samples if state is None]
    if unreadable:
        fail("the pill shows none of its colours at %s" % unreadable[:5])
    runs = []  # [state, first t, last t]
    for t, state, _, _ in samples:
        if state is None:
            continue
        if runs and runs[-1][0] == state:
            runs[-1][2] = t
        else:
            runs.append([state, t, t])
    seen = " → ".join("%s %.1f–%.1f s" % tuple(r) for r in runs)
    print("pill: " + seen)
    spans = []  # [first t, last t] of each showing of the dialog
    for index, (t, _, _, dialog) in enumerate(samples):
        if dialog and index and samples[index - 1][3]:
            spans[-1][1] = t
        elif dialog:
            spans.append([t, t])
    if spans:
        print("dialog: " + ", ".join("%.1f–%.1f s" % tuple(s) for s in spans))
    expected = [(values, text) for kind, values, text in parsed if kind == "state"]
    at = len(runs) if not expected else 0
    for index, (values, text) in enumerate(expected):
        state, by, until = values
        previous = expected[index - 1][0][0] if index else None
        while at < len(runs) and runs[at][0] != state and (
                (at == 0 and runs[at][0] == "未连接") or
                (state == "已连接" and previous != "加载中" and runs[at][0] == "加载中")):
            at += 1
        if at >= len(runs) or runs[at][0] != state:
            fail("\"%s\": the pill showed %s" % (text, seen))
        first, last = runs[at][1], runs[at][2]
        if by is not None and first > by:
            fail("\"%s\": first at %.1f s; the pill showed %s" % (text, first, seen))
        if until is not None and last < until:
            fail("\"%s\": gone at %.1f s; the pill showed %s" % (text, last, seen))
        at += 1
    if at < len(runs):
        fail("the pill showed %s after \"%s\": %s" % (runs[at][0], expected[-1][1], seen))
    for kind, values, text in parsed:
        if kind == "never":
            shown = [round(t, 1) for t, state, _, _ in samples if state == values[0] and t <= values[1]]
            if shown:
                fail("\"%s\": it showed at %s" % (text, shown[:5]))
        if kind == "link" and not any(t <= values[0] for t in linked):
            fail("\"%s\": links at %s" % (text, [round(t, 1) for t in linked]))
        if kind == "nolink" and any(t <= values[0] for t in linked):
            fail("\"%s\": links at %s" % (text, [round(t, 1) for t in linked]))
        if kind == "probed" and not any(t > values[0] for t in probed):
            fail("\"%s\": probes at %s" % (text, [round(t, 1) for t in probed]))
        if kind == "dialog" and not any(d and t <= values[0] for t, _, _, d in samples):
            fail("\"%s\": no dialog by then" % text)
        if kind == "nodialog":
            shown = [round(t, 1) for t, _, _, d in samples if d and values[0] <= t <= values[1]]
            if shown:
                fail("\"%s\": the dialog showed at %s" % (text, shown[:5]))
    print("as the README says: " + "; ".join(text for _, _, text in parsed))


def main(argv):
    if len(argv) == 5 and argv[0] == "runs":
        part, parts = int(argv[3]), int(argv[4])
        # A run takes the last time of its outcome and some 8 s to start and stop the program.
        timed = sorted(((max(times_of(clauses(o))) + 8, a, o) for a, o in runs(argv[1], argv[2])),
                       key=lambda run: -run[0])
        load = [0.0] * parts
        for seconds, args, outcome in timed:
            least = load.index(min(load))
            load[least] += seconds
            if least == part - 1:
                print("%s\t%s" % (args, outcome))
    elif len(argv) == 6 and argv[0] == "watch":
        watch(argv[1], float(argv[2]), argv[3], argv[4], argv[5])
    else:
        fail("usage: see the top of %s" % __file__)


if __name__ == "__main__":
    main(sys.argv[1:])
