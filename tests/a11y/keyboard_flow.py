"""The typical use with the keyboard alone, read back through the accessibility bus: a search, a pick in
the picker, the results, a re-ordering, the detail, a link, the narrowing and back to the main menu."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_session import Failure, check, describe, find, find_named, has_state, run, text_of  # noqa: E402

MAIN_TITLE = "トマリナホテル情報＆予約" + "\u3000" * 15 + "ヘルプ：Ｆ１"


def fake_browser(s):
    """A browser that writes down the address it was given."""
    path = os.path.join(s.work, "browser")
    s.opened = os.path.join(s.work, "opened.txt")
    with open(path, "w") as f:
        f.write(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{s.opened}"\n')
    os.chmod(path, 0o755)
    return path


def start(s):
    s.write_settings(["[Control]", "inet_data1=1", f"inet_data2={fake_browser(s)}", "sv_pop=1",
                      "[Text1]", "福岡"])
    s.start_program()
    s.wait_focus("ホテル検索＆予約", "push button", "the main menu does not start with the focus on its first button")


def heading_names(table):
    t = table.get_table_iface()
    return [t.get_column_header(c).get_name() for c in range(t.get_n_columns())]


def results_table(s):
    win = s.active_window()
    check(win is not None, "no window is active after the search")
    return find(win, lambda a: a.get_role_name() == "table")


def refused_entry(s, call):
    """A wrong entry in the search window is refused, and the refusal reaches the bus where the focus is."""
    s.type_text("x")
    s.key("Return")
    f = s.focus()
    check(f is not None and f.get_role_name() == "text",
          f"after a refused entry the focus is on {describe(f)}, not on the entry box")
    check(f.get_name() == "ホテル検索条件" and f.get_description().startswith("検索条件の入力エラーです"),
          f"the refused entry box is 「{f.get_name()}」 「{f.get_description()}」, not named as before and"
          " described by the refusal")
    call(f)


def flow(s, on_step=lambda name: None):
    start(s)
    s.key("Return")
    box = s.wait_focus("ホテル検索条件", "text", "ホテル検索＆予約 does not open the search window at its entry box")
    check(text_of(box) == "福岡", f"the entry box holds 「{text_of(box)}」, not the last prefecture 「福岡」")
    on_step("search window")

    # The refusal of a wrong entry, then the picker puts a right one in.
    refused_entry(s, lambda f: on_step("refusal"))
    s.key("F4")
    # The focus on the list's current row, not on the list alone, where a screen reader says only
    # how many rows it has.
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() == "list item",
               f"F4 in the entry box does not open the picker with the focus on a row ({describe(s.focus())})")
    for _ in range(60):
        if s.focus().get_name().startswith("東京"):
            break
        s.key("Down", 0.15)
    check(s.focus().get_name().startswith("東京"), "the picker's list has no 東京")
    on_step("picker")
    s.key("Return")
    s.wait_focus("検索開始", "push button", "a pick does not go back to the search window's 検索開始")
    group = find_named(s.active_window(), "ホテル検索条件", "panel")
    box = find(group, lambda a: a.get_role_name() == "text")
    check(box is not None and text_of(box) == "東京", "the pick did not write 東京 into the entry box")

    # The results: the buttons by Tab, the grid one stop, arrows inside it, Ctrl+Enter re-orders.
    s.key("Return", 1.0)
    s.wait_for(lambda: s.active_window() is not None and results_table(s) is not None,
               "検索開始 does not open the results window")
    table = results_table(s)
    check(table.get_name().startswith("都道府県別検索：東京 地区"),
          f"the results grid is named 「{table.get_name()}」, not by its heading")
    on_step("results")
    # One round of Tab from the heading button: every control once, the grid as one stop.
    first = describe(s.focus())
    stops = []
    for _ in range(12):
        s.key("Tab")
        stops.append(describe(s.focus()))
        if stops[-1] == first:
            break
    check(stops[-1] == first, f"Tab does not come round the window's controls: {stops}")
    grid_stops = [x for x in stops if x.startswith("[table")]
    check(len(grid_stops) == 1, f"the grid is not one Tab stop: {stops}")
    check("[push button | 終了]" in stops, f"Tab does not reach 終了: {stops}")
    s.tab_to_grid()
    s.key("Right")
    s.key("Down")
    s.key("Down")
    cell = s.focus()
    check(cell is not None and cell.get_role_name() == "table cell",
          f"the arrows do not move inside the grid (focus on {describe(cell)})")
    s.key("Up")
    s.key("Up")
    s.key("Control+Return", 1.0)
    s.wait_for(lambda: heading_names(results_table(s))[1] == "▼ ホテル名",
               f"Ctrl+Enter on the ホテル名 column does not re-order by it: {heading_names(results_table(s))}")
    on_step("re-order")

    # A row: Enter acts as a click and opens the detail window; Esc there goes back to the grid, where
    # Down moves on to the next hotel, until one with an information page.
    for attempt in range(12):
        s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() in ("table cell", "table"),
                   f"the focus is not in the grid ({describe(s.focus())})")
        s.key("Return", 1.0)
        s.wait_for(lambda: s.active_window() is not None
                   and find_named(s.active_window(), "ホテル情報", "panel") is not None,
                   "Enter on a row does not open the detail window")
        detail = s.active_window()
        address = find(detail, lambda a: a.get_role_name() == "text" and a.get_name().startswith("住所"))
        check(address is not None, "the detail window has no address box")
        info = find_named(detail, "ホテル情報", "push button")
        if info is not None and has_state(info, "enabled"):
            break
        s.key("Escape", 1.0)
        s.key("Down")
    else:
        raise Failure("none of the first hotels has an information page")
    on_step("detail")
    check(text_of(address), "the detail window shows no address")
    s.tab_to("ホテル情報", "push button")
    s.key("Return", 1.0)
    # The caution before the page: its OK by Enter.
    s.wait_for(lambda: s.active_window() is not None and s.active_window().get_name() == "注意メッセージ",
               "ホテル情報 shows no caution message")
    on_step("caution")
    s.key("Return", 1.0)
    s.wait_for(lambda: os.path.exists(s.opened) and open(s.opened).read().startswith("http"),
               "the browser was not started with the hotel's page")

    # Back to the results with Esc, then the narrowing and back.
    s.wait_for(lambda: s.active_window() is not None and s.active_window().get_name() != "注意メッセージ",
               "the caution message stays")
    if find_named(s.active_window(), "ホテル情報", "panel") is not None:
        s.key("Escape", 1.0)
    s.wait_for(lambda: results_table(s) is not None, "Esc in the detail window does not go back to the results")
    cell = s.tab_to_grid()
    s.tab_to("地区の絞り込み", "push button")
    check(not has_state(cell, "focused"), f"{describe(cell)} stays focused after the focus left the grid")
    s.key("Return", 1.0)
    s.wait_for(lambda: s.focus() is not None and s.focus().get_role_name() == "list item",
               f"地区の絞り込み does not open the narrowing window at a row of its list ({describe(s.focus())})")
    on_step("narrowing")
    s.key("space")
    s.tab_to("選択>", "push button")
    s.key("Return")
    s.tab_to("了解", "push button")
    s.key("Return", 1.5)
    s.wait_for(lambda: results_table(s) is not None and "件)" in results_table(s).get_name(),
               "了解 does not show the narrowed results")
    table = results_table(s)
    check(table.get_table_iface().get_n_rows() < 244, f"the narrowing did not narrow: {table.get_table_iface().get_n_rows()} rows")
    on_step("narrowed")
    s.key("Escape", 1.0)
    s.wait_focus("検索開始", None, "Esc in the results does not go back to the search window")
    s.key("Escape", 1.0)
    s.wait_for(lambda: s.active_window() is not None and s.active_window().get_name() == MAIN_TITLE,
               "Esc in the search window does not go back to the main menu")
    s.wait_for(lambda: s.focus() is not None, "the main menu has no focus after the windows closed")
    on_step("main menu")


if __name__ == "__main__":
    sys.exit(run(flow))
