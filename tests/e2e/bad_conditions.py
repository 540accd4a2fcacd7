"""End-to-end cases of keyvane.exe under bad conditions: button files that are not what a
person writes, a trace file that cannot be written, a target that closes or hangs, and a
storm of clicks. Each case checks that the program keeps running and answering, that every
key it sends arrives exactly once and is released, and that the trace records what it did
wherever it can be written. The large button files are made here, from fixed seeds.
"""
import os
import random
import subprocess
import time

from harness import (BELOW_BALLOON, BUILD, HEADING, IME_LINE, LEFT, PRESS, RELEASE, RIGHT, TARGET_TITLE, TICK_LINE,
                     WINE_ENV, check, down, fixture, run, time_limit, trace_block, up, wait_until, xdotool)
from shared import blank_buttons_case, check_answering, check_no_key_held

MAIN_A_B = b"#MAIN\r\nA KEY A\r\nB KEY B\r\n"  # left row 0 sends A, right row 0 sends B
MAP_ECHO = "#MAIN\r\n取得マップ名=MAIN\r\n"
PIECE = 1022  # the longest piece of a line that the reader keeps as one line


def trace_lines(data):
    """The trace's complete lines without the status lines of the ticks and the input-method switches."""
    lines = data.decode("cp932", "replace").split("\r\n")[:-1]
    return [line for line in lines if not TICK_LINE.match(line) and not IME_LINE.match(line)]


def start_measured(s, timeout=15.0):
    """Starts keyvane.exe; returns it with the seconds until both panels showed and until the first tick."""
    started = time.monotonic()
    keyvane = s.start("keyvane.exe", BELOW_BALLOON)
    wait_until("both panels shown", lambda: s.visible(LEFT) and s.visible(RIGHT), timeout=timeout)
    shown = time.monotonic() - started
    trace = s.dir / "dovaD.STS"

    def ticked():
        if not trace.exists():
            return False
        with open(trace, "rb") as f:
            f.seek(max(0, trace.stat().st_size - 4096))
            return b"\r\nNow=" in f.read()

    wait_until("the first tick in the trace", ticked, timeout=timeout, interval=0.02)
    return keyvane, shown, time.monotonic() - started


def start_attached(s, timeout=15.0):
    """Starts keyvane.exe over a running target and waits until a tick took the target."""
    keyvane, shown, ticked = start_measured(s, timeout)
    s.wait_attached()
    print(f"     start-up: panels after {shown:.2f} s, first tick after {ticked:.2f} s", flush=True)
    return keyvane


# ---------------------------------------------------------------------------------------
# Button files
# ---------------------------------------------------------------------------------------

def case_button_file_is_a_folder(s):
    (s.dir / "dovaD.BTN").mkdir()
    (s.dir / "dovaD.BTN" / "inside.txt").write_bytes(b"#MAIN\r\nA KEY A\r\n")
    blank_buttons_case(s)
    check(trace_lines(s.trace_bytes()) == ["", "読み込みファイル表示"], f"trace {s.trace_bytes()[:200]!r}")
    check((s.dir / "dovaD.BTN" / "inside.txt").exists(), "the folder was changed")
    keyvane = next(p for p in s.processes if p.args[1] == "keyvane.exe")
    check_answering(s, keyvane)
    check_no_key_held(s)


def presses_a_and_b(s, keyvane):
    """Presses A and B, the two buttons every MAIN_A_B file has, and checks what that did."""
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(RIGHT, 0, [down(42), up(42)])
    check_no_key_held(s)
    check_answering(s, keyvane)
    expected = trace_lines((trace_block("41") + trace_block("42")).encode("cp932"))
    wait_until("the presses in the trace", lambda: trace_lines(s.trace_bytes()[-65536:])[-8:] == expected)


def whole_trace_bytes(s):
    """The trace of a reading past the size limit: it moved whole to dovaD.OLD.STS, the ticks went on in dovaD.STS."""
    older = s.dir / "dovaD.OLD.STS"
    check(older.exists(), "the reading past the size limit did not move to dovaD.OLD.STS")
    return older.read_bytes() + s.trace_bytes()


