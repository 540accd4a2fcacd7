"""End-to-end cases of the J_ pages: the input method of the application in another process.

The test target stands in for a Japanese input method: its default IME window answers the
open-status and conversion-mode requests and it logs every change of its open status ("IME OPEN",
"IME CLOSED") and every mode set ("IME MODE 19": hiragana, native and full-shape, with the roman
input it starts in). Like Windows' IME window, it handles those requests before any key still
waiting in its input.
"""
import time

from harness import (BUILD, LEFT, RIGHT, TARGET_TITLE, check, cp932_file, down, up, wait_until, xdotool)
from shared import check_answering, check_no_key_held

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


# MAIN: A, KANA (JP J_KANA), NUM (JP NUM), HOME (BASE J_KANA); J_KANA: ENTER, NUM; NUM: 1.
ORDER_PAGES = cp932_file("#MAIN\nA KEY A\nKANA JP J_KANA\nNUM JP NUM\nHOME BASE J_KANA\n"
                         "#J_KANA\nENTER KEY ENTER\nNUM JP NUM\n#NUM\n1 KEY 1\n#SLIDE_CMD\nX KEY X\n")
HIRAGANA = "IME MODE 19"


def keys_and_ime(s, *codes):
    """The target's key and input-method lines in the order it handled them."""
    keys = {f"KEYDOWN {code}" for code in codes} | {f"KEYUP {code}" for code in codes}
    return [line for line in s.target_log().splitlines() if line in keys or line.startswith("IME ")]


def wait_order(s, codes, expected, timeout=3):
    """Waits until the target has handled expected, its keys of codes and its input-method lines,
    in that order and nothing else of them."""
    wait_until(f"the order {expected}", lambda: keys_and_ime(s, *codes) == expected, timeout=timeout,
               seen=lambda: f"order {keys_and_ime(s, *codes)}")


def case_keys_reach_the_target_before_the_input_method_closes(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 0)  # JP J_KANA
    wait_ime(s, ["IME OPEN"])
    s.click(LEFT, 0)  # ENTER on J_KANA, then back to MAIN
    wait_order(s, ["D"], ["IME OPEN", HIRAGANA, down("D"), up("D"), "IME CLOSED"])
    s.check_focus_kept()


def case_keys_reach_the_target_before_the_input_method_opens(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 1)  # BASE J_KANA: the default page is Japanese
    wait_ime(s, ["IME OPEN"])
    s.click(RIGHT, 0)  # JP NUM, a one-shot page
    wait_ime(s, ["IME OPEN", "IME CLOSED"])
    s.click(LEFT, 0)  # KEY 1, then back to J_KANA
    wait_order(s, ["31"], ["IME OPEN", HIRAGANA, "IME CLOSED", down(31), up(31), "IME OPEN", HIRAGANA])
    # The long right hold closes the input method for SLIDE_CMD's X and opens it again after X.
    x, y = s.button_point(LEFT, 0)
    xdotool("mousemove", x, y)
    xdotool("mousedown", 3)
    wait_until("the slide command's X", lambda: s.key_events()[-2:] == [down(58), up(58)], timeout=3)
    xdotool("mouseup", 3)
    wait_ime(s, ["IME OPEN", "IME CLOSED", "IME OPEN", "IME CLOSED", "IME OPEN"])
    after_hold = ["IME CLOSED", down(58), up(58), "IME OPEN", HIRAGANA, HIRAGANA]
    wait_until(f"the order {after_hold} last", lambda: keys_and_ime(s, "58")[-6:] == after_hold, timeout=3,
               seen=lambda: f"order {keys_and_ime(s, '58')}")
    s.check_focus_kept()


def case_burst_on_a_japanese_default(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    s.click(LEFT, 1)  # BASE J_KANA: every press sets the input method again, after its keys
    wait_ime(s, ["IME OPEN"])
    x, y = s.button_point(LEFT, 0)  # あ KEY A
    xdotool("mousemove", x, y)
    started = time.monotonic()
    xdotool("click", "--repeat", 200, "--delay", 0, 1)
    wait_until("400 key events at the target", lambda: len(s.key_events()) >= 400, timeout=30)
    wait_until("the input method set after the last press", lambda: len(keys_and_ime(s, "41")) >= 2 + 3 * 200,
               seen=lambda: f"{len(keys_and_ime(s, '41'))} lines")
    print(f"     all keys of 200 taps at the target after {time.monotonic() - started:.2f} s", flush=True)
    order = keys_and_ime(s, "41")
    check(order[:2] == ["IME OPEN", HIRAGANA], f"order {order[:4]}")
    check(order[2:] == [down(41), up(41), HIRAGANA] * 200, f"{order[2:].count(down(41))} presses, not in order")
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


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
    ("input method: ENTER reaches the target before it closes",
     case_keys_reach_the_target_before_the_input_method_closes, ORDER_PAGES, BUILD),
    ("input method: KEY 1 reaches the target before it opens, also around a long hold",
     case_keys_reach_the_target_before_the_input_method_opens, ORDER_PAGES, BUILD),
    ("input method: 200 taps on a J_ default, each press once and before its input method",
     case_burst_on_a_japanese_default, IME_PAGES, BUILD),
]
