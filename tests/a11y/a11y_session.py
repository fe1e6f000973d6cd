"""The program on a virtual display with a session bus and the accessibility bus, driven by real key
events and read through AT-SPI, as a screen reader sees it.

run(test) is the entry of every test script here: it checks what the session needs, starts it (inside
dbus-run-session, which the CTest command provides), hands the test a Session and stops what it started.
A missing piece of the session is a skip (exit 77) with its reason; anything else that fails is a
failure.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
import warnings

# The bindings call their table and text interfaces deprecated; the replacements are not in every
# version that has them.
warnings.filterwarnings("ignore", category=DeprecationWarning)

SKIP = 77


class Skip(Exception):
    pass


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


BUS_LAUNCHER_PATHS = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")


def _import_atspi():
    try:
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, Gio, GLib
    except (ImportError, ValueError) as e:
        raise Skip(f"the AT-SPI bindings cannot be loaded (python3-pyatspi, gir1.2-atspi-2.0): {e}")
    return Atspi, Gio, GLib


def _start_display(log):
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        raise Skip("Xvfb is not installed (xvfb)")
    read_end, write_end = os.pipe()
    proc = subprocess.Popen(
        [xvfb, "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=log, stderr=log)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
        if number.endswith(b"\n"):
            break
    os.close(read_end)
    if not number.strip():
        proc.kill()
        raise Skip("the virtual display (Xvfb) did not start")
    return proc, ":" + number.decode().strip()


class Session:
    """One running program and the means to drive and read it."""

    def __init__(self, program, work):
        self.program = program
        self.work = work
        self.folder = os.path.join(work, "program")
        os.makedirs(self.folder)
        for name in ("tomarina.dat", "tomarina.hlp"):
            src = os.path.join(os.path.dirname(program), name)
            if os.path.exists(src):
                shutil.copy(src, self.folder)
        # The program's folder is the folder of its file: a copy of its own keeps the build's folder
        # out of the test.
        shutil.copy(program, self.folder)
        self.procs = []
        self.app = None
        self.proc = None
        self.focused = None
        # Every control that took the focus, as (role, name), in order.
        self.focus_history = []
        self.log = open(os.path.join(work, "session.log"), "wb")

    # --- the session -----------------------------------------------------------------------------

    def start_bus(self):
        self.Atspi, self.Gio, self.GLib = _import_atspi()
        launcher = next((p for p in BUS_LAUNCHER_PATHS if os.path.exists(p)), None)
        if not launcher:
            raise Skip("the accessibility bus launcher is not installed (at-spi2-core)")
        if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
            raise Skip("no session bus (run inside dbus-run-session, package dbus)")
        display_proc, display = _start_display(self.log)
        self.procs.append(display_proc)
        os.environ["DISPLAY"] = display
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        os.environ["QT_QPA_PLATFORM"] = "xcb"
        os.environ["QT_ACCESSIBILITY"] = "1"
        os.environ["NO_AT_BRIDGE"] = "0"
        os.environ.pop("QT_LOGGING_RULES", None)
        # The session bus starts a bus launcher of its own when a client asks for the accessibility
        # bus before ours has taken the name, and it starts it with the environment the session bus
        # began with. Without the display there, its registry cannot make key events: every key the
        # test sends is lost while the program still answers on the bus.
        session_bus = self.Gio.bus_get_sync(self.Gio.BusType.SESSION, None)
        session_bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "UpdateActivationEnvironment",
                              self.GLib.Variant("(a{ss})", ({"DISPLAY": display},)),
                              None, self.Gio.DBusCallFlags.NONE, 10000, None)
        self.procs.append(subprocess.Popen([launcher, "--launch-immediately"], stdout=self.log,
                                           stderr=self.log))
        deadline = time.monotonic() + 20
        while not self._name_has_owner(session_bus, "org.a11y.Bus"):
            if time.monotonic() > deadline:
                raise Skip("the accessibility bus launcher did not take its name on the session bus")
            time.sleep(0.1)
        if self.Atspi.init() not in (0, 1):
            raise Skip("the AT-SPI client could not start")
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            try:
                self.Atspi.get_desktop(0).get_child_count()
                break
            except Exception:
                time.sleep(0.2)
        else:
            raise Skip("the accessibility bus did not start")
        self.listener = self.Atspi.EventListener.new(self._on_focus)
        self.listener.register("object:state-changed:focused")

    def _name_has_owner(self, bus, name):
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "NameHasOwner", self.GLib.Variant("(s)", (name,)),
                              self.GLib.VariantType.new("(b)"), self.Gio.DBusCallFlags.NONE, 10000, None)
        return reply.unpack()[0]

    def write_settings(self, lines):
        """tomarina.ini of the program folder, in its code page, with CR LF."""
        with open(os.path.join(self.folder, "tomarina.ini"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))

    def start_program(self, main_window_title="トマリナホテル情報＆予約"):
        # No http handler of the desktop's registers its opener: the tests' settings decide the browser.
        env = {**os.environ, **{k: self.work for k in ("XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                                         "XDG_DATA_DIRS")}}
        self.proc = subprocess.Popen([os.path.join(self.folder, "tomarina")], cwd=self.folder, env=env,
                                     stdout=self.log, stderr=self.log)
        self.procs.append(self.proc)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            self.pump()
            app = self._find_app()
            if app is not None and self.windows():
                self.app = app
                break
            check(self.proc.poll() is None, f"the program ended at its start (exit {self.proc.returncode})")
            time.sleep(0.2)
        check(self.app is not None, "the program never reached the accessibility bus")
        self.wait_for(lambda: self.active_window() is not None and self.focus() is not None,
                      "no window of the program is active with a control in focus after the start")
        # The window system's own focus follows the mapping of the window a moment later, and the
        # first key made up after a start may be spent on the keyboard map: a Shift goes first.
        self.pump(0.5)
        self.Atspi.generate_keyboard_event(0xFFE1, None, self.Atspi.KeySynthType.SYM)
        self.pump(0.5)
        self._keys_arrive()

    def _keys_arrive(self, attempts=5):
        """On a loaded machine the display may still drop the first keys after a start: Tab and
        Shift+Tab until the focus is seen to move and come back, so that the test's own keys arrive."""
        def where():
            f = self.focus()
            return (f.get_role_name(), f.get_name()) if f is not None else None

        home = where()
        for _ in range(attempts):
            self.key("Tab")
            try:
                self.wait_for(lambda: where() not in (None, home), "", timeout=3.0)
            except Failure:
                continue
            self.key("Shift+Tab")
            self.wait_for(lambda: where() == home, f"Shift+Tab does not go back to {home} after the start")
            return
        raise Failure("no key reaches the program after its start (Tab never moved the focus)")

    def end_program(self):
        """Ends the program as the session's end does (SIGTERM), so that it can start again."""
        self.proc.terminate()
        self.proc.wait(timeout=30)
        self.app = None
        self.focused = None

    def _find_app(self):
        desktop = self.Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app and app.get_process_id() == self.proc.pid:
                    return app
            except Exception:
                continue
        return None

    def tell_failure(self):
        """What the screen showed and the program wrote, beside the test's output."""
        try:
            print(f"focus: {describe(self.focus())}; windows: {[describe(w) for w in self.windows()]}")
        except Exception:
            pass
        name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
        shot = os.path.abspath(f"{name}-failure.png")
        if os.environ.get("DISPLAY") and shutil.which("import"):
            subprocess.run(["import", "-window", "root", shot], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
            print(f"screen at the failure: {shot}")
        self.log.flush()
        with open(self.log.name, "rb") as f:
            tail = f.read()[-4000:].decode("utf-8", "replace")
        if tail.strip():
            print("program output:\n" + tail)

    def stop(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
        for p in reversed(self.procs):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        self.log.close()

    # --- events and waiting ------------------------------------------------------------------------

    def _on_focus(self, event):
        if event.detail1:
            self.focused = event.source
            try:
                seen = (event.source.get_role_name(), event.source.get_name())
            except Exception:
                return
            if not self.focus_history or self.focus_history[-1] != seen:
                self.focus_history.append(seen)

    def pump(self, seconds=0.0):
        ctx = self.GLib.MainContext.default()
        end = time.monotonic() + seconds
        while True:
            while ctx.pending():
                ctx.iteration(False)
            if time.monotonic() >= end:
                return
            time.sleep(0.02)

    def wait_for(self, condition, message, timeout=15.0):
        deadline = time.monotonic() + timeout
        last_error = None
        while time.monotonic() < deadline:
            self.pump()
            try:
                if condition():
                    return
            except Exception as e:  # an object that went away while it was read
                last_error = e
            self.pump(0.05)
            check(self.proc.poll() is None, f"{message}: the program ended (exit {self.proc.returncode})")
        raise Failure(message + (f" ({last_error})" if last_error else ""))

    # --- keys -----------------------------------------------------------------------------------------

    KEYSYMS = {"Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B, "Down": 0xFF54, "Up": 0xFF52,
               "Left": 0xFF51, "Right": 0xFF53, "Home": 0xFF50, "End": 0xFF57, "F1": 0xFFBE, "F4": 0xFFC1,
               "space": 0x20, "BackSpace": 0xFF08, "Delete": 0xFFFF}
    MODIFIERS = {"Shift": 1, "Control": 4, "Alt": 8}

    def key(self, combo, settle=0.3):
        """One key press and release through the X server, as a keyboard gives it: "Tab",
        "Shift+Tab", "Control+Return", "a"."""
        *mods, name = combo.split("+")
        mask = 0
        for m in mods:
            mask |= self.MODIFIERS[m]
        sym = self.KEYSYMS.get(name, ord(name) if len(name) == 1 else None)
        check(sym is not None, f"unknown key {name}")
        kt = self.Atspi.KeySynthType
        if mask:
            self.Atspi.generate_keyboard_event(mask, None, kt.LOCKMODIFIERS)
        self.Atspi.generate_keyboard_event(sym, None, kt.SYM)
        if mask:
            self.Atspi.generate_keyboard_event(mask, None, kt.UNLOCKMODIFIERS)
        self.pump(settle)

    def type_text(self, text, settle=0.3):
        """Typed characters, each as a key of the keyboard's map (characters not on it are mapped to a
        spare key for the moment, as input methods do)."""
        self.Atspi.generate_keyboard_event(0, text, self.Atspi.KeySynthType.STRING)
        self.pump(settle)

    # --- reading ----------------------------------------------------------------------------------------

    def windows(self):
        app = self.app or self._find_app()
        if app is None:
            return []
        out = []
        for i in range(app.get_child_count()):
            w = app.get_child_at_index(i)
            if w is not None and w.get_state_set().contains(self.Atspi.StateType.SHOWING):
                out.append(w)
        return out

    def window(self, title_or_pred):
        for w in self.windows():
            if (callable(title_or_pred) and title_or_pred(w)) or w.get_name() == title_or_pred:
                return w
        return None

    def active_window(self):
        for w in self.windows():
            if w.get_state_set().contains(self.Atspi.StateType.ACTIVE):
                return w
        return None

    def focus(self):
        """The control that has the keyboard focus, as the bus reports it."""
        f = self.focused
        if f is not None:
            try:
                if f.get_state_set().contains(self.Atspi.StateType.FOCUSED):
                    return f
            except Exception:
                pass
        win = self.active_window()
        return find(win, lambda a: has_state(a, "focused")) if win is not None else None

    def focus_name(self):
        f = self.focus()
        return f.get_name() if f is not None else None

    def wait_focus(self, name, role=None, message=None, timeout=15.0):
        def ok():
            f = self.focus()
            return f is not None and f.get_name() == name and (role is None or f.get_role_name() == role)

        self.wait_for(ok, message or f"the focus never reached {role or 'the control'} 「{name}」 "
                      f"(it is on {describe(self.focus())})", timeout)
        return self.focus()

    def tab_to(self, name, role=None, limit=30, back=False):
        """Tab (or Shift+Tab) until the focus is on the named control."""
        for _ in range(limit):
            f = self.focus()
            if f is not None and f.get_name() == name and (role is None or f.get_role_name() == role):
                return f
            self.key("Shift+Tab" if back else "Tab")
        raise Failure(f"Tab never reached 「{name}」 (the focus is on {describe(self.focus())})")

    def tab_to_grid(self, limit=30):
        """Tab until the focus is in a grid, which takes it at its current cell."""
        for _ in range(limit):
            f = self.focus()
            if f is not None and f.get_role_name() in ("table", "table cell"):
                return f
            self.key("Tab")
        raise Failure(f"Tab never reached the grid (the focus is on {describe(self.focus())})")


# --- helpers on accessible objects -----------------------------------------------------------------------


def _atspi():
    from gi.repository import Atspi

    return Atspi


def has_state(acc, name):
    Atspi = _atspi()
    return acc.get_state_set().contains(getattr(Atspi.StateType, name.upper()))


def children(acc):
    n = acc.get_child_count()
    # A table's cells are its children; they are read through the table, not one by one.
    if acc.get_role_name() in ("table", "tree table") and n > 20:
        return []
    out = []
    for i in range(n):
        c = acc.get_child_at_index(i)
        if c is not None:
            out.append(c)
    return out


def walk(acc):
    yield acc
    for c in children(acc):
        yield from walk(c)


def find(acc, pred):
    for a in walk(acc):
        try:
            if pred(a):
                return a
        except Exception:
            continue
    return None


def find_named(acc, name, role=None):
    return find(acc, lambda a: a.get_name() == name and (role is None or a.get_role_name() == role))


def text_of(acc):
    t = acc.get_text_iface()
    if t is None:
        return None
    return t.get_text(0, t.get_character_count())


def describe(acc):
    if acc is None:
        return "nothing"
    try:
        return f"[{acc.get_role_name()} | {acc.get_name()}]"
    except Exception:
        return "an object that went away"


def run(test):
    """Runs test(session) on the program file given as the first argument, whose folder holds the
    directory and the help file."""
    if len(sys.argv) < 2:
        print("usage: test.py PROGRAM", file=sys.stderr)
        return 2
    work = tempfile.mkdtemp(prefix="tomarina-a11y-")
    session = Session(sys.argv[1], work)
    code = 0
    try:
        session.start_bus()
        test(session)
        print("PASS")
    except Skip as e:
        print(f"SKIP: {e}")
        code = SKIP
    except Failure as e:
        print(f"FAIL: {e}")
        code = 1
    except Exception:
        traceback.print_exc()
        code = 1
    if code == 1:
        session.tell_failure()
    session.stop()
    if os.environ.get("TOMARINA_KEEP_A11Y") is None:
        shutil.rmtree(work, ignore_errors=True)
    else:
        print(f"session kept in {work}")
    return code