@time_limit(300)
def case_random_20_mb(s):
    # 0x1A would end the text-mode reading at once, so it is left out: every byte is read.
    noise = random.Random(20).randbytes(20 * 1024 * 1024).replace(b"\x1a", b"\x1b")
    (s.dir / "dovaD.BTN").write_bytes(MAIN_A_B + noise)
    s.start_target()
    keyvane = start_attached(s, timeout=120)
    text = whole_trace_bytes(s).decode("cp932", "replace")
    check(text.startswith(HEADING + MAP_ECHO), f"the trace starts {text[:200]!r}")
    check(text.count("取得マップ名=") > 100, "the maps in the noise were not all read")
    presses_a_and_b(s, keyvane)
    s.check_focus_kept()


@time_limit(180)
def case_one_line_of_5_mb(s):
    line = bytes(b"abcdefghijklmnopqrstuvwxyz"[i % 26] for i in range(5 * 1024 * 1024))
    (s.dir / "dovaD.BTN").write_bytes(line + b"\r\n" + MAIN_A_B)
    s.start_target()
    keyvane = start_attached(s, timeout=60)
    upper = line.upper().decode("ascii")
    pieces = [upper[i:i + PIECE] for i in range(0, len(upper), PIECE)]
    # Cut into pieces, each echoed on a line of its own before the first map.
    expected = ["", "読み込みファイル表示"] + pieces + ["#MAIN", "取得マップ名=MAIN"]
    got = trace_lines(whole_trace_bytes(s))
    check(got[:len(expected)] == expected, f"the echo of the long line differs; {len(got)} lines")
    presses_a_and_b(s, keyvane)


def case_nul_bytes(s):
    nuls = b"\0" * (1024 * 1024)
    # A line's text ends at its first NUL byte, so nothing after it on the line counts.
    (s.dir / "dovaD.BTN").write_bytes(nuls + b"\r\n#MAIN\r\nA KEY A\0\0Z KEY Z\r\nB KEY B\0\r\n\0" + nuls)
    s.start_target()
    keyvane = start_attached(s)
    got = trace_lines(s.trace_bytes())
    check(got[:4] == ["", "読み込みファイル表示", "#MAIN", "取得マップ名=MAIN"], f"trace lines {got[:6]}")
    presses_a_and_b(s, keyvane)


def case_nul_bytes_only(s):
    (s.dir / "dovaD.BTN").write_bytes(b"\0" * (1024 * 1024))
    blank_buttons_case(s)
    check(trace_lines(s.trace_bytes()) == ["", "読み込みファイル表示"], f"trace {s.trace_bytes()[:200]!r}")
    check_no_key_held(s)


def case_utf16(s):
    # Notepad's "Unicode": read as the code page 932 text it holds, its mark dropped.
    (s.dir / "dovaD.BTN").write_bytes("\ufeff#MAIN\r\nA KEY A\r\nB KEY B\r\n".encode("utf-16-le"))
    s.start_target()
    keyvane = start_attached(s)
    check(s.trace_bytes().startswith((HEADING + MAP_ECHO).encode("cp932")), f"trace {s.trace_bytes()[:100]!r}")
    presses_a_and_b(s, keyvane)


def case_utf8_invalid(s):
    (s.dir / "dovaD.BTN").write_bytes(
        "#MAIN\r\nA KEY A\r\nキー KEY B\r\n".encode("utf-8")
        + b"\xc3\x28 KEY C\r\n\xe2\x82 KEY D\r\n\xf0\x90\x80 KEY E\r\n\x81 KEY F\r\n\xff\xfe KEY G\r\nH KEY H\xe3")
    s.start_target()
    keyvane = start_attached(s)
    got = trace_lines(s.trace_bytes())
    check(got[:4] == ["", "読み込みファイル表示", "#MAIN", "取得マップ名=MAIN"], f"trace lines {got[:6]}")
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(RIGHT, 0, [down(42), up(42)])  # the caption is UTF-8 read as code page 932
    s.press(LEFT, 1, [down(43), up(43)])
    s.press(RIGHT, 1, [down(44), up(44)])
    s.press(LEFT, 2, [down(45), up(45)])
    s.press(RIGHT, 2, [down(46), up(46)])  # a lead byte alone as the caption
    s.press(LEFT, 3, [down(47), up(47)])
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.check_focus_kept()


