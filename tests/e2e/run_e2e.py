#!/usr/bin/env python3
"""End-to-end tests of keyvane.exe under Wine, driven with real pointer events.

Run by scripts/e2e inside a virtual X display with WINEPREFIX set to a fresh prefix.
Every case starts its own copies of the programs in its own folder, checks from outside
what they did, and ends them; `wineserver -k` between cases clears mutexes and tray icons.

Nothing here can wait for ever. Every command runs with a timeout, every poll with a limit, every
case under a time limit (CASE_LIMIT, or its own from @time_limit) and the whole suite under
SUITE_LIMIT. A case past its limit fails, naming what it was waiting for; Wine is killed and the
next case runs. No wine command writes to a pipe: the first one after `wineserver -k` starts
Wine's services, which inherit its output and keep it open, so a read to its end would never
finish. Their output goes to files, and Wine's services are started before every case with
their output sent nowhere.
"""
import json
import os
import pathlib
import random
import re
import shutil
import signal
import subprocess
import sys
import time
import traceback

ROOT = pathlib.Path(__file__).resolve().parents[2]
# The programs Wine runs: the 32-bit build, or the 64-bit one where this machine runs no 32-bit code.
BUILD = ROOT / "build" / os.environ.get("KEYVANE_WINE_BUILD", "mingw-i686")
BUILD_X64 = ROOT / "build" / "mingw-x64"
NATIVE_CHECK = ROOT / "build" / "native" / "keyvane-check"
WORK = ROOT / "build" / "e2e-work"
ARTIFACTS = ROOT / "build" / "e2e-artifacts"
FIXTURES = pathlib.Path(__file__).resolve().parent / "fixtures"

LEFT, RIGHT = "KB1_For_Keyvane", "KB2_For_Keyvane"
TARGET_TITLE = "Keyvane Target"
TRAY_ICON = (13, 32)  # the first icon of Wine's stand-alone tray window
WINE_ENV = dict(os.environ, LC_ALL="ja_JP.UTF-8")

HEADING = "\r\n読み込みファイル表示\r\n"
PRESS, RELEASE = "ボタンを押す", "ボタンを放す"
KEY = "操作キー仮想コード="
TICK_LINE = re.compile(r"^(LOOP Child=-?\d+ hImc=-?\d+|Now=-?\d+ Child=-?\d+ hImc=-?\d+)$")
IME_LINE = re.compile(r"^(NowMap=.* SW .*|Japan|USA)$")  # a page's input-method state set at the target


CASE_LIMIT = 120  # seconds a case may take unless it says otherwise
SUITE_LIMIT = 35 * 60  # the whole suite, well inside CI's 90 minutes for every step
COMMAND_LIMIT = 30  # seconds any one command may take unless its caller says otherwise
WINE_START_LIMIT = 60  # starting Wine's services after `wineserver -k`, on a loaded machine
WINE_KILL_LIMIT = 30  # `wineserver -k` and its wait
WINE_PROGRAMS = "/usr/lib/wine/"  # where the loaders and the wineserver of Debian's Wine live

# What the running case waits for now, told when its time limit strikes.
waiting_for = ["the case to start"]


class Failure(Exception):
    pass


class CaseTimeLimit(Failure):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def time_limit(seconds):
    """Gives a case a time limit other than CASE_LIMIT."""
    def mark(case):
        case.time_limit = seconds
        return case
    return mark


def wait_until(what, probe, timeout=5.0, interval=0.05, seen=None):
    """Polls until probe() gives a true value and returns it; fails after timeout seconds,
    telling what seen() then gives, if it is given."""
    waiting_for[0] = what
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}" + (f"; {seen()}" if seen else ""))
        time.sleep(interval)


def run(args, timeout=COMMAND_LIMIT, **kwargs):
    """Runs a command of this machine (never wine: see wine_run) and captures its output."""
    waiting_for[0] = f"the command {' '.join(map(str, args))}"
    try:
        return subprocess.run(args, capture_output=True, text=True, timeout=timeout, **kwargs)
    except subprocess.TimeoutExpired:
        raise Failure(f"timed out after {timeout} s waiting for the command {' '.join(map(str, args))}") from None


