#!/usr/bin/env bash
# Runs the accessibility end-to-end test against a Quandrel binary, headless:
# a virtual X display with a window manager, a private D-Bus session (which
# starts the AT-SPI bus on demand), SDL's dummy audio and throw-away data and
# runtime folders.
#
#   tests/e2e/run_e2e.sh path/to/quandrel [unittest arguments...]
#
# Needs xvfb, openbox, dbus, at-spi2-core and python3-pyatspi
# (scripts/e2e_accessibility.sh installs them). Exits non-zero on failure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

[ $# -ge 1 ] || { echo "usage: $0 path/to/quandrel [unittest arguments...]" >&2; exit 2; }
binary="$(readlink -f "$1")"
shift
[ -x "$binary" ] || { echo "not an executable: $binary" >&2; exit 2; }

scratch="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the file.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start:" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }

mkdir -m 700 "$scratch/runtime" "$scratch/data"
DISPLAY=":$(head -n1 "$scratch/display")"
export DISPLAY
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_HOME="$scratch/data"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 SDL_AUDIODRIVER=dummy
export QUANDREL_BIN="$binary"

# The window manager gives the focus to new windows, as on a desktop; both it
# and the AT-SPI bus live and die with the private session.
# shellcheck disable=SC2016 # the inner script expands its own arguments
timeout 300 dbus-run-session -- bash -c '
    openbox --sm-disable >"$0/openbox.log" 2>&1 &
    wm=$!
    /usr/bin/python3 "$1/test_accessibility.py" "${@:2}"
    status=$?
    kill "$wm" 2>/dev/null
    exit $status
' "$scratch" "$here" "$@"
