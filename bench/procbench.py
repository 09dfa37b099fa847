#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Process-level benchmarks of the real program on a private X server.

Start-up (exec to the main window mapped) next to a bare Qt window's, idle
cost (CPU time and wake-ups of all threads) with no timer, with six timers and with the six hidden
running, and memory (RSS). The program is driven only through its window,
with xdotool clicks at the positions that quandrel_bench_layout reports.

    procbench.py --build BUILD_DIR [--quick] [--idle SECONDS] [--program P] [--only startup|idle]

Needs Xvfb, openbox, xdotool and xprop. Prints figures and "RESULT key value" lines.
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


def loadavg():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def counters(pid):
    """Over all threads: (context switches, involuntary ones, CPU nanoseconds)."""
    switches = involuntary = cpu_ns = 0
    base = f"/proc/{pid}/task"
    for tid in os.listdir(base):
        try:
            with open(f"{base}/{tid}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
                        involuntary += int(line.split()[1]) if line.startswith("non") else 0
            with open(f"{base}/{tid}/schedstat") as f:
                cpu_ns += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            continue  # a thread that just ended
    return time.monotonic(), switches, involuntary, cpu_ns


def rates(a, b):
    """Wake-ups/s, involuntary wake-ups/s and CPU % of a core between two readings."""
    wall = b[0] - a[0]
    return (b[1] - a[1]) / wall, (b[2] - a[2]) / wall, 100.0 * (b[3] - a[3]) / 1e9 / wall


def rss_mib(pid):
    with open(f"/proc/{pid}/smaps_rollup") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("Rss:")) / 1024.0


