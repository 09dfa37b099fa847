#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Timers that outlive their Quandrel: killed, ended by the session, or kept in
# a damaged file. Run through scripts/e2e_restore.sh.
set -u
q="$QUANDREL_BIN"
state="$XDG_STATE_HOME/quandrel/timers.json"
entry="$XDG_CONFIG_HOME/autostart/io.github.quandrel.Quandrel.desktop"
failures=0
check() { "${@:2}" && echo "ok   $1" || { echo "FAIL $1"; failures=$((failures + 1)); }; }
owned() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:io.github.quandrel.Quandrel 2>/dev/null | grep -q true; }
start() {
    "$q" "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 200); do owned && return; sleep 0.05; done
}
stopped() { wait "$pid" 2>/dev/null; for _ in $(seq 100); do owned || return 0; sleep 0.05; done; }

start
"$q" --count-down 0:00:02 --title Tea >/dev/null
"$q" --count-down 10m --title Soup >/dev/null
"$q" --alarm "$(date -d '+2 hours' +%H:%M)" --title Wake >/dev/null
check "the three timers are kept in $state" [ "$(grep -c '"slot"' "$state" 2>/dev/null)" = 3 ]
check "and Quandrel starts at the next login" grep -q "^Exec=\"$q\"\$" "$entry"
kill -KILL "$pid"
stopped
sleep 3
start
# A timer brought back goes off at its first tick, within a second.
for _ in $(seq 30); do
    list=$("$q" --list)
    grep -q expired <<<"$list" && break
    sleep 0.1
done
check "killed and started again, Tea went off meanwhile and says when (got: $list)" \
    grep -qP "^1\tTea\tcount-down\t00:00:00 \(expired, went off at .*, [0-9]+ s ago\)\$" <<<"$list"
check "Soup still counts down from where it was (got: $list)" \
    grep -qP '^2\tSoup\tcount-down\t00:09:5[0-9]$' <<<"$list"
check "Wake still waits (got: $list)" grep -qP '^3\tWake\talarm\t\d+ elapsed of \d+ sec$' <<<"$list"
kill -TERM "$pid"
stopped
start
check "ended by the session (SIGTERM), they come back too" [ "$("$q" --list | wc -l)" = 3 ]
"$q" --close-all
check "closed by the user, nothing is kept" [ ! -e "$state" ]
check "and nothing starts at login" [ ! -e "$entry" ]
"$q" --stopwatch --title Laps >/dev/null
# Through the window manager, as a user closes it (on a busy machine openbox may still be starting).
for _ in $(seq 50); do
    xdotool search --sync --onlyvisible --name '^Quandrel$' windowactivate --sync 2>/dev/null && break
    sleep 0.2
done
xdotool key --clearmodifiers alt+F4
stopped
check "closing the main window ends its timers for good" [ ! -e "$state" ]

echo 'not a file of timers' >"$state"
start
check "a damaged file does not stop a start" owned
aside() { compgen -G "$state.damaged-*" >/dev/null; }
check "it is kept aside for the user" aside
sleep 1
windows=$(xdotool search --onlyvisible --name '^Quandrel$' | wc -l)
check "and a message says so beside the main window (got $windows windows)" [ "$windows" = 2 ]
kill "$pid"
stopped
echo "$failures check(s) failed"
exit $failures
