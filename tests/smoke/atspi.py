#!/usr/bin/python3
"""Acts on the main window's frame of choices as a screen reader does, over
the accessibility bus (AT-SPI).

atspi.py idle     the file-name box shows the default database as Windows
                  writes it, and Toggle works on a tick box (proof that the
                  bus reaches the program); the choices are left as they were.
atspi.py running  during a run: every control of the frame reports itself
                  unavailable, offers no action, and neither Toggle, Press
                  nor setting the text changes anything.
atspi.py told     after "listening", each control of the frame is told unavailable, then available.
Prints "ok: ..." or "FAIL: ..." and exits 0 or 1.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def fail(why):
    print(f"FAIL: {why}")
    sys.exit(1)


def find(node, role, name):
    if node.get_role_name() == role and node.get_name() == name:
        return node
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), role, name)
        if found:
            return found
    return None


def main_window():
    desktop = Atspi.get_desktop(0)
    for _ in range(200):
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app and app.get_name() == "valdoren":
                window = find(app, "filler", "Valdoren Baru ke Lorvanta")
                if window:
                    return window
        time.sleep(0.1)
    fail("the program is not on the accessibility bus")


def has(node, state):
    return node.get_state_set().contains(state)


def act(node, action):
    """True when the program carried the action out, as it reports."""
    for i in range(node.get_n_actions()):
        if node.get_action_name(i) == action:
            try:
                return node.do_action(i)
            except GLib.Error:
                return False
    return False


def idle(window):
    shown = find(window, "text", "").get_text(0, -1)
    if shown != "C:\\Karsela\\ROZ5\\dbROZ.mdb":
        fail(f"the file-name box shows {shown!r}")
    satuan = find(window, "check box", "Satuan")
    if not act(satuan, "Toggle"):
        fail("Toggle is refused while idle")
    for _ in range(50):
        if not has(satuan, Atspi.StateType.CHECKED):
            break
        time.sleep(0.1)
    else:
        fail("Toggle while idle did not untick Satuan")
    act(satuan, "Toggle")
    print("ok: while idle a screen reader toggles a category")


def frame_controls(window):
    controls = [find(window, "check box", name) for name in
                ("Satuan", "Kemasan", "Valuta Asing", "Negara", "Pelabuhan Dalam Negeri",
                 "Pelabuhan Luar Negeri")]
    controls += [find(window, "push button", "Browse"), find(window, "text", "")]
    if None in controls:
        fail("a control of the frame is missing")
    return controls


def running(window):
    controls = frame_controls(window)
    box = controls[-1]
    for control in controls:
        if has(control, Atspi.StateType.ENABLED) or has(control, Atspi.StateType.SENSITIVE):
            fail(f"{control.get_name() or 'the file-name box'} reports itself available during the run")
        for action in ("Toggle", "Press", "SetFocus"):
            if act(control, action):
                fail(f"{action} on {control.get_name() or 'the file-name box'} succeeded during the run")
    before = box.get_text(0, -1)
    try:
        Atspi.EditableText.set_text_contents(box, "C:\\elsewhere\\dbVAM.mdb")
    except GLib.Error:
        pass
    time.sleep(0.5)
    if box.get_text(0, -1) != before:
        fail("setting the text changed the file name during the run")
    for control in controls[:6]:
        if not has(control, Atspi.StateType.CHECKED):
            fail(f"{control.get_name()} was unticked during the run")
    print("ok: during a run a screen reader finds the choices unavailable and changes none of them")


def wait_until(done, seconds):
    for _ in range(seconds * 20):
        while GLib.MainContext.default().iteration(False):
            pass
        if done():
            return True
        time.sleep(0.05)
    return False


def told(window):
    controls = frame_controls(window)
    heard = []  # (role, name, state, value) of each state change, in order
    listener = Atspi.EventListener.new(lambda event: heard.append(
        (event.source.get_role_name(), event.source.get_name(), event.type.split(":")[-1], event.detail1)))
    listener.register("object:state-changed")

    def satuan_heard_and_ticked():  # the program sends here once it knows of the listener
        if any(event[:2] == ("check box", "Satuan") for event in heard) and has(controls[0], Atspi.StateType.CHECKED):
            return True
        return act(controls[0], "Toggle") and False
    if not wait_until(satuan_heard_and_ticked, 60):
        fail("the program's events do not reach the screen reader")
    print("listening", flush=True)

    def told_both(control):  # unavailable, then available
        values = [value for *event, value in heard if event == [control.get_role_name(), control.get_name(), "enabled"]]
        return 0 in values and 1 in values[values.index(0):]
    if not wait_until(lambda: all(told_both(control) for control in controls), 120):
        fail("the frame's controls were not told unavailable and then available again during a run")
    print("ok: a screen reader is told the choices are unavailable during a run, and available after it")


Atspi.init()
{"idle": idle, "running": running, "told": told}[sys.argv[1]](main_window())
