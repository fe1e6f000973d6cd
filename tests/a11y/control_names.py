"""Every window reached with the keyboard, read through the accessibility bus: each window and each
control a user can see has a name, and each window is a window ("frame", "dialog", "alert") that takes
the "active" state, as screen readers need to follow the focus."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_session import check, children, describe, find, find_named, has_state, run  # noqa: E402
from keyboard_flow import MAIN_TITLE, fake_browser  # noqa: E402

# Objects that carry no meaning of their own: a layout filler, a line, and the contents of a cell or a
# list row, which may be empty (an empty 備考 cell). A text box's viewport is a filler of the text.
CONTENT_ROLES = {"filler", "table cell", "list item", "table row header", "separator"}


def unnamed_in(window):
    """The showing objects of the window that have no name, with their path."""
    found = []

    def visit(acc, path, parent_role=""):
        if not has_state(acc, "showing"):
            return
        role = acc.get_role_name()
        here = path + [describe(acc)]
        # The toolkit reports the corner where the row and column headings meet even when the row
        # headings are hidden and nothing is drawn there.
        corner = parent_role == "table" and role == "panel" and acc.get_child_count() == 0
        if not acc.get_name() and role not in CONTENT_ROLES and not corner:
            found.append(" > ".join(here))
        if role in ("table", "tree table") and not children(acc):
            # A grid too large to walk: its headings through the table.
            t = acc.get_table_iface()
            for c in range(t.get_n_columns()):
                h = t.get_column_header(c)
                if h is None or not h.get_name():
                    found.append(" > ".join(here) + f" > column {c} has no heading")
            return
        for c in children(acc):
            visit(c, here, role)

    visit(window, [])
    return found


def check_window(s, label, seen):
    win = s.active_window()
    check(win is not None, f"{label}: no window of the program is active")
    check(win.get_role_name() in ("frame", "dialog", "alert"),
          f"{label}: the window reaches the bus as {describe(win)}, not as a window")
    problems = unnamed_in(win)
    check(not problems, f"{label}: controls without a name:\n  " + "\n  ".join(problems))
    # No frame inside the window that a screen reader would take for the window.
    inner = find(win, lambda a: a is not win and a.get_role_name() in ("frame", "dialog", "window"))
    check(inner is None, f"{label}: {describe(inner)} inside the window looks like a window")
    seen.append(label)


def browser_selection(s, seen):
    """The first start knows no browser: the browser selection window comes over the main menu with
    the keyboard, and its options react to a screen reader's toggle."""
    s.write_settings(["[Control]", "inet_data1=0"])
    s.start_program()
    s.wait_for(lambda: s.active_window() is not None and find(
        s.active_window(), lambda a: a.get_name() == "ブラウザの選択") is not None,
        "the browser selection window is not the active window at the first start")
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() == "radio button",
               f"the browser selection window does not have the keyboard ({describe(s.focus())})")
    check_window(s, "browser selection", seen)
    win = s.active_window()
    start = find_named(win, "検索開始", "push button")
    check(not has_state(start, "enabled"), "検索開始 is enabled before a browser is chosen")
    option = find_named(win, "Netscape Navigator", "radio button")
    action = option.get_action_iface()
    names = [action.get_action_name(i) for i in range(action.get_n_actions())]
    check("toggle" in [n.lower() for n in names], f"the option offers no toggle action: {names}")
    action.do_action([n.lower() for n in names].index("toggle"))
    s.wait_for(lambda: has_state(start, "enabled"),
               "a screen reader's toggle of Netscape Navigator does not enable 検索開始")
    s.key("Escape")
    s.wait_focus("ホテル検索＆予約", "push button", "Esc in the browser selection does not go back to the main menu")
    s.end_program()


def names(s):
    seen = []
    browser_selection(s, seen)
    s.write_settings(["[Control]", "inet_data1=1", f"inet_data2={fake_browser(s)}", "[Text1]", "東京"])
    s.start_program()
    check_window(s, "main menu", seen)

    def open_from_menu(button, label, closes=1):
        s.tab_to(button, "push button")
        s.key("Return", 1.0)
        s.wait_for(lambda: s.active_window() is not None and s.focus() is not None,
                   f"{button} opens no window with the focus")
        check_window(s, label, seen)

    # The search window, its picker, the results, the detail, the narrowing.
    open_from_menu("ホテル検索＆予約", "search")
    s.key("F4", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() in ("list", "list item"),
               "F4 opens no picker")
    check_window(s, "picker", seen)
    s.key("Escape", 1.0)
    s.wait_focus("ホテル検索条件", "text", "Esc in the picker does not go back to the search window")
    s.tab_to("検索開始", "push button")
    s.key("Return", 1.5)
    s.wait_for(lambda: find(s.active_window(), lambda a: a.get_role_name() == "table") is not None,
               "検索開始 opens no results")
    check_window(s, "results", seen)
    s.tab_to("地区の絞り込み", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() in ("list", "list item"),
               "地区の絞り込み opens no narrowing window")
    check_window(s, "narrowing", seen)
    s.tab_to("ｷｬﾝｾﾙ", "push button")
    s.key("Return", 1.5)
    s.wait_for(lambda: find(s.active_window(), lambda a: a.get_role_name() == "table") is not None,
               "ｷｬﾝｾﾙ in the narrowing does not bring the results back")
    s.tab_to_grid()
    s.key("Return", 1.0)
    s.wait_for(lambda: find(s.active_window(), lambda a: a.get_name() == "ホテル情報"
                            and a.get_role_name() == "panel") is not None,
               "Enter on a row opens no detail window")
    check_window(s, "detail", seen)
    s.tab_to("ホテル予約", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.active_window() is not None and s.active_window().get_name() == "注意メッセージ",
               "ホテル予約 shows no caution")
    check_window(s, "caution message", seen)
    s.key("Escape", 1.0)
    for _ in range(4):  # detail, results, search
        if s.active_window() is not None and s.active_window().get_name().endswith("ヘルプ：Ｆ１"):
            break
        s.key("Escape", 1.0)

    # The region window; the tools menu, the settings and About; the maintenance list and edit.
    s.wait_focus("ホテル検索＆予約", "push button", "Esc does not lead back to the main menu")
    open_from_menu("地域指定で予約", "region")
    s.key("Escape", 1.0)
    open_from_menu("保　　守", "tools menu")
    s.tab_to("動作環境の登録", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.active_window().get_name() != "", "no settings window")
    check_window(s, "settings", seen)
    s.key("Escape", 1.0)
    s.wait_focus("動作環境の登録", "push button", "Esc in the settings window does not close it")
    s.tab_to("システム情報", "push button")
    s.key("Return", 1.0)
    s.wait_focus("OK", "push button", "システム情報 opens no About window")
    check_window(s, "About", seen)
    s.key("Escape", 1.0)
    s.key("Escape", 1.0)
    s.wait_for(lambda: s.active_window() is not None and s.active_window().get_name() == MAIN_TITLE
               and s.focus() is not None, "Esc does not lead back from the tools to the main menu")
    open_from_menu("ホテル登録保守", "maintenance list")
    s.tab_to("追加", "push button")
    s.key("Return", 1.0)
    s.wait_focus("都道府県名", "text", "追加 opens no edit window at its first box")
    check_window(s, "hotel edit", seen)
    s.tab_to("都道府県名の一覧", "push button")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() in ("list", "list item"),
               "都道府県名の一覧 in the edit window opens no picker")
    check_window(s, "picker of the edit window", seen)
    print("windows read:", ", ".join(seen))


if __name__ == "__main__":
    sys.exit(run(names))
