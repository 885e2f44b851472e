#!/usr/bin/env python3
"""The figures of the program as users meet it, each against the two earlier builds and against a
bare twin, in one table; and, with --in-process, the in-process benchmarks' figures as before.

    scripts/bench-figures.py [--build build/release] [--previous PROGRAM] [--before-last PROGRAM]
                             [--runs N] [--only NAME ...] [--save DIR] [--from FILE ...]
    scripts/bench-figures.py --in-process [--runs N] [--build build/release-bench] [--only NAME ...]

The user-level benchmarks are the program binary's start-up and load (BUILD/bench/app/
bench_programStart: start-up without a project, load of 10 scenes of 1,000 and 5,000 items named on
the command line to the first frame, and the memory held after that load) and every
bench/app/bench_*_xvfb.sh (scene switch, rubber band, drag, save, and whatever else is there),
each run as `bench_X_xvfb.sh PROGRAM` with TAVIX_PREVIOUS_PROGRAM naming the previous build's
program (--previous, else that variable) and TAVIX_BEFORE_LAST_PROGRAM the program of the build
before that (--before-last, else that variable); the benchmarks take turns between the builds
round by round. Without one, its column stays empty. Each prints its measurements as lines

    FIGURE <figure> <new|previous|before-last|twin> <value> <unit>

in the order they were taken; any bench that prints such lines plugs in. Their outputs are kept
(--save DIR, else a temporary folder that is named at the end) and can be read again instead of
running anything (--from FILE ...).

Rows are the figures (start-up, switch, drag, band, clearing click, save, load, memory, then any
other), columns new ÷ previous, new ÷ before-last and new ÷ twin as min / median / max. Where a
figure has as many values of both variants, they are taken in pairs in the order taken (the
benches alternate the variants round by round); otherwise each new value is divided by the
other's median. For a rate (fps) more is better, for a time or a size less.

Exits non-zero when a benchmark fails or prints no figure.
"""
import argparse
import glob
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# --- in-process figures (--in-process) ------------------------------------------------------------
#
# Every figure is a ratio of a measured benchmark to its twin from the same run: "wall" divides the
# real times, "cpu" the CPU times of the two (Google Benchmark's real_time and cpu_time), so a
# loaded machine shows up as a gap between the two. The tap figures are the benchmark's own
# percentile ratios, and so are the start-up figures of the program binary (bench_programStart:
# "x_twin", and with TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM naming earlier builds'
# programs, "x_previous" and "x_before_last").
# Benchmarks that start the project root run in a private network namespace (scripts/netns-run.sh
# under `unshare -rn`), all on the offscreen platform with the software renderer.