# ---------------------------------------------------------------------------------------
# A trace file that cannot be written
# ---------------------------------------------------------------------------------------

OLD_TRACE = b"an older trace\r\n"


def recovered_trace(s, data_before):
    """Once the trace can be written again, the ticks and a press are appended as whole lines."""
    wait_until("new lines in the trace", lambda: len(s.trace_bytes()) > len(data_before) + 20, timeout=5)
    s.press(LEFT, 0, [down(41), up(41)])
    wait_until("the press in the trace", lambda: trace_block("41") in s.trace_text())
    data = s.trace_bytes()
    check(data.startswith(data_before), "the old content changed")
    check(trace_lines(data[len(data_before):]) == trace_lines(trace_block("41").encode("cp932")),
          f"appended lines {trace_lines(data[len(data_before):])}")


def case_trace_read_only(s):
    trace = s.dir / "dovaD.STS"
    trace.write_bytes(OLD_TRACE)
    os.chmod(trace, 0o444)  # what Wine shows as the read-only attribute
    # The super-user writes to any file: only the immutable flag stops it.
    immutable = os.geteuid() == 0
    if immutable:
        check(run(["chattr", "+i", str(trace)]).returncode == 0, "chattr +i failed")
    try:
        keyvane = start_attached_unwritable(s)
        s.press(LEFT, 0, [down(41), up(41)])
        s.press(RIGHT, 0, [down(10), down(42), up(42), up(10)])
        check_no_key_held(s)
        check_answering(s, keyvane)
        check(trace.read_bytes() == OLD_TRACE, "the read-only trace was written")
    finally:
        if immutable:
            run(["chattr", "-i", str(trace)])
    os.chmod(trace, 0o644)
    recovered_trace(s, OLD_TRACE)


def start_attached_unwritable(s):
    s.start_target()
    keyvane = s.start_keyvane()
    time.sleep(0.5)  # a few ticks: with no trace to watch, they cannot be waited for
    return keyvane


def case_trace_held_open(s):
    trace = s.dir / "dovaD.STS"
    trace.write_bytes(OLD_TRACE)
    said = s.dir / "holder.txt"
    with open(said, "wb") as out:
        holder = subprocess.Popen(["wine", "keyvane-e2e-probe.exe", "hold-open", "dovaD.STS", "600"], cwd=s.dir,
                                  env=WINE_ENV, stdout=out, stderr=subprocess.DEVNULL)
    s.processes.append(holder)
    wait_until("the probe to hold the trace open", lambda: said.read_bytes().strip() == b"held" or holder.poll(),
               timeout=15)
    check(said.read_bytes().strip() == b"held", "the probe could not hold the trace open")
    keyvane = start_attached_unwritable(s)
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(RIGHT, 0, [down(10), down(42), up(42), up(10)])
    check_no_key_held(s)
    check_answering(s, keyvane)
    check(trace.read_bytes() == OLD_TRACE, "the trace held open was written")
    holder.kill()
    holder.wait(timeout=10)
    recovered_trace(s, OLD_TRACE)


def case_trace_is_a_folder(s):
    (s.dir / "dovaD.STS").mkdir()
    (s.dir / "dovaD.STS" / "inside.txt").write_bytes(OLD_TRACE)
    keyvane = start_attached_unwritable(s)
    s.press(LEFT, 0, [down(41), up(41)])
    s.press(LEFT, 2, [down(20), up(20)])
    check_no_key_held(s)
    check_answering(s, keyvane)
    check((s.dir / "dovaD.STS" / "inside.txt").read_bytes() == OLD_TRACE, "the folder was changed")


