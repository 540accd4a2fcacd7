"""The harness of the end-to-end tests of keyvane.exe under Wine, driven with real pointer events.

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
import os
import pathlib
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
    def click(self, title, row, button=1, at=None):
        """A click on a panel button: at button_point, or at the point that at(self, title, row) gives."""
        x, y = at(self, title, row) if at else self.button_point(title, row)
        xdotool("mousemove", x, y)
        xdotool("click", button)

    def press(self, title, row, expected_keys, at=None):
        """Clicks a button and waits for its key events to reach the target."""
        before = len(self.key_events())
        self.click(title, row, at=at)
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


# Wine shows a notification balloon next to its notification area at the top left, over the left
# panel's first buttons. Where a button file has problems, Keyvane shows one at start: the
# panels are then placed below it, so that clicks reach the buttons.
BELOW_BALLOON = "/T150"


# The notification icon's menu, top to bottom.
TRAY_MENU = ("About", "Reload", "Quit")


def choose_from_tray_menu(s, item):
    """Opens the notification icon's menu and clicks the item named, one of TRAY_MENU."""
    xdotool("mousemove", *TRAY_ICON)
    xdotool("click", 3)
    menu = wait_until("the notification menu",
                      lambda: next((w for w in s.windows() if w["class"] == "#32768" and w["visible"]), None))
    x, y, w, h = menu["rect"]
    # The middle of the item; right of the left panel: a click over a panel button counts as a press of that button.
    xdotool("mousemove", x + w - 12, y + (2 * TRAY_MENU.index(item) + 1) * h // (2 * len(TRAY_MENU)))
    xdotool("click", 1)


def run_suite(cases):
    """Runs the cases named on the command line (all when none is), each in a fresh Wine."""
    only = sys.argv[1:]
    shutil.rmtree(ARTIFACTS, ignore_errors=True)
    ARTIFACTS.mkdir(parents=True)
    limit = [CASE_LIMIT]

    def past_limit(signum, frame):
        raise CaseTimeLimit(f"ran past its limit of {limit[0]:.0f} s while waiting for {waiting_for[0]}")

    signal.signal(signal.SIGALRM, past_limit)
    suite_deadline = time.monotonic() + SUITE_LIMIT
    passed = failed = 0
    for index, (name, case, button_file, exe_dir) in enumerate(cases, 1):
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
