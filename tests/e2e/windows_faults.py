"""End-to-end cases of faults that only show on a real Windows desktop: a program folder whose
code page 932 name holds the backslash byte or a character outside the ANSI code page, a trace
that outgrows its size limit, a running copy whose mutex a second start may not open, a panel
shown again by a second start, a theme whose button face is the panels' transparent colour,
mouse-button keys clicking on the button that sent them, scan codes and extended keys, the
buttons' own click route when the mouse hook is gone, a notification icon that the shell lost,
a menu or drop-down list of another program holding the mouse capture, a session end called
off, a resume from sleep, and a drag from another window released over a panel button.
"""
import re
import shutil
import time

from harness import (ARTIFACTS, BELOW_BALLOON, BUILD, HEADING, IME_LINE, LEFT, PRESS, RIGHT, TARGET_TITLE, TICK_LINE,
                     check, cp932_file, down, fixture, run, screenshot, up, wait_until, xdotool)
from shared import FIXTURE_HEADERS, MAIN_LEFT, MAIN_RIGHT, check_answering, check_no_key_held

MUTEX_NAME = "Keyvane Lanternworks"


# ---------------------------------------------------------------------------------------
# The program's folder
# ---------------------------------------------------------------------------------------

def check_runs_from(s, folder_name, exe_name):
    """Keyvane copied into a subfolder, under another name, finds its button file and writes its trace there."""
    folder = s.dir / folder_name
    folder.mkdir()
    shutil.copy(s.dir / "keyvane.exe", folder / exe_name)
    (folder / "dovaD.BTN").write_bytes(fixture("panels.btn"))
    s.start_target()
    s.start(str(folder / exe_name))
    wait_until("both panels shown", lambda: s.visible(LEFT) and s.visible(RIGHT), timeout=15)
    check(s.captions(LEFT) == MAIN_LEFT, f"left captions {s.captions(LEFT)}")
    check(s.captions(RIGHT) == MAIN_RIGHT, f"right captions {s.captions(RIGHT)}")
    trace = folder / "dovaD.STS"
    wait_until("dovaD.STS next to the program", trace.exists)
    text = trace.read_bytes().decode("cp932")
    check(text.startswith(HEADING + "#MAIN\r\n取得マップ名=MAIN\r\n"), f"the trace starts {text[:100]!r}")
    files = sorted(path.name for path in folder.iterdir())
    check(files == sorted([exe_name, "dovaD.BTN", "dovaD.STS"]), f"files beside the program: {files}")


def case_folder_and_name_with_backslash_bytes(s):
    # 表 is 0x95 0x5C and ソ 0x83 0x5C in code page 932: both end in the backslash byte.
    check_runs_from(s, "表", "ソフト.exe")


def case_folder_outside_the_ansi_code_page(s):
    # Under ja_JP Wine's ANSI code page is 932, which has no é: an ANSI path cannot name this folder.
    check_runs_from(s, "Café", "keyvane.exe")


# ---------------------------------------------------------------------------------------
# A trace that outgrows its size limit
# ---------------------------------------------------------------------------------------

TRACE_LIMIT = 4 * 1024 * 1024
# Lines before the first map are ignored but echoed to the trace at every reading: enough of them
# take the reading's one text past the limit.
FILLER = [f"L{n:04d}" + "X" * 995 for n in range(4300)]
BIG_BUTTON_FILE = cp932_file("\n".join(FILLER) + "\n") + fixture("panels.btn")
READING = (HEADING + "".join(line + "\r\n" for line in FILLER) +
           "".join(f"#{name}\r\n取得マップ名={name}\r\n" for name in FIXTURE_HEADERS)).encode("cp932")


def only_status_lines(data):
    """True when the bytes are whole lines that the tick and the map switch write, nothing else."""
    lines = data.decode("cp932").split("\r\n")
    return lines[-1] == "" and all(TICK_LINE.match(line) or IME_LINE.match(line) for line in lines[:-1])


