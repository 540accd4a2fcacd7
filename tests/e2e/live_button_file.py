"""End-to-end cases of a dovaD.BTN changed while keyvane.exe runs: a save is read again and
shows on the panels, a broken save keeps the buttons in use, the notification menu reloads
by hand, and a balloon from the notification icon names the file's first problem.
"""
import os

from run_e2e import (BUILD, HEADING, LEFT, RIGHT, TRAY_ICON, check, choose_from_tray_menu, down, up, wait_until,
                     xdotool)
from bad_conditions import check_answering

A_B = b"#MAIN\r\nA KEY A\r\nB KEY B\r\n"
X_Y = b"#MAIN\r\nX KEY X\r\nY KEY Y\r\n"
GARBAGE = b"\x00\x01\xff\xfe not a button file\r\n" * 20
KYE_PROBLEM = ('dovaD.BTN: 1 problem. Line 4: unknown command word "KYE" (expected JP, KEY, REKEY, KEYTOG, '
               'BASE, EXEC); the button is blank and does nothing')
NO_MAP = "dovaD.BTN has no map (a line starting with #): the buttons stay as they were."


def balloon_texts(s):
    """What the visible balloons of Wine's notification area say (tooltip windows answer WM_GETTEXT)."""
    return [w["title"] for w in s.windows() if w["visible"] and w["class"] == "tooltips_class32" and w["title"]]


def wait_balloon(s, text):
    wait_until(f"a balloon saying {text!r}", lambda: text in balloon_texts(s), timeout=5)


def save(s, content):
    (s.dir / "dovaD.BTN").write_bytes(content)


def reading_sections(s):
    return s.trace_text().count(HEADING)


def case_saved_file_shows_within_two_seconds(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(41), up(41)])
    check(balloon_texts(s) == [], f"a balloon for a file without problems: {balloon_texts(s)}")
    first_section = s.trace_bytes()[:s.trace_bytes().index(b"Now=")]

    save(s, X_Y)
    # The promise: within 2 s under Wine; the limit allows for a loaded machine.
    s.wait_captions(LEFT, ["X"], timeout=3)
    s.wait_captions(RIGHT, ["Y"], timeout=1)
    s.press(LEFT, 0, [down(58), up(58)])
    s.press(RIGHT, 0, [down(59), up(59)])

    save(s, GARBAGE)
    wait_until("the broken save to be read", lambda: reading_sections(s) == 3, timeout=3)
    wait_balloon(s, NO_MAP)
    check(s.captions(LEFT)[0] == "X" and s.captions(RIGHT)[0] == "Y",
          f"the buttons changed: {s.captions(LEFT)} {s.captions(RIGHT)}")
    # Wine's notification area is at the top left: its balloon lies over the left panel's first button.
    s.press(RIGHT, 0, [down(59), up(59)])
    check_answering(s, keyvane)
    check(s.trace_bytes().startswith(first_section), "the start-up part of the trace was not kept")
    s.check_focus_kept()


def choose_reload(s):
    """Opens the notification icon's menu and clicks its middle item, 再読み込み."""
    xdotool("mousemove", *TRAY_ICON)
    xdotool("click", 3)
    menu = wait_until("the notification menu",
                      lambda: next((w for w in s.windows() if w["class"] == "#32768" and w["visible"]), None))
    x, y, w, h = menu["rect"]
    xdotool("mousemove", x + w - 12, y + h // 2)
    xdotool("click", 1)


def case_menu_reload_and_problem_balloon(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    wait_balloon(s, KYE_PROBLEM)

    # Same size and write time: only the menu item can tell that the file changed.
    path = s.dir / "dovaD.BTN"
    before = os.stat(path)
    save(s, path.read_bytes().replace(b"B KEY B", b"Z KEY Z"))
    os.utime(path, ns=(before.st_atime_ns, before.st_mtime_ns))
    check(s.captions(RIGHT)[0] == "B", f"captions before the menu: {s.captions(RIGHT)}")
    choose_reload(s)
    s.wait_captions(RIGHT, ["Z"], timeout=3)
    s.press(RIGHT, 0, [down("5A"), up("5A")])
    check(reading_sections(s) == 2, f"{reading_sections(s)} reading sections in the trace")

    choose_from_tray_menu(s, 0)
    wait_until("the About box", lambda: s.visible("About Keyvane"))
    text = " ".join(child["title"] for child in s.parse_windows(s.probe("children", "About Keyvane")))
    check("1 map, 1 problem" in text, f"the About box does not count the problem: {text!r}")
    s.probe("close", "About Keyvane")
    wait_until("the About box to close", lambda: not s.visible("About Keyvane"))
    check_answering(s, keyvane)


CASES = [
    ("live dovaD.BTN: a save shows, a broken save keeps the buttons", case_saved_file_shows_within_two_seconds,
     A_B, BUILD),
    ("live dovaD.BTN: menu reload, problem balloon", case_menu_reload_and_problem_balloon,
     b"#MAIN\r\nA KEY A\r\nB KEY B\r\nX KYE A\r\n", BUILD),
]
