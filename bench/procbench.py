#!/usr/bin/env python3
"""Process-level benchmarks of the real program on a private X server.

Start-up (exec to the main window mapped), idle cost (CPU time and wake-ups
of all threads) with no timer and with six timers running, and memory (RSS
and PSS). The program is driven only through its window, with xdotool
clicks at the positions that quandrel_bench_layout reports.

    procbench.py --build BUILD_DIR [--quick] [--idle SECONDS]

Needs Xvfb, openbox and xdotool. Prints figures and "RESULT key value" lines.
"""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")


# ---- /proc readings -------------------------------------------------------

def task_counters(pid):
    """Per thread: (name, context switches, CPU nanoseconds, involuntary switches)."""
    tasks = {}
    base = f"/proc/{pid}/task"
    for tid in os.listdir(base):
        try:
            with open(f"{base}/{tid}/comm") as f:
                name = f.read().strip()
            switches = involuntary = 0
            with open(f"{base}/{tid}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
                    if line.startswith("nonvoluntary_ctxt_switches"):
                        involuntary += int(line.split()[1])
            with open(f"{base}/{tid}/schedstat") as f:
                cpu_ns = int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            continue
        tasks[tid] = (name, switches, cpu_ns, involuntary)
    return tasks


def process_cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def memory_mib(pid):
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("Rss", "Pss"):
                values[key] = int(rest.split()[0]) / 1024.0
    return values["Rss"], values["Pss"]


def snapshot(pid):
    return time.monotonic(), task_counters(pid), process_cpu_ticks(pid)


def interval(a, b):
    """Wake-ups per second, CPU % of a core (schedstat and stat), per thread."""
    t0, tasks0, ticks0 = a
    t1, tasks1, ticks1 = b
    wall = t1 - t0
    per_thread = {}
    switches = cpu_ns = involuntary = 0
    for tid, (name, sw, ns, inv) in tasks1.items():
        _, sw0, ns0, inv0 = tasks0.get(tid, (name, 0, 0, 0))
        switches += sw - sw0
        cpu_ns += ns - ns0
        involuntary += inv - inv0
        per_thread[name] = per_thread.get(name, 0) + (sw - sw0) / wall
    return {
        "wakeups": switches / wall,
        "involuntary": involuntary / wall,
        "cpu": 100.0 * cpu_ns / 1e9 / wall,
        "cpu_stat": 100.0 * (ticks1 - ticks0) / CLK_TCK / wall,
        "threads": per_thread,
    }


def loadavg():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


# ---- X server ---------------------------------------------------------------

class Display:
    def __init__(self, width=1920, height=1080):
        self.number = next(n for n in range(42, 200)
                           if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"))
        self.name = f":{self.number}"
        self.server = subprocess.Popen(["Xvfb", self.name, "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not os.path.exists(f"/tmp/.X11-unix/X{self.number}"):
            if time.monotonic() > deadline or self.server.poll() is not None:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.05)
        time.sleep(0.2)
        self.wm = subprocess.Popen(["openbox"], env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(),
                             capture_output=True, text=True).stdout.find("window id") < 0:
            if time.monotonic() > deadline:
                raise RuntimeError("openbox did not start")
            time.sleep(0.05)
        time.sleep(0.3)

    def env(self, **extra):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.update(extra)
        return env

    def close(self):
        for process in (self.wm, self.server):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


def xdotool(display, *args):
    result = subprocess.run(["xdotool", *args], env=display.env(), capture_output=True, text=True)
    return result.stdout.strip()


# ---- Programs ---------------------------------------------------------------

class Bench:
    def __init__(self, build, quick, idle_secs, program=None):
        self.build = build
        self.quick = quick
        self.idle_secs = idle_secs
        self.program = program or os.path.join(build, "src", "quandrel")
        self.mapwait = os.path.join(build, "bench", "quandrel_bench_mapwait")
        self.bare = os.path.join(build, "bench", "quandrel_bench_bare_window")
        self.layout = os.path.join(build, "bench", "quandrel_bench_layout")
        self.scratch = tempfile.mkdtemp(prefix="quandrel-bench-")
        self.runtime = os.path.join(self.scratch, "runtime")
        os.mkdir(self.runtime, 0o700)
        self.warm_data = os.path.join(self.scratch, "warm")
        self.config = os.path.join(self.scratch, "config")
        os.mkdir(self.config)
        self.log = os.path.join(self.scratch, "programs.log")
        self.display = Display()
        self.results = {}

    def close(self):
        self.display.close()
        shutil.rmtree(self.scratch, ignore_errors=True)

    def env(self, data_home, **extra):
        return self.display.env(XDG_DATA_HOME=data_home, XDG_RUNTIME_DIR=self.runtime, XDG_CONFIG_HOME=self.config,
                                **extra)

    def result(self, key, value, digits=1):
        self.results[key] = value
        text = f"{value:.{digits}f}" if isinstance(value, float) else str(value)
        print(f"RESULT {key} {text}")

    def start(self, command, data_home, keep, **extra):
        """Runs command under mapwait; returns (milliseconds to mapped, pid)."""
        args = [self.mapwait, "--timeout", "15000"] + (["--keep"] if keep else []) + ["--"] + command
        with open(self.log, "a") as log:
            out = subprocess.run(args, env=self.env(data_home, **extra), stdout=subprocess.PIPE, stderr=log,
                                 text=True).stdout
        fields = dict(line.split(None, 1) for line in out.splitlines() if " " in line)
        if fields.get("mapped_ms", "timeout") == "timeout":
            raise RuntimeError(f"{command[0]} did not map a window: {out}")
        self.last_cpu = float(fields.get("cpu_ms", "nan"))
        return float(fields["mapped_ms"]), int(fields["pid"])

    @staticmethod
    def stop(pid):
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        for _ in range(100):
            if not os.path.exists(f"/proc/{pid}") or open(f"/proc/{pid}/stat").read().split()[2] == "Z":
                return
            time.sleep(0.02)
        os.kill(pid, signal.SIGKILL)

    # ---- Start-up and memory of a bare window ---------------------------------

    def startup(self):
        runs = 3 if self.quick else 5
        first_runs = 2 if self.quick else 3
        print(f"\n== Start-up: exec to the main window mapped (Xvfb + openbox, load {loadavg()}) ==")
        # One start writes the recordings and warms the file cache.
        self.start([self.program], self.warm_data, keep=False)
        self.start([self.bare], self.warm_data, keep=False)
        # The audio libraries the program links, loaded into the bare window:
        # what linking them costs at start-up.
        audio_libs = [line.split()[0] for line in subprocess.run(["ldd", self.program], capture_output=True,
                                                                 text=True).stdout.splitlines()
                      if line.split() and line.split()[0].startswith(("libSDL2-", "libSDL2_mixer"))]
        warm, bare, bare_rss, bare_audio, bare_text = [], [], [], [], []
        cpu = {"warm": [], "first": [], "bare": [], "audio": [], "text": []}
        self.start([self.bare, "--text"], self.warm_data, keep=False)
        for _ in range(runs):
            warm.append(self.start([self.program], self.warm_data, keep=False)[0])
            cpu["warm"].append(self.last_cpu)
            bare_text.append(self.start([self.bare, "--text"], self.warm_data, keep=False)[0])
            cpu["text"].append(self.last_cpu)
            ms, pid = self.start([self.bare], self.warm_data, keep=True)
            cpu["bare"].append(self.last_cpu)
            bare.append(ms)
            time.sleep(1.0)
            bare_rss.append(memory_mib(pid))
            self.stop(pid)
            if audio_libs:
                bare_audio.append(self.start([self.bare], self.warm_data, keep=False,
                                             LD_PRELOAD=" ".join(audio_libs))[0])
                cpu["audio"].append(self.last_cpu)
        first = []
        for i in range(first_runs):
            fresh = os.path.join(self.scratch, f"first{i}")
            first.append(self.start([self.program], fresh, keep=False)[0])
            cpu["first"].append(self.last_cpu)
            written = len(os.listdir(os.path.join(fresh, "Quandrel", "sounds")))
            if written < 25:
                print(f"  warning: the first start wrote only {written} recordings")

        def row(what, values, cpu_ms):
            print(f"  {what:<42} median {statistics.median(values):6.1f} ms   worst {max(values):6.1f} ms"
                  f"   CPU {statistics.median(cpu_ms):5.1f} ms   (runs: {', '.join(f'{v:.1f}' for v in values)})")

        print("  (CPU: CPU time all threads had used when the window was mapped; less sensitive to machine load)")
        row("Quandrel, warm start", warm, cpu["warm"])
        row("Quandrel, first start (writes recordings)", first, cpu["first"])
        row("bare Qt window", bare, cpu["bare"])
        row("bare Qt window, text laid out before show", bare_text, cpu["text"])
        if bare_audio:
            row("bare Qt window + SDL2/SDL2_mixer loaded", bare_audio, cpu["audio"])
            self.result("startup_bare_sdl_median_ms", statistics.median(bare_audio))
            self.result("startup_bare_sdl_cpu_ms", statistics.median(cpu["audio"]))
        self.result("startup_warm_cpu_ms", statistics.median(cpu["warm"]))
        self.result("startup_bare_cpu_ms", statistics.median(cpu["bare"]))
        print(f"  bare Qt window memory: RSS {statistics.median(r for r, _ in bare_rss):.1f} MiB, "
              f"PSS {statistics.median(p for _, p in bare_rss):.1f} MiB")
        self.result("startup_warm_median_ms", statistics.median(warm))
        self.result("startup_warm_worst_ms", max(warm))
        self.result("startup_first_median_ms", statistics.median(first))
        self.result("startup_first_worst_ms", max(first))
        self.result("startup_bare_median_ms", statistics.median(bare))
        self.result("startup_bare_text_median_ms", statistics.median(bare_text))
        self.result("startup_bare_text_cpu_ms", statistics.median(cpu["text"]))
        self.result("bare_rss_mib", statistics.median(r for r, _ in bare_rss))

    # ---- Idle cost ----------------------------------------------------------------

    def measure(self, pid, seconds, label, key):
        """Samples the process for seconds in slices; prints and records figures."""
        slices = 6 if seconds >= 30 else max(2, seconds // 5)
        step = seconds / slices
        memory = [memory_mib(pid)]
        marks = [snapshot(pid)]
        for _ in range(slices):
            time.sleep(step)
            marks.append(snapshot(pid))
            memory.append(memory_mib(pid))
        parts = [interval(marks[i], marks[i + 1]) for i in range(slices)]
        whole = interval(marks[0], marks[-1])
        wake = [p["wakeups"] for p in parts]
        cpu = [p["cpu"] for p in parts]
        print(f"  {label} ({seconds} s in {slices} slices, load {loadavg()}):")
        print(f"    wake-ups/s   whole {whole['wakeups']:6.2f}   slice median {statistics.median(wake):6.2f}"
              f"   worst {max(wake):6.2f}   (of which involuntary: {whole['involuntary']:.2f})")
        print(f"    CPU % core   whole {whole['cpu']:6.3f}   slice median {statistics.median(cpu):6.3f}"
              f"   worst {max(cpu):6.3f}   (utime+stime: {whole['cpu_stat']:.3f})")
        print("    by thread:   " + ", ".join(f"{name} {rate:.2f}/s" for name, rate in sorted(whole["threads"].items())))
        rss = [m[0] for m in memory]
        pss = [m[1] for m in memory]
        print(f"    memory       RSS median {statistics.median(rss):.1f} MiB (max {max(rss):.1f}),"
              f" PSS median {statistics.median(pss):.1f} MiB (max {max(pss):.1f})")
        if key:
            self.result(f"{key}_wakeups_median", statistics.median(wake), 2)
            self.result(f"{key}_wakeups_worst", max(wake), 2)
            self.result(f"{key}_wakeups_whole", whole["wakeups"], 2)
            self.result(f"{key}_wakeups_involuntary", whole["involuntary"], 2)
            self.result(f"{key}_cpu_median_pct", statistics.median(cpu), 3)
            self.result(f"{key}_cpu_worst_pct", max(cpu), 3)
            self.result(f"{key}_rss_mib", statistics.median(rss))
            self.result(f"{key}_rss_max_mib", max(rss))
            self.result(f"{key}_pss_mib", statistics.median(pss))

    def probe_layout(self):
        with open(self.log, "a") as log:
            out = subprocess.run([self.layout], env=self.env(self.warm_data), stdout=subprocess.PIPE, stderr=log,
                                 text=True, timeout=30).stdout
        positions = {}
        for line in out.splitlines():
            name, x, y = line.split()
            positions[name] = (int(x), int(y))
        return positions

    def click(self, window, position):
        xdotool(self.display, "windowactivate", "--sync", window)
        xdotool(self.display, "mousemove", "--window", window, str(position[0]), str(position[1]), "click", "1")
        time.sleep(0.35)

    def launch_six(self, pid, layout):
        windows = xdotool(self.display, "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "^Quandrel$").split()
        main = windows[0]
        # Out of the way of the timer windows, which tile from the top right.
        xdotool(self.display, "windowmove", "--sync", main, "0", "560")
        time.sleep(0.3)
        self.click(main, layout["Command1"])  # the alarm clock is chosen at start-up
        self.click(main, layout["Option2"])  # count-downs of the preset hour
        self.click(main, layout["Command1"])
        self.click(main, layout["Command1"])
        self.click(main, layout["Option1"])  # count-ups
        self.click(main, layout["Command1"])
        self.click(main, layout["Command1"])
        self.click(main, layout["Check3"])  # a stopwatch, then start it
        self.click(main, layout["Command1"])
        stopwatch = xdotool(self.display, "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "^Timer 6$").split()
        if stopwatch:
            self.click(stopwatch[0], layout["SWStart"])
        shown = xdotool(self.display, "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", ".").split()
        return len(shown), bool(stopwatch)

    def activate_other(self, other):
        """Gives the keyboard to another program, as while the user works
        elsewhere (a focused title box would blink its cursor twice a second)."""
        window = xdotool(self.display, "search", "--all", "--onlyvisible", "--pid", str(other), "--name", ".").split()
        if window:
            xdotool(self.display, "windowactivate", "--sync", window[0])

    def idle(self, seconds, key, extra_env=None, title=""):
        extra_env = extra_env or {}
        print(f"\n== Idle cost of the real program{title} ==")
        print("  (another program's window is active throughout, as while the user works elsewhere)")
        layout = self.probe_layout()
        _, pid = self.start([self.program], self.warm_data, keep=True, **extra_env)
        _, other = self.start([self.bare], self.warm_data, keep=True)
        try:
            self.activate_other(other)
            time.sleep(4)
            self.measure(pid, seconds, "no timer running", f"{key}_idle" if key else None)
            count, stopwatch = self.launch_six(pid, layout)
            if count != 7 or not stopwatch:
                print(f"  warning: {count} windows visible after launching six timers (expected 7)")
            self.activate_other(other)
            time.sleep(5)
            self.measure(pid, seconds, "six timers running (2 count-downs, 2 count-ups, alarm clock, stopwatch)",
                         f"{key}_six" if key else None)
        finally:
            self.stop(pid)
            self.stop(other)

    def label_cost(self, seconds):
        print("\n== What one label update a second costs (bare Qt window with a ticking label) ==")
        for title, extra in (("MIT-SHM on (Qt default)", {}), ("QT_XCB_NO_MITSHM=1", {"QT_XCB_NO_MITSHM": "1"})):
            _, pid = self.start([self.bare, "--tick"], self.warm_data, keep=True, **extra)
            try:
                time.sleep(1.5)
                a = snapshot(pid)
                time.sleep(seconds)
                whole = interval(a, snapshot(pid))
                print(f"  {title:<26} wake-ups/s {whole['wakeups']:5.2f} (involuntary {whole['involuntary']:.2f})"
                      f"   CPU {whole['cpu']:.3f} % core   ("
                      + ", ".join(f"{n} {r:.2f}/s" for n, r in sorted(whole["threads"].items())) + ")")
                self.result("label_wakeups_" + ("noshm" if extra else "shm"), whole["wakeups"], 2)
            finally:
                self.stop(pid)

    def quiet(self, seconds):
        """Context switches of a bare window that does nothing: the floor."""
        _, pid = self.start([self.bare], self.warm_data, keep=True)
        try:
            time.sleep(1.5)
            a = snapshot(pid)
            time.sleep(seconds)
            whole = interval(a, snapshot(pid))
            print(f"  {'bare window, no updates':<26} wake-ups/s {whole['wakeups']:5.2f}   CPU {whole['cpu']:.3f} % core")
            self.result("bare_idle_wakeups", whole["wakeups"], 2)
        finally:
            self.stop(pid)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--idle", type=int, help="seconds of each idle measurement (60, or 15 with --quick)")
    parser.add_argument("--no-variant", action="store_true", help="skip the run with QT_XCB_NO_MITSHM=1")
    parser.add_argument("--program", help="measure this program instead of BUILD/src/quandrel")
    parser.add_argument("--only", choices=("startup", "idle"), help="run one part only")
    args = parser.parse_args()
    idle = args.idle or (15 if args.quick else 60)
    for tool in ("Xvfb", "openbox", "xdotool", "xprop"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is needed")
    bench = Bench(os.path.abspath(args.build), args.quick, idle, args.program and os.path.abspath(args.program))
    try:
        print(f"display {bench.display.name}, {os.cpu_count()} cores, load {loadavg()}, program {bench.program}")
        if args.only != "idle":
            bench.startup()
        if args.only == "startup":
            return
        if args.only is None:
            bench.label_cost(5 if args.quick else 8)
            bench.quiet(5 if args.quick else 6)
        bench.idle(idle, "proc")
        if not args.no_variant:
            bench.idle(10 if args.quick else 15, "noshm", {"QT_XCB_NO_MITSHM": "1"},
                       " with QT_XCB_NO_MITSHM=1 (the proposed change)")
    finally:
        bench.close()


if __name__ == "__main__":
    main()
