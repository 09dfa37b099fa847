// SPDX-License-Identifier: GPL-3.0-or-later
// GNOME Shell 45 and later: Eval and Screenshot answer the test.
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

export default class QuandrelTest extends Extension {
    enable() { global.context.unsafe_mode = true; }
    disable() { global.context.unsafe_mode = false; }
}