# name: (bench program, filter, measured, twin, how)
#   how "ratio": measured / twin; "rate": twin / measured (a frame rate against the twin's);
#   "counter:<name>": a counter the measured benchmark reports itself;
#   "spread:<prefix>": the benchmark's own least, median and greatest run against the twin's median
#   (counters <prefix>min_x, median_x, max_x, and <prefix>cpu_... for CPU time): printed as the least
#   run of all rounds / the median of the rounds' medians / the greatest run of all rounds.
FIGURES = {
    "scene switch 300 buttons": ("qml/bench_scenePanel", "BM_BareItems300|BM_SceneSwitch300",
                                 "BM_SceneSwitch300", "BM_BareItems300", "ratio"),
    "drag 200 items, frame rate": ("qml/bench_scenePanel", "BM_BareDragFrame/200|BM_DragFrame/200",
                                   "BM_DragFrame/200", "BM_BareDragFrame/200", "rate"),
    "table replace with view": ("qml/bench_views", "BM_TableCommand",
                                "BM_TableCommandWithView", "BM_TableCommandAlone", "ratio"),
    "start-up with 1,000 items": ("project/bench_project", "BM_BareWindowAndParse1000|BM_StartUpWithProject1000",
                                  "BM_StartUpWithProject1000", "BM_BareWindowAndParse1000", "ratio"),
    "project load": ("project/bench_project", "BM_BareParse|BM_LoadProjectPacket",
                     "BM_LoadProjectPacket", "BM_BareParse", "ratio"),
    "project save": ("project/bench_project", "BM_BareWrite|BM_SaveProjectPacket",
                     "BM_SaveProjectPacket", "BM_BareWrite", "ratio"),
    "select all 8,000 / 1,000": ("editing/bench_presenters", "BM_SelectAllThenDeselectAll/(1000|8000)$",
                                 "BM_SelectAllThenDeselectAll/8000", "BM_SelectAllThenDeselectAll/1000", "ratio"),
    "first frame in-process": ("qml/bench_window", "FirstFrame",
                               "BM_MainWindowFirstFrame", "BM_BareWindowFirstFrame", "ratio"),
    "start-up to first frame": ("project/bench_project", "BM_BareWindow$|BM_StartUpToFirstFrame",
                                "BM_StartUpToFirstFrame", "BM_BareWindow", "ratio"),
    "select all on the canvas 8,000 / 1,000": ("qml/bench_scenePanel", "BM_CanvasSelectAll",
                                               "BM_CanvasSelectAll/8000", "BM_CanvasSelectAll/1000", "ratio"),
    "band over 8,000 buttons, frame rate": ("qml/bench_scenePanel", "BM_BareBandFrame/8000|BM_BandFrame/8000",
                                            "BM_BandFrame/8000", "BM_BareBandFrame/8000", "rate"),
    "band over 8,000 buttons, fps": ("qml/bench_scenePanel", "BM_BareBandFrame/8000|BM_BandFrame/8000",
                                     "BM_BandFrame/8000", None, "counter:fps"),
    "band select all 8,000 / 1,000": ("qml/bench_scenePanel", "BM_BandSelectAll",
                                      "BM_BandSelectAll/8000", "BM_BandSelectAll/1000", "ratio"),
    "session switch 300 plain items (the twin), each switch": ("qml/bench_sessions", "BM_BareSwitch300|BM_SessionSwitch300/0/",
                                                               "BM_BareSwitch300", None, "spread:switch_"),
    "session switch 300 buttons, fresh, each switch": ("qml/bench_sessions", "BM_BareSwitch300|BM_SessionSwitch300/0/",
                                                       "BM_SessionSwitch300/0", None, "spread:switch_"),
    "session switch 300 buttons, saved, each switch": ("qml/bench_sessions", "BM_BareSwitch300|BM_SessionSwitch300/1/",
                                                       "BM_SessionSwitch300/1", None, "spread:switch_"),
    "session switch 300 buttons, control, each switch": ("qml/bench_sessions", "BM_BareSwitch300|BM_SessionSwitch300/2/",
                                                         "BM_SessionSwitch300/2", None, "spread:switch_"),
    "session drag 200 items, frame rate, fresh": ("qml/bench_sessions", "BM_BareDragFrame200$|BM_SessionDragFrame200/0$",
                                                   "BM_SessionDragFrame200/0", "BM_BareDragFrame200", "rate"),
    "session drag 200 items, frame rate, saved": ("qml/bench_sessions", "BM_BareDragFrame200$|BM_SessionDragFrame200/1$",
                                                   "BM_SessionDragFrame200/1", "BM_BareDragFrame200", "rate"),
    "session drag 200 items, frame rate, after control": ("qml/bench_sessions", "BM_BareDragFrame200$|BM_SessionDragFrame200/2$",
                                                           "BM_SessionDragFrame200/2", "BM_BareDragFrame200", "rate"),
    "session table replace, same size, fresh": ("qml/bench_sessions", "BM_SessionTable/-1/0/|BM_SessionTable/0/0/",
                                                 "BM_SessionTable/0/0", "BM_SessionTable/-1/0", "ratio"),
    "session table replace, same size, saved": ("qml/bench_sessions", "BM_SessionTable/-1/0/|BM_SessionTable/1/0/",
                                                 "BM_SessionTable/1/0", "BM_SessionTable/-1/0", "ratio"),
    "session table replace, same size, control": ("qml/bench_sessions", "BM_SessionTable/-1/0/|BM_SessionTable/2/0/",
                                                   "BM_SessionTable/2/0", "BM_SessionTable/-1/0", "ratio"),
    "session table replace, resize, fresh": ("qml/bench_sessions", "BM_SessionTable/-1/1/|BM_SessionTable/0/1/",
                                              "BM_SessionTable/0/1", "BM_SessionTable/-1/1", "ratio"),
    "session table replace, resize, saved": ("qml/bench_sessions", "BM_SessionTable/-1/1/|BM_SessionTable/1/1/",
                                              "BM_SessionTable/1/1", "BM_SessionTable/-1/1", "ratio"),
    "session table replace, resize, control": ("qml/bench_sessions", "BM_SessionTable/-1/1/|BM_SessionTable/2/1/",
                                                "BM_SessionTable/2/1", "BM_SessionTable/-1/1", "ratio"),
    "program start-up, no project": ("app/bench_programStart", "BM_ProgramStart/0/",
                                     "BM_ProgramStart/0", None, "counter:x_twin"),
    "program start-up with 1,000 items": ("app/bench_programStart", "BM_ProgramStart/1000/",
                                          "BM_ProgramStart/1000", None, "counter:x_twin"),
    "program start-up with 5,000 items": ("app/bench_programStart", "BM_ProgramStart/5000/",
                                          "BM_ProgramStart/5000", None, "counter:x_twin"),
    "tap median": ("actions/bench_taps", ".", "BM_TapCommandButton", None, "counter:median_x_bare"),
    "tap p99": ("actions/bench_taps", ".", "BM_TapCommandButton", None, "counter:p99_x_bare"),
}
# With TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM naming earlier builds' programs: the
# program's starts against theirs.
for _counter, _build in (("x_previous", "the previous build"), ("x_before_last", "the build before last")):
    for _items, _what in ((0, ", no project"), (1000, " with 1,000 items"), (5000, " with 5,000 items")):
        FIGURES["program start-up%s, against %s" % (_what, _build)] = (
            "app/bench_programStart", "BM_ProgramStart/%d/" % _items, "BM_ProgramStart/%d" % _items, None,
            "counter:" + _counter)


