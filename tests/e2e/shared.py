"""What several case modules share beyond the harness: the facts of the example button file
(tests/e2e/fixtures), the checks that Keyvane still answers and holds no key down, and the case
of a file that gives blank buttons.
"""
import time

from harness import BELOW_BALLOON, HEADING, LEFT, RIGHT, check

# The example file's map headers in file order, and the captions of its pages' buttons.
FIXTURE_HEADERS = ["MAIN", "NUM", "J_KANA", "RIGHT_BTN_PAGE", "SLIDE_CMD"]
MAIN_LEFT = ["A", "NUM", "SPC", "BS", "copy", "", "100%"]
MAIN_RIGHT = ["SHIFT+B", "かな", "ENTER", "REKEY", "EXEC", "z", "Tab"]
NUM_LEFT = ["1", "MAIN", "SPC"]
NUM_RIGHT = ["2", "かな"]
KANA_LEFT = ["あ", "NUM"]
KANA_RIGHT = ["戻る", "かな"]


def check_answering(s, keyvane):
    check(keyvane.poll() is None, f"keyvane.exe ended with {keyvane.poll()}")
    for title in (LEFT, RIGHT):
        answer = s.probe("ping", title).strip()
        check(answer == "answered", f"{title} does not answer: {answer!r}")
        check(s.visible(title), f"{title} is not shown")
    dialogs = [w for w in s.windows() if w["visible"] and w["class"] == "#32770"]
    check(not dialogs, f"an error box: {dialogs}")


def check_no_key_held(s):
    held = s.probe("keys-down").strip()
    check(held == "", f"keys still held down: {held}")


def blank_buttons_case(s):
    s.start_target()
    s.start_keyvane(BELOW_BALLOON)
    s.wait_attached()
    check(s.captions(LEFT) == [""] * 7 and s.captions(RIGHT) == [""] * 7,
          f"captions {s.captions(LEFT)} {s.captions(RIGHT)}")
    s.click(LEFT, 0)
    s.click(RIGHT, 6)
    time.sleep(0.4)
    check(s.key_events() == [], f"a blank button sent {s.key_events()}")
    dialogs = [w for w in s.windows() if w["visible"] and w["class"] == "#32770"]
    check(not dialogs, f"an error box: {dialogs}")
    check(s.trace_text().startswith(HEADING), "the trace lacks its heading")
    s.check_focus_kept()