def case_trace_deleted_while_running(s):
    """The trace is kept open between appends: deleted by a Windows program or from outside,
    it comes back, and a press after that is in the new file."""
    trace = s.dir / "dovaD.STS"
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    press = trace_block("41")
    s.press(LEFT, 0, [down(41), up(41)])
    wait_until("the press in the trace", lambda: press in s.trace_text())
    for delete in (lambda: s.wine("cmd", "/c", "del", "dovaD.STS"), trace.unlink):
        delete()
        # A new file: the ticks again, the press before the deletion gone with the old one.
        wait_until("a new trace", lambda: "Now=" in s.trace_text() and press not in s.trace_text(), timeout=5)
        s.press(LEFT, 0, [down(41), up(41)])
        wait_until("the press in the new trace", lambda: press in s.trace_text())
    check_no_key_held(s)


# ---------------------------------------------------------------------------------------
# Targets that go away or stop answering, and a storm of clicks
# ---------------------------------------------------------------------------------------

def log_key_events(s, log):
    path = s.dir / log
    lines = path.read_text("utf-8", "replace").splitlines() if path.exists() else []
    return [line for line in lines if line.split(" ")[0] in ("KEYDOWN", "KEYUP", "SYSKEYDOWN", "SYSKEYUP")]


def case_target_closed_between_presses(s):
    target = s.start("keyvane-e2e-target.exe", "target.log")
    wait_until("the target in the foreground", lambda: f"FOREGROUND {TARGET_TITLE}" in s.target_log(), timeout=15)
    keyvane = start_attached(s)
    s.press(LEFT, 0, [down(41), up(41)])
    s.probe("close", TARGET_TITLE)
    wait_until("the target to end", lambda: target.poll() is not None)
    presses = s.trace_text().count(PRESS)
    s.click(LEFT, 0)  # to nobody: the trace still records it
    wait_until("the press in the trace", lambda: s.trace_text().count(PRESS) == presses + 1)
    time.sleep(0.3)
    check_no_key_held(s)
    check_answering(s, keyvane)
    check(s.key_events() == [down(41), up(41)], f"the closed target got {s.key_events()}")
    # A new target window takes the next press.
    s.start("keyvane-e2e-target.exe", "target2.log")
    wait_until("the new target in the foreground",
               lambda: f"FOREGROUND {TARGET_TITLE}" in (s.dir / "target2.log").read_text("utf-8", "replace")
               if (s.dir / "target2.log").exists() else False, timeout=15)
    s.wait_attached()
    s.click(RIGHT, 0)
    wait_until("SHIFT+B at the new target", lambda: len(log_key_events(s, "target2.log")) >= 4)
    time.sleep(0.3)
    got = log_key_events(s, "target2.log")
    check(got == [down(10), down(42), up(42), up(10)], f"the new target got {got}")
    check_no_key_held(s)
    check_answering(s, keyvane)
    check(s.trace_text().count(PRESS) == presses + 2 and s.trace_text().count(RELEASE) == presses + 2,
          "the trace lacks a press")


HANG_LIMIT = 60  # the target wakes by itself after this, should the case fail before waking it


