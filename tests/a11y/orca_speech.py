"""The screen reader Orca through every window: it speaks every control the focus reaches, what each
window says as it comes up, a highlighted row, a move in the narrowing, the refusals of wrong entries.
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
from a11y_session import Failure, Skip, check, find, find_named, run, text_of  # noqa: E402
from keyboard_flow import MAIN_TITLE, flow  # noqa: E402

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)' ?\{'established'", re.S)  # an utterance may hold lines

# Each window told by a control of its own (role, name), and what it says as it comes up besides its
# controls' names: its guidance, what it tells.
WINDOWS = {"main menu": ("panel", "メインメニュー"), "detail": ("check box", "ホームページ"),
           "search": ("panel", "ホテル検索条件", "都道府県名を入力して下さい", "福岡"),
           "picker": ("list", "都道府県名", "都道府県名を選択して下さい"),
           "results": ("push button", "地区の絞り込み", "黄色のホテルはインターネット情報検索、予約が行えます",
                       "備考(評価)は作者の個人的な評価です"),
           "caution message": ("alert", "注意メッセージ"), "narrowing": ("list", "ホテル地区名"),
           "maintenance list": ("table", "登録ホテル一覧"), "settings": ("text", "検索上限件数"),
           "hotel edit": ("label", "メッセージ：", "追加モード", "都道府県を選択して下さい", "入力例：東京"),
           "region": ("list", "地域指定で予約", "地域を選択してください"),
           "help": ("text", "トマリナホテル情報＆予約 ヘルプ", "地域指定で予約"),
           "tools menu": ("push button", "動作環境の登録"),
           "About": ("dialog", "システム情報", "トマリナホテル情報＆予約", "Version", "現在のデータを使用しています"),
           "browser selection": ("panel", "ブラウザの選択", "インストール直後のためブラウザを選択してください。")}


def window_label(s):
    w = s.active_window()
    return next((k for k, (role, name, *_) in WINDOWS.items() if w and find_named(w, name, role)), None)


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
    """The hotel edit window refuses a prefecture it does not know: Orca says the refusal; a pick (F4) mends it."""
    s.tab_to("ホテル登録保守", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.active_window() is not None
               and s.active_window().get_name() != MAIN_TITLE, "ホテル登録保守 opens no maintenance list")
    s.tab_to("追加", "push button")
    s.key("Return", 1.0)
    s.wait_focus("都道府県名", "text", "追加 opens no edit window at its first box")
    s.type_text("x")
    s.key("Return")
    s.wait_for(lambda: s.focus().get_description().startswith("都道府県名の入力誤りです"),
               "the refused prefecture box is not described by its refusal")
    wait_idle(s)
    check(plain("都道府県名の入力誤りです") in plain(" ".join(spoken_lines(s.orca_log)[s.orca_mark:])),
          "Orca did not speak the edit window's refusal")
    box = s.focus()
    s.key("F4", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() == "list item", "F4 opens no picker")
    s.key("Down")
    s.key("Return", 1.0)
    s.wait_focus("空港名", "text", "a pick does not go on to the airport box")
    heard_whole(s, text_of(box), "the prefecture the pick filled in")
    check(box.get_name() == "都道府県名", f"the mended box is still named 「{box.get_name()}」")
    back_to_menu(s)


def heard_whole(s, value, what):
    """Orca has said the value whole since the last key, not cut short at its end."""
    wait_idle(s)
    said = plain(" ".join(spoken_lines(s.orca_log)[s.orca_mark:]))
    check(value and plain(value) in said, f"Orca did not say {what} 「{value}」 whole: 「{said}」")


def values_heard(s, step):
    """In the flow: the detail's address, which ends in a digit; a highlighted row reached down the
    price column, which tells of its pages there too."""
    if step == "detail":
        box = find(s.active_window(), lambda a: a.get_role_name() == "text" and a.get_name().startswith("住所"))
        check(text_of(box)[-1:].isdigit(), f"the detail address 「{text_of(box)}」 does not end in a digit")
        heard_whole(s, text_of(box), "the detail address")
    if step == "re-order":
        for _ in range(4):
            s.key("Right")
        for _ in range(20):
            s.key("Down")
            if s.focus().get_description() == "インターネット情報検索、予約可":
                heard_whole(s, s.focus().get_name(), "the highlighted row's price")
                heard_whole(s, "インターネット情報検索、予約可", "the highlighted row's pages")
                return
        raise Failure("no highlighted row down the price column tells of its pages")


def back_to_menu(s):
    for _ in range(4):
        s.key("Escape", 1.0)
        s.wait_for(lambda: s.active_window() is not None and s.focus() is not None, "no window is active after Esc")
        if s.active_window().get_name() == MAIN_TITLE:
            return
    raise Failure("Esc does not lead back to the main menu")


def open_window(s, button, label):
    s.tab_to(button, "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: window_label(s) == label and s.focus() is not None, f"{button} opens no {label}")


def more_windows(s):
    """F1 in the region window: Orca reads the help from the window's topic, Down the next line. About, the
    settings, and the browser selection, which 「ブラウザの再登録」 opens where the desktop knows no browser."""
    open_window(s, "地域指定で予約", "region")
    s.key("F1", 1.5)
    s.wait_for(lambda: window_label(s) == "help" and s.focus().get_role_name() == "text", "F1 opens no help")
    s.key("Down")
    wait_idle(s)
    check("地域の一覧から選んで" in plain(" ".join(spoken_lines(s.orca_log)[s.orca_mark:])), "Down reads no next line")
    s.key("Control+Home")
    heard_whole(s, "トマリナホテル情報＆予約 ヘルプ", "the help's first line at Ctrl+Home")
    s.key("Escape", 1.0)
    s.wait_for(lambda: window_label(s) == "region", "Esc in the help does not go back to the region window")
    back_to_menu(s)
    open_window(s, "保　　守", "tools menu")
    open_window(s, "システム情報", "About")
    s.key("Escape", 1.0)
    open_window(s, "動作環境の登録", "settings")
    s.tab_to("検索上限件数", "text")
    heard_whole(s, "1000", "the search limit")
    s.tab_to("共通", "page tab list")
    s.key("Left")  # to the browser's page
    s.tab_to("ブラウザの再登録", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: window_label(s) == "browser selection", "ブラウザの再登録 opens no browser selection")
    back_to_menu(s)


def orca(s):
    start_orca(s)
    keyboard = {"key": s.key, "type_text": s.type_text}
    # Where the speech stood when the last key went down: what a control took the focus by is said
    # after that.
    mark = [0]
    reached = []
    # What Orca said as each window first came up: from the key that brought it to the next key.
    opened = {}
    shown = ["main menu", 0]

    def paced(name):
        def press(*args, **kwargs):
            wait_idle(s)
            now = window_label(s)
            if now is not None and (now != shown[0] or now not in opened):
                opened.setdefault(now, " / ".join(spoken_lines(s.orca_log)[shown[1]:]))
                shown[0] = now
            mark[0] = s.orca_mark = shown[1] = len(spoken_lines(s.orca_log))
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
    flow(s, lambda step: values_heard(s, step))
    edit_refusal(s)
    more_windows(s)
    wait_idle(s)
    speech = spoken_lines(s.orca_log)
    missing = []
    print("Orca spoke, as the focus reached each control:")
    for role, name, at in reached:
        said = plain(" ".join(speech[at:]))
        if plain(name) not in said:
            missing.append(f"[{role} | {name}]")
        print(f"  [{role} | {name}]: " + " / ".join(x for x in speech[at:at + 4] if not x.endswith(" ")))
    print("Orca spoke, as each window came up:\n" + "\n".join(f"  {k}: {opened.get(k)}" for k in WINDOWS))
    check(not missing, "Orca did not speak these controls when they took the focus: " + ", ".join(missing))
    unheard = [f"{k}: {w}" for k, (_, _, *words) in WINDOWS.items() for w in words if plain(w) not in plain(opened.get(k, ""))]
    check(not unheard, "Orca did not say these words as the windows came up: " + "; ".join(unheard))
    check(plain(opened.get("About", "")).count("現在のデータを使用しています") == 1, "About does not say its lines once")
    for words in ("検索条件の入力エラーです", "インターネット情報検索、予約可", "を選択済みに移しました"):
        check(words in plain(" ".join(speech)), f"Orca did not say 「{words}」")


if __name__ == "__main__":
    sys.exit(run(orca))
