#!/usr/bin/python3
"""Drives the real Quandrel program from outside through the accessibility bus.

Run it through tests/e2e/run_e2e.sh, which provides a virtual X display, a
window manager, a private D-Bus session with the AT-SPI bus and the
environment Quandrel needs (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1,
SDL_AUDIODRIVER=dummy, a throw-away XDG_DATA_HOME). The program under test is
$QUANDREL_BIN.

Every wait is bounded: a check that does not come true within its timeout
fails with a message naming what was awaited.

About the scroll bars: they are drawn with their largest value at the top, so
that the upper arrow raises the value. Their accessible Value may be the raw
slider position, which runs the other way (raw = top - value). The helpers
below therefore never assume a direction: they take one step, watch the box
beside the bar, and from then on work in the values the box shows.
"""

import os
import subprocess
import time
import unittest
import warnings

warnings.filterwarnings("ignore", category=DeprecationWarning)  # pyatspi calls deprecated libatspi names

import pyatspi  # noqa: E402
from gi.repository import Atspi  # noqa: E402

POLL_SECONDS = 0.05
STARTUP_TIMEOUT = 30.0
EVENT_TIMEOUT = 10.0

TAB = 0xFF09
UP = 0xFF52
DOWN = 0xFF54
RIGHT = 0xFF53
SPACE = 0x0020
SHIFT_MASK = 1  # X11 ShiftMask

CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_SCROLL_BAR,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
}


class ProgramEnded(Exception):
    """Quandrel is gone: no point in waiting any longer."""


def wait_until(predicate, what, timeout=EVENT_TIMEOUT):
    """Polls predicate until it returns something true; fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            result = predicate()
            if result:
                return result
        except ProgramEnded:
            raise
        except Exception as error:  # the tree may change under us
            last_error = error
        time.sleep(POLL_SECONDS)
    detail = f" (last error: {last_error})" if last_error else ""
    raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}{detail}")


def fresh(node):
    """Drops libatspi's cached name, state and children of node."""
    node.clear_cache()
    return node


def state(node, which):
    return fresh(node).getState().contains(which)


def showing(node):
    return state(node, pyatspi.STATE_SHOWING)


def descendants(root, predicate):
    fresh(root)
    return pyatspi.findAllDescendants(root, predicate)


def only(nodes, what):
    if len(nodes) != 1:
        raise AssertionError(f"expected one {what}, found {len(nodes)}: {[n.name for n in nodes]}")
    return nodes[0]


def do_action(node, name):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if name not in names:
        raise AssertionError(f"{node.getRoleName()} {node.name!r} has no action {name!r}, only {names}")
    action.doAction(names.index(name))


def press_key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def text_of(node):
    fresh(node)
    if "Text" in pyatspi.listInterfaces(node):
        text = node.queryText()
        return text.getText(0, text.characterCount)
    return node.name