def run(build, program, pattern):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_QUICK_BACKEND="software")
    cmd = ["unshare", "-rn", os.path.join(ROOT, "scripts/netns-run.sh"),
           os.path.join(build, "bench", program), "--benchmark_filter=" + pattern,
           "--benchmark_format=json"]
    done = subprocess.run(cmd, env=env, capture_output=True, text=True, timeout=1800)
    if done.returncode != 0:
        sys.exit("%s failed (%d):\n%s" % (program, done.returncode, done.stderr[-2000:]))
    text = done.stdout
    return {b["name"].split("/iterations:")[0].split("/real_time")[0]: b
            for b in json.loads(text[text.index("{"):])["benchmarks"]}


def figure(results, measured, twin, how):
    if measured not in results or (twin and twin not in results):
        return None
    m = results[measured]
    if "error_occurred" in m and m["error_occurred"]:
        return None
    if how.startswith("counter:"):
        value = m.get(how.split(":", 1)[1])
        return None if value is None else (value, value)
    if how.startswith("spread:"):
        prefix = how.split(":", 1)[1]
        keys = [prefix + k for k in ("min_x", "median_x", "max_x")]
        cpu_keys = [prefix + "cpu_" + k for k in ("min_x", "median_x", "max_x")]
        if any(k not in m for k in keys + cpu_keys):
            return None
        return (tuple(m[k] for k in keys), tuple(m[k] for k in cpu_keys))
    t = results[twin]
    if how == "rate":
        return (t["real_time"] / m["real_time"], t["cpu_time"] / m["cpu_time"])
    return (m["real_time"] / t["real_time"], m["cpu_time"] / t["cpu_time"])