def case_trace_moves_to_its_older_generation(s):
    older = s.dir / "dovaD.OLD.STS"
    s.start_target()
    s.start_keyvane(BELOW_BALLOON)  # the ignored lines are problems: a balloon tells of them
    s.wait_attached()
    check(s.captions(LEFT) == MAIN_LEFT, f"left captions {s.captions(LEFT)}")
    check(len(READING) >= TRACE_LIMIT, "the reading does not reach the limit")
    # The reading took the trace past the limit: it moved whole, and the ticks began a new file.
    check(older.exists() and older.read_bytes() == READING, "dovaD.OLD.STS is not the reading")
    check(only_status_lines(s.trace_bytes()), f"dovaD.STS starts {s.trace_bytes()[:200]!r}")

    # A save is read again, past the limit again: the new file replaces the older generation.
    (s.dir / "dovaD.BTN").write_bytes(BIG_BUTTON_FILE + b"' saved again\r\n")

    def replaced():
        data = older.read_bytes()
        return None if data.startswith(READING) else data

    data = wait_until("the older generation replaced", replaced, timeout=5)
    check(data.endswith(READING) and only_status_lines(data[:-len(READING)]),
          f"dovaD.OLD.STS is not the ticks and the second reading: {data[:200]!r}")
    wait_until("a new dovaD.STS", lambda: (s.dir / "dovaD.STS").exists(), timeout=2)
    check(only_status_lines(s.trace_bytes()), f"dovaD.STS starts {s.trace_bytes()[:200]!r}")


# ---------------------------------------------------------------------------------------
# A running copy whose mutex may not be opened
# ---------------------------------------------------------------------------------------

