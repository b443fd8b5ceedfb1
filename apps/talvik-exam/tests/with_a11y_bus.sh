#!/bin/sh
# Runs a command as an application under a screen reader's setting: in a private D-Bus
# session with the accessibility bus up, on a virtual X server, with Qt's AT-SPI bridge on.
# Exits 77 (skipped) when the tools for that are not installed.
if [ -z "$TALVIK_A11Y_SESSION" ]; then
    for tool in dbus-run-session dbus-send xvfb-run; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    TALVIK_A11Y_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null || exit 77
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
exec xvfb-run -a "$@"
