#!/usr/bin/env python3
"""The control link as the operator sees it, among servers that hang, ask, lie or load slowly.

    bench/app/bench_link_trials.py PROGRAM STANDIN [--previous PROGRAM] [--trials N]
                                   [--cases NAME ...] [--soak SECONDS] [--out DIR]

Each trial runs the program (a Release build) on host 1 of a throw-away LAN of 8 hosts, under a
virtual X display of its own with a fresh HOME and a fresh copy of the empty project, and the
stand-in media server STANDIN (and the hostile peers of this script, `peer` below) on the other
hosts. It watches the connection pill (at (30, 63) of the 1024 x 768 window: 未连接, 加载中 or
已连接, dimmed behind a dialog) and whether the connect dialog shows, five times a second, and
reads what the stand-ins logged (probes, links, requests). Times are seconds of the wall clock,
which the stand-ins' logs share. With --previous, every trial of the new build is followed by the
same trial of the previous one. Cases (--cases picks those whose name starts with one of NAMEs):
    hold-15, hold-45, hold-90   a lone server holding every answer 15, 45 or 90 s (--hold-ms):
                                "-linked", 已连接 from the program's start; "-after-answer", from
                                the server's answer; "-cuts", links the panel ended before it
    hung-KIND-T                 a hung server (silent, head, file, connected, stray) on host 2
                                from the start, a working one started on host 3 T s after the
                                program: 已连接 from the working server's start
    stale-port                  a stale copy on the server's host (--stale-port 9); "stale-40": 5
                                hosts name 40 endpoints where nothing listens (8 each: 4 ports of
                                their own address, 4 of the server's) in answer to every probe;
                                "rotating-R": a host names a new dead address of the LAN in
                                answer to every probe and R times a second unasked; "forged-hung":
                                answers forged from the server's own address name a silent server
                                on host 4, 5 a second from the start and to every probe;
                                "forged-100": 100 addresses of one host each name a dead address,
                                once a second from the start and to every probe. Each: 已连接 from
                                the program's start ("-after-probe": from the first probe the real
                                server heard)
    password-cancel             a password server on host 2; once the dialog shows, an open one
                                starts on host 3 and 取消 is pressed: 已连接 from 取消
    ask-again                   the same with a server asking every second (--ask-again-ms
                                1000), 取消 5 s after the dialog came: 已连接 from 取消;
                                "-dialogs", the times the dialog came up; "-asking-links", links
                                to the asking server
A trial that does not reach 已连接 within its bound writes the bound as its figure and says so.
With --soak S, the program runs S seconds against each hostile peer instead (soak-stall0,
soak-stall24, soak-stall-in-file, soak-only-connected, soak-stray-message, soak-ask-again (the
dialog left open), soak-drop-50, soak-garbage (30 bytes before every frame), and soak-hung-5: five
hung servers of the five kinds on five hosts at once), and every 10 s its resident set, open
descriptors, threads, CPU time and TCP links (established or being made) are read: "-first",
"-last" and "-max" of each, the growth of the resident set and the CPU time from the sample at
60 s to the last. Its goal: at most 4 links, at most 32 threads, descriptors and resident set
(within 4 descriptors and 8 MB) no more than at 60 s.

Every measurement is a line "FIGURE <figure> <new|previous> <value> <unit>"; the end is a table of
min / median / max per figure and variant, and whether the case's goal held in every trial of the
new build. Screenshots of every change of what shows, the program's and the stand-ins' logs stay in
--out (default: a temporary folder, named at the end).

Outside a LAN of at least 8 hosts it makes one itself (scripts/lan-run.sh --hosts 8); inside one
("$LAN_RUN" or "$LAN_SANDBOX" exec HOST ...) it uses that one.
    bench_link_trials.py peer [--answer IP:PORT ...] [--rotate R] [--aliases N] [--spoof IP]
        the hostile peer on its host (see the cases above); ends by itself after 900 s or 200,000
        datagrams.
"""
import argparse
import datetime
import json
import os
import select
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "../.."))
sys.path.insert(0, os.path.join(ROOT, "tests/app"))
import standin_modes as screen  # noqa: E402  (the pill's colours and the dialog's place)

HOSTS = 8
DISCOVERY_PORT = 36543
# Where the program hears the answers to its probes.
REPLY_PORT = 36545
HUNG = {"silent": ["--stall-after-bytes", "0"], "head": ["--stall-after-bytes", "24"],
        "file": ["--stall-in-file"], "connected": ["--only-connected"], "stray": ["--stray-message"]}
