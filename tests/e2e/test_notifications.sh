#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A timer that goes off while hidden is announced by the desktop's notification
# server (dunst), once, and its "Show" button brings the window back. Run
# through scripts/e2e_notifications.sh (a private session bus and a virtual
# display). With SHOT_DIR set, screenshots of the notification are kept there.
set -u
q="$QUANDREL_BIN"
scratch=$(mktemp -d)
failures=0
check() { "${@:2}" && echo "ok   $1" || { echo "FAIL $1"; failures=$((failures + 1)); }; }
shown() { xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null; }

# dunst's menu of a notification's buttons is a dmenu; this one picks "Show".
cat >"$scratch/pick" <<'PICK'
#!/bin/sh
grep -m1 'Show'
PICK
chmod +x "$scratch/pick"
printf '[global]\n    dmenu = %s\n' "$scratch/pick" >"$scratch/dunstrc"
dunst -config "$scratch/dunstrc" >"$scratch/dunst.log" 2>&1 & server=$!
"$q" & quandrel=$!
owned() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:io.github.quandrel.Quandrel 2>/dev/null | grep -q true; }
for _ in $(seq 200); do owned && break; sleep 0.05; done

"$q" --count-down 0:00:02 --title Tea >/dev/null
"$q" --hide-all
sleep 3
check "one notification is on screen" [ "$(dunstctl count displayed)" = 1 ]
[ -n "${SHOT_DIR:-}" ] && import -window root "$SHOT_DIR/notification.png"
dunstctl context
check "its Show button brings the window back" shown Tea
sleep 0.5
check "and takes the notification away" [ "$(dunstctl count displayed)" = 0 ]
# dunst's history over the bus itself (dunstctl reads it through systemd's busctl).
history=$(dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
    org.dunstproject.cmd0.NotificationListHistory)
check "exactly one notification arrived, titled Tea" python3 -c '
import re, sys
fields = re.findall(r"string \"(summary|body)\"\s*variant\s*string \"(.*)\"", sys.argv[1])
sys.exit(not (len(fields) == 2 and dict(fields)["summary"] == "Tea"
              and dict(fields)["body"].startswith("Count-down of 0:00:02 done")))' "$history"

kill "$quandrel" "$server"
wait 2>/dev/null
rm -rf "$scratch"
echo "$failures check(s) failed"
exit $failures