def in_process(args):
    names = [n for n in FIGURES if (not args.only or any(o in n for o in args.only))
             and ("previous build" not in n or os.environ.get("TAVIX_PREVIOUS_PROGRAM"))
             and ("build before last" not in n or os.environ.get("TAVIX_BEFORE_LAST_PROGRAM"))]
    values = {n: [] for n in names}
    # one process per filter and round: a figure's twin and measure run in a process of their
    # own, so that what other benchmarks left in the heap does not weigh on one of them only
    runs = sorted({(FIGURES[name][0], FIGURES[name][1]) for name in names})
    for _ in range(args.runs):
        results = {key: run(args.build, *key) for key in runs}
        for name in names:
            program, pattern, measured, twin, how = FIGURES[name]
            value = figure(results[(program, pattern)], measured, twin, how)
            if value is None:
                sys.exit("%s: no figure in the output of %s" % (name, program))
            values[name].append(value)
    status = 0
    print("| figure | wall min / median / max | cpu min / median / max |")
    print("|---|---|---|")
    fmt = lambda xs: "%.2f / %.2f / %.2f" % (xs[0], statistics.median(xs), xs[-1])
    spread = lambda runs: "%.2f / %.2f / %.2f" % (min(r[0] for r in runs), statistics.median(r[1] for r in runs),
                                                  max(r[2] for r in runs))
    for name in names:
        how = FIGURES[name][4]
        if how.startswith("spread:"):
            print("| %s | %s | %s |" % (name, spread([v[0] for v in values[name]]), spread([v[1] for v in values[name]])))
            continue
        walls = sorted(v[0] for v in values[name])
        cpus = sorted(v[1] for v in values[name])
        print("| %s | %s | %s |" % (name, fmt(walls), fmt(cpus) if not how.startswith("counter") else "-"))
    return status



# --- user-level figures ----------------------------------------------------------------------------

FIGURE_LINE = re.compile(r"^(?:\S+ )?FIGURE (\S+) (new|previous|before-last|twin) (-?[\d.]+) (\S+)\s*$")
# The rows' order: figures named after these come first, in this order.
ROW_ORDER = ("startup", "switch", "drag", "band", "clear", "save", "load", "memory")
# Units of which more is better.
RATES = ("fps", "/s")
# The start-up and load benchmarks of bench_programStart that the table takes.
START_FILTER = "BM_ProgramStart/0/|BM_ProgramLoad"


def user_benches(build):
    """(name, command, needs a private network) of each user-level benchmark."""
    benches = [("programStart", [os.path.join(build, "bench/app/bench_programStart"),
                                 "--benchmark_filter=" + START_FILTER], True)]
    for script in sorted(glob.glob(os.path.join(ROOT, "bench/app/bench_*_xvfb.sh"))):
        name = os.path.basename(script)[len("bench_"):-len("_xvfb.sh")]
        # the scripts make their own namespaces
        benches.append((name, ["bash", script, os.path.join(build, "app/tavix")], False))
    return benches


# The earlier builds' columns: (variant, environment variable naming its program).
EARLIER = (("previous", "TAVIX_PREVIOUS_PROGRAM"), ("before-last", "TAVIX_BEFORE_LAST_PROGRAM"))


def run_bench(name, command, isolated, earlier, out_file):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_QUICK_BACKEND="software")
    for variant, variable in EARLIER:
        env.pop(variable, None)
        if earlier.get(variant):
            env[variable] = earlier[variant]
    if isolated:
        command = ["unshare", "-rn", os.path.join(ROOT, "scripts/netns-run.sh")] + command
    print("running %s ..." % name, file=sys.stderr, flush=True)
    with open(out_file, "w") as out:
        done = subprocess.run(command, env=env, stdout=out, stderr=subprocess.STDOUT, timeout=3 * 3600,
                              cwd=ROOT)
    return done.returncode