# Every hung kind meets every appearance time; each kind three times.
HUNG_PLAN = [("silent", 30), ("head", 57), ("file", 60), ("connected", 75), ("stray", 150),
             ("silent", 57), ("head", 60), ("file", 75), ("connected", 150), ("stray", 30),
             ("silent", 60), ("head", 75), ("file", 150), ("connected", 30), ("stray", 57)]
SOAKS = {"stall0": [["--stall-after-bytes", "0"]], "stall24": [["--stall-after-bytes", "24"]],
         "stall-in-file": [["--stall-in-file"]], "only-connected": [["--only-connected"]],
         "stray-message": [["--stray-message"]], "ask-again": [["--password", "X", "--ask-again-ms", "1000"]],
         "drop-50": [["--drop-after-bytes", "50"]], "garbage": [["--garbage-bytes", "30"]],
         "hung-5": [HUNG[k] for k in ("silent", "head", "file", "connected", "stray")]}


def on_host(host, command):
    runner = os.environ.get("LAN_RUN") or os.environ["LAN_SANDBOX"]
    return [runner, "exec", str(host)] + command


# ---- the datagrams of discovery ----

def datagram(cmd, params, uid):
    text = json.dumps({"type": cmd, "uid": uid, "params": params}).encode()
    return struct.pack("<4siQB3xI", b"\x02" * 4, len(text), uid, 1, 0) + text


def probe_of(data):
    """The reply port a probe asks for, or None."""
    if len(data) < 24 or data[:4] != b"\x02" * 4:
        return None
    try:
        message = json.loads(data[24:])
    except ValueError:
        return None
    if message.get("type") != "requestServerConfig":
        return None
    port = message.get("params", {}).get("port")
    return port if isinstance(port, int) and 0 < port < 65536 else None


def peer(argv):
    options = argparse.ArgumentParser(prog="peer")
    options.add_argument("--answer", action="append", default=[])
    options.add_argument("--rotate", action="store_true")
    options.add_argument("--unasked", type=float, default=0)
    options.add_argument("--aliases", type=int, default=0)
    options.add_argument("--spoof")
    options.add_argument("--to")
    args = options.parse_args(argv)
    probes = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    probes.bind(("0.0.0.0", DISCOVERY_PORT))
    aliases = []
    for i in range(args.aliases):
        address = "198.18.0.%d" % (101 + i)
        subprocess.run(["ip", "addr", "add", address + "/32", "dev", "lan0"], stderr=subprocess.DEVNULL)
        aliases.append(socket.socket(socket.AF_INET, socket.SOCK_DGRAM))
        aliases[-1].bind((address, 0))
    raw = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_RAW) if args.spoof else None
    state = {"uid": 1000, "sent": 0, "rotated": 0}

    def send(sender, ip, port, to):
        state["uid"] += 1
        state["sent"] += 1
        data = datagram("serverConfig", {"ip": ip, "port": port, "productName": "Tavix"}, state["uid"])
        if raw:
            udp = struct.pack("!HHHH", DISCOVERY_PORT, to[1], 8 + len(data), 0) + data
            head = struct.pack("!BBHHHBBH4s4s", 0x45, 0, 20 + len(udp), 0, 0, 64, 17, 0,
                               socket.inet_aton(args.spoof), socket.inet_aton(to[0]))
            raw.sendto(head + udp, (to[0], 0))
        else:
            sender.sendto(data, to)

    def dead():
        state["rotated"] += 1
        return "198.18.0.%d" % (201 + state["rotated"] % 50)

    def answer(to):
        for endpoint in args.answer:
            ip, port = endpoint.rsplit(":", 1)
            send(probes, ip, int(port), to)
        if args.rotate:
            send(probes, dead(), 4000, to)

    target, next_unasked = None, 0.0
    if args.to:
        ip, port = args.to.rsplit(":", 1)
        target = (ip, int(port))
    deadline = time.monotonic() + 900
    while time.monotonic() < deadline and state["sent"] < 200000:
        wait = next_unasked - time.monotonic() if target and args.unasked else 1.0
        ready, _, _ = select.select([probes], [], [], min(max(wait, 0.0), 1.0))
        if ready:
            data, source = probes.recvfrom(65536)
            port = probe_of(data)
            if port is None:
                continue
            target = (source[0], port)
            answer(target)
            for alias in aliases:
                send(alias, dead(), 4000, target)
        if target and args.unasked and time.monotonic() >= next_unasked:
            answer(target)
            for alias in aliases:
                send(alias, dead(), 4000, target)
            next_unasked = time.monotonic() + 1.0 / args.unasked


