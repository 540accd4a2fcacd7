"""End-to-end cases of the J_ pages: the input method of the application in another process.

The test target stands in for a Japanese input method: its default IME window answers the
open-status requests and it logs every change of its open status ("IME OPEN", "IME CLOSED").
"""
import time

from run_e2e import (BUILD, LEFT, RIGHT, TARGET_TITLE, check, cp932_file, down, up, wait_until)
from bad_conditions import check_answering, check_no_key_held

IME_PAGES = cp932_file("#MAIN\nA KEY A\nKANA JP J_KANA\nHOME BASE J_KANA\nB KEY B\n"
                       "#J_KANA\nあ KEY A\n戻る BASE MAIN\n")


def ime_changes(s, log="target.log"):
    path = s.dir / log
    text = path.read_text("utf-8", "replace") if path.exists() else ""
    return [line for line in text.splitlines() if line in ("IME OPEN", "IME CLOSED")]


def wait_ime(s, expected, log="target.log"):
    wait_until(f"the input method changes {expected}", lambda: ime_changes(s, log) == expected, timeout=3)


def case_pages_open_and_close_the_input_method(s):
    s.start_target()
    check("READY IME CLOSED" in s.target_log(), f"the target's input method: {s.target_log()[:200]!r}")
    s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 0)  # JP J_KANA
    wait_ime(s, ["IME OPEN"])
    s.press(LEFT, 0, [down(41), up(41)])  # KEY on J_KANA, back to MAIN
    wait_ime(s, ["IME OPEN", "IME CLOSED"])
    s.click(LEFT, 1)  # BASE J_KANA: the default page is Japanese now
    wait_ime(s, ["IME OPEN", "IME CLOSED", "IME OPEN"])
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(LEFT, 0, [down(41), up(41)])
    time.sleep(0.3)
    check(ime_changes(s) == ["IME OPEN", "IME CLOSED", "IME OPEN"], f"changes {ime_changes(s)}")
    trace = s.trace_text()
    check("NowMap=J_KANA SW J_\r\nJapan\r\n" in trace and "NowMap=MAIN SW MA\r\nUSA\r\n" in trace,
          "the trace lacks the input-method switches")
    s.check_focus_kept()
    # A new target takes over with the page shown: J_KANA opens its input method too.
    s.start("keyvane-e2e-target.exe", "target2.log")
    wait_ime(s, ["IME OPEN"], "target2.log")
    check(ime_changes(s) == ["IME OPEN", "IME CLOSED", "IME OPEN"], "the first target changed")


def case_target_without_input_method(s):
    s.start("keyvane-e2e-target.exe", "--no-ime", "target.log")
    wait_until("the target window in the foreground",
               lambda: f"FOREGROUND {TARGET_TITLE}" in s.target_log(), timeout=15)
    check("READY NO IME" in s.target_log(), f"the target: {s.target_log()[:200]!r}")
    keyvane = s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 0)  # JP J_KANA
    s.press(LEFT, 0, [down(41), up(41)])
    s.click(LEFT, 1)
    s.press(LEFT, 0, [down(41), up(41)])
    check(ime_changes(s) == [], f"changes {ime_changes(s)}")
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


CASES = [
    ("input method: J_ pages open it, others close it", case_pages_open_and_close_the_input_method, IME_PAGES,
     BUILD),
    ("input method: a target without one", case_target_without_input_method, IME_PAGES, BUILD),
]