def case_target_hung(s):
    s.start_target()
    keyvane = start_attached(s)
    s.press(LEFT, 0, [down(41), up(41)])
    s.probe("hang", TARGET_TITLE, str(HANG_LIMIT))
    wait_until("the target to hang", lambda: "HANG" in s.target_log().splitlines())
    # The input is attached to the target's thread: presses after the first one wait in the
    # queue they share until the target takes its messages again.
    for title, row in ((LEFT, 0), (LEFT, 0), (LEFT, 2), (RIGHT, 0)):
        s.click(title, row)
    wait_until("a press while the target hangs", lambda: s.trace_text().count(PRESS) >= 2)
    ticks = s.trace_text().count("Now=")
    check_answering(s, keyvane)
    wait_until("ticks while the target hangs", lambda: s.trace_text().count("Now=") >= ticks + 5)
    check("AWAKE" not in s.target_log(), "the target woke up before the checks ended")
    (s.dir / "target.log.wake").touch()
    wait_until("the target to wake up", lambda: "AWAKE" in s.target_log())
    wait_until("the queued keys at the target", lambda: len(s.key_events()) >= 12)
    time.sleep(0.3)
    expected = [down(41), up(41)] * 3 + [down(20), up(20)] + [down(10), down(42), up(42), up(10)]
    check(s.key_events() == expected, f"keys at the target {s.key_events()}")
    blocks = trace_lines((trace_block("41") * 3 + trace_block("20") + trace_block("10", "42")).encode("cp932"))
    check(trace_lines(s.trace_bytes())[-len(blocks):] == blocks, "the trace of the presses")
    check_no_key_held(s)
    check_answering(s, keyvane)
    s.press(LEFT, 0, [down(41), up(41)])
    s.check_focus_kept()


# Faster than any thumb. Wine now and then loses a click that the X server delivered before a
# thread's hooks see it; the panels' low-level hook sees every one, even with no gap at all.
CLICK_GAP_MS = 5


def case_rapid_clicks(s):
    s.start_target()
    keyvane = start_attached(s)
    x, y = s.button_point(LEFT, 0)
    xdotool("mousemove", x, y)
    started = time.monotonic()
    xdotool("click", "--repeat", 200, "--delay", CLICK_GAP_MS, 1)
    clicked = time.monotonic() - started
    wait_until("400 key events at the target", lambda: len(s.key_events()) >= 400, timeout=30,
               seen=lambda: f"{len(s.key_events())} key events, {s.trace_text().count(PRESS)} presses in the trace")
    time.sleep(0.5)
    print(f"     200 clicks in {clicked:.2f} s, all keys at the target after {time.monotonic() - started:.2f} s",
          flush=True)
    check(s.key_events() == [down(41), up(41)] * 200, "the keys differ from 200 times A down, A up")
    chars = [line for line in s.target_log().splitlines() if line.startswith("CHAR ")]
    check(chars == ["CHAR 61"] * 200, f"{len(chars)} characters")
    check_no_key_held(s)
    check_answering(s, keyvane)
    text = s.trace_text()
    check(text.count(PRESS) == 200 and text.count(RELEASE) == 200, "the trace lacks presses")
    check(trace_lines(s.trace_bytes())[-800:] == trace_lines(trace_block("41").encode("cp932")) * 200,
          "the trace of the presses differs")
    s.check_focus_kept()


CASES = [
    ("bad dovaD.BTN: a folder", case_button_file_is_a_folder, None, BUILD),
    ("bad dovaD.BTN: 20 MB of random bytes", case_random_20_mb, None, BUILD),
    ("bad dovaD.BTN: one line of 5 MB", case_one_line_of_5_mb, None, BUILD),
    ("bad dovaD.BTN: NUL bytes around the lines", case_nul_bytes, None, BUILD),
    ("bad dovaD.BTN: NUL bytes only", case_nul_bytes_only, None, BUILD),
    ("bad dovaD.BTN: UTF-16", case_utf16, None, BUILD),
    ("bad dovaD.BTN: UTF-8 with invalid sequences", case_utf8_invalid, None, BUILD),
    ("bad dovaD.STS: read-only", case_trace_read_only, fixture("panels.btn"), BUILD),
    ("bad dovaD.STS: held open without sharing", case_trace_held_open, fixture("panels.btn"), BUILD),
    ("bad dovaD.STS: a folder", case_trace_is_a_folder, fixture("panels.btn"), BUILD),
    ("bad dovaD.STS: deleted while running", case_trace_deleted_while_running, fixture("panels.btn"), BUILD),
    ("bad target: closed between two presses", case_target_closed_between_presses, fixture("panels.btn"), BUILD),
    ("bad target: hung", case_target_hung, fixture("panels.btn"), BUILD),
    ("bad clicks: 200, 5 ms apart", case_rapid_clicks, fixture("panels.btn"), BUILD),
]
