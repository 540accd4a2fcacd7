"""End-to-end cases of faults a user on real Windows would meet: mouse-button keys clicking on
the button that sent them, scan codes and extended keys, and the buttons' own click route when
the mouse hook is gone.
"""
import time

from run_e2e import (BUILD, LEFT, PRESS, RIGHT, check, cp932_file, down, fixture, up, wait_until, xdotool)
from bad_conditions import check_answering, check_no_key_held

MOUSE_LINE = "マウスでした"


def case_mouse_button_key_clicks_once(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    s.click(LEFT, 0)  # LB KEY MOUSELEFTBTN: the click lands on this very button
    wait_until("the press in the trace", lambda: s.trace_text().count(PRESS) >= 1)
    time.sleep(1.0)  # long enough for a runaway to show: it pressed about 60 times a second
    check(s.trace_text().count(PRESS) == 1, f"{s.trace_text().count(PRESS)} presses from one touch")
    check(s.trace_text().count(MOUSE_LINE) == 2, "the click was not sent")
    s.press(RIGHT, 0, [down(41), up(41)])  # and the panels still work
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


def scan_lines(s):
    return [line for line in s.target_log().splitlines() if line.startswith("SCAN ")]


def case_keys_carry_scan_codes(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 1, [down(41), up(41)])
    s.press(RIGHT, 1, [down(25), up(25)])
    s.press(LEFT, 2, [down("2E"), up("2E")])
    s.press(RIGHT, 2, [down(24), up(24)])
    check(scan_lines(s) == ["SCAN 41 1E", "SCAN 25 4B E", "SCAN 2E 53 E", "SCAN 24 47 E"], f"{scan_lines(s)}")


def case_without_hook_buttons_press_and_keep_focus(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    # A log-off that is called off: the left panel agreed to it and removed the mouse hook.
    check(s.probe("end-session", LEFT).strip() == "yes", "the left panel did not agree to end the session")
    s.press(LEFT, 0, [down(41), up(41)])
    x, y = s.button_point(RIGHT, 0)
    xdotool("mousemove", x, y)
    xdotool("click", "--repeat", 2, "--delay", 80, 1)  # a double tap presses twice
    expected = [down(41), up(41)] + [down(10), down(42), up(42), up(10)] * 2
    wait_until("both presses of the double tap", lambda: len(s.key_events()) >= len(expected))
    time.sleep(0.3)
    check(s.key_events() == expected, f"keys {s.key_events()}")
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


KEYS = cp932_file("#MAIN\nLB KEY MOUSELEFTBTN\nA KEY A\nA KEY A\nLEFT KEY LEFT\nDEL KEY DEL\nHOME KEY HOME\n")

CASES = [
    ("real Windows: a mouse-button key clicks once", case_mouse_button_key_clicks_once, KEYS, BUILD),
    ("real Windows: keys carry scan codes and the extended mark", case_keys_carry_scan_codes, KEYS, BUILD),
    ("real Windows: without the hook, buttons press and keep the focus",
     case_without_hook_buttons_press_and_keep_focus, fixture("panels.btn"), BUILD),
]