# ---- one trial ----

class Standin:
    def __init__(self, trial, host, args):
        self.log = os.path.join(trial.dir, "standin-h%d-%d.log" % (host, len(trial.processes)))
        self.process = subprocess.Popen(on_host(host, [trial.standin, "--log", self.log] + args),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        trial.processes.append(self.process)
        for _ in range(100):
            if self.events("listening"):
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("the stand-in on host %d did not start" % host)
        self.start = self.events("listening")[0][0]

    def events(self, kind=None, cmd=None):
        """(time, entry) of each logged event of that kind (and command), in order."""
        found = []
        try:
            with open(self.log, encoding="utf-8") as lines:
                for line in lines:
                    try:
                        entry = json.loads(line)
                    except ValueError:
                        continue
                    if (kind is None or entry.get("event") == kind) and (cmd is None or entry.get("cmd") == cmd):
                        at = datetime.datetime.fromisoformat(entry["time"].replace("Z", "+00:00")).timestamp()
                        found.append((at, entry))
        except OSError:
            pass
        return found


class Trial:
    def __init__(self, bench, name, variant, number):
        self.bench, self.name, self.variant = bench, name, variant
        self.standin = bench.standin
        self.dir = os.path.join(bench.out, "%s-%s-%d" % (name, variant, number))
        os.makedirs(self.dir, exist_ok=True)
        self.processes, self.samples, self.shots = [], [], 0
        self.program = bench.programs[variant]
        self.app = None
        self.t0 = None
        subprocess.run(["ip", "neigh", "flush", "all"], stderr=subprocess.DEVNULL)

    def peer(self, host, args):
        self.processes.append(subprocess.Popen(on_host(host, [sys.executable, __file__, "peer"] + args)))
        time.sleep(0.3)

    def start(self):
        home = os.path.join(self.dir, "home")
        packet = os.path.join(self.dir, "packet")
        os.makedirs(home)
        os.makedirs(packet)
        for name in ("project.json", "thumbnail.png"):
            shutil.copy(os.path.join(ROOT, "resources/empty", name), packet)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   QT_QPA_PLATFORM="xcb", QT_QUICK_BACKEND="software")
        self.t0 = time.time()
        with open(os.path.join(self.dir, "program.log"), "w") as log:
            self.app = subprocess.Popen([self.program, os.path.join(packet, "project.json")], env=env,
                                        stdout=log, stderr=subprocess.STDOUT)
        for _ in range(300):
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Tavix Editor"],
                                   capture_output=True, timeout=10)
            if found.returncode == 0:
                return
            if self.app.poll() is not None:
                break
            time.sleep(0.1)
        raise RuntimeError("%s: the program shows no window" % self.dir)

    def now(self):
        return time.time()

    def watch(self, until, stop=lambda: False, act=None):
        """Samples what shows until the wall clock reaches until or stop() holds; act(sample) runs
        after each sample."""
        while time.time() < until and not stop():
            if self.app.poll() is not None:
                raise RuntimeError("%s: the program ended by itself" % self.dir)
            state, colour, dialog = screen.sample(self.bench.width)
            t = time.time()
            if not self.samples or (state, dialog) != self.samples[-1][1:]:
                if self.shots < 30:
                    self.shots += 1
                    subprocess.run(["import", "-window", "root",
                                    os.path.join(self.dir, "%05.1fs.png" % (t - self.t0))], timeout=20)
            self.samples.append((t, state, dialog))
            if act:
                act(self.samples[-1])
            time.sleep(max(0.0, 0.2 - (time.time() - t)))

    def first(self, state, after=0.0):
        return next((t for t, s, _ in self.samples if s == state and t >= after), None)

    def dialogs(self, after=0.0):
        """The times the dialog came up after the given time."""
        return [t for i, (t, _, d) in enumerate(self.samples)
                if d and t >= after and (i == 0 or not self.samples[i - 1][2])]

    def timeline(self):
        runs = []
        for t, state, dialog in self.samples:
            shown = (state or "?") + (" + dialog" if dialog else "")
            if runs and runs[-1][0] == shown:
                runs[-1][2] = t
            else:
                runs.append([shown, t, t])
        return " → ".join("%s %.1f–%.1f" % (s, a - self.t0, b - self.t0) for s, a, b in runs)

    def stop(self):
        if self.app and self.app.poll() is None:
            self.app.terminate()
            try:
                self.app.wait(10)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait()
        for process in reversed(self.processes):
            process.terminate()
        for process in self.processes:
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        subprocess.run(["ip", "neigh", "flush", "all"], stderr=subprocess.DEVNULL)