class QuandrelSession:
    """One running Quandrel and its accessible tree."""

    def __init__(self):
        binary = os.environ.get("QUANDREL_BIN")
        if not binary:
            raise RuntimeError("QUANDREL_BIN is not set; run this through tests/e2e/run_e2e.sh")
        self.process = subprocess.Popen([binary])
        self.app = wait_until(self._find_app, "Quandrel on the accessibility bus", STARTUP_TIMEOUT)
        self.main = wait_until(lambda: self.window("Quandrel"), "the main window", STARTUP_TIMEOUT)

    def _find_app(self):
        if self.process.poll() is not None:
            raise ProgramEnded(f"Quandrel exited with {self.process.returncode} before it came up")
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clear_cache()
        for app in desktop:
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def window(self, title):
        fresh(self.app)
        for window in self.app:
            if window is not None and fresh(window).name == title and showing(window):
                return window
        return None

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    # ---- Finding controls ------------------------------------------------

    def control(self, role, name=None, description=None, root=None):
        """The one control of role with that name and/or description."""

        def matches(node):
            return (
                node.getRole() == role
                and (name is None or node.name == name)
                and (description is None or node.description == description)
            )

        what = f"{role} name={name!r} description={description!r}"
        return only(descendants(root or self.main, matches), what)

    def bar(self, name):
        return self.control(pyatspi.ROLE_SCROLL_BAR, name)

    def box(self, name):
        return self.control(pyatspi.ROLE_TEXT, name)

    def focus(self, node):
        """Gives node the keyboard focus, as a click or a screen reader would."""
        def focused_now():
            node.queryComponent().grabFocus()
            return state(node, pyatspi.STATE_FOCUSED)

        wait_until(focused_now, f"{node.name!r} to take the focus")

    def key_to_next_control(self, keysym, shift=False):
        """Presses a key that moves the focus and returns the newly focused control."""
        before = self.focused()
        if shift:
            pyatspi.Registry.generateKeyboardEvent(SHIFT_MASK, None, Atspi.KeySynthType.LOCKMODIFIERS)
        try:
            press_key(keysym)
        finally:
            if shift:
                pyatspi.Registry.generateKeyboardEvent(SHIFT_MASK, None, Atspi.KeySynthType.UNLOCKMODIFIERS)
        return wait_until(lambda: (now := self.focused()) is not None and now != before and now,
                          "the focus to move")

    def focused(self):
        """The control that has the keyboard focus, if any."""
        found = descendants(self.main, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED))
        return found[0] if found else None

    # ---- Scroll bars -----------------------------------------------------

    def bar_direction(self, bar, box):
        """+1 if raising the bar's accessible Value raises the box, -1 if it lowers it."""
        value = bar.queryValue()
        before = int(text_of(box))
        raw = value.currentValue
        step = 1 if raw < value.maximumValue else -1
        value.currentValue = raw + step
        wait_until(lambda: int(text_of(box)) != before, "the box to follow its bar")
        after = int(text_of(box))
        value.currentValue = raw
        wait_until(lambda: int(text_of(box)) == before, "the box to return to its value")
        return step * (1 if after > before else -1)

    def set_bar(self, bar_name, wanted):
        """Sets a bar through its accessible Value so that its box shows wanted."""
        bar, box = self.bar(bar_name), self.box(bar_name)
        direction = self.bar_direction(bar, box)
        value = bar.queryValue()
        value.currentValue = value.currentValue + direction * (wanted - int(text_of(box)))
        wait_until(lambda: int(text_of(box)) == wanted, f"{bar_name!r} to show {wanted}")


