"""End-to-end cases of buttons that repeat their keys while held (the KEY_REPEAT table)."""

import time

from harness import BUILD, LEFT, RIGHT, check, cp932_file, down, up, wait_until, xdotool

REPEAT_FILE = cp932_file("#MAIN\nBS KEY BS\nA KEY A\n#NEXT\nN KEY N\n#RIGHT_BTN_PAGE\nMAIN JP NEXT\n"
                         "#KEY_REPEAT\nBS\n")
HOLD_SECONDS = 1.5
BACKSPACE = "8"  # as the target logs it


def hold_left_button(s, title, row, while_held=lambda: None):
    """Holds the left button on a panel button for HOLD_SECONDS; `while_held` runs just after it goes down."""
    x, y = s.button_point(title, row)
    xdotool("mousemove", x, y)
    xdotool("mousedown", 1)
    # From the down's delivery: the command's own start may take a while on a loaded machine.
    start = time.monotonic()
    try:
        while_held()
        time.sleep(max(0.0, HOLD_SECONDS - (time.monotonic() - start)))
    finally:
        xdotool("mouseup", 1)


def case_held_repeating_button_repeats(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    # The chord goes out as the button goes down, not at its release.
    hold_left_button(s, LEFT, 0, lambda: wait_until("Backspace down while held",
                                                    lambda: down(BACKSPACE) in s.key_events(), timeout=1.0))
    wait_until("Backspace up after the release", lambda: up(BACKSPACE) in s.key_events(), timeout=5)
    time.sleep(0.3)  # nothing may follow the up
    events = s.key_events()
    downs = events.count(down(BACKSPACE))
    print(f"     BS held {HOLD_SECONDS} s: {downs} downs", flush=True)
    # The count follows the hold as Keyvane sees it, late call backs catching up: 1 + 31 for 1.5 s.
    check(25 <= downs <= 40, f"{downs} Backspace downs in a hold of {HOLD_SECONDS} s")
    check(events.count(up(BACKSPACE)) == 1 and events[-1] == up(BACKSPACE), f"the ups: {events[-3:]}")
    check(set(events) == {down(BACKSPACE), up(BACKSPACE)}, f"other keys: {set(events)}")
    s.check_focus_kept()


def case_held_plain_button_presses_once_on_release(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    seen_while_held = []
    hold_left_button(s, RIGHT, 0, lambda: (time.sleep(1.0), seen_while_held.extend(s.key_events())))
    check(seen_while_held == [], f"keys before the release: {seen_while_held}")
    wait_until("A after the release", lambda: len(s.key_events()) >= 2, timeout=5)
    time.sleep(0.3)
    check(s.key_events() == [down(41), up(41)], f"a held A sent {s.key_events()}")


def case_right_click_on_repeating_button_turns_the_page(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(LEFT, 0, button=3)
    s.wait_captions(LEFT, ["N"])
    time.sleep(0.3)
    check(s.key_events() == [], f"a right click sent {s.key_events()}")


CASES = [
    ("KEY_REPEAT button held repeats its key", case_held_repeating_button_repeats, REPEAT_FILE, BUILD),
    ("KEY_REPEAT file plain button held presses once on release", case_held_plain_button_presses_once_on_release,
     REPEAT_FILE, BUILD),
    ("KEY_REPEAT button right click turns the page", case_right_click_on_repeating_button_turns_the_page,
     REPEAT_FILE, BUILD),
]
