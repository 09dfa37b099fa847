#!/usr/bin/env python3
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

    def fmt(value, digits=1):
        return "n/a" if value != value else f"{value:.{digits}f}"

    rows = []

    def add(figure, median, worst, target, limit, unit="ms", digits=1, extra=True):
        ok = worst == worst and worst <= limit and extra
        rows.append((figure, f"{fmt(median, digits)} {unit}", f"{fmt(worst, digits)} {unit}", target,
                     "met" if ok else "MISSED"))

    skipped, repeated = get("seconds_skipped"), get("seconds_repeated")
    add("expiry lateness p99 (all windows)", get("expiry_p99_ms"), get("expiry_max_ms"),
        "<= 20 ms, no skip/repeat", 20, extra=skipped == 0 and repeated == 0 and get("expiry_missing") == 0)
    rows.append(("  expiry p50 / seconds skipped / shown twice", f"{fmt(get('expiry_p50_ms'))} ms",
                 f"{int(skipped) if skipped == skipped else 'n/a'} / {int(repeated) if repeated == repeated else 'n/a'}",
                 "", ""))
    rows.append((f"  expiry p99 / max without CPU stalls ({fmt(get('expiry_stalls'), 0)} left out)",
                 f"{fmt(get('expiry_own_p99_ms'))} ms", f"{fmt(get('expiry_own_max_ms'))} ms", "", ""))
    add("clock-line lateness p99 (run median / worst)", get("clock_run_p99_median_ms"), get("clock_run_p99_worst_ms"),
        "<= 20 ms", 20)
    rows.append(("  all clock lines p99 / max", f"{fmt(get('clock_p99_ms'))} ms", f"{fmt(get('clock_max_ms'))} ms",
                 "", ""))
    rows.append((f"  clock lines p99 / max without CPU stalls ({fmt(get('clock_stalls'), 0)} left out)",
                 f"{fmt(get('clock_own_p99_ms'))} ms", f"{fmt(get('clock_own_max_ms'))} ms", "", ""))
    add("wake-ups/s, idle (10 s slices)", get("proc_idle_wakeups_median"), get("proc_idle_wakeups_worst"), "<= 2", 2,
        "/s", 2)
    add("wake-ups/s, six timers running", get("proc_six_wakeups_median"), get("proc_six_wakeups_worst"), "<= 10", 10,
        "/s", 2)
    rows.append(("  of which involuntary (idle / six timers)", f"{fmt(get('proc_idle_wakeups_involuntary'), 2)} /s",
                 f"{fmt(get('proc_six_wakeups_involuntary'), 2)} /s", "", ""))
    add("CPU, six timers running", get("proc_six_cpu_median_pct"), get("proc_six_cpu_worst_pct"), "<= 0.3 % core",
        0.3, "%", 3)
    add("start-up to mapped window (warm)", get("startup_warm_median_ms"), get("startup_warm_worst_ms"), "<= 60 ms",
        60)
    rows.append(("  first start (writes recordings)", f"{fmt(get('startup_first_median_ms'))} ms",
                 f"{fmt(get('startup_first_worst_ms'))} ms", "", ""))
    add("RSS idle", get("proc_idle_rss_mib"), get("proc_idle_rss_max_mib"), "<= 45 MB", 45, "MiB")
    add("RSS six windows", get("proc_six_rss_mib"), get("proc_six_rss_max_mib"), "<= 60 MB", 60, "MiB")
    rows.append(("  PSS idle / six windows", f"{fmt(get('proc_idle_pss_mib'))} MiB",
                 f"{fmt(get('proc_six_pss_mib'))} MiB", "", ""))
    add("sound latency, device closed", get("sound_cold_median_ms"), get("sound_cold_max_ms"), "<= 60 ms", 60)
    add("sound latency, device open", get("sound_warm_median_ms"), get("sound_warm_max_ms"), "<= 60 ms", 60)
    if "noshm_idle_wakeups_median" in r:
        rows.append(("with QT_XCB_NO_MITSHM=1: wake-ups/s idle",
                     f"{fmt(get('noshm_idle_wakeups_median'), 2)} /s", f"{fmt(get('noshm_idle_wakeups_worst'), 2)} /s",
                     "(proposed change)", ""))
        rows.append(("with QT_XCB_NO_MITSHM=1: wake-ups/s six timers",
                     f"{fmt(get('noshm_six_wakeups_median'), 2)} /s", f"{fmt(get('noshm_six_wakeups_worst'), 2)} /s",
                     "", ""))
        rows.append(("with QT_XCB_NO_MITSHM=1: CPU six timers",
                     f"{fmt(get('noshm_six_cpu_median_pct'), 3)} %", f"{fmt(get('noshm_six_cpu_worst_pct'), 3)} %",
                     "", ""))
    rows.append(("anchors: bare Qt window start-up / RSS", f"{fmt(get('startup_bare_median_ms'))} ms",
                 f"{fmt(get('bare_rss_mib'))} MiB", "(15 ms / 28 MB)", ""))
    rows.append(("noise: bare label paint after due p99 / max", f"{fmt(get('floor_paint_p99_ms'))} ms",
                 f"{fmt(get('floor_paint_max_ms'))} ms", f"({fmt(get('floor_stalls'), 0)} CPU stalls)", ""))
    rows.append(("bare Qt window with text laid out before show", f"{fmt(get('startup_bare_text_median_ms'))} ms",
                 "", "", ""))
    rows.append(("start-up CPU time: Quandrel / bare / bare with text", f"{fmt(get('startup_warm_cpu_ms'))} ms",
                 f"{fmt(get('startup_bare_cpu_ms'))} ms", f"{fmt(get('startup_bare_text_cpu_ms'))} ms", ""))
    rows.append(("one label update/s: wake-ups/s, shm / no shm", f"{fmt(get('label_wakeups_shm'), 2)} /s",
                 f"{fmt(get('label_wakeups_noshm'), 2)} /s", "", ""))

    header = ("figure", "median", "worst", "target", "")
    widths = [max(len(str(row[i])) for row in rows + [header]) for i in range(5)]
    line = "  ".join("-" * w for w in widths)
    print("  ".join(h.ljust(w) for h, w in zip(header, widths)).rstrip())
    print(line)
    for row in rows:
        print("  ".join(str(c).ljust(w) for c, w in zip(row, widths)).rstrip())


if __name__ == "__main__":
    main()