def click_cancel():
    # No --sync: it waits for a move, and the pointer may already be there from the trial before.
    subprocess.run(["xdotool", "mousemove", str(screen.CANCEL_BUTTON[0]), str(screen.CANCEL_BUTTON[1])], timeout=10)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "1"], timeout=10)


# ---- the cases: each returns {figure: (value, unit)}, whether its goal held, and what it saw ----

def linked_within(trial, after, bound):
    trial.watch(after + bound, stop=lambda: trial.first("已连接", after) is not None)
    linked = trial.first("已连接", after)
    return (linked - after, True) if linked else (bound, False)


def case_hold(trial, seconds):
    server = Standin(trial, 2, ["--hold-ms", str(seconds * 1000)])
    trial.start()
    linked, ok = linked_within(trial, trial.t0, seconds + 35)
    trial.watch(time.time() + 1)
    # The server greets a link as it accepts it, and its first answer follows the greeting by the
    # hold.
    accepted = [t for t, _ in server.events("connected") if not ok or t < trial.t0 + linked]
    cuts = len([t for t, _ in server.events("disconnected") if not ok or t < trial.t0 + linked])
    answer = accepted[-1] + seconds - trial.t0 if ok and accepted else None
    loading = trial.first("加载中")
    red_between = ok and loading is not None and any(
        s == "未连接" for t, s, _ in trial.samples if loading <= t <= trial.t0 + linked)
    figures = {"linked": (linked, "s"), "cuts": (cuts, "links")}
    if answer is not None:
        figures["after-answer"] = (linked - answer, "s")
    held = ok and cuts == 0 and not red_between and answer is not None and linked - answer <= 1.0
    return figures, held, ok


def case_hung(trial, kind, appear):
    hung = Standin(trial, 2, HUNG[kind])
    trial.start()
    trial.watch(trial.t0 + appear)
    working = Standin(trial, 3, [])
    linked, ok = linked_within(trial, working.start, 45)
    hung_links = len(hung.events("connected"))
    # Nothing to measure when the panel never linked the hung server.
    held = ok and linked <= 3.0 and hung_links > 0 and bool(working.events("connected"))
    return {"": (linked, "s"), "hung-links": (hung_links, "links")}, held, ok


def case_against_noise(trial, server_args, setup):
    server = Standin(trial, 2, server_args)
    setup(trial)
    trial.start()
    linked, ok = linked_within(trial, trial.t0, 60)
    figures = {"": (linked, "s")}
    probed = server.events("probe")
    if ok and probed:
        figures["after-probe"] = (linked - (probed[0][0] - trial.t0), "s")
    return figures, ok, ok


def stale_40(trial):
    for host in range(3, 8):
        own = ["198.18.0.%d:%d" % (host, 9000 + 10 * host + k) for k in range(4)]
        theirs = ["198.18.0.2:%d" % (9000 + 10 * host + 4 + k) for k in range(4)]
        trial.peer(host, [a for endpoint in own + theirs for a in ("--answer", endpoint)])


def forged_hung(trial):
    Standin(trial, 4, ["--stall-after-bytes", "0", "--discovery-port", "0", "--tcp-port", "36700"])
    # From the start, to the port where the panel hears replies, so that the forged ones come first.
    trial.peer(3, ["--spoof", "198.18.0.2", "--answer", "198.18.0.4:36700", "--unasked", "5",
                   "--to", "198.18.0.1:%d" % REPLY_PORT])


