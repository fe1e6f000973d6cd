"""The screen reader Orca on the typical keyboard flow: it speaks every control the focus reaches, each
window as it comes up, the refusal of a wrong entry in the search window and in the hotel edit window.
Orca writes what it would speak to its debug log ("SPEECH OUTPUT" lines), which needs no sound. Each
key waits until Orca has dealt with what came before, as a user waits for the speech. Skipped where
Orca is not installed."""

import os
import re
import shutil
import subprocess
import sys
import termios
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_session import Failure, Skip, check, run  # noqa: E402
from keyboard_flow import MAIN_TITLE, flow  # noqa: E402

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'")


def plain(text):
    """Spoken text compared without blanks: captions space their characters with ideographic spaces."""
    return re.sub(r"\s+", "", text)


def spoken_lines(log_path):
    with open(log_path, encoding="utf-8", errors="replace") as f:
        return [m.group(1) for m in SPEECH.finditer(f.read())]


class OrcaLog:
    """What Orca has written so far, and whether it has dealt with every event it was given."""

    QUEUED = "EVENT MANAGER: Queueing "
    DONE = "EVENT MANAGER: Dequeued "
    PRUNED = re.compile(r"EVENT MANAGER: (\d+) events pruned")

    def __init__(self, path):
        self.path = path
        self.size = 0
        self.changed = time.monotonic()

    def text(self):
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def idle(self, quiet):
        """Every event Orca queued is handled, and it has written nothing for quiet seconds."""
        size = os.path.getsize(self.path)
        now = time.monotonic()
        if size != self.size:
            self.size, self.changed = size, now
            return False
        if now - self.changed < quiet:
            return False
        text = self.text()
        pending = (text.count(self.QUEUED) - text.count(self.DONE)
                   - sum(int(n) for n in self.PRUNED.findall(text)))
        return pending <= 0


def wait_idle(s, quiet=0.5, timeout=30.0):
    """Lets Orca finish with what came before, as a user waits for the speech before the next key."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        s.pump(0.1)
        if s.orca.idle(quiet):
            return
    raise Failure(f"Orca was still busy {timeout:.0f} seconds after the last key")


def start_orca(s):
    orca = shutil.which("orca")
    if not orca:
        raise Skip("the screen reader Orca is not installed (orca)")
    prefs = os.path.join(s.work, "orca-prefs")
    os.makedirs(prefs)
    s.orca_log = os.path.join(s.work, "orca.log")
    s.orca = OrcaLog(s.orca_log)
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


def edit_refusal(s):
    """The hotel edit window refuses a prefecture it does not know: Orca says the refusal."""
    s.tab_to("ホテル登録保守", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.active_window() is not None
               and s.active_window().get_name() != MAIN_TITLE, "ホテル登録保守 opens no maintenance list")
    s.tab_to("追加", "push button")
    s.key("Return", 1.0)
    s.wait_focus("都道府県名", "text", "追加 opens no edit window at its first box")
    s.type_text("x")
    s.key("Return")
    s.wait_focus("都道府県名の入力誤りです", "text", "the refused prefecture box is not named by its refusal")
    wait_idle(s)
    check(plain("都道府県名の入力誤りです") in plain(" ".join(spoken_lines(s.orca_log)[s.orca_mark:])),
          "Orca did not speak the edit window's refusal")
    for _ in range(2):
        s.key("Escape", 1.0)
        s.wait_for(lambda: s.active_window() is not None, "no window is active after Esc")
        if s.active_window().get_name() == MAIN_TITLE:
            return
    raise Failure("Esc does not lead back from the edit window to the main menu")


def orca(s):
    start_orca(s)
    keyboard = {"key": s.key, "type_text": s.type_text}
    # Where the speech stood when the last key went down: what a control took the focus by is said
    # after that.
    mark = [0]
    reached = []

    def paced(name):
        def press(*args, **kwargs):
            wait_idle(s)
            mark[0] = s.orca_mark = len(spoken_lines(s.orca_log))
            keyboard[name](*args, **kwargs)
        return press

    def on_focus(event):
        try:
            if event.detail1 and event.source.get_name():
                reached.append((event.source.get_role_name(), event.source.get_name(), mark[0]))
        except Exception:
            pass

    listener = s.Atspi.EventListener.new(on_focus)
    listener.register("object:state-changed:focused")
    s.key = paced("key")
    s.type_text = paced("type_text")
    flow(s)
    edit_refusal(s)
    wait_idle(s)
    speech = spoken_lines(s.orca_log)
    missing = []
    print("Orca spoke, as the focus reached each control:")
    for role, name, at in reached:
        said = plain(" ".join(speech[at:]))
        if plain(name) not in said:
            missing.append(f"[{role} | {name}]")
        print(f"  [{role} | {name}]: " + " / ".join(x for x in speech[at:at + 4] if not x.endswith(" ")))
    check(not missing, "Orca did not speak these controls when they took the focus: " + ", ".join(missing))
    check("検索条件の入力エラーです" in plain(" ".join(speech)), "Orca did not speak the refusal of the wrong entry")


if __name__ == "__main__":
    sys.exit(run(orca))