class MainWindowAccessibility(unittest.TestCase):
    """Names, relations and keyboard reach of the main window's controls."""

    @classmethod
    def setUpClass(cls):
        cls.q = QuandrelSession()

    @classmethod
    def tearDownClass(cls):
        cls.q.close()

    def test_every_visible_control_has_a_name_and_a_description(self):
        controls = descendants(
            self.q.main, lambda n: n.getRole() in CONTROL_ROLES and n.getState().contains(pyatspi.STATE_SHOWING)
        )
        self.assertGreaterEqual(len(controls), 20)
        for node in controls:
            with self.subTest(role=node.getRoleName(), name=node.name):
                self.assertTrue(node.name.strip(), "no accessible name")
                self.assertTrue(node.description.strip(), "no accessible description")

    def test_captions_and_tooltips_reach_the_screen_reader(self):
        count_down = self.q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Down")
        self.assertEqual(count_down.description, "Enable Count Down Timer (for chosen duration)")
        alert_text = self.q.control(pyatspi.ROLE_TEXT, "Alert Text")
        self.assertEqual(
            alert_text.description, "Enter text to show as Timer title, and flash when Timer goes off"
        )
        launch = self.q.control(pyatspi.ROLE_PUSH_BUTTON, "LaunchTimer")
        self.assertEqual(launch.description, "Launch Duration Timer/Alarm Clock Timer/Stopwatch Timer")
        # The two "Activate" boxes are told apart by their descriptions and frames.
        alarm = self.q.control(pyatspi.ROLE_CHECK_BOX, "Activate", "Enable Alarm Clock Timer")
        stopwatch = self.q.control(pyatspi.ROLE_CHECK_BOX, "Activate", "Enable Stopwatch Timer")
        self.assertEqual(alarm.parent.name, "Alarm Clock")
        self.assertEqual(stopwatch.parent.name, "StopWatch")
        for name in ("Timer duration: hours", "Alarm time: AM/PM"):
            with self.subTest(bar=name):
                self.assertIn("Value", pyatspi.listInterfaces(self.q.bar(name)))

    def test_labels_that_name_a_field_are_its_label(self):
        def labelled_by(node):
            return [
                r.getTarget(i).name
                for r in node.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                for i in range(r.getNTargets())
            ]

        cases = {
            (pyatspi.ROLE_SCROLL_BAR, "Timer duration: hours"): "hrs",
            (pyatspi.ROLE_SCROLL_BAR, "Timer duration: minutes"): "mins",
            (pyatspi.ROLE_SCROLL_BAR, "Timer duration: seconds"): "secs",
            (pyatspi.ROLE_CHECK_BOX, "pop on top"): "pop top",
        }
        for (role, name), label in cases.items():
            with self.subTest(control=name):
                self.assertIn(label, labelled_by(self.q.control(role, name)))
        combo = self.q.control(pyatspi.ROLE_COMBO_BOX, description="Choose sound to play when Timer goes off")
        self.assertIn("Sound Select", labelled_by(combo))

    def test_tab_walks_the_enabled_controls_frame_by_frame(self):
        # At start the alarm clock is chosen: the duration bars, Autostart,
        # Hide All and Close All are disabled and left out. The two option
        # buttons are one stop, as a radio group is; arrows move within it.
        expected = [
            "Count Up",
            "Activate",
            "Alarm time: hour",
            "Alarm time: minutes",
            "Alarm time: seconds",
            "Alarm time: AM/PM",
            "Activate",
            "Alert Text",
            "None",  # the sound list, named by its current choice
            "Test Play",
            "pop on top",
            "LaunchTimer",
            "Count Up",
        ]
        self.q.focus(self.q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Up"))
        walked = ["Count Up"] + [self.q.key_to_next_control(TAB).name for _ in expected[1:]]
        self.assertEqual(walked, expected)

        # Shift+Tab walks back the same way.
        self.q.focus(self.q.control(pyatspi.ROLE_PUSH_BUTTON, "LaunchTimer"))
        back = [self.q.key_to_next_control(TAB, shift=True).name for _ in range(3)]
        self.assertEqual(back, ["pop on top", "Test Play", "None"])

    def test_a_bar_is_used_from_the_keyboard(self):
        bar, box = self.q.bar("Alarm time: minutes"), self.q.box("Alarm time: minutes")
        self.q.focus(bar)
        start = int(text_of(box))
        press_key(UP)
        press_key(UP)
        wait_until(lambda: int(text_of(box)) == start + 2, "Up to raise the minutes")
        press_key(DOWN)
        wait_until(lambda: int(text_of(box)) == start + 1, "Down to lower the minutes")


class CountDownJourney(unittest.TestCase):
    """A short count-down launched, expired and closed, all from outside."""

    def setUp(self):
        self.q = QuandrelSession()

    def tearDown(self):
        self.q.close()

    def running_line(self):
        return self.q.control(pyatspi.ROLE_LABEL, description="Number of timers running")

    def test_count_down_expires_and_closes(self):
        q = self.q
        self.assertEqual(text_of(self.running_line()), "There are Currently 0 Timers running")

        do_action(q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Down"), "Toggle")
        wait_until(lambda: state(q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Down"), pyatspi.STATE_CHECKED),
                   "Count Down to be chosen")
        hours = q.bar("Timer duration: hours")
        wait_until(lambda: state(hours, pyatspi.STATE_ENABLED), "the duration bars to be enabled")
        q.set_bar("Timer duration: hours", 0)
        q.set_bar("Timer duration: minutes", 0)
        q.set_bar("Timer duration: seconds", 3)

        do_action(q.control(pyatspi.ROLE_PUSH_BUTTON, "LaunchTimer"), "Press")
        timer = wait_until(lambda: q.window("Timer 1"), "the timer window 'Timer 1'")
        wait_until(lambda: text_of(self.running_line()) == "There is Currently 1 Timer running",
                   "the running count to show one timer")
        caption = q.control(pyatspi.ROLE_LABEL, "CountDown:", root=timer)
        self.assertEqual(caption.parent, timer)
        title = q.control(pyatspi.ROLE_TEXT, "Timer title", root=timer)
        self.assertEqual(title.description, "Enter/Amend Timer title")

        def expired_banner():
            banners = descendants(timer, lambda n: n.getRole() == pyatspi.ROLE_LABEL and n.name == "       EXPIRED!")
            return banners and showing(banners[0]) and banners[0]

        banner = wait_until(expired_banner, "'EXPIRED!' in the timer window", timeout=3 + 10)
        self.assertEqual(text_of(banner), "       EXPIRED!")
        reading = q.control(pyatspi.ROLE_LABEL, description="Timer reading", root=timer)
        self.assertEqual(text_of(reading), "00:00:00")

        close_all = q.control(pyatspi.ROLE_PUSH_BUTTON, "Close All")
        self.assertTrue(state(close_all, pyatspi.STATE_ENABLED))
        do_action(close_all, "Press")
        wait_until(lambda: q.window("Timer 1") is None, "the timer window to close")
        wait_until(lambda: text_of(self.running_line()) == "There are Currently 0 Timers running",
                   "the running count to return to 0")
        self.assertFalse(state(close_all, pyatspi.STATE_ENABLED))
        self.assertIsNone(q.process.poll(), "Quandrel ended with its timer window")

    def test_count_down_set_up_and_launched_from_the_keyboard_alone(self):
        q = self.q
        q.focus(q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Up"))
        # Right moves within the option buttons; Space chooses.
        self.assertEqual(q.key_to_next_control(RIGHT).name, "Count Down")
        press_key(SPACE)
        wait_until(lambda: state(q.control(pyatspi.ROLE_RADIO_BUTTON, "Count Down"), pyatspi.STATE_CHECKED),
                   "Count Down to be chosen")
        # With a duration kind chosen, Autostart and the duration bars join the walk.
        self.assertEqual(q.key_to_next_control(TAB).name, "Autostart")
        self.assertEqual(q.key_to_next_control(TAB).name, "Timer duration: hours")
        hours = q.box("Timer duration: hours")
        press_key(DOWN)
        wait_until(lambda: text_of(hours) == "00", "Down to set the hours to 00")
        self.assertEqual(q.key_to_next_control(TAB).name, "Timer duration: minutes")
        self.assertEqual(q.key_to_next_control(TAB).name, "Timer duration: seconds")
        seconds = q.box("Timer duration: seconds")
        press_key(UP)
        press_key(UP)
        wait_until(lambda: text_of(seconds) == "02", "Up, Up to set the seconds to 02")
        walked = [q.key_to_next_control(TAB).name for _ in range(7)]
        self.assertEqual(walked, ["Activate", "Activate", "Alert Text", "None", "Test Play", "pop on top",
                                  "LaunchTimer"])
        press_key(SPACE)
        timer = wait_until(lambda: q.window("Timer 1"), "Space on LaunchTimer to open 'Timer 1'")
        label = q.control(pyatspi.ROLE_LABEL, description="Timer reading", root=timer)
        wait_until(lambda: text_of(label) == "00:00:00", "the count-down to reach 00:00:00", timeout=2 + 10)
        do_action(q.control(pyatspi.ROLE_PUSH_BUTTON, "Close All"), "Press")
        wait_until(lambda: text_of(self.running_line()) == "There are Currently 0 Timers running",
                   "the running count to return to 0")


if __name__ == "__main__":
    unittest.main(verbosity=2, warnings=False)  # keep the filter above
