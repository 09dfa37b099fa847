#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real Quandrel from outside through the accessibility bus.

Run it through tests/e2e/run_e2e.sh, which provides a virtual X display, a
window manager, a private D-Bus session with the AT-SPI bus and the
environment Quandrel needs. The program under test is $QUANDREL_BIN. Every
wait is bounded and names what it waited for.
"""

import os
import subprocess
import time
import unittest
import warnings

warnings.filterwarnings("ignore", category=DeprecationWarning)  # pyatspi calls deprecated libatspi names
import pyatspi  # noqa: E402

TAB, UP, DOWN, RIGHT, SPACE = 0xFF09, 0xFF52, 0xFF54, 0xFF53, 0x0020
CONTROLS = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_SCROLL_BAR,
            pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY}


def wait_until(predicate, what, timeout=10.0):
    deadline, last_error = time.monotonic() + timeout, None
    while time.monotonic() < deadline:
        try:
            result = predicate()
            if result:
                return result
        except Exception as error:  # the tree may change under us
            last_error = error
        time.sleep(0.05)
    raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what} (last error: {last_error})")


def fresh(node):
    node.clear_cache()
    return node


def has(node, state):
    return fresh(node).getState().contains(state)


def text_of(node):
    fresh(node)
    if "Text" in pyatspi.listInterfaces(node):
        text = node.queryText()
        return text.getText(0, text.characterCount)
    return node.name


def press(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


class Session:
    """One running Quandrel and its accessible tree."""

    def __init__(self):
        self.process = subprocess.Popen([os.environ["QUANDREL_BIN"]])
        self.app = wait_until(self._app, "Quandrel on the accessibility bus", 30)
        self.main = wait_until(lambda: self.window("Quandrel"), "the main window", 30)

    def _app(self):
        assert self.process.poll() is None, f"Quandrel exited with {self.process.returncode}"
        desktop = fresh(pyatspi.Registry.getDesktop(0))
        return next((a for a in desktop if a is not None and a.get_process_id() == self.process.pid), None)

    def window(self, title):
        return next((w for w in fresh(self.app) if w and fresh(w).name == title
                     and has(w, pyatspi.STATE_SHOWING)), None)

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)

    def all(self, predicate, root=None):
        return pyatspi.findAllDescendants(fresh(root or self.main), predicate)

    def control(self, role, name=None, description=None, root=None):
        found = self.all(lambda n: n.getRole() == role and name in (None, n.name)
                         and description in (None, n.description), root)
        assert len(found) == 1, f"expected one {role} {name!r} {description!r}, found {[n.name for n in found]}"
        return found[0]

    def focused(self):
        found = self.all(lambda n: n.getState().contains(pyatspi.STATE_FOCUSED))
        return found[0] if found else None

    def tab(self, key=TAB):
        """Presses a key that moves the focus; the name of the control it lands on."""
        before = self.focused()
        press(key)
        return wait_until(lambda: (now := self.focused()) is not None and now != before and now, "the focus to move").name


class Accessibility(unittest.TestCase):
    def setUp(self):
        self.q = Session()

    def tearDown(self):
        self.q.close()

    def test_every_control_is_named_described_and_labelled(self):
        q = self.q
        controls = q.all(lambda n: n.getRole() in CONTROLS and n.getState().contains(pyatspi.STATE_SHOWING))
        self.assertGreaterEqual(len(controls), 20)
        for node in controls:
            with self.subTest(role=node.getRoleName(), name=node.name):
                self.assertTrue(node.name.strip() and node.description.strip())
        launch = q.control(pyatspi.ROLE_PUSH_BUTTON, "LaunchTimer")
        self.assertEqual(launch.description, "Launch Duration Timer/Alarm Clock Timer/Stopwatch Timer")

        def labels(node):
            return [r.getTarget(i).name for r in node.getRelationSet()
                    if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]

        self.assertIn("hrs", labels(q.control(pyatspi.ROLE_SCROLL_BAR, "Timer duration: hours")))
        self.assertIn("pop top", labels(q.control(pyatspi.ROLE_CHECK_BOX, "pop on top")))

    def test_a_count_down_set_up_launched_and_closed_from_the_keyboard(self):
        q = self.q
        running = q.control(pyatspi.ROLE_LABEL, description="Number of timers running")
        wait_until(lambda: q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Up").queryComponent().grabFocus()
                   and has(q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Up"), pyatspi.STATE_FOCUSED), "the focus")
        # The option buttons are one stop: Right moves within them, Space chooses.
        self.assertEqual(q.tab(RIGHT), "Count Down")
        press(SPACE)
        self.assertEqual(q.tab(), "Autostart")
        self.assertEqual(q.tab(), "Timer duration: hours")
        hours = q.control(pyatspi.ROLE_TEXT, "Timer duration: hours")
        press(DOWN)
        wait_until(lambda: text_of(hours) == "00", "Down to set the hours to 00")
        self.assertEqual(q.tab(), "Timer duration: minutes")
        self.assertEqual(q.tab(), "Timer duration: seconds")
        press(UP)
        press(UP)
        seconds = q.control(pyatspi.ROLE_TEXT, "Timer duration: seconds")
        wait_until(lambda: text_of(seconds) == "02", "Up, Up to set the seconds to 02")
        walked = [q.tab() for _ in range(7)]
        self.assertEqual(walked[2:], ["Alert Text", "None", "Test Play", "pop on top", "LaunchTimer"])
        press(SPACE)
        timer = wait_until(lambda: q.window("Timer 1"), "Space on LaunchTimer to open 'Timer 1'")
        self.assertEqual(text_of(running), "There is Currently 1 Timer running")
        title = q.control(pyatspi.ROLE_TEXT, "Timer title", root=timer)
        self.assertEqual(title.description, "Enter/Amend Timer title")
        banner = wait_until(lambda: q.all(lambda n: n.name == "       EXPIRED!" and
                                          n.getState().contains(pyatspi.STATE_SHOWING), timer),
                            "'EXPIRED!' in the timer window", 12)
        self.assertTrue(banner)
        reading = q.control(pyatspi.ROLE_LABEL, description="Timer reading", root=timer)
        self.assertEqual(text_of(reading), "00:00:00")
        q.control(pyatspi.ROLE_PUSH_BUTTON, "Close All").queryAction().doAction(0)
        wait_until(lambda: text_of(running) == "There are Currently 0 Timers running", "the count to return to 0")
        self.assertIsNone(q.process.poll(), "Quandrel ended with its timer window")


if __name__ == "__main__":
    unittest.main(verbosity=2, warnings=False)
