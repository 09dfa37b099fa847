// SPDX-License-Identifier: GPL-3.0-or-later
// GNOME Shell 43 and 44: Eval and Screenshot answer the test.
function init() {
    return {
        enable() { global.context.unsafe_mode = true; },
        disable() { global.context.unsafe_mode = false; },
    };
}
