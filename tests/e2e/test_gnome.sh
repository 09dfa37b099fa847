#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Quandrel's windows in GNOME Shell on Wayland, as the shell sees them: title
# bars, a timer going off minimised, pop on top, Hide All / Show All; then, with
# Qt's Wayland plugin, the notification of a timer going off unseen. Run through
# scripts/e2e_gnome.sh. QUANDREL_E2E_PLATFORM (say xcb) picks Qt's platform for
# the first part; with SHOT_DIR set, screenshots are kept there.
# shellcheck disable=SC2317 # functions called through check
set -u
q="$QUANDREL_BIN"
failures=0
check() { if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }
# shellcheck source=scripts/gnome_shell.sh
source scripts/gnome_shell.sh
# What the shell shows: every notification (source > title: body), the active window.
seen() {
    shell_eval "'notifications: ' + notes.map(([s, n]) => s + ' > ' + n.title + ': ' + (n.body ?? n.bannerBodyText)).join(' | ')
        .replace(/[\"'\\\\\\s]+/g, ' ') + '; active: ' + global.display.focus_window?.get_title()"
}
pos() { shell_eval "(r => r.x + ',' + r.y)(win('$1').get_frame_rect())"; }
shot() { [ -z "${SHOT_DIR:-}" ] || shell_screenshot "$SHOT_DIR/gnome-$1.png"; }
# Windows are placed when they show (not hidden any more); settled once they
# stay put for 0.6 s.
settled() {
    local now last='' same=0
    for _ in $(seq 20); do
        now=$(shell_eval "ws.map(w => w.get_frame_rect()).map(r => r.x + ',' + r.y).join(' ')")
        if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
        [ $same = 2 ] && return 0
        last=$now
        sleep 0.3
    done
}
shown() { shell_until "ws.length === $1 && ws.every(w => !w.is_hidden())" 100 && settled; }
# In the shell, ws are Quandrel's windows, win(title) one of them and noted(title) whether a
# notification of that title (Quandrel's carry their timer's) is in the message tray.
start() {
    "$q" & pid=$!
    shell_prelude="const ws = global.get_window_actors().map(a => a.meta_window).filter(w => w.get_pid() === $pid);
        const win = t => ws.find(w => w.get_title() === t);
        const notes = Main.messageTray.getSources().flatMap(s => s.notifications.map(n => [s.title, n]));
        const noted = t => notes.some(([, n]) => n.title === t);"
    shell_until "!!win('Quandrel')" 200 && shown 1
}
launch() { "$q" --title "$1" "${@:2}" >/dev/null && shell_until "!!win('$1') && !win('$1').is_hidden()" 100 && settled; }
activate() { shell_eval "win('$1').activate(global.get_current_time())" >/dev/null; shell_until "global.display.focus_window === win('$1')"; }
gone_off() {
    for _ in $(seq 150); do "$q" --list | grep -qP "\t$1\t.*\(expired\)" && return 0; sleep 0.1; done
    return 1
}

# The AppIndicator extension is the shell's StatusNotifierWatcher: Quandrel's item registers with it.
trayItems() {
    gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher --method \
        org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>&1
}
# The processes behind the registered items (an item is named by its bus name, before @ or /).
trayPids() {
    for name in $(trayItems | grep -oE "'[^'@/]+" | tr -d "'"); do
        gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus --method \
            org.freedesktop.DBus.GetConnectionUnixProcessID "$name" | grep -oE '[0-9]+'
    done
}
[ -z "${QUANDREL_E2E_PLATFORM:-}" ] || export QT_QPA_PLATFORM="$QUANDREL_E2E_PLATFORM"
echo "Qt platform: ${QT_QPA_PLATFORM:-the default}; WAYLAND_DISPLAY=$WAYLAND_DISPLAY DISPLAY=$DISPLAY"
start || { echo "FAIL Quandrel's main window did not show"; exit 1; }
check "with no timer running, no tray item" [ -z "$(trayPids | grep -x "$pid")" ]
launch Tea --count-down 0:10:00
for _ in $(seq 50); do trayPids | grep -qx "$pid" && break; sleep 0.1; done
check "with a timer running, Quandrel's tray item is registered with the shell (got: $(trayItems))" \
    grep -qx "$pid" <<<"$(trayPids)"
# A window that draws its own title bar (client-side decorations) is not decorated by the shell.
decorated=$(shell_eval "ws.map(w => w.get_title() + ':' + w.decorated).sort().join(' ')")
check "every Quandrel window has GNOME's title bar (decorated by the shell: $decorated)" [ "$decorated" = "Quandrel:true Tea:true" ]
shot title-bars

launch Minimised --count-down 0:00:04
shell_eval "win('Minimised').minimize()" >/dev/null
activate Quandrel
gone_off Minimised
shell_until "!win('Minimised').minimized || noted('Minimised')" 20
check "a minimised timer going off while the main window is active is shown or announced (minimised: $(shell_eval "win('Minimised').minimized"); $(seen))" \
    shell_true "!win('Minimised').minimized || noted('Minimised')"
shot minimised

launch Top --count-down 0:00:04 --pop-on-top
activate Quandrel
above="win('Top').is_above() || global.display.sort_windows_by_stacking([win('Top'), win('Quandrel')])[1] === win('Top')"
stacking() { shell_eval "global.display.sort_windows_by_stacking(ws).map(w => w.get_title()).join(' < ')"; }
before=$(stacking)
gone_off Top
shell_until "$above" 20
check "a pop-on-top timer going off ends up above the active main window (is_above: $(shell_eval "win('Top').is_above()"); stacking before: $before, after: $(stacking); $(seen))" \
    shell_true "$above"
shot pop-on-top

shell_eval "ws.forEach(w => w.unminimize())" >/dev/null
launch Late --count-down 0:00:04
declare -A was
for t in Tea Minimised Top Late; do was[$t]=$(pos $t); done
"$q" --hide-all
shell_until "ws.length === 1"
gone_off Late
"$q" --show-all
shown 5
back() { [ -n "${was[$1]}" ] && [ "$(pos "$1")" = "${was[$1]}" ]; }
for t in Tea Minimised Top; do
    check "Hide All then Show All puts $t back where it was (at $(pos $t), was ${was[$t]})" back $t
done
check "and Late, gone off while hidden (at $(pos Late), was ${was[Late]})" back Late
shot hide-show

"$q" --close-all
kill "$pid"
wait "$pid" 2>/dev/null
export QT_QPA_PLATFORM=wayland
start || { echo "FAIL Quandrel's main window did not show with Qt's Wayland plugin"; exit 1; }
launch Away --count-down 0:00:04
activate Quandrel
gone_off Away
shell_until "noted('Away')" 30
check "with Qt's Wayland plugin, a timer going off while another window is active is announced ($(seen))" shell_true "noted('Away')"
shot wayland

kill "$pid"
wait "$pid" 2>/dev/null
echo "$failures check(s) failed"
exit $failures
