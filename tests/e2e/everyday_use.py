"""End-to-end cases of the everyday use: keys, pages, trace, placement, the second copy, the
notification icon, the corner exit, the 64-bit build and the Windows checker."""

import json
import random
import shutil
import time

from harness import (ARTIFACTS, BUILD, BUILD_X64, HEADING, IME_LINE, LEFT, NATIVE_CHECK, RIGHT, ROOT, TARGET_TITLE,
                     TICK_LINE, TRAY_ICON, check, choose_from_tray_menu, down, fixture, run, screenshot, trace_block,
                     up, wait_until, xdotool)
from shared import (FIXTURE_HEADERS, KANA_LEFT, KANA_RIGHT, MAIN_LEFT, MAIN_RIGHT, NUM_LEFT, NUM_RIGHT,
                    blank_buttons_case)


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


def case_tray_quit(s):
    s.start_target()
    first = s.start_keyvane()
    s.wait_attached()
    check(s.visible("Wine System Tray"), "no notification icon")
    choose_from_tray_menu(s, "Quit")
    wait_until("the program to end", lambda: first.poll() is not None, timeout=5)
    wait_until("the notification icon to go", lambda: not s.visible("Wine System Tray"))


def case_tray_about(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    choose_from_tray_menu(s, "About")
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
    moved = s.probe("move", LEFT, "300", "300").strip()
    check(moved == "moved", f"the move did not happen: {moved!r}")
    wait_until("the left panel back in place", lambda: s.window(LEFT)["rect"] == (0, 41, 57, 387), timeout=2.0)


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