def case_second_start_denied_the_mutex(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    # What a copy run as administrator looks like to a normal start: its mutex exists, but no
    # access to it is granted.
    answer = s.probe("deny-mutex", MUTEX_NAME).strip()
    check(answer == "denied", f"the mutex could still be opened: {answer!r}")
    size = len(s.trace_bytes())
    second = s.start("keyvane.exe")
    wait_until("the second copy to end", lambda: second.poll() is not None, timeout=10)
    check(second.returncode == 0, f"the second copy ended with {second.returncode}")
    wait_until("the first copy to end", lambda: first.poll() is not None, timeout=5)
    check(len(s.trace_bytes()) >= size, "the trace shrank")
    check(s.trace_text().count("読み込みファイル表示") == 1, "the trace was started again")
    check(not s.visible(LEFT) and not s.visible(RIGHT), "panels still shown")


# ---------------------------------------------------------------------------------------
# A panel shown again by a second start
# ---------------------------------------------------------------------------------------

def case_panel_shown_again_leaves_the_target_in_front(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    s.probe("close", RIGHT)  # closing the right panel only hides it
    wait_until("the right panel hidden", lambda: not s.visible(RIGHT))
    second = s.start("keyvane.exe")  # shows the right panel and hides the left
    wait_until("the second copy to end", lambda: second.poll() is not None, timeout=10)
    wait_until("the right panel shown again", lambda: s.visible(RIGHT) and not s.visible(LEFT))
    time.sleep(0.3)
    s.check_focus_kept()
    s.press(RIGHT, 0, [down(10), down(42), up(42), up(10)])
    s.check_focus_kept()
    check(first.poll() is None, "the first copy ended with one panel shown")


# ---------------------------------------------------------------------------------------
# A high-contrast theme with black button faces
# ---------------------------------------------------------------------------------------

COLOURS = r"HKCU\Control Panel\Colors"
BLACK_THEME = {"ButtonFace": "0 0 0", "ButtonText": "255 255 255"}


def reg(s, *args):
    """Runs `wine reg`; returns its exit status and standard output."""
    return s.wine("reg", *args)


def read_colour(s, name):
    """The value in the shared prefix, or None when it is not set."""
    status, output = reg(s, "query", COLOURS, "/v", name)
    found = re.search(rf"{name}\s+REG_SZ\s+([^\r\n]*)", output.decode("utf-8", "replace"))
    return found.group(1).strip() if status == 0 and found else None


def write_colours(s, colours):
    for name, value in colours.items():
        if value is None:
            reg(s, "delete", COLOURS, "/v", name, "/f")
        else:
            check(reg(s, "add", COLOURS, "/v", name, "/t", "REG_SZ", "/d", value, "/f")[0] == 0,
                  f"could not set {name}")


def case_high_contrast_black_faces(s):
    s.start_target()
    saved = {name: read_colour(s, name) for name in BLACK_THEME}
    try:
        write_colours(s, BLACK_THEME)
        s.start_keyvane()
        s.wait_attached()
        shot = ARTIFACTS / "high-contrast-black.png"
        screenshot(shot)
        x, y, _, _ = s.window(LEFT)["rect"]
        # Inside the top button's edges only the caption can be light: the theme's white, not navy.
        red = run(["convert", str(shot), "-crop", f"49x33+{x + 4}+{y + 4}", "-format", "%[fx:maxima.r]", "info:"])
        check(float(red.stdout or 0) > 0.5, f"no light caption on the black face (brightest red {red.stdout!r})")
        # On the face beside the caption: a see-through face would pass the click to the desktop.
        xdotool("mousemove", x + 6, y + 20)
        xdotool("click", 1)
        wait_until("A at the target", lambda: len(s.key_events()) >= 2)
        check(s.key_events() == [down(41), up(41)], f"keys at the target {s.key_events()}")
        s.check_focus_kept()
    finally:
        write_colours(s, saved)


# ---------------------------------------------------------------------------------------
# What Keyvane sends
# ---------------------------------------------------------------------------------------

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
    # A session end that goes ahead takes the mouse hooks away; Windows would end the process
    # next, Wine leaves it running with the buttons' own click route.
    check(s.probe("end-session", LEFT, "ends").strip() == "yes", "Keyvane did not agree to end the session")
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


# ---------------------------------------------------------------------------------------
# A notification icon that the shell lost (Explorer restarted)
# ---------------------------------------------------------------------------------------

TRAY = "Wine System Tray"  # shown while it holds an icon


def forget_icon(s):
    """Takes Keyvane's icon from the notification area behind its back, as a restarting shell does."""
    answer = s.probe("tray-forget", "TTrayIconWindow", "1").strip()
    check(answer == "removed", f"the icon could not be removed: {answer!r}")
    wait_until("the notification icon to go", lambda: not s.visible(TRAY))


def check_no_box(s):
    boxes = [w for w in s.windows() if w["visible"] and w["class"] == "#32770"]
    check(not boxes, f"a message box: {boxes}")


def case_lost_icon_comes_back_and_log_off_goes_ahead(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    check(s.visible(TRAY), "no notification icon")
    forget_icon(s)
    s.probe("taskbar-created")
    wait_until("the notification icon back", lambda: s.visible(TRAY))
    s.probe("taskbar-created")  # once more while the shell has it: it stays
    time.sleep(0.5)
    check(s.visible(TRAY), "the icon went at a second TaskbarCreated")
    forget_icon(s)
    # A log-off asks first and then ends; the icon is gone, and nothing may stand in the way.
    check(s.probe("end-session", LEFT, "ends").strip() == "yes", "Keyvane refused the end of the session")
    check_no_box(s)
    check(keyvane.poll() is None, "Keyvane ended on the question")


def case_ending_after_the_icon_was_lost_opens_no_box(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    forget_icon(s)
    second = s.start("keyvane.exe")  # hides both panels: the first copy ends at its next tick
    wait_until("the second copy to end", lambda: second.poll() is not None, timeout=10)
    try:
        wait_until("the first copy to end", lambda: first.poll() is not None, timeout=5)
    finally:
        check_no_box(s)


# ---------------------------------------------------------------------------------------
# Another program's menu or drop-down list holds the mouse capture
# ---------------------------------------------------------------------------------------

def target_lines(s, *prefixes):
    return [line for line in s.target_log().splitlines() if line.startswith(prefixes)]


def wait_target_line(s, line):
    wait_until(f"{line!r} at the target", lambda: line in s.target_log().splitlines(), timeout=3)


def case_menu_driven_from_the_panels(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    check_menu_driven_from_the_panels(s, keyvane)


def check_menu_driven_from_the_panels(s, keyvane):
    """Taps open the target's menu and choose from it: only the low-level hook sees taps under its capture."""
    s.click(LEFT, 0)  # ALT+F opens the File menu, whose loop takes the mouse capture
    wait_target_line(s, "MENU LOOP")
    s.click(RIGHT, 0)  # DOWN: from Open to Save
    wait_target_line(s, "MENU SELECT 102")
    s.click(LEFT, 1)  # ENTER chooses Save
    wait_target_line(s, "COMMAND 102")
    lines = target_lines(s, "MENU", "COMMAND")
    check(lines == ["MENU LOOP", "MENU SELECT 101", "MENU SELECT 102", "MENU END", "COMMAND 102"], f"menu {lines}")
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


def case_drop_down_list_driven_from_the_panels(s):
    s.start("keyvane-e2e-target.exe", "--list", "target.log")
    wait_until("the target window in the foreground", lambda: f"FOREGROUND {TARGET_TITLE}" in s.target_log(),
               timeout=15)
    keyvane = s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 1)  # F4 drops the list down, which takes the mouse capture
    wait_target_line(s, "LIST DROPPED")
    s.click(RIGHT, 0)  # DOWN moves the selection in the open list
    wait_target_line(s, "LIST SELECT 1")
    s.click(LEFT, 1)  # ENTER closes it on that item
    wait_target_line(s, "LIST CLOSED")
    lines = target_lines(s, "LIST")
    check(lines == ["LIST DROPPED", "LIST SELECT 1", "LIST CLOSED"], f"list {lines}")
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


# ---------------------------------------------------------------------------------------
# A session end called off, a resume from sleep, a drag that ends over a panel
# ---------------------------------------------------------------------------------------

def case_session_end_called_off_keeps_icon_and_hook(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    check(s.visible(TRAY), "no notification icon")
    # Every window of Keyvane agrees; then another program calls the log-off off.
    check(s.probe("end-session", LEFT, "cancelled").strip() == "yes", "Keyvane refused the end of the session")
    time.sleep(0.3)
    check(s.visible(TRAY), "the notification icon went with a session end that was called off")
    check_menu_driven_from_the_panels(s, keyvane)
    check_no_box(s)


def case_resume_installs_the_hook_anew(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    answered = s.probe("resume", LEFT).strip()
    print(f"     resume: Keyvane's windows answered in {answered} ms, the hook installed anew", flush=True)
    wait_until("the renewal in the trace", lambda: "MouseHookRenewed After=Resume Installed=1\r\n" in s.trace_text())
    check(s.trace_text().count("MouseHookRenewed") == 1, "the hook was installed anew more than once")
    check_menu_driven_from_the_panels(s, keyvane)


def case_drag_released_over_a_panel_goes_to_its_window(s):
    s.start_target()
    keyvane = s.start_keyvane()
    s.wait_attached()
    target = s.window(TARGET_TITLE)["rect"]
    xdotool("mousemove", target[0] + 100, target[1] + 120)  # on the edit control
    xdotool("mousedown", 1)
    wait_target_line(s, "LBUTTONDOWN")
    x, y = s.button_point(LEFT, 2)
    xdotool("mousemove", x - 10, y)
    xdotool("mousemove", x, y)
    xdotool("mouseup", 1)
    wait_target_line(s, "LBUTTONUP")
    time.sleep(0.3)  # a press would send its keys now
    check(s.key_events() == [], f"the release pressed the button: {s.key_events()}")
    check(PRESS not in s.trace_text(), "a press in the trace")
    # The panels still take taps, with the hook's press and release paired again.
    s.press(LEFT, 1, [down(41), up(41)])
    check_answering(s, keyvane)


# FILE, DOWN, ENTER, LIST: left row 0, right row 0, left row 1, right row 1.
CAPTURE_KEYS = cp932_file("#MAIN\nFILE KEY ALT+F\nDOWN KEY DOWN\nENTER KEY ENTER\nLIST KEY F4\n")

KEYS = cp932_file("#MAIN\nLB KEY MOUSELEFTBTN\nA KEY A\nA KEY A\nLEFT KEY LEFT\nDEL KEY DEL\nHOME KEY HOME\n")


CASES = [
    ("faults: program folder and name with backslash bytes", case_folder_and_name_with_backslash_bytes, None, BUILD),
    ("faults: program folder named Café", case_folder_outside_the_ansi_code_page, None, BUILD),
    ("faults: trace moves to its older generation at the size limit", case_trace_moves_to_its_older_generation,
     BIG_BUTTON_FILE, BUILD),
    ("faults: second start denied the running copy's mutex", case_second_start_denied_the_mutex,
     fixture("panels.btn"), BUILD),
    ("faults: a panel shown again leaves the target in front", case_panel_shown_again_leaves_the_target_in_front,
     fixture("panels.btn"), BUILD),
    ("faults: high-contrast black button faces", case_high_contrast_black_faces, fixture("panels.btn"), BUILD),
    ("faults: a mouse-button key clicks once", case_mouse_button_key_clicks_once, KEYS, BUILD),
    ("faults: keys carry scan codes and the extended mark", case_keys_carry_scan_codes, KEYS, BUILD),
    ("faults: without the hook, buttons press and keep the focus",
     case_without_hook_buttons_press_and_keep_focus, fixture("panels.btn"), BUILD),
    ("faults: tray icon lost, TaskbarCreated brings it back, log-off goes ahead",
     case_lost_icon_comes_back_and_log_off_goes_ahead, fixture("panels.btn"), BUILD),
    ("faults: tray icon lost, ending opens no box", case_ending_after_the_icon_was_lost_opens_no_box,
     fixture("panels.btn"), BUILD),
    ("faults: another program's menu holds the capture", case_menu_driven_from_the_panels, CAPTURE_KEYS, BUILD),
    ("faults: another program's drop-down list holds the capture", case_drop_down_list_driven_from_the_panels,
     CAPTURE_KEYS, BUILD),
    ("faults: a session end called off keeps the icon and the hook", case_session_end_called_off_keeps_icon_and_hook,
     CAPTURE_KEYS, BUILD),
    ("faults: a resume from sleep installs the hook anew", case_resume_installs_the_hook_anew, CAPTURE_KEYS, BUILD),
    ("faults: a drag released over a panel goes to its window", case_drag_released_over_a_panel_goes_to_its_window,
     KEYS, BUILD),
]