class Display:
    """Xvfb with openbox on the first free display from :42 on, and a session
    bus of its own: Quandrel owns its name there, as on a desktop."""

    def __init__(self):
        number = next(n for n in range(42, 200)
                      if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"))
        self.name = f":{number}"
        self.server = subprocess.Popen(["Xvfb", self.name, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wm = None
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.bus_address = self.bus.stdout.readline().strip()
        self.wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), "Xvfb")
        time.sleep(0.2)  # the socket comes before the server takes connections
        self.wm = subprocess.Popen(["openbox"], env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for(lambda: "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                            env=self.env(), capture_output=True, text=True).stdout,
                      "openbox")
        time.sleep(0.3)

    def wait_for(self, ready, what):
        deadline = time.monotonic() + 10
        while not ready():
            if time.monotonic() > deadline or self.server.poll() is not None:
                self.close()
                raise RuntimeError(f"{what} did not start")
            time.sleep(0.05)

    def env(self, **extra):
        return dict(os.environ, DISPLAY=self.name, DBUS_SESSION_BUS_ADDRESS=self.bus_address, **extra)

    def close(self):
        for process in (self.wm, self.server, self.bus):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


class Bench:
    def __init__(self, build, quick, idle_secs, program=None):
        self.quick = quick
        self.idle_secs = idle_secs
        self.program = program or os.path.join(build, "src", "quandrel")
        self.tools = os.path.join(build, "bench")
        self.bare = os.path.join(self.tools, "quandrel_bench_bare_window")
        self.scratch = tempfile.mkdtemp(prefix="quandrel-bench-")
        self.runtime = os.path.join(self.scratch, "runtime")
        os.mkdir(self.runtime, 0o700)
        self.warm_data = os.path.join(self.scratch, "warm")
        self.log = os.path.join(self.scratch, "programs.log")
        self.display = Display()

    def close(self):
        self.display.close()
        shutil.rmtree(self.scratch, ignore_errors=True)

    def env(self, data_home):
        # Each run starts with no timers kept by the last (and writes no autostart entry for them).
        return self.display.env(XDG_DATA_HOME=data_home, XDG_RUNTIME_DIR=self.runtime,
                                XDG_CONFIG_HOME=os.path.join(self.scratch, "config"),
                                XDG_STATE_HOME=tempfile.mkdtemp(dir=self.scratch))

    @staticmethod
    def result(key, value, digits=1):
        print(f"RESULT {key} {value:.{digits}f}")

    def run(self, args, data_home):
        with open(self.log, "a") as log:
            return subprocess.run(args, env=self.env(data_home), stdout=subprocess.PIPE, stderr=log, text=True,
                                  timeout=60).stdout

    def start(self, program, data_home, keep=False):
        """Starts program under mapwait: (ms to the window mapped, CPU ms used by then, pid)."""
        out = self.run([os.path.join(self.tools, "quandrel_bench_mapwait"), "--timeout", "15000"] +
                       (["--keep"] if keep else []) + ["--"] + program.split(" "), data_home)
        fields = dict(line.split(None, 1) for line in out.splitlines() if " " in line)
        if fields.get("mapped_ms", "timeout") == "timeout":
            raise RuntimeError(f"{program} did not map a window: {out}")
        return float(fields["mapped_ms"]), float(fields["cpu_ms"]), int(fields["pid"])

    @staticmethod
    def stop(pid):
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        for _ in range(100):
            try:
                with open(f"/proc/{pid}/stat") as f:
                    if f.read().rsplit(")", 1)[1].split()[0] == "Z":
                        return
            except FileNotFoundError:
                return
            time.sleep(0.02)
        os.kill(pid, signal.SIGKILL)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.display.env(), capture_output=True, text=True).stdout.split()

    # ---- Start-up, and the bare window's memory ---------------------------------

    def startup(self):
        runs, first_runs = (3, 2) if self.quick else (5, 3)
        print(f"\n== Start-up: exec to the main window mapped (load {loadavg()}) ==")
        # One start of each writes the recordings and warms the file cache.
        self.start(self.program, self.warm_data)
        self.start(self.bare, self.warm_data)
        warm, bare, bare_rss, text = [], [], [], []
        for _ in range(runs):
            warm.append(self.start(self.program, self.warm_data)[:2])
            text.append(self.start(self.bare + " --text", self.warm_data)[:2])
            *figures, pid = self.start(self.bare, self.warm_data, keep=True)
            bare.append(figures)
            time.sleep(1.0)
            bare_rss.append(rss_mib(pid))
            self.stop(pid)
        first = []
        for i in range(first_runs):
            fresh = os.path.join(self.scratch, f"first{i}")
            first.append(self.start(self.program, fresh)[:2])
            written = len(os.listdir(os.path.join(fresh, "Quandrel", "sounds")))
            if written < 25:
                print(f"  warning: the first start wrote only {written} recordings")

        print("  (CPU: what all threads had used when the window was mapped; less sensitive to machine load)")
        for what, key, runs_ in (("Quandrel, warm start", "warm", warm),
                                 ("Quandrel, first start (writes recordings)", "first", first),
                                 ("bare Qt window", "bare", bare),
                                 ("bare Qt window showing a line of text", "text", text)):
            wall = [w for w, _ in runs_]
            cpu = statistics.median(c for _, c in runs_)
            print(f"  {what:<42} median {statistics.median(wall):6.1f} ms   worst {max(wall):6.1f} ms"
                  f"   CPU {cpu:5.1f} ms   (runs: {', '.join(f'{v:.1f}' for v in wall)})")
            self.result(f"startup_{key}_median_ms", statistics.median(wall))
            self.result(f"startup_{key}_worst_ms", max(wall))
            self.result(f"startup_{key}_cpu_ms", cpu)
        print(f"  bare Qt window: RSS {statistics.median(bare_rss):.1f} MiB")
        self.result("bare_rss_mib", statistics.median(bare_rss))

    # ---- Idle cost and memory of the real program --------------------------------

    def measure(self, pid, label, key):
        """Samples the process in slices (10 s in a full run); prints and records figures."""
        slices = 6 if self.idle_secs >= 30 else max(2, self.idle_secs // 5)
        marks, rss = [counters(pid)], [rss_mib(pid)]
        for _ in range(slices):
            time.sleep(self.idle_secs / slices)
            marks.append(counters(pid))
            rss.append(rss_mib(pid))
        parts = [rates(marks[i], marks[i + 1]) for i in range(slices)]
        whole = rates(marks[0], marks[-1])
        wake, cpu = [p[0] for p in parts], [p[2] for p in parts]
        print(f"  {label} ({self.idle_secs} s in {slices} slices, load {loadavg()}):")
        print(f"    wake-ups/s   whole {whole[0]:6.2f}   slice median {statistics.median(wake):6.2f}"
              f"   worst {max(wake):6.2f}   (of which involuntary: {whole[1]:.2f})")
        print(f"    CPU % core   whole {whole[2]:6.3f}   slice median {statistics.median(cpu):6.3f}   worst {max(cpu):6.3f}")
        print(f"    RSS          median {statistics.median(rss):.1f} MiB (max {max(rss):.1f})")
        self.result(f"{key}_wakeups_median", statistics.median(wake), 2)
        self.result(f"{key}_wakeups_worst", max(wake), 2)
        self.result(f"{key}_wakeups_involuntary", whole[1], 2)
        self.result(f"{key}_cpu_median_pct", statistics.median(cpu), 3)
        self.result(f"{key}_cpu_worst_pct", max(cpu), 3)
        self.result(f"{key}_rss_mib", statistics.median(rss))
        self.result(f"{key}_rss_max_mib", max(rss))

    def layout(self):
        out = self.run([os.path.join(self.tools, "quandrel_bench_layout")], self.warm_data)
        return {name: (x, y) for name, x, y in (line.split() for line in out.splitlines())}

    def click(self, window, position):
        self.xdotool("windowactivate", "--sync", window)
        self.xdotool("mousemove", "--window", window, str(position[0]), str(position[1]), "click", "1")
        time.sleep(0.35)

    def windows(self, pid, name="."):
        return self.xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name", name)

    def launch_six(self, pid, layout):
        main = self.windows(pid, "^Quandrel$")[0]
        # Out of the way of the timer windows, which tile from the top right.
        self.xdotool("windowmove", "--sync", main, "0", "560")
        time.sleep(0.3)
        # The alarm clock is chosen at start-up; then two count-downs and two
        # count-ups of the preset hour, and a stopwatch, which is started.
        for control in ("launchButton", "countDownOption", "launchButton", "launchButton", "countUpOption", "launchButton",
                        "launchButton", "stopwatchCheck", "launchButton"):
            self.click(main, layout[control])
        stopwatch = self.windows(pid, "^Timer 6$")
        if stopwatch:
            self.click(stopwatch[0], layout["stopwatchStartButton"])
        if len(self.windows(pid)) != 7 or not stopwatch:
            print(f"  warning: {len(self.windows(pid))} windows visible after launching six timers (expected 7)")

    def idle(self):
        print("\n== Idle cost of the real program ==")
        print("  (another program's window is active throughout, as while the user works elsewhere:"
              " a focused title box would blink its cursor)")
        layout = self.layout()
        *_, pid = self.start(self.program, self.warm_data, keep=True)
        *_, other = self.start(self.bare, self.warm_data, keep=True)
        try:
            other_window = self.windows(other)[:1]
            self.xdotool("windowactivate", "--sync", *other_window)
            time.sleep(4)
            self.measure(pid, "no timer running", "proc_idle")
            self.launch_six(pid, layout)
            self.xdotool("windowactivate", "--sync", *other_window)
            time.sleep(5)
            self.measure(pid, "six timers running (2 count-downs, 2 count-ups, alarm clock, stopwatch)", "proc_six")
            # Hide All, and the main window minimised: nothing on the screen shows a time.
            main = self.windows(pid, "^Quandrel$")[0]
            self.click(main, layout["hideShowAllButton"])
            self.xdotool("windowminimize", "--sync", main)
            self.xdotool("windowactivate", "--sync", *other_window)
            time.sleep(5)
            self.measure(pid, "the six timers hidden, the main window minimised", "proc_hidden")
        finally:
            self.stop(pid)
            self.stop(other)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--idle", type=int, help="seconds of each idle measurement (60, or 15 with --quick)")
    parser.add_argument("--program", help="measure this program instead of BUILD/src/quandrel")
    parser.add_argument("--only", choices=("startup", "idle"), help="run one part only")
    args = parser.parse_args()
    for tool in ("Xvfb", "openbox", "xdotool", "xprop"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is needed")
    bench = Bench(os.path.abspath(args.build), args.quick, args.idle or (15 if args.quick else 60),
                  args.program and os.path.abspath(args.program))
    try:
        print(f"display {bench.display.name}, {os.cpu_count()} cores, load {loadavg()}, program {bench.program}")
        if args.only != "idle":
            bench.startup()
        if args.only != "startup":
            bench.idle()
    finally:
        bench.close()


if __name__ == "__main__":
    main()
