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
atspi.py says FILE [path TEXT | untick]...
                  sets the file-name box to TEXT as a screen reader types,
                  or unticks every category, then says "listening" and reads
                  the next message box as a screen reader does: its label's
                  name, its text, its characters and its lines, each of which
                  must be the text of FILE (UTF-8), character for character.
atspi.py status TEXT
                  the main window's status line reads TEXT within a minute.
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


def application():
    desktop = Atspi.get_desktop(0)
    for _ in range(200):
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app and app.get_name() == "valdoren" and find(app, "filler", "Valdoren Baru ke Lorvanta"):
                return app
        time.sleep(0.1)
    fail("the program is not on the accessibility bus")


def main_window():
    return find(application(), "filler", "Valdoren Baru ke Lorvanta")


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


def first_difference(heard, expected):
    at = next((i for i, (a, b) in enumerate(zip(heard, expected)) if a != b), min(len(heard), len(expected)))
    return f"at character {at}: {heard[at:at + 20]!r} where the message has {expected[at:at + 20]!r}"


def lines_of(label):
    """The label's text line by line, as a reader walks it."""
    lines, offset, count = [], 0, Atspi.Text.get_character_count(label)
    while offset < count:
        line = Atspi.Text.get_text_at_offset(label, offset, Atspi.TextBoundaryType.LINE_START)
        if line.end_offset <= offset:
            fail(f"the line at character {offset} does not move on")
        lines.append(line.content)
        offset = line.end_offset
    return lines


def read_message(box, expected):
    labels = [box.get_child_at_index(i) for i in range(box.get_child_count())]
    labels = [label for label in labels if label.get_role_name() == "label"]
    if len(labels) != 1:
        fail(f"the message box holds {len(labels)} labels")
    label = labels[0]
    readings = {
        "name": label.get_name,
        "text": lambda: Atspi.Text.get_text(label, 0, -1),
        "characters": lambda: "".join(chr(Atspi.Text.get_character_at_offset(label, i))
                                      for i in range(Atspi.Text.get_character_count(label))),
        "lines": lambda: "".join(lines_of(label)),
    }
    for what, read in readings.items():
        try:
            heard = read()
        except GLib.Error as error:
            fail(f"the box's {what} cannot be read: {error.message}")
        if heard != expected:
            fail(f"the box's {what} is not the message, {first_difference(heard, expected)}")
    if len(lines_of(label)) != expected.count("\n") + 1:
        fail(f"the box reads {len(lines_of(label))} lines, the message has {expected.count(chr(10)) + 1}")


def says(app, path, *actions):
    with open(path, encoding="utf-8", newline="") as file:
        expected = file.read()
    window = find(app, "filler", "Valdoren Baru ke Lorvanta")
    actions = iter(actions)
    for action in actions:
        if action == "path":
            Atspi.EditableText.set_text_contents(find(window, "text", ""), next(actions))
        elif action == "untick":
            ticks = frame_controls(window)[:6]
            for box in ticks:
                if has(box, Atspi.StateType.CHECKED) and not act(box, "Toggle"):
                    fail(f"Toggle on {box.get_name()} is refused")
            if not wait_until(lambda: not any(has(box, Atspi.StateType.CHECKED) for box in ticks), 30):
                fail("Toggle left a category ticked")
    # The box answered before may linger on the bus for a moment.
    if not wait_until(lambda: not find(app, "alert", "Valdoren"), 60):
        fail("the message box answered before stays on the accessibility bus")
    print("listening", flush=True)
    shown = []
    if not wait_until(lambda: shown.append(find(app, "alert", "Valdoren")) or shown[-1], 60):
        fail("no message box reached the screen reader")
    read_message(shown[-1], expected)
    print(f"ok: a screen reader reads the message {expected[:40]!r}... as it is", flush=True)


def status(app, text):
    if not wait_until(lambda: find(find(app, "filler", "Valdoren Baru ke Lorvanta"), "label", text), 60):
        fail(f"the status line does not read {text!r}")
    print(f"ok: a screen reader reads the status line {text!r}")


Atspi.init()
# A program slowed by a loaded machine answers late, not never: a call
# waits a minute for its answer, not Atspi's 0.8 s, after which it would
# count as failed, and be carried out all the same later on.
Atspi.set_timeout(60000, 60000)
if sys.argv[1] in ("says", "status"):
    {"says": says, "status": status}[sys.argv[1]](application(), *sys.argv[2:])
else:
    {"idle": idle, "running": running, "told": told}[sys.argv[1]](main_window())
