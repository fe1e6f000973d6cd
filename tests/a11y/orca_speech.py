"""The screen reader Orca on the typical keyboard flow: it speaks every control the focus reaches, each
window as it comes up, and the refusal of a wrong entry. Orca writes what it would speak to its debug
log ("SPEECH OUTPUT" lines), which needs no sound. Skipped where Orca is not installed."""

import os
import re
import shutil
import subprocess
import sys
import termios
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_session import Skip, check, run  # noqa: E402
from keyboard_flow import flow  # noqa: E402

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'")


def plain(text):
    """Spoken text compared without blanks: captions space their characters with ideographic spaces."""
    return re.sub(r"\s+", "", text)


def spoken_lines(log_path):
    with open(log_path, encoding="utf-8", errors="replace") as f:
        return [m.group(1) for m in SPEECH.finditer(f.read())]


def start_orca(s):
    orca = shutil.which("orca")
    if not orca:
        raise Skip("the screen reader Orca is not installed (orca)")
    prefs = os.path.join(s.work, "orca-prefs")
    os.makedirs(prefs)
    s.orca_log = os.path.join(s.work, "orca.log")
    # Orca buffers its debug file unless it is a terminal: a pseudo-terminal gives each line as it is
    # written.
    master, slave = os.openpty()
    attrs = termios.tcgetattr(slave)
    attrs[1] &= ~termios.OPOST
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    log = open(s.orca_log, "wb")

    def copy():
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                break
            if not chunk:
                break
            log.write(chunk)
            log.flush()

    threading.Thread(target=copy, daemon=True).start()
    proc = subprocess.Popen(["/usr/bin/python3", orca, "--user-prefs", prefs,
                             "--debug-file", os.ttyname(slave)], stdout=s.log, stderr=s.log)
    s.procs.append(proc)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        if any("Screen reader on" in x for x in spoken_lines(s.orca_log)):
            return
        check(proc.poll() is None, f"Orca ended at its start (exit {proc.returncode})")
        time.sleep(0.3)
    raise Skip("Orca did not come up on this session within a minute")


def orca(s):
    start_orca(s)
    reached = []

    def note_focus(step):
        reached.append((step, len(spoken_lines(s.orca_log))))

    flow(s, note_focus)
    time.sleep(1.0)
    speech = spoken_lines(s.orca_log)
    everything = plain(" ".join(speech))
    missing = []
    for role, name in s.focus_history:
        if name and plain(name) not in everything:
            missing.append(f"[{role} | {name}]")
    check(not missing, "Orca did not speak these controls when they took the focus: " + ", ".join(missing))
    check("検索条件の入力エラーです" in everything, "Orca did not speak the refusal of the wrong entry")
    print("Orca spoke:")
    for line in speech:
        print("  " + line)


if __name__ == "__main__":
    sys.exit(run(orca))
