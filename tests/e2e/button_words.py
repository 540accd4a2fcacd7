"""End-to-end cases of the command words that act beyond keys and pages: KEYWAIT's hold time."""

import re

from harness import BUILD, LEFT, RIGHT, check, cp932_file, down, up, wait_until


def key_times(s):
    """(code, "DOWN" or "UP", message time in ms) of every key event the target saw, in order."""
    times = []
    for line in s.target_log().splitlines():
        match = re.match(r"^KEYTIME (\w+) (DOWN|UP) (\d+)$", line)
        if match:
            times.append((match.group(1), match.group(2), int(match.group(3))))
    return times


def held_for(s, code):
    """How long the last press of `code` stayed down at the target, in ms."""
    times = key_times(s)
    last_down = max(i for i, (c, d, _) in enumerate(times) if c == code and d == "DOWN")
    release = next(t for c, d, t in times[last_down:] if c == code and d == "UP")
    return (release - times[last_down][2]) & 0xFFFFFFFF


KEYWAIT_FILE = cp932_file("#MAIN\nA KEY A\nSLOW JP SLOW\nKEYWAIT 40\n#SLOW\nX KEY X\nY KEY Y\nKEYWAIT 1000\n")


def case_keywait_holds_keys(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(41), up(41)])
    held = held_for(s, "41")
    print(f"     KEYWAIT 40: A held {held} ms", flush=True)
    # A timer never fires early; a loaded machine may make it late.
    check(38 <= held <= 300, f"KEYWAIT 40 held A for {held} ms")
    # A page that holds its keys a whole second stays responsive meanwhile: a second press
    # releases the first chord at once.
    s.click(RIGHT, 0)  # SLOW JP SLOW
    s.wait_captions(LEFT, ["X", "KEYWAIT"])
    s.press(LEFT, 0, [down(58)])
    s.press(RIGHT, 0, [up(58), down(59)])
    early = held_for(s, "58")
    check(early < 700, f"X stayed down {early} ms although another button was pressed")
    wait_until("Y up after the second", lambda: up(59) in s.key_events(), timeout=5)
    late = held_for(s, "59")
    print(f"     KEYWAIT 1000: Y held {late} ms", flush=True)
    check(990 <= late <= 1600, f"KEYWAIT 1000 held Y for {late} ms")


CASES = [
    ("KEYWAIT holds keys without blocking", case_keywait_holds_keys, KEYWAIT_FILE, BUILD),
]
