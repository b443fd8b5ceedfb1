#!/usr/bin/python3
"""Reads the screen-reader form over AT-SPI as a screen reader would: finds the
application, the answer sheet's named bubbles and the navigation buttons, toggles a
bubble through its action and hears the checked state change.

    read_sheet.py FORM_EXECUTABLE [--dump]

Run inside a private D-Bus session with an X server (dbus-run-session, xvfb-run).
Exit code 77 means the test could not run here (no pyatspi)."""
import os
import re
import subprocess
import sys
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as e:
    print("SKIP: pyatspi is not installed for /usr/bin/python3 (%s)" % e)
    sys.exit(77)

APP_NAME = "talvik-atspi-form"
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def find_app(deadline):
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == APP_NAME:
                return app
        time.sleep(0.2)
    return None


def find(root, name, role):
    return pyatspi.findDescendant(root, lambda a: a is not None and a.name == name and a.getRole() == role)


def states(acc):
    return acc.getState()


def dump(acc, depth=0, limit=3):
    s = acc.getState()
    flags = [n for n, st in (("checked", pyatspi.STATE_CHECKED), ("focusable", pyatspi.STATE_FOCUSABLE),
                             ("focused", pyatspi.STATE_FOCUSED), ("checkable", pyatspi.STATE_CHECKABLE))
             if s.contains(st)]
    extra = ""
    try:
        if acc.description:
            extra = " description=%r" % acc.description
    except Exception:
        pass
    print("%s[%s] %r %s%s" % ("  " * depth, acc.getRoleName(), acc.name, ",".join(flags), extra))
    for i, child in enumerate(acc):
        if i >= limit and depth >= 2:
            print("%s... %d more" % ("  " * (depth + 1), acc.childCount - limit))
            break
        dump(child, depth + 1, limit)


def action_index(acc, wanted):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == wanted:
            return action, i
    return action, -1


def main():
    if len(sys.argv) < 2:
        print("usage: read_sheet.py FORM_EXECUTABLE [--dump]")
        return 2
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    form = subprocess.Popen([sys.argv[1]], env=env)
    try:
        app = find_app(time.monotonic() + 10)
        check(app is not None, "the application %s is on the desktop" % APP_NAME)
        if app is None:
            return 1
        if "--dump" in sys.argv:
            dump(app)

        bubble = find(app, "Question 1, choice A", pyatspi.ROLE_CHECK_BOX)
        check(bubble is not None, "a check box named 'Question 1, choice A'")
        third = find(app, "Question 3, choice C", pyatspi.ROLE_CHECK_BOX)
        check(third is not None, "a check box named 'Question 3, choice C'")
        if bubble is None or third is None:
            return 1
        row = bubble.parent
        check(row is not None and row.name == "Question 1" and row.childCount == 4,
              "its question row 'Question 1' holds four choices")
        sheet = row.parent
        check(sheet is not None and sheet.childCount == 10, "the answer sheet holds ten question rows")
        check(not states(bubble).contains(pyatspi.STATE_CHECKED), "'Question 1, choice A' starts unchecked")
        for name in ("First question", "Previous question", "Next question", "Last question"):
            check(find(app, name, pyatspi.ROLE_PUSH_BUTTON) is not None, "a push button named %r" % name)
        link = find(app, "Exam rules", pyatspi.ROLE_LINK)
        check(link is not None and link.description == "https://example.org/rules",
              "a link 'Exam rules' described by its address")

        clock = pyatspi.findDescendant(app, lambda a: a is not None and a.description == "Clock")
        check(clock is not None and clock.getRole() == pyatspi.ROLE_LABEL and re.fullmatch(r"\d\d:\d\d", clock.name or ""),
              "the clock reads as a time (%r)" % (clock.name if clock else None))
        check(clock is not None and clock.getState().contains(pyatspi.STATE_READ_ONLY), "the clock is read-only")

        heard = []

        def on_event(event):
            heard.append((event.type, event.source.name if event.source else None, event.detail1))

        pyatspi.Registry.registerEventListener(on_event, "object:state-changed:checked")

        def act():
            action, i = action_index(third, "toggle")
            check(i >= 0, "'Question 3, choice C' offers a toggle action")
            if i >= 0:
                action.doAction(i)
            return False

        GLib.timeout_add(200, act)
        GLib.timeout_add(2500, lambda: pyatspi.Registry.stop() or False)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(on_event, "object:state-changed:checked")

        check(states(third).contains(pyatspi.STATE_CHECKED), "'Question 3, choice C' reads checked after the toggle")
        check(any(name == "Question 3, choice C" and detail == 1 for _, name, detail in heard),
              "an object:state-changed:checked event came from 'Question 3, choice C' (heard %r)" % heard)
        if "--dump" in sys.argv:
            dump(sheet, 0, 2)
    finally:
        form.terminate()
        try:
            form.wait(5)
        except subprocess.TimeoutExpired:
            form.kill()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