def wine_run(args, cwd, output, timeout=COMMAND_LIMIT):
    """Runs a wine command to its end with its standard output in the file output; returns the
    exit status. Never a pipe: Wine's services may inherit it and keep it open."""
    waiting_for[0] = f"the wine command {' '.join(map(str, args))}"
    with open(output, "wb") as out:
        try:
            return subprocess.run(["wine", *map(str, args)], cwd=cwd, env=WINE_ENV, stdout=out,
                                  stderr=subprocess.DEVNULL, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            raise Failure(f"timed out after {timeout} s waiting for the wine command "
                          f"{' '.join(map(str, args))}") from None


def kill_wine():
    """Ends every Windows program of the prefix and the wineserver, whatever state they are in."""
    for command in (["wineserver", "-k"], ["wineserver", "-w"]):
        try:
            subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=WINE_KILL_LIMIT)
        except subprocess.TimeoutExpired:
            break
    # What `wineserver -k` could not end (a wineserver that does not answer, say) is killed:
    # Wine's own programs, of this prefix only, so that other Wine users of the machine are left alone.
    prefix = f"WINEPREFIX={os.environ.get('WINEPREFIX', '')}".encode()
    for proc in pathlib.Path("/proc").iterdir():
        try:
            if (os.readlink(proc / "exe").startswith(WINE_PROGRAMS)
                    and prefix in (proc / "environ").read_bytes().split(b"\0")):
                os.kill(int(proc.name), signal.SIGKILL)
        except (OSError, ValueError):
            pass


def start_wine_services():
    """Starts Wine's services with their output sent nowhere, before any wine command of a case."""
    waiting_for[0] = "Wine's services to start (wineboot)"
    try:
        subprocess.run(["wineboot"], env=WINE_ENV, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=WINE_START_LIMIT)
    except subprocess.TimeoutExpired:
        raise Failure(f"timed out after {WINE_START_LIMIT} s waiting for Wine's services to start") from None


def xdotool(*args):
    run(["xdotool", *map(str, args)], check=True)


def screenshot(path):
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    run(["import", "-window", "root", str(path)])


