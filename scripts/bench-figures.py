#!/usr/bin/env python3
"""Runs the responsiveness benchmarks several times and prints each figure as min / median / max.

    scripts/bench-figures.py [--runs N] [--build build/release-bench] [--only NAME ...]

Every figure is a ratio of a measured benchmark to its twin from the same run: "wall" divides the
real times, "cpu" the CPU times of the two (Google Benchmark's real_time and cpu_time), so a loaded
machine shows up as a gap between the two. The tap figures are the benchmark's own percentile
ratios, and so are the start-up figures of the program binary (bench_programStart: "x_twin", and
with TAVIX_PREVIOUS_PROGRAM naming another build's program, "x_previous"). Benchmarks that start the project root run in a private network namespace
(scripts/netns-run.sh under `unshare -rn`), all on the offscreen platform with the software renderer.
Exits non-zero when a benchmark fails or a figure is missing from its output.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

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
    # with TAVIX_PREVIOUS_PROGRAM naming another build's program: against that one's starts
    "program start-up, no project, against the previous build": (
        "app/bench_programStart", "BM_ProgramStart/0/", "BM_ProgramStart/0", None, "counter:x_previous"),
    "program start-up with 1,000 items, against the previous build": (
        "app/bench_programStart", "BM_ProgramStart/1000/", "BM_ProgramStart/1000", None, "counter:x_previous"),
    "program start-up with 5,000 items, against the previous build": (
        "app/bench_programStart", "BM_ProgramStart/5000/", "BM_ProgramStart/5000", None, "counter:x_previous"),
    "tap median": ("actions/bench_taps", ".", "BM_TapCommandButton", None, "counter:median_x_bare"),
    "tap p99": ("actions/bench_taps", ".", "BM_TapCommandButton", None, "counter:p99_x_bare"),
}


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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--build", default=os.path.join(ROOT, "build/release-bench"))
    parser.add_argument("--only", nargs="*", default=None)
    args = parser.parse_args()
    names = [n for n in FIGURES if (not args.only or any(o in n for o in args.only))
             and ("previous build" not in n or os.environ.get("TAVIX_PREVIOUS_PROGRAM"))]
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


if __name__ == "__main__":
    sys.exit(main())
