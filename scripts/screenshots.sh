#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots of the real windows under Xvfb and openbox:
# docs/tour.png (the main window and four timers) and docs/tour-late.png (a
# timer that went off while Quandrel was not running).
#
#   bash scripts/screenshots.sh        install what is missing, build, take them
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/install_missing.sh
source scripts/install_missing.sh
# shellcheck source=scripts/headless.sh
source scripts/headless.sh

prepare_program xvfb xauth openbox dbus dbus-x11 xdotool imagemagick qt6-qpa-plugins
mkdir -p docs
# shellcheck disable=SC2016 # expanded by the inner shell
headless bash -c '
    q=$QUANDREL_BIN
    started() { for _ in $(seq 200); do "$q" --list >/dev/null 2>&1 && return; sleep 0.05; done; }
    # No notification server: its pop-ups would lie over the windows.
    LANG=en_US.UTF-8 "$q" >/dev/null 2>&1 & pid=$!
    started
    "$q" --count-down 4:00 --title Tea --sound Biscuits >/dev/null
    "$q" --count-up 0:00:03 --auto-restart --title Laps >/dev/null
    "$q" --stopwatch --title Run >/dev/null
    "$q" --alarm 07:30 --title "Wake up" >/dev/null
    # The stopwatch'"'"'s Start button, by where it stands in its window.
    xdotool search --name "^Run\$" | head -1 | xargs -I{} xdotool mousemove --window {} 49 82 click 1
    sleep 7.5
    import -window root png:- | convert - -trim +repage docs/tour.png
    "$q" --close-all
    "$q" --count-down 0:00:01 --title Eggs >/dev/null
    kill -KILL $pid
    sleep 2
    "$q" >/dev/null 2>&1 & pid=$!
    started
    sleep 2
    xdotool search --name "^Eggs\$" | head -1 | xargs -I{} xdotool windowmove {} 40 40
    sleep 1
    import -window root png:- | convert - -crop 260x230+30+15 +repage docs/tour-late.png
    "$q" --close-all
    kill $pid
'
echo "docs/tour.png and docs/tour-late.png written"