class Session:
    """One case's folder and the Windows programs started in it."""

    def __init__(self, name, button_file=None, exe_dir=BUILD):
        self.name = name
        self.dir = WORK / name
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        for exe in ("keyvane.exe",):
            shutil.copy(exe_dir / exe, self.dir / exe)
        for exe in ("keyvane-e2e-target.exe", "keyvane-e2e-probe.exe"):
            shutil.copy(BUILD / exe, self.dir / exe)
        if button_file is not None:
            (self.dir / "dovaD.BTN").write_bytes(button_file)
        self.processes = []
        self.commands_run = 0

    # -- programs -------------------------------------------------------------------------
    def start(self, exe, *args):
        process = subprocess.Popen(["wine", exe, *args], cwd=self.dir, env=WINE_ENV,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def start_target(self):
        self.start("keyvane-e2e-target.exe", "target.log")
        wait_until("the target window in the foreground",
                   lambda: f"FOREGROUND {TARGET_TITLE}" in self.target_log(), timeout=15)

    def start_keyvane(self, *args):
        process = self.start("keyvane.exe", *args)
        wait_until("both panels shown", lambda: self.visible(LEFT) and self.visible(RIGHT), timeout=15)
        return process

    def wait_attached(self):
        """Waits for a tick that took the target window as its target."""
        handle = self.window(TARGET_TITLE)["handle"]
        wait_until("a tick with the target window", lambda: f"Now={handle} " in self.trace_text())

    def close(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
        kill_wine()
        for process in self.processes:
            try:
                process.wait(timeout=WINE_KILL_LIMIT)
            except subprocess.TimeoutExpired:
                print(f"     {process.args} did not end after it was killed", flush=True)

    def wine(self, *args, timeout=COMMAND_LIMIT):
        """Runs a wine command in the case's folder; returns its exit status and standard output."""
        # A file of its own each time: a program the command left running may still write to its file.
        self.commands_run += 1
        output = self.dir / f"wine-output-{self.commands_run}.txt"
        status = wine_run(args, self.dir, output, timeout)
        data = output.read_bytes()
        output.unlink()
        return status, data

    # -- what is on the screen -----------------------------------------------------------
    def probe(self, *args):
        return self.wine("keyvane-e2e-probe.exe", *args)[1].decode("utf-8", "replace")

    @staticmethod
    def parse_windows(text):
        windows = []
        for line in text.splitlines():
            numbers, _, title = line.partition("\t")
            parts = numbers.split(" ")
            if len(parts) < 8:
                continue
            handle, visible, topmost, x, y, w, h = map(int, parts[:7])
            windows.append({"handle": handle, "visible": visible == 1, "topmost": topmost == 1,
                            "rect": (x, y, w, h), "class": parts[7], "title": title})
        return windows

    def windows(self):
        return self.parse_windows(self.probe("windows"))

    def window(self, title):
        for window in self.windows():
            if window["title"] == title:
                return window
        return None

    def visible(self, title):
        window = self.window(title)
        return window is not None and window["visible"]

    def captions(self, title):
        """The seven button captions of a panel, top to bottom."""
        children = self.parse_windows(self.probe("children", title))
        children.sort(key=lambda child: child["rect"][1])
        return [child["title"] for child in children]

    def button_point(self, title, row):
        x, y, _, _ = self.window(title)["rect"]
        return x + 28, y + 40 * row + 20

    # -- what the programs wrote ---------------------------------------------------------
    def target_log(self):
        path = self.dir / "target.log"
        return path.read_text("utf-8", "replace") if path.exists() else ""

    def key_events(self):
        return [line for line in self.target_log().splitlines() if re.match(r"^(SYS)?KEY(DOWN|UP) ", line)]

    def trace_bytes(self):
        path = self.dir / "dovaD.STS"
        return path.read_bytes() if path.exists() else b""

    def trace_text(self):
        return self.trace_bytes().decode("cp932", "replace")

    # -- acting as a person --------------------------------------------------------------
    def click(self, title, row, button=1):
        x, y = self.button_point(title, row)
        xdotool("mousemove", x, y)
        xdotool("click", button)

    def press(self, title, row, expected_keys):
        """Clicks a button and waits for its key events to reach the target."""
        before = len(self.key_events())
        self.click(title, row)
        wait_until(f"{expected_keys} at the target",
                   lambda: len(self.key_events()) >= before + len(expected_keys))
        time.sleep(0.05)
        got = self.key_events()[before:]
        check(got == expected_keys, f"button {title} row {row}: expected {expected_keys}, got {got}")

    def wait_captions(self, title, expected, timeout=3.0):
        wait_until(f"{title} captions {expected}", lambda: self.captions(title)[:len(expected)] == expected,
                   timeout=timeout)

    def check_focus_kept(self):
        log = self.target_log().splitlines()
        lost = [line for line in log if line.startswith(("KILLFOCUS", "DEACTIVATE"))]
        check(not lost, f"the target lost the focus: {lost}")
        foregrounds = [line for line in log if line.startswith("FOREGROUND")]
        check(foregrounds == [f"FOREGROUND {TARGET_TITLE}"], f"the foreground changed: {foregrounds}")


def cp932_file(text):
    """A button file as the user writes it: code page 932 with CR LF."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932")


def fixture(name):
    return cp932_file((FIXTURES / name).read_text("utf-8"))


def down(code):
    return f"KEYDOWN {code}"


def up(code):
    return f"KEYUP {code}"


def trace_block(*codes):
    """The trace of one KEY press of the given codes (hex as the trace writes them)."""
    lines = [PRESS] + [KEY + c for c in codes] + [RELEASE] + [KEY + c for c in reversed(codes)]
    return "".join(line + "\r\n" for line in lines)


FIXTURE_HEADERS = ["MAIN", "NUM", "J_KANA", "RIGHT_BTN_PAGE", "SLIDE_CMD"]
MAIN_LEFT = ["A", "NUM", "SPC", "BS", "copy", "", "100%"]
MAIN_RIGHT = ["SHIFT+B", "かな", "ENTER", "REKEY", "EXEC", "z", "Tab"]
NUM_LEFT = ["1", "MAIN", "SPC"]
NUM_RIGHT = ["2", "かな"]
KANA_LEFT = ["あ", "NUM"]
KANA_RIGHT = ["戻る", "かな"]


# ---------------------------------------------------------------------------------------
# Cases
# ---------------------------------------------------------------------------------------

def case_keys_reach_target(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    check(s.captions(LEFT) == MAIN_LEFT, f"left captions {s.captions(LEFT)}")
    check(s.captions(RIGHT) == MAIN_RIGHT, f"right captions {s.captions(RIGHT)}")
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(RIGHT, 0, [down(10), down(42), up(42), up(10)])
    s.press(LEFT, 2, [down(20), up(20)])
    s.press(LEFT, 3, [down(8), up(8)])
    s.press(RIGHT, 6, [down(9), up(9)])
    chars = [line for line in s.target_log().splitlines() if line.startswith("CHAR ")]
    check(chars == ["CHAR 61", "CHAR 42", "CHAR 20", "CHAR 8", "CHAR 9"], f"characters {chars}")
    xdotool("mousemove", 400, 500)
    time.sleep(0.3)
    s.check_focus_kept()
    for title in (LEFT, RIGHT):
        check(s.window(title)["topmost"], f"{title} is not topmost")
    screenshot(ARTIFACTS / "panels-over-target.png")


def case_trace_file(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(RIGHT, 0, [down(10), down(42), up(42), up(10)])
    time.sleep(0.3)
    data = s.trace_bytes()
    check(b"\n" not in data.replace(b"\r\n", b""), "a line feed without carriage return")
    text = data.decode("cp932")
    expected_start = HEADING + "".join(f"#{name}\r\n取得マップ名={name}\r\n" for name in FIXTURE_HEADERS)
    check(text.startswith(expected_start), f"the trace starts {text[:300]!r}")
    body = text[len(expected_start):]
    # The target takes MAIN's closed input method at the first tick, and again after each press.
    closed = "NowMap=MAIN SW MA\r\nUSA\r\n"
    blocks = closed + trace_block("41") + closed + trace_block("10", "42") + closed
    without_ticks = "".join(line + "\r\n" for line in body.split("\r\n")[:-1] if not TICK_LINE.match(line))
    check(without_ticks == blocks, f"press lines {without_ticks!r}")
    check(trace_block("41") in body and trace_block("10", "42") in body, "a press block was interrupted")
    target = s.window(TARGET_TITLE)["handle"]
    check(f"Now={target} " in body, f"no status line names the target {target}")
    check(body.endswith("\r\n"), "the trace does not end with CR LF")


def case_maps_jp_base_rekey(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(RIGHT, 3)  # REKEY before any KEY press: nothing
    time.sleep(0.4)
    check(s.key_events() == [], f"REKEY sent {s.key_events()}")
    s.click(LEFT, 1)  # NUM JP NUM
    s.wait_captions(LEFT, NUM_LEFT)
    s.wait_captions(RIGHT, NUM_RIGHT)
    s.press(LEFT, 0, [down(31), up(31)])  # 1, then back to the default map
    s.wait_captions(LEFT, MAIN_LEFT)
    s.click(RIGHT, 1)  # かな BASE J_KANA
    s.wait_captions(LEFT, KANA_LEFT)
    s.wait_captions(RIGHT, KANA_RIGHT)
    s.press(LEFT, 0, [down(41), up(41)])  # あ: the panels stay on the new default map
    time.sleep(0.3)
    s.wait_captions(LEFT, KANA_LEFT)
    s.click(LEFT, 1)  # NUM JP NUM (falls back to MAIN's row)
    s.wait_captions(LEFT, NUM_LEFT)
    s.press(RIGHT, 3, [down(41), up(41)])  # REKEY repeats A and returns to J_KANA
    s.wait_captions(LEFT, KANA_LEFT)
    s.click(RIGHT, 0)  # 戻る BASE MAIN
    s.wait_captions(LEFT, MAIN_LEFT)
    s.press(LEFT, 0, [down(41), up(41)])
    s.wait_captions(LEFT, MAIN_LEFT)
    s.check_focus_kept()


def case_right_button(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(LEFT, 0, button=3)  # MAIN -> NUM, which becomes the default map
    s.wait_captions(LEFT, NUM_LEFT)
    check(s.key_events() == [], f"a right click sent {s.key_events()}")
    s.press(LEFT, 0, [down(31), up(31)])  # a KEY press returns to NUM now
    time.sleep(0.3)
    s.wait_captions(LEFT, NUM_LEFT)
    # A long hold runs SLIDE_CMD's button on that slot; the release then changes nothing.
    x, y = s.button_point(LEFT, 0)
    xdotool("mousemove", x, y)
    xdotool("mousedown", 3)
    wait_until("the slide command's X", lambda: s.key_events()[-2:] == [down(58), up(58)], timeout=3)
    time.sleep(0.2)
    xdotool("mouseup", 3)
    time.sleep(0.4)
    check(s.captions(LEFT)[:2] == NUM_LEFT[:2], f"the release changed the page: {s.captions(LEFT)}")
    check(s.key_events()[-2:] == [down(58), up(58)], f"keys after the hold {s.key_events()[-4:]}")
    s.click(LEFT, 0, button=3)  # NUM -> MAIN
    s.wait_captions(LEFT, MAIN_LEFT)
    s.check_focus_kept()


def case_second_start_hides_and_first_ends(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    size = len(s.trace_bytes())
    second = s.start("keyvane.exe")
    wait_until("the second copy to end", lambda: second.poll() is not None, timeout=10)
    wait_until("the first copy to end", lambda: first.poll() is not None, timeout=5)
    trace = s.trace_text()
    check(len(s.trace_bytes()) >= size, "the trace shrank")
    check(trace.count("読み込みファイル表示") == 1, "the trace was started again")
    check(not s.visible(LEFT) and not s.visible(RIGHT), "panels still shown")


def case_second_start_shows_hidden_panel(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    # Closing the right panel only hides it. (Both panels hidden at once end the program at
    # the next tick, since under Wine there is always a foreground window to attach to.)
    s.probe("close", RIGHT)
    wait_until("the right panel hidden", lambda: not s.visible(RIGHT))
    time.sleep(0.3)
    check(first.poll() is None and s.visible(LEFT), "closing the right panel ended the program")
    second = s.start("keyvane.exe")
    wait_until("the second copy to end", lambda: second.poll() is not None, timeout=10)
    wait_until("the panels flipped", lambda: s.visible(RIGHT) and not s.visible(LEFT))
    time.sleep(0.3)
    check(first.poll() is None, "the first copy ended with one panel shown")
    third = s.start("keyvane.exe")
    wait_until("the third copy to end", lambda: third.poll() is not None, timeout=10)
    wait_until("the panels flipped back", lambda: s.visible(LEFT) and not s.visible(RIGHT))
    time.sleep(0.3)
    check(first.poll() is None, "the first copy ended with one panel shown")


def case_tray_left_click_ends(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    xdotool("mousemove", *TRAY_ICON)
    xdotool("click", 1)
    wait_until("the program to end", lambda: first.poll() is not None, timeout=5)


def choose_from_tray_menu(s, item):
    """Opens the notification icon's menu and clicks item 0 (About) or 1 (Quit)."""
    xdotool("mousemove", *TRAY_ICON)
    xdotool("click", 3)
    menu = wait_until("the notification menu",
                      lambda: next((w for w in s.windows() if w["class"] == "#32768" and w["visible"]), None))
    x, y, w, h = menu["rect"]
    # Right of the left panel: a click over a panel button counts as a press of that button.
    xdotool("mousemove", x + w - 12, y + h // 4 + item * h // 2)
    xdotool("click", 1)


def case_tray_quit(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    check(s.visible("Wine System Tray"), "no notification icon")
    choose_from_tray_menu(s, 1)
    wait_until("the program to end", lambda: first.poll() is not None, timeout=5)
    wait_until("the notification icon to go", lambda: not s.visible("Wine System Tray"))


def case_tray_about(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    choose_from_tray_menu(s, 0)
    wait_until("the About box", lambda: s.visible("About Keyvane"))
    children = s.parse_windows(s.probe("children", "About Keyvane"))
    text = "\n".join(child["title"].replace("\\n", "\n") for child in children)
    folder = "Z:" + str(s.dir).replace("/", "\\")
    for part in ("Keyvane ", folder + "\\dovaD.BTN", "5 maps", folder + "\\dovaD.STS"):
        check(part in text, f"About box lacks {part!r}: {text!r}")
    check(s.visible(LEFT) and s.visible(RIGHT), "the panels vanished under the About box")
    screenshot(ARTIFACTS / "about-box.png")
    ok = next(child for child in children if child["title"] == "OK")
    ox, oy, ow, oh = ok["rect"]
    xdotool("mousemove", ox + ow // 2, oy + oh // 2)
    xdotool("click", 1)
    wait_until("the About box to close", lambda: not s.visible("About Keyvane"))
    for title in (LEFT, RIGHT):
        check(s.window(title)["topmost"], f"{title} is not topmost again")
    # The window typed into has the foreground back: the next presses reach it.
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(RIGHT, 0, [down(10), down(42), up(42), up(10)])


# Wine shows a notification balloon next to its notification area at the top left, over the left
# panel's first buttons. Where a button file has problems, Keyvane shows one at start: the
# panels are then placed below it, so that clicks reach the buttons.
BELOW_BALLOON = "/T150"


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


def case_missing_button_file(s):
    blank_buttons_case(s)
    body = s.trace_text()[len(HEADING):]
    check(all(TICK_LINE.match(line) or IME_LINE.match(line) for line in body.split("\r\n")[:-1]),
          f"unexpected lines {body[:200]!r}")


def case_empty_button_file(s):
    blank_buttons_case(s)


def garbage_bytes():
    rng = random.Random(4)
    # Anything but "#", so that no line can start a map.
    return bytes(rng.choice([b for b in range(256) if b != 0x23]) for _ in range(6000))


def case_garbage_button_file(s):
    blank_buttons_case(s)


def case_placement_default(s):
    s.start_target()
    s.start_keyvane()
    width, scroll, edge = map(int, s.probe("metrics").split())
    right = min(width, 800) - 57 - (scroll + edge)
    check(s.window(LEFT)["rect"] == (0, 41, 57, 387), f"left panel {s.window(LEFT)['rect']}")
    check(s.window(RIGHT)["rect"] == (right, 41, 57, 387), f"right panel {s.window(RIGHT)['rect']}")
    # A panel moved away by another program is back within a tick.
    moved = s.parse_windows(s.probe("move", LEFT, "300", "300"))
    check(moved and moved[0]["rect"][:2] == (300, 300), f"the move did not happen: {moved}")
    wait_until("the left panel back in place", lambda: s.window(LEFT)["rect"] == (0, 41, 57, 387), timeout=1.0)


def case_placement_options(s):
    s.start_target()
    s.start_keyvane("/R650", "/t30")
    check(s.window(LEFT)["rect"] == (0, 30, 57, 387), f"left panel {s.window(LEFT)['rect']}")
    check(s.window(RIGHT)["rect"] == (650, 30, 57, 387), f"right panel {s.window(RIGHT)['rect']}")
    location = run(["xdotool", "getmouselocation"]).stdout
    check(location.startswith("x:47 y:101 "), f"the cursor was not parked: {location}")


def case_corner_exit(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    xdotool("mousemove", 0, 0)
    started = time.monotonic()
    time.sleep(9.0)
    check(first.poll() is None, "ended before 10 seconds in the corner")
    wait_until("the program to end", lambda: first.poll() is not None, timeout=4)
    elapsed = time.monotonic() - started
    check(10.0 < elapsed < 12.5, f"ended after {elapsed:.1f} s")


def case_x64_build(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.press(LEFT, 0, [down(41), up(41)])
    s.check_focus_kept()


def case_windows_checker_matches_native(s):
    example = ROOT / "examples" / "dovaD.BTN"
    windows_check = BUILD / "keyvane-check.exe"
    check(windows_check.exists() and NATIVE_CHECK.exists(), "keyvane-check is not built for both hosts")
    shutil.copy(example, s.dir / "dovaD.BTN")
    shutil.copy(windows_check, s.dir / "keyvane-check.exe")
    native = run([str(NATIVE_CHECK), "--json", "dovaD.BTN"], cwd=s.dir)
    _, windows = s.wine("keyvane-check.exe", "--json", "dovaD.BTN")
    check(native.stdout.strip() != "", "the native checker printed nothing")
    native_json = json.loads(native.stdout)
    windows_json = json.loads(windows.decode("utf-8"))
    check(windows_json == native_json, "the Windows checker's JSON differs from the native one")


CASES = [
    ("keys reach the target, focus stays", case_keys_reach_target, fixture("panels.btn"), BUILD),
    ("trace file bytes", case_trace_file, fixture("panels.btn"), BUILD),
    ("JP, BASE and REKEY", case_maps_jp_base_rekey, fixture("panels.btn"), BUILD),
    ("right click page and long hold", case_right_button, fixture("panels.btn"), BUILD),
    ("second start hides, first copy ends", case_second_start_hides_and_first_ends, fixture("panels.btn"), BUILD),
    ("second start shows a hidden panel", case_second_start_shows_hidden_panel, fixture("panels.btn"), BUILD),
    ("missing dovaD.BTN", case_missing_button_file, None, BUILD),
    ("empty dovaD.BTN", case_empty_button_file, b"", BUILD),
    ("garbage dovaD.BTN", case_garbage_button_file, garbage_bytes(), BUILD),
    ("placement without options, moved panel returns", case_placement_default, fixture("panels.btn"), BUILD),
    ("placement with /R and /T", case_placement_options, fixture("panels.btn"), BUILD),
    ("tray icon left click ends", case_tray_left_click_ends, fixture("panels.btn"), BUILD),
    ("tray menu Quit", case_tray_quit, fixture("panels.btn"), BUILD),
    ("tray menu About", case_tray_about, fixture("panels.btn"), BUILD),
    ("screen corner exit", case_corner_exit, fixture("panels.btn"), BUILD),
    ("64-bit build", case_x64_build, fixture("panels.btn"), BUILD_X64),
    ("Windows checker JSON", case_windows_checker_matches_native, None, BUILD),
]

# The cases of bad conditions live in their own module, which imports this one by name.
sys.modules.setdefault("run_e2e", sys.modules[__name__])
import app_pages  # noqa: E402
import bad_conditions  # noqa: E402
import input_method  # noqa: E402
import live_button_file  # noqa: E402
import windows_faults  # noqa: E402

CASES += (bad_conditions.CASES + input_method.CASES + windows_faults.CASES + live_button_file.CASES +
          app_pages.CASES)


def main():
    only = sys.argv[1:]
    shutil.rmtree(ARTIFACTS, ignore_errors=True)
    ARTIFACTS.mkdir(parents=True)
    limit = [CASE_LIMIT]

    def past_limit(signum, frame):
        raise CaseTimeLimit(f"ran past its limit of {limit[0]:.0f} s while waiting for {waiting_for[0]}")

    signal.signal(signal.SIGALRM, past_limit)
    suite_deadline = time.monotonic() + SUITE_LIMIT
    passed = failed = 0
    for index, (name, case, button_file, exe_dir) in enumerate(CASES, 1):
        if only and not any(word in name for word in only):
            continue
        slug = re.sub(r"[^a-z0-9]+", "-", name.lower()).strip("-")
        left = suite_deadline - time.monotonic()
        if left < 1:
            failed += 1
            print(f"FAIL {name}: not run, the suite ran past its limit of {SUITE_LIMIT} s", flush=True)
            continue
        limit[0] = min(getattr(case, "time_limit", CASE_LIMIT), left)
        waiting_for[0] = "the case to start"
        started = time.monotonic()
        session = None
        try:
            signal.setitimer(signal.ITIMER_REAL, limit[0])
            start_wine_services()
            session = Session(f"{index:02d}-{slug}", button_file, exe_dir)
            case(session)
            signal.setitimer(signal.ITIMER_REAL, 0)
            passed += 1
            print(f"PASS {name} ({time.monotonic() - started:.1f} s)", flush=True)
        except Exception as error:  # every failure is reported, then the next case runs
            signal.setitimer(signal.ITIMER_REAL, 0)
            failed += 1
            print(f"FAIL {name} ({time.monotonic() - started:.1f} s): {error}", flush=True)
            if not isinstance(error, Failure):
                traceback.print_exc()
            try:
                screenshot(ARTIFACTS / f"failed-{slug}.png")
            except Failure as shot_failed:
                print(f"     no screenshot: {shot_failed}", flush=True)
        finally:
            signal.setitimer(signal.ITIMER_REAL, 0)
            if session:
                session.close()
            else:
                kill_wine()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
