"""End-to-end cases of the command words that act beyond keys and pages: KEYWAIT's hold time,
KEYTOG's held keys, MENUPOP's menu, EXEC's programs."""

import os
import re
import time

from harness import BUILD, LEFT, RIGHT, check, choose_from_tray_menu, cp932_file, down, up, wait_until, xdotool


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


def parked_point(s, title, row):
    """Where Keyvane parks the cursor after a press of the button: 10 pixels inside its lower right corner."""
    x, y, _, _ = s.window(title)["rect"]
    return x + 47, y + 40 * row + 31


KEYTOG_FILE = cp932_file("#MAIN\nSH KEYTOG SHIFT\nB KEY B\nA KEY A\n")


def case_keytog_shift_types_a_capital(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    # Tapped where Keyvane parks the cursor after each press, so that parking does not move it.
    # Under Wine, a SetCursorPos that moves the pointer makes the X server send the panel an
    # EnterNotify and a KeymapNotify, and Wine's X11 driver then takes the key state from the X
    # server, which never saw the Shift that SendInput sent: Shift would be up again for A.
    # Windows keeps the key state across SetCursorPos.
    s.press(LEFT, 0, [down(10)], at=parked_point)
    s.press(LEFT, 1, [down(41), up(41)], at=parked_point)
    s.press(LEFT, 0, [up(10)], at=parked_point)
    chars = [line for line in s.target_log().splitlines() if line.startswith("CHAR ")]
    check(chars == ["CHAR 41"], f"KEYTOG SHIFT, KEY A typed {chars}, not a capital A")
    s.check_focus_kept()


def case_keytog_released_when_hidden_and_ended(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(10)])
    # A second start hides the panels, and the first copy then ends: Shift must come up first.
    s.start("keyvane.exe")
    wait_until("Shift up at the target", lambda: up(10) in s.key_events(), timeout=10)
    wait_until("the first copy to end", lambda: first.poll() is not None, timeout=10)
    check(s.key_events()[-1] == up(10), f"key events {s.key_events()}")


def case_keytog_released_at_quit(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(10)])
    choose_from_tray_menu(s, "Quit")
    wait_until("the program to end", lambda: first.poll() is not None, timeout=5)
    wait_until("Shift up at the target", lambda: up(10) in s.key_events(), timeout=5)


MENUPOP_FILE = cp932_file("#MAIN\nA KEY A\nB KEY B\nC KEY C\nMENUPOP\n")


def open_menu(s):
    return next((w for w in s.windows() if w["class"] == "#32768" and w["visible"]), None)


def case_menupop_opens_the_menu_and_gives_the_target_back(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 1)  # MENUPOP
    menu = wait_until("the notification menu", lambda: open_menu(s))
    right_panel = s.window(RIGHT)["rect"]
    x, _, w, _ = menu["rect"]
    check(abs(x + w - right_panel[0]) <= 4, f"menu {menu['rect']} is not beside the right panel {right_panel}")
    xdotool("key", "Escape")
    wait_until("the menu to close", lambda: open_menu(s) is None)
    s.press(LEFT, 0, [down(41), up(41)])
    chars = [line for line in s.target_log().splitlines() if line.startswith("CHAR ")]
    check(chars == ["CHAR 61"], f"characters {chars}")


MINIMAM_FILE = cp932_file("#MAIN\nSH KEYTOG SHIFT\nA KEY A\nB KEY B\nMINIMAM\n")  # MINIMAM: right, row 1


def tab_window(s):
    """MINIMAM's tab, while it is shown."""
    return next((w for w in s.windows() if w["class"] == "TKBT" and w["visible"]), None)


