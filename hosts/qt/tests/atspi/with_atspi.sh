#!/bin/sh
# Runs a command as an application under a screen reader's setting: in a private D-Bus
# session whose accessibility bus (and with it the AT-SPI registry) is up before the
# command starts, on a virtual X server, with Qt's AT-SPI bridge on.
# Exits 77 (skipped) only when the tools this needs are not installed.
if [ -z "$TALVIK_ATSPI_SESSION" ]; then
    for tool in dbus-run-session dbus-send xvfb-run; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
            exit 77
        fi
    done
    if ! /usr/bin/python3 -c "import pyatspi" >/dev/null 2>&1; then
        echo "SKIP: pyatspi is not installed for /usr/bin/python3 (python3-pyatspi; scripts/deps.sh installs it)"
        exit 77
    fi
    TALVIK_ATSPI_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
# Asking the session bus for the accessibility bus starts it, so that Qt finds it at once.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null || exit 1
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
exec xvfb-run -a "$@"
