#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real Quandrel ($QUANDREL_BIN) from outside through the accessibility
bus; run it through scripts/e2e_accessibility.sh. Every wait is bounded."""

import os
import subprocess
import time
import unittest
import warnings

warnings.filterwarnings("ignore", category=DeprecationWarning)  # pyatspi calls deprecated libatspi names
import pyatspi  # noqa: E402

TAB, UP, DOWN, RIGHT, SPACE = 0xFF09, 0xFF52, 0xFF54, 0xFF53, 0x0020
CONTROLS = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_SCROLL_BAR,
            pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT}


def wait_until(predicate, what, timeout=10.0):
    deadline, error = time.monotonic() + timeout, None
    while time.monotonic() < deadline:
        try:
            if result := predicate():
                return result
        except Exception as e:  # the tree may change under us
            error = e
        time.sleep(0.05)
    raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what} (last error: {error})")


def has(node, state):
    node.clear_cache()
    return node.getState().contains(state)


def text_of(node):
    node.clear_cache()
    return node.queryText().getText(0, -1) if "Text" in pyatspi.listInterfaces(node) else node.name


def press(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


class Accessibility(unittest.TestCase):
    def setUp(self):
        self.process = subprocess.Popen([os.environ["QUANDREL_BIN"]])

        def app():
            desktop = pyatspi.Registry.getDesktop(0)
            desktop.clear_cache()
            return next((a for a in desktop if a and a.get_process_id() == self.process.pid), None)
        self.app = wait_until(app, "Quandrel on the accessibility bus", 30)
        self.main = wait_until(lambda: self.window("Quandrel"), "the main window", 30)

    def tearDown(self):
        self.process.terminate()
        self.process.wait(timeout=10)

    def window(self, title):
        self.app.clear_cache()
        return next((w for w in self.app if w and w.name == title and has(w, pyatspi.STATE_SHOWING)), None)

    def all(self, predicate, root=None):
        (root or self.main).clear_cache()
        return pyatspi.findAllDescendants(root or self.main, predicate)

    def control(self, role, name=None, description=None, root=None):
        found = self.all(lambda n: n.getRole() == role and name in (None, n.name)
                         and description in (None, n.description), root)
        assert len(found) == 1, f"expected one {role} {name!r} {description!r}, found {[n.name for n in found]}"
        return found[0]

    def tab(self, key=TAB):
        """Presses a key that moves the focus; the name of the control it lands on."""
        # Qt 6.8 also marks the current item of a closed combo box's list focused: the control is what counts.
        focused = lambda: next(iter(self.all(lambda n: n.getState().contains(pyatspi.STATE_FOCUSED)
                                             and n.getRole() != pyatspi.ROLE_LIST_ITEM)), None)
        before = focused()
        press(key)
        return wait_until(lambda: (now := focused()) is not None and now != before and now, "the focus to move").name

    def test_every_control_is_named_and_described(self):
        controls = self.all(lambda n: n.getRole() in CONTROLS and n.getState().contains(pyatspi.STATE_SHOWING))
        self.assertGreaterEqual(len(controls), 20)
        for node in controls:
            with self.subTest(role=node.getRoleName(), name=node.name):
                self.assertTrue(node.name.strip() and node.description.strip())
        for name in ("Activate Alarm Clock", "Activate StopWatch"):
            self.control(pyatspi.ROLE_CHECK_BOX, name)

    def test_a_count_down_set_up_launched_and_closed_from_the_keyboard(self):
        running = self.control(pyatspi.ROLE_LABEL, description="Number of timers running")
        count_up = self.control(pyatspi.ROLE_RADIO_BUTTON, "Count Up")
        wait_until(lambda: count_up.queryComponent().grabFocus() and has(count_up, pyatspi.STATE_FOCUSED), "focus")
        # The option buttons are one stop: Right moves within them, Space chooses.
        self.assertEqual(self.tab(RIGHT), "Count Down")
        press(SPACE)
        self.assertEqual([self.tab(), self.tab()], ["Autostart", "Timer duration: hours"])
        # Arrows step a box's value; a typed number replaces it.
        for key, box, value in ((DOWN, "hours", "00"), (None, "minutes", "00"), (ord("3"), "seconds", "3")):
            if box != "hours":
                self.assertEqual(self.tab(), f"Timer duration: {box}")
            if key:
                press(key)
            field = self.control(pyatspi.ROLE_TEXT, f"Timer duration: {box}")
            wait_until(lambda: text_of(field) == value, f"the {box} to read {value}")
        walked = [self.tab() for _ in range(8)]
        self.assertEqual(walked[2:], ["Alert Text", "None", "Test Play", "Repeat until stopped", "pop on top",
                                      "LaunchTimer"])
        press(SPACE)
        timer = wait_until(lambda: self.window("Timer 1"), "Space on LaunchTimer to open 'Timer 1'")
        self.assertEqual(text_of(running), "There is Currently 1 Timer running")
        self.assertEqual(self.control(pyatspi.ROLE_TEXT, "Timer title", root=timer).description, "Enter/Amend Timer title")
        wait_until(lambda: self.all(lambda n: n.name == "       EXPIRED!"
                                    and n.getState().contains(pyatspi.STATE_SHOWING), timer), "EXPIRED!", 12)
        self.assertEqual(text_of(self.control(pyatspi.ROLE_LABEL, description="Timer reading", root=timer)),
                         "00:00:00")
        self.control(pyatspi.ROLE_PUSH_BUTTON, "Close All").queryAction().doAction(0)
        wait_until(lambda: text_of(running) == "There are Currently 0 Timers running", "the count to return to 0")
        self.assertIsNone(self.process.poll(), "Quandrel ended with its timer window")


if __name__ == "__main__":
    unittest.main(verbosity=2, warnings=False)
