# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced inside gnome_session (scripts/gnome_session.sh): calls on GNOME Shell.
#
# shell_eval JS prints the value of JavaScript run in the shell, after
# $shell_prelude (declarations the caller keeps there); a string without its
# quotes, so strings returned hold no quotes or backslashes. Fails on an error.
shell_eval() {
    local out
    out=$(gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.gnome.Shell.Eval "${shell_prelude:-}$1" 2>/dev/null) || return 1
    [[ $out == "(true, '"* ]] || return 1
    out=${out#"(true, '"} out=${out%"')"} out=${out#\"}
    echo "${out%\"}"
}
shell_true() { [ "$(shell_eval "$1")" = true ]; }
# shell_until JS [TENTHS] waits, 5 s unless told, for a JavaScript condition.
shell_until() {
    for _ in $(seq "${2:-50}"); do
        shell_true "$1" && return 0
        sleep 0.1
    done
    return 1
}
# shell_screenshot FILE saves the screen to a PNG file.
shell_screenshot() {
    gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
        --method org.gnome.Shell.Screenshot.Screenshot false false "$(readlink -f "$1")" >/dev/null
}
