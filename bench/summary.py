#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints the summary table of a benchmark run from its "RESULT key value" lines.

    summary.py RESULTS_FILE
"""

import sys


def main():
    r = {}
    with open(sys.argv[1]) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "RESULT":
                try:
                    r[parts[1]] = float(parts[2])
                except ValueError:
                    r[parts[1]] = float("nan")

    def get(key):
        return r.get(key, float("nan"))

    def fmt(key, digits=1, unit="ms"):
        value = get(key)
        return "n/a" if value != value else f"{value:.{digits}f} {unit}".rstrip()

    rows = []

    def row(figure, median, worst, target="", ok=None):
        # NaN compares false: a figure that is missing is never "met".
        rows.append((figure, median, worst, target, "" if ok is None else "met" if ok else "MISSED"))

    clean = get("seconds_skipped") == 0 and get("seconds_repeated") == 0 and get("expiry_missing") == 0
    row("expiry lateness p99 / max (all windows)", fmt("expiry_p99_ms"), fmt("expiry_max_ms"),
        "<= 20 ms, no skip/repeat", get("expiry_p99_ms") <= 20 and clean)
    row("  seconds skipped / shown twice; expiries missing",
        f"{fmt('seconds_skipped', 0, '')} / {fmt('seconds_repeated', 0, '')}", fmt("expiry_missing", 0, ""))
    row(f"  expiry p99 without CPU stalls ({fmt('expiry_stalls', 0, '')} left out)", fmt("expiry_own_p99_ms"), "")
    row("clock-line lateness p99 (median / worst run)", fmt("clock_run_p99_median_ms"), fmt("clock_run_p99_worst_ms"),
        "<= 20 ms", get("clock_run_p99_worst_ms") <= 20)
    row(f"  all clock lines p99 without CPU stalls ({fmt('clock_stalls', 0, '')} left out)", fmt("clock_own_p99_ms"),
        "")
    row("wake-ups/s, idle", fmt("proc_idle_wakeups_median", 2, "/s"), fmt("proc_idle_wakeups_worst", 2, "/s"),
        "<= 2", get("proc_idle_wakeups_worst") <= 2)
    # Six timers tick in six phases of the second: four durations and the
    # stopwatch each from their own start, the alarm clock with the clock.
    voluntary = get("proc_six_wakeups_median") - get("proc_six_wakeups_involuntary")
    row("wake-ups/s, six timers running", fmt("proc_six_wakeups_median", 2, "/s"),
        fmt("proc_six_wakeups_worst", 2, "/s"), "<= 10", get("proc_six_wakeups_worst") <= 10)
    row("  of them the program's own (not pre-empted)", f"{voluntary:.2f} /s", "", "<= 6 (its tick phases)",
        voluntary <= 6.05)
    row("  involuntary (idle / six timers)", fmt("proc_idle_wakeups_involuntary", 2, "/s"),
        fmt("proc_six_wakeups_involuntary", 2, "/s"))
    row("wake-ups/s, six timers hidden, main window minimised", fmt("proc_hidden_wakeups_median", 2, "/s"),
        fmt("proc_hidden_wakeups_worst", 2, "/s"), "<= 0.2", get("proc_hidden_wakeups_worst") <= 0.2)
    row("CPU, six timers running", fmt("proc_six_cpu_median_pct", 3, "%"), fmt("proc_six_cpu_worst_pct", 3, "%"),
        "<= 0.3 % core", get("proc_six_cpu_worst_pct") <= 0.3)
    ratio = get("startup_warm_median_ms") / get("startup_bare_median_ms")
    row("start-up to mapped window (warm)", fmt("startup_warm_median_ms"), fmt("startup_warm_worst_ms"),
        "<= 1.25 x bare", ratio <= 1.25)
    row("  ratio to the bare window / to the bare window with text",
        f"{ratio:.2f} / {get('startup_warm_median_ms') / get('startup_text_median_ms'):.2f}", "")
    row("  first start (writes the recordings)", fmt("startup_first_median_ms"), fmt("startup_first_worst_ms"))
    row("  bare Qt window, same run", fmt("startup_bare_median_ms"), fmt("startup_bare_worst_ms"))
    row("  bare Qt window showing a line of text", fmt("startup_text_median_ms"), fmt("startup_text_worst_ms"))
    row("  CPU used by then: warm / bare (first start)", f"{fmt('startup_warm_cpu_ms')} / {fmt('startup_bare_cpu_ms')}",
        fmt("startup_first_cpu_ms"))
    bare_rss = get("bare_rss_mib")
    row("RSS idle / six windows", f"{fmt('proc_idle_rss_mib', 1, '')} / {fmt('proc_six_rss_mib', 1, 'MiB')}",
        f"{fmt('proc_idle_rss_max_mib', 1, '')} / {fmt('proc_six_rss_max_mib', 1, 'MiB')}",
        "<= bare + 8 / + 14 MiB",
        get("proc_idle_rss_max_mib") <= bare_rss + 8 and get("proc_six_rss_max_mib") <= bare_rss + 14)
    row("  bare Qt window, same run", fmt("bare_rss_mib", 1, "MiB"), "")
    for state, limit in (("closed", 60), ("open", 5)):
        row(f"sound latency, device {state}", fmt(f"sound_{state}_median_ms"), fmt(f"sound_{state}_max_ms"),
            f"<= {limit} ms", get(f"sound_{state}_max_ms") <= limit and get("sound_failed") == 0)

    header = ("figure", "median", "worst", "target", "")
    widths = [max(len(row[i]) for row in rows + [header]) for i in range(5)]
    print("  ".join(h.ljust(w) for h, w in zip(header, widths)).rstrip())
    print("  ".join("-" * w for w in widths))
    for cells in rows:
        print("  ".join(c.ljust(w) for c, w in zip(cells, widths)).rstrip())


if __name__ == "__main__":
    main()