def read_figures(files):
    """figure -> {"unit": unit, variant: [values in order]}, in the order of first appearance."""
    figures = {}
    for path in files:
        with open(path, errors="replace") as text:
            for line in text:
                match = FIGURE_LINE.match(line.strip())
                if not match:
                    continue
                name, variant, value, unit = match.groups()
                entry = figures.setdefault(name, {"unit": unit})
                entry.setdefault(variant, []).append(float(value))
    return figures


def ratios(new, other):
    if not new or not other:
        return None
    if len(new) == len(other):
        return sorted(n / o for n, o in zip(new, other) if o)
    base = statistics.median(other)
    return sorted(n / base for n in new) if base else None


def row_key(item):
    index, name = item
    for rank, prefix in enumerate(ROW_ORDER):
        if name == prefix or name.startswith(prefix + "-"):
            return (rank, index)
    return (len(ROW_ORDER), index)


def table(figures):
    fmt = lambda xs: "%.3f / %.3f / %.3f" % (xs[0], statistics.median(xs), xs[-1]) if xs else "–"
    others = [variant for variant, _ in EARLIER] + ["twin"]
    print("| figure | new, median | %s |" % " | ".join("÷ %s min / median / max" % o for o in others))
    print("|---|---|%s" % ("---|" * len(others)))
    for _, name in sorted(enumerate(figures), key=row_key):
        entry = figures[name]
        new = entry.get("new", [])
        unit = entry["unit"] + (" (more is better)" if entry["unit"] in RATES else "")
        print("| %s | %s | %s |" % (
            name, "%.1f %s" % (statistics.median(new), unit) if new else "–",
            " | ".join(fmt(ratios(new, entry.get(o))) for o in others)))


def user_level(args):
    earlier = {}
    for variant, variable in EARLIER:
        program = getattr(args, variant.replace("-", "_")) or os.environ.get(variable)
        if program:
            earlier[variant] = os.path.abspath(program)
    failed = []
    if args.from_files:
        files = args.from_files
    else:
        out_dir = args.save or tempfile.mkdtemp(prefix="bench-figures-")
        os.makedirs(out_dir, exist_ok=True)
        files = []
        build = os.path.abspath(args.build)
        for run_index in range(args.runs):
            for name, command, isolated in user_benches(build):
                if args.only and not any(o in name for o in args.only):
                    continue
                out_file = os.path.join(out_dir, "%s.%d.out" % (name, run_index))
                code = run_bench(name, command, isolated, earlier, out_file)
                files.append(out_file)
                if code != 0 or not read_figures([out_file]):
                    failed.append("%s (exit %d, see %s)" % (name, code, out_file))
        print("outputs kept in %s" % out_dir, file=sys.stderr)
    figures = read_figures(files)
    table(figures)
    for failure in failed:
        print("FAILED: " + failure, file=sys.stderr)
    return 1 if failed or not figures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--in-process", action="store_true", help="the in-process figures instead")
    parser.add_argument("--runs", type=int, default=None, help="rounds of every benchmark (1; 3 in-process)")
    parser.add_argument("--build", default=None,
                        help="the Release build with TAVIX_BENCH (build/release; build/release-bench in-process)")
    parser.add_argument("--previous", default=None, help="the previous build's program")
    parser.add_argument("--before-last", default=None, help="the program of the build before the previous one")
    parser.add_argument("--only", nargs="*", default=None, help="benchmarks or figures whose name holds one of these")
    parser.add_argument("--save", default=None, help="the folder for the benchmarks' outputs")
    parser.add_argument("--from", dest="from_files", nargs="*", default=None,
                        help="read these outputs instead of running anything")
    args = parser.parse_args()
    if args.in_process:
        args.runs = args.runs or 3
        args.build = args.build or os.path.join(ROOT, "build/release-bench")
        return in_process(args)
    args.runs = args.runs or 1
    args.build = args.build or os.path.join(ROOT, "build/release")
    return user_level(args)


if __name__ == "__main__":
    sys.exit(main())
