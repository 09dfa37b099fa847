#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line against a running Quandrel: two processes on one private
# session bus and a virtual display. Run through scripts/e2e_command_line.sh.
set -u
q="$QUANDREL_BIN"
failures=0
check() { "${@:2}" && echo "ok   $1" || { echo "FAIL $1"; failures=$((failures + 1)); }; }
owned() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:io.github.quandrel.Quandrel 2>/dev/null | grep -q true; }
shown() { xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null; }

"$q" & first=$!
for _ in $(seq 200); do owned && break; sleep 0.05; done
check "the first Quandrel owns io.github.quandrel.Quandrel" owned
out=$("$q" --count-down 0:00:02 --title Tea)
check "a second start hands the timer over and says where it went (got: $out)" [ "$out" = "Started timer 1." ]
check "a window titled Tea opens in the first Quandrel" shown Tea
list=$("$q" --list)
# On a busy machine the two seconds may already be over by now.
check "--list prints it (got: $list)" grep -qP '^1\tTea\tcount-down\t(Start|00:00:0[12]|00:00:00 \(expired\))$' <<<"$list"
sleep 2.5
list=$("$q" --list)
check "it went off two seconds later (got: $list)" grep -qP '^1\tTea\tcount-down\t00:00:00 \(expired\)$' <<<"$list"
err=$("$q" --count-down banana 2>&1 >/dev/null); status=$?
check "a bad duration exits 2 and names it (got $status: $err)" [ $status = 2 ] && grep -q banana <<<"$err"
for _ in 2 3 4 5 6; do "$q" --stopwatch >/dev/null; done
err=$("$q" --alarm 07:30 2>&1 >/dev/null); status=$?
check "a seventh timer exits 1 with 'all timers are in use' (got $status: $err)" [ $status = 1 ] &&
    grep -q "all timers are in use" <<<"$err"
"$q" --close-all
check "--close-all closes them" [ -z "$("$q" --list)" ]
recent=$("$q" --recent)
check "--recent lists the set-ups launched last, newest first (got: $recent)" \
    [ "$(head -2 <<<"$recent")" = "$(printf '1\tstopwatch\n2\tTea — count-down 0:00:02')" ]
out=$("$q" --again 2)
check "--again 2 starts Tea's set-up again (got: $out; $("$q" --list))" [ "$out" = "Started timer 1." ] &&
    "$q" --list | grep -qP '^1\tTea\tcount-down\t'
"$q" --close-all
xml=$(dbus-send --session --print-reply --dest=io.github.quandrel.Quandrel /io/github/quandrel/Quandrel \
    org.freedesktop.DBus.Introspectable.Introspect)
check "the interface is introspectable" grep -q 'method name="Launch"' <<<"$xml"
check "a second start without arguments exits 0" "$q"
check "and only one Quandrel runs" [ "$(pgrep -c -f "^$q")" = 1 ]
check "--help needs no display" env DISPLAY=:99999 "$q" --help
check "nor does --list for the running Quandrel" env DISPLAY=:99999 "$q" --list
err=$(DISPLAY=:99999 "$q" --count-down 5m 2>&1 >/dev/null </dev/null)
check "a launch without a display goes to the running Quandrel (got: $err)" [ -z "$err" ]
"$q" --close-all
kill -STOP "$first"
start=$(date +%s)
err=$("$q" --stopwatch 2>&1 >/dev/null); status=$?
check "a start facing a stopped Quandrel gives up within 5 s (got $status after $(($(date +%s) - start)) s: $err)" \
    [ $status = 1 ] && [ $(($(date +%s) - start)) -le 6 ] && grep -q "not answering" <<<"$err"
kill -CONT "$first"
sleep 1
check "and its command is not carried out later" [ -z "$("$q" --list)" ]
kill "$first"
wait "$first" 2>/dev/null
"$q" --stopwatch --title Laps >/dev/null & first=$!
check "a first start with --title gives it to the timer" shown Laps
check "and the main window stays Quandrel" shown Quandrel
kill "$first"
wait "$first" 2>/dev/null
echo "$failures check(s) failed"
exit $failures
