# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the end-to-end scripts. headless COMMAND... runs a command on a
# virtual X display with a window manager, inside a private D-Bus session
# bus, with SDL's dummy audio and throw-away data, state, configuration and
# runtime folders.
# Needs xvfb, openbox and dbus. Returns the command's exit status.
headless() {
    local scratch xvfb_pid status=0
    scratch="$(mktemp -d)"
    # Xvfb picks a free display number itself and writes it to the file.
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$scratch/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$scratch/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$scratch/xvfb.log" >&2
        kill "$xvfb_pid" 2>/dev/null
        return 1
    fi
    mkdir -m 700 "$scratch/runtime" "$scratch/data" "$scratch/state" "$scratch/config"
    # The window manager gives the focus to new windows, as on a desktop; it
    # and the bus live and die with the session.
    # shellcheck disable=SC2016 # the inner script expands its own arguments
    DISPLAY=":$(head -n1 "$scratch/display")" XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_HOME="$scratch/data" \
        XDG_STATE_HOME="$scratch/state" XDG_CONFIG_HOME="$scratch/config" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
        timeout 300 dbus-run-session -- bash -c '
            openbox --sm-disable >"$0/openbox.log" 2>&1 &
            wm=$!
            "$@"
            status=$?
            kill "$wm" 2>/dev/null
            exit $status
        ' "$scratch" "$@" || status=$?
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
    return $status
}

# prepare_program PACKAGE... installs the packages a test needs and exports
# QUANDREL_BIN, the program under test: as given, or built from this tree in
# $QUANDREL_BUILD_DIR (default: build), with what that build needs (the same
# build_packages as scripts/quandrel.sh, from install_missing.sh).
prepare_program() {
    local packages=("$@")
    [ -n "${QUANDREL_BIN:-}" ] ||
        packages+=("${build_packages[@]}")
    install_missing "${packages[@]}"
    if [ -z "${QUANDREL_BIN:-}" ]; then
        local dir="${QUANDREL_BUILD_DIR:-build}"
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$dir" --target quandrel -j "$(nproc)"
        QUANDREL_BIN="$dir/src/quandrel"
    fi
    QUANDREL_BIN="$(readlink -f "$QUANDREL_BIN")"
    export QUANDREL_BIN
}
