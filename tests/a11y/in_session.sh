#!/usr/bin/env bash
# Runs a test script of this folder in a session bus of its own; a machine without one skips the test
# (exit 77) and says why.
set -u
if ! command -v dbus-run-session >/dev/null; then
  echo "SKIP: dbus-run-session is not installed (dbus), so there is no session bus"
  exit 77
fi
if [ ! -x /usr/bin/python3 ]; then
  echo "SKIP: /usr/bin/python3 is not installed"
  exit 77
fi
# The distribution's Python, which holds the AT-SPI bindings.
exec dbus-run-session -- /usr/bin/python3 "$@"