def case_minimam_shrinks_the_panels_and_a_tap_brings_them_back(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(10)])  # SH: Shift stays down while the panels are small
    right_x, right_y, _, _ = s.window(RIGHT)["rect"]
    panel_area = sum(w * h for _, _, w, h in (s.window(LEFT)["rect"], s.window(RIGHT)["rect"]))
    s.click(RIGHT, 1)  # MINIMAM
    tab = wait_until("the tab", lambda: tab_window(s))
    wait_until("both panels hidden", lambda: not s.visible(LEFT) and not s.visible(RIGHT))
    x, y, w, h = tab["rect"]
    # In the MINIMAM button's place: at the panel's edge, under the thumb that pressed it.
    check((x, y, w, h) == (right_x, right_y + 40, 57, 41), f"tab at {tab['rect']}, right panel at {right_x},{right_y}")
    check(tab["topmost"] and w * h * 5 <= panel_area, f"tab {tab}")
    # Well past the ticks that would end Keyvane with both panels hidden.
    time.sleep(1)
    check(keyvane.poll() is None, "Keyvane ended while its panels were small")
    xdotool("mousemove", x + w // 2, y + h // 2)
    xdotool("click", 1)
    wait_until("both panels back", lambda: s.visible(LEFT) and s.visible(RIGHT))
    wait_until("the tab gone", lambda: tab_window(s) is None)
    check(s.key_events() == [down(10)], f"key events {s.key_events()}")  # Shift is still down
    s.press(LEFT, 1, [down(42), up(42)])  # B, as the panels were before
    s.press(LEFT, 0, [up(10)])
    # A second start brings small panels back too, and this copy keeps running.
    s.click(RIGHT, 1)
    wait_until("the tab again", lambda: tab_window(s))
    second = s.start("keyvane.exe")
    wait_until("both panels back after a second start", lambda: s.visible(LEFT) and s.visible(RIGHT), timeout=15)
    wait_until("the second copy to end", lambda: second.poll() is not None, timeout=10)
    wait_until("the tab gone after a second start", lambda: tab_window(s) is None)
    time.sleep(0.5)
    check(keyvane.poll() is None, "Keyvane ended")
    s.check_focus_kept()


# The target stands in for a program: the log it writes is named by its argument, in small letters.
EXEC_FILE = cp932_file("#MAIN\nA KEY A\nRUN EXEC keyvane-e2e-target.exe Started-by-exec.log\n"
                       "GONE EXEC no-such\\program.exe -x\n")


def case_exec_starts_a_program_with_its_argument_as_written(s):
    s.start_keyvane()
    s.click(RIGHT, 0)  # RUN
    log = s.dir / "Started-by-exec.log"
    # Wine keeps a new file's name as the program gave it, so the exact name proves the case kept.
    wait_until("the started target's log", lambda: "Started-by-exec.log" in os.listdir(s.dir), timeout=15)
    wait_until("the started target in front", lambda: "FOREGROUND Keyvane Target" in log.read_text("utf-8", "replace"),
               timeout=10)


def case_exec_of_a_missing_program_leaves_keyvane_running(s):
    keyvane = s.start_keyvane()
    s.click(LEFT, 1)  # GONE; its balloon then covers the left panel's first buttons
    wait_until("the trace line", lambda: "EXEC could not start no-such\\program.exe: " in s.trace_text(), timeout=10)
    check(keyvane.poll() is None and s.visible(LEFT) and s.visible(RIGHT), "Keyvane did not keep running")
    check(not any(w["class"] == "#32770" and w["visible"] for w in s.windows()), "a message box opened")


CASES = [
    ("EXEC starts a program with its argument as written", case_exec_starts_a_program_with_its_argument_as_written,
     EXEC_FILE, BUILD),
    ("EXEC of a missing program leaves Keyvane running", case_exec_of_a_missing_program_leaves_keyvane_running,
     EXEC_FILE, BUILD),
    ("MENUPOP opens the menu, the next tap reaches the target",
     case_menupop_opens_the_menu_and_gives_the_target_back, MENUPOP_FILE, BUILD),
    ("MINIMAM shrinks the panels, and a tap brings them back",
     case_minimam_shrinks_the_panels_and_a_tap_brings_them_back, MINIMAM_FILE, BUILD),
    ("KEYTOG SHIFT, KEY A, KEYTOG SHIFT", case_keytog_shift_types_a_capital, KEYTOG_FILE, BUILD),
    ("KEYTOG released when the panels hide and Keyvane ends", case_keytog_released_when_hidden_and_ended,
     KEYTOG_FILE, BUILD),
    ("KEYTOG released at Quit", case_keytog_released_at_quit, KEYTOG_FILE, BUILD),
    ("KEYWAIT holds keys without blocking", case_keywait_holds_keys, KEYWAIT_FILE, BUILD),
]