def case_password(trial, asking):
    args = ["--password", "1234"] + (["--ask-again-ms", "1000"] if asking else [])
    guarded = Standin(trial, 2, args)
    trial.start()
    trial.watch(trial.t0 + 40, stop=lambda: bool(trial.dialogs()))
    if not trial.dialogs():
        raise RuntimeError("%s: no connect dialog in 40 s" % trial.dir)
    if asking:
        trial.watch(time.time() + 5)
    Standin(trial, 3, [])
    click_cancel()
    cancelled = time.time()
    linked, ok = linked_within(trial, cancelled, 30)
    trial.watch(time.time() + (15 if asking else 2))
    figures = {"": (linked, "s")}
    held = ok and linked <= 3.0
    if asking:
        dialogs, links = len(trial.dialogs()), len(guarded.events("connected"))
        figures.update({"dialogs": (dialogs, "times"), "asking-links": (links, "links")})
        held = held and dialogs <= links and not trial.dialogs(cancelled + 1.0)
    return figures, held, ok


def cases():
    table = {}
    for seconds in (15, 45, 90):
        table["hold-%d" % seconds] = (lambda s: lambda t: case_hold(t, s))(seconds)
    for kind, appear in HUNG_PLAN:
        table["hung-%s-%d" % (kind, appear)] = (lambda k, a: lambda t: case_hung(t, k, a))(kind, appear)
    noise = {"stale-port": (["--stale-port", "9"], lambda t: None), "stale-40": ([], stale_40),
             "rotating-1": ([], lambda t: t.peer(3, ["--rotate", "--unasked", "1"])),
             "rotating-5": ([], lambda t: t.peer(3, ["--rotate", "--unasked", "5"])),
             "rotating-20": ([], lambda t: t.peer(3, ["--rotate", "--unasked", "20"])),
             "forged-hung": ([], forged_hung),
             "forged-100": ([], lambda t: t.peer(3, ["--aliases", "100", "--unasked", "1",
                                                     "--to", "198.18.0.1:%d" % REPLY_PORT]))}
    for name, (args, setup) in noise.items():
        table[name] = (lambda a, s: lambda t: case_against_noise(t, a, s))(args, setup)
    table["password-cancel"] = lambda t: case_password(t, False)
    table["ask-again"] = lambda t: case_password(t, True)
    return table


# ---- five minutes against each hostile peer ----

def resources(pid):
    with open("/proc/%d/status" % pid) as status:
        fields = dict(line.split(":", 1) for line in status if ":" in line)
    with open("/proc/%d/stat" % pid) as stat:
        rest = stat.read().rsplit(")", 1)[1].split()
    links = 0
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        with open(table) as lines:
            links += sum(1 for line in list(lines)[1:] if line.split()[3] in ("01", "02"))
    return {"rss": (int(fields["VmRSS"].split()[0]), "kB"), "fds": (len(os.listdir("/proc/%d/fd" % pid)), "fds"),
            "threads": (int(fields["Threads"]), "threads"),
            "cpu": ((int(rest[11]) + int(rest[12])) / os.sysconf("SC_CLK_TCK"), "s"), "links": (links, "links")}


def soak(trial, kind, seconds):
    for host, args in enumerate(SOAKS[kind], start=2):
        Standin(trial, host, args)
    trial.start()
    readings = []
    while True:
        at = time.time() - trial.t0
        if trial.app.poll() is not None:
            raise RuntimeError("%s: the program ended by itself" % trial.dir)
        readings.append((at, resources(trial.app.pid)))
        if at >= seconds:
            break
        time.sleep(max(0.0, 10 * len(readings) - (time.time() - trial.t0)))
    figures = {}
    for measure, (_, unit) in readings[0][1].items():
        values = [r[measure][0] for _, r in readings]
        figures.update({measure + "-first": (values[0], unit), measure + "-last": (values[-1], unit),
                        measure + "-max": (max(values), unit)})
    at_minute = next(r for at, r in readings if at >= min(60, seconds))
    figures["rss-growth-after-60s"] = (readings[-1][1]["rss"][0] - at_minute["rss"][0], "kB")
    figures["cpu-after-60s"] = (readings[-1][1]["cpu"][0] - at_minute["cpu"][0], "s")
    print("SAMPLES soak-%s %s: %s" % (kind, trial.variant, " ".join(
        "%.0fs:%d/%d/%d/%.1f/%d" % (at, r["rss"][0], r["fds"][0], r["threads"][0], r["cpu"][0], r["links"][0])
        for at, r in readings)), flush=True)
    held = (figures["links-max"][0] <= 4 and figures["fds-last"][0] <= at_minute["fds"][0] + 4 and
            figures["threads-max"][0] <= 32 and figures["rss-growth-after-60s"][0] <= 8192)
    return figures, held, True


