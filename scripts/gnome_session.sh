# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the GNOME end-to-end script. gnome_session COMMAND... runs a
# command inside a headless GNOME Shell on Wayland, with Xwayland, a private
# session bus, a private system bus with a stand-in logind, in-memory settings
# and throw-away home, data and runtime folders. The command finds WAYLAND_DISPLAY,
# DISPLAY and the XDG_SESSION_* variables set as in a GNOME session; the shell's
# Eval and Screenshot calls answer it (a small extension turns unsafe mode on).
# Other extensions: install their packages and add their UUIDs to
# gnome_extensions before the call. Needs gnome-shell, xwayland, dbus and
# python3-dbusmock. Returns the command's exit status.
gnome_extensions=(quandrel-e2e@quandrel.github.io)

gnome_session() {
    local scratch ext status=0 bus_pid logind_pid
    scratch="$(mktemp -d)"
    mkdir -m 700 "$scratch/runtime"
    mkdir -p "$scratch/home" "$scratch/schemas" "$scratch/data/gnome-shell/extensions"

    # The test extension, in the module format of the shell at hand.
    ext="$scratch/data/gnome-shell/extensions/${gnome_extensions[0]}"
    mkdir "$ext"
    cp tests/e2e/gnome/metadata.json "$ext/"
    if [ "$(gnome-shell --version | grep -o '[0-9]\+' | head -n1)" -ge 45 ]; then
        cp tests/e2e/gnome/extension.js "$ext/"
    else
        cp tests/e2e/gnome/extension-legacy.js "$ext/extension.js"
    fi
    # The settings: the system's schemas, with the extensions switched on.
    cp /usr/share/glib-2.0/schemas/*.xml "$scratch/schemas/"
    cp /usr/share/glib-2.0/schemas/*.override "$scratch/schemas/" 2>/dev/null || true
    local enabled
    enabled=$(printf "'%s', " "${gnome_extensions[@]}")
    printf '[org.gnome.shell]\nenabled-extensions=[%s]\n%s\n%s\n%s\n' "${enabled%, }" disable-user-extensions=false \
        disable-extension-version-validation=true "welcome-dialog-last-shown-version='999'" \
        >"$scratch/schemas/99_quandrel-e2e.gschema.override"
    glib-compile-schemas "$scratch/schemas" || return 1

    # Xwayland refuses a socket folder that others cannot write to, which an X
    # server started by hand may have left behind; this is the mode a boot gives it.
    if [ -d /tmp/.X11-unix ] && [ "$(stat -c %a /tmp/.X11-unix)" != 1777 ]; then
        echo "Making /tmp/.X11-unix world-writable (sticky), as Xwayland needs"
        chmod 1777 /tmp/.X11-unix 2>/dev/null || sudo chmod 1777 /tmp/.X11-unix
    fi

    # The shell asks logind for the session; a mock answers on a private system bus.
    local system_bus="unix:path=$scratch/system_bus"
    bus_pid=$(dbus-daemon --session --address="$system_bus" --fork --print-pid) || return 1
    DBUS_SYSTEM_BUS_ADDRESS="$system_bus" python3 -m dbusmock --system --template logind \
        >"$scratch/logind.log" 2>&1 &
    logind_pid=$!
    for _ in $(seq 100); do
        dbus-send --bus="$system_bus" --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.login1 2>/dev/null | grep -q true && break
        sleep 0.1
    done

    # shellcheck disable=SC2016 # the inner script expands its own variables
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_HOME="$scratch/data" \
        XDG_CONFIG_HOME="$scratch/home/.config" XDG_CACHE_HOME="$scratch/home/.cache" \
        GSETTINGS_SCHEMA_DIR="$scratch/schemas" GSETTINGS_BACKEND=memory DBUS_SYSTEM_BUS_ADDRESS="$system_bus" \
        XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_DESKTOP=gnome DESKTOP_SESSION=gnome \
        SDL_AUDIODRIVER=dummy \
        timeout 600 dbus-run-session -- bash -c '
            scratch=$1; shift
            gnome-shell --headless --wayland --virtual-monitor 1600x1000 >"$scratch/shell.log" 2>&1 &
            shell=$!
            source scripts/gnome_shell.sh
            # Eval answers once the extension is on. The shell starts in the
            # overview, with its own notifications (unsafe mode, no screen lock...).
            if shell_until "!Main.layoutManager._startingUp" 600 &&
                shell_eval "Main.overview.hide()" >/dev/null && shell_until "!Main.overview.visible" &&
                shell_eval "Main.messageTray.getSources().forEach(s => s.destroy())" >/dev/null; then
                # Xwayland, started by the shell, has its display and its
                # authority file on its command line.
                read -ra xwayland <<<"$(pgrep -a -P "$shell" Xwayland)"
                for i in "${!xwayland[@]}"; do
                    case ${xwayland[i]} in
                        :[0-9]*) export DISPLAY=${xwayland[i]} ;;
                        -auth) export XAUTHORITY=${xwayland[i + 1]} ;;
                    esac
                done
                export WAYLAND_DISPLAY=wayland-0
                "$@"
                status=$?
            else
                echo "GNOME Shell did not start:" >&2
                tail -n 30 "$scratch/shell.log" >&2
                status=1
            fi
            kill "$shell" 2>/dev/null
            wait "$shell" 2>/dev/null
            exit $status
        ' bash "$scratch" "$@" || status=$?
    kill "$logind_pid" "$bus_pid" 2>/dev/null
    wait "$logind_pid" 2>/dev/null || true
    rm -rf "$scratch"
    return $status
}
