"""End-to-end cases of a dovaD.BTN changed while keyvane.exe runs: a save is read again and
shows on the panels, a broken save keeps the buttons in use, the notification menu reloads
by hand, a balloon from the notification icon names the file's first problem, and a file saved
in UTF-8 or UTF-16, as today's editors save it, shows what the same file in code page 932 shows.
"""
import os

from harness import BELOW_BALLOON, BUILD, HEADING, LEFT, RIGHT, check, choose_from_tray_menu, down, up, wait_until
from shared import check_answering

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
    choose_from_tray_menu(s, "Reload")
    s.wait_captions(RIGHT, ["Z"], timeout=3)
    s.press(RIGHT, 0, [down("5A"), up("5A")])
    check(reading_sections(s) == 2, f"{reading_sections(s)} reading sections in the trace")

    choose_from_tray_menu(s, "About")
    wait_until("the About box", lambda: s.visible("About Keyvane"))
    text = " ".join(child["title"] for child in s.parse_windows(s.probe("children", "About Keyvane")))
    check("1 map, 1 problem" in text, f"the About box does not count the problem: {text!r}")
    s.probe("close", "About Keyvane")
    wait_until("the About box to close", lambda: not s.visible("About Keyvane"))
    check_answering(s, keyvane)


# Kana and kanji captions and an emoji, which code page 932 lacks, as Notepad saves them: UTF-8, no mark.
UNICODE_MAIN = "#MAIN\r\n再 KEY A\r\nかな KEY B\r\n漢字 KEY C\r\nx😀 KEY D\r\n"
UNICODE_CAPTIONS = (["再", "漢字"], ["かな", "X〓"])
EMOJI_PROBLEM = ("dovaD.BTN: 1 problem. Line 5: a character that code page 932 lacks (U+1F600): the keyboard reads "
                 "〓 in its place")


def case_unicode_saves_show_what_code_page_932_shows(s):
    s.start_target()
    keyvane = s.start_keyvane(BELOW_BALLOON)
    s.wait_attached()
    s.wait_captions(LEFT, UNICODE_CAPTIONS[0])
    s.wait_captions(RIGHT, UNICODE_CAPTIONS[1])
    wait_balloon(s, EMOJI_PROBLEM)
    s.press(RIGHT, 0, [down(42), up(42)])
    check("\r\n#MAIN\r\n取得マップ名=MAIN\r\n" in s.trace_text(), "the trace does not show the header as read")

    # Each save shows other captions first, so that the next one is seen to be read.
    saves = [("\ufeff" + UNICODE_MAIN.replace("再", "戻"), "utf-16-le", (["戻", "漢字"], UNICODE_CAPTIONS[1])),
             ("\ufeff" + UNICODE_MAIN, "utf-8", UNICODE_CAPTIONS),
             (UNICODE_MAIN.replace("再", "戻").replace("😀", "〓"), "cp932", (["戻", "漢字"], UNICODE_CAPTIONS[1]))]
    for text, encoding, (left, right) in saves:
        save(s, text.encode(encoding))
        s.wait_captions(LEFT, left)
        s.wait_captions(RIGHT, right)
    s.press(RIGHT, 1, [down(44), up(44)])
    check(reading_sections(s) == 4, f"{reading_sections(s)} reading sections in the trace")
    check_answering(s, keyvane)
    s.check_focus_kept()


CASES = [
    ("live dovaD.BTN: a save shows, a broken save keeps the buttons", case_saved_file_shows_within_two_seconds,
     A_B, BUILD),
    ("live dovaD.BTN: menu reload, problem balloon", case_menu_reload_and_problem_balloon,
     b"#MAIN\r\nA KEY A\r\nB KEY B\r\nX KYE A\r\n", BUILD),
    ("live dovaD.BTN: UTF-8 and UTF-16 files show what code page 932 shows",
     case_unicode_saves_show_what_code_page_932_shows, UNICODE_MAIN.encode("utf-8"), BUILD),
]