# ---- the bench ----

class Bench:
    def __init__(self, args):
        self.standin = os.path.abspath(args.standin)
        self.programs = {"new": os.path.abspath(args.program)}
        if args.previous:
            self.programs["previous"] = os.path.abspath(args.previous)
        self.out = os.path.abspath(args.out or tempfile.mkdtemp(prefix="link-trials-"))
        os.makedirs(self.out, exist_ok=True)
        self.width = screen.screen_size()[0]
        self.figures = {}  # (figure, variant) -> [(value, reached)]
        self.goals = {}  # case -> [held] of the new build

    def run(self, name, variant, number, body):
        trial = Trial(self, name, variant, number)
        try:
            figures, held, reached = body(trial)
        except (RuntimeError, OSError, subprocess.SubprocessError) as error:
            print("ERROR %s %s %d: %s" % (name, variant, number, error), flush=True)
            figures, held, reached = {}, False, False
        finally:
            trial.stop()
        if trial.samples:
            print("TIMELINE %s %s %d: %s" % (name, variant, number, trial.timeline()), flush=True)
        for key, (value, unit) in figures.items():
            figure = name + ("-" + key if key else "")
            print("FIGURE %s %s %s %s" % (figure, variant, round(value, 3) if isinstance(value, float) else value,
                                          unit), flush=True)
            # The link figures of a trial that never linked are its bound.
            bounded = not reached and unit == "s" and not key.startswith(("cpu", "after"))
            if bounded:
                print("NOTE %s %s: no 已连接 within %s s" % (figure, variant, value), flush=True)
            self.figures.setdefault((figure, variant), []).append((value, not bounded))
        if variant == "new":
            self.goals.setdefault(name, []).append(held)
        print("GOAL %s %s %d: %s" % (name, variant, number, "held" if held else "not held"), flush=True)

    def summary(self):
        print("\n| figure | variant | trials | min / median / max |")
        print("|---|---|---|---|")
        for (figure, variant), values in self.figures.items():
            shown = ", ".join(("%g" % v) + ("" if r else " (never)") for v, r in values)
            numbers = sorted(v for v, _ in values)
            print("| %s | %s | %s | %g / %g / %g |" % (figure, variant, shown, numbers[0],
                                                      statistics.median(numbers), numbers[-1]))
        print("\n| case | goal held (new build) |")
        print("|---|---|")
        for name, held in self.goals.items():
            print("| %s | %d of %d |" % (name, sum(held), len(held)))
        print("outputs in %s" % self.out)
        return all(all(h) for h in self.goals.values())


def main(argv):
    if argv[:1] == ["peer"]:
        return peer(argv[1:])
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("program")
    parser.add_argument("standin")
    parser.add_argument("--previous")
    parser.add_argument("--trials", type=int, default=3)
    parser.add_argument("--cases", nargs="*")
    parser.add_argument("--soak", type=int, default=0)
    parser.add_argument("--out")
    args = parser.parse_args(argv)
    me = [sys.executable, os.path.abspath(__file__)] + argv
    if not (os.environ.get("LAN_RUN") or os.environ.get("LAN_SANDBOX")):
        os.execv(os.path.join(ROOT, "scripts/lan-run.sh"), ["lan-run.sh", "--hosts", str(HOSTS)] + me)
    if len(os.environ.get("LAN_HOSTS", "").split()) < HOSTS:
        sys.exit("needs a LAN of %d hosts at least" % HOSTS)
    if os.environ.get("TAVIX_TRIALS_HOST") != "1":
        os.environ["TAVIX_TRIALS_HOST"] = "1"
        command = on_host(1, [os.path.join(ROOT, "scripts/xvfb-run.sh"), "1280x800x24"] + me)
        os.execv(command[0], command)
    bench = Bench(args)
    table = cases()
    if args.soak:
        table = {"soak-" + kind: (lambda k: lambda t: soak(t, k, args.soak))(kind) for kind in SOAKS}
    chosen = [n for n in table if args.cases is None or any(n.startswith(c) for c in args.cases)]
    if not chosen:
        sys.exit("no case is named %s" % " or ".join(args.cases))
    for number in range(1, (1 if args.soak else args.trials) + 1):
        for name in chosen:
            for variant in bench.programs:
                print("== %s %s %d" % (name, variant, number), flush=True)
                bench.run(name, variant, number, table[name])
    return 0 if bench.summary() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
