"""End-to-end case of the pages that follow the program in front (the APP_PAGE table).

The test target is copied under two other file names, so that three programs differ only by
their names: EDITOR.EXE brings the page EDIT, BROWSER.EXE the page WEB, and a third, named in
no line, brings back the default page the user chose before.
"""
import shutil

from harness import BUILD, LEFT, TARGET_TITLE, check, cp932_file, down, up, wait_until

PROGRAM_PAGES = cp932_file("#MAIN\nA KEY A\nDUMMY\nU BASE USER\n#USER\nU KEY U\n#EDIT\nE KEY E\n#WEB\nW KEY W\n"
                           "#APP_PAGE\neditor.exe BASE EDIT\nBROWSER.EXE BASE WEB\n")


def read_log(s, name):
    path = s.dir / name
    return path.read_text("utf-8", "replace") if path.exists() else ""


def start_program(s, exe, log):
    """Starts a copy of the target under another file name and waits until it is in front."""
    if exe != "keyvane-e2e-target.exe":
        shutil.copy(s.dir / "keyvane-e2e-target.exe", s.dir / exe)
    s.start(exe, log)
    wait_until(f"{exe} in the foreground", lambda: f"FOREGROUND {TARGET_TITLE}" in read_log(s, log), timeout=15)


def key_lines(s, log):
    """The program's key downs and ups, without the other lines it logs about them (KEYTIME)."""
    return [line for line in read_log(s, log).splitlines() if line.startswith(("KEYDOWN ", "KEYUP "))]


def press_into(s, log, row, code):
    """Clicks a left button; the program with that log must get its key and no other."""
    before = key_lines(s, log)
    s.click(LEFT, row)
    expected = before + [down(code), up(code)]
    wait_until(f"{code} at the program of {log}", lambda: key_lines(s, log) == expected)


def case_each_program_brings_its_page(s):
    s.start_target()
    s.start_keyvane()
    s.wait_attached()
    s.click(LEFT, 1)  # U BASE USER: the user's own default page
    s.wait_captions(LEFT, ["U"])
    for exe, log, page, code in (("EDITOR.EXE", "editor.log", "EDIT", "45"), ("BROWSER.EXE", "browser.log", "WEB", "57")):
        start_program(s, exe, log)
        wait_until(f"the trace line of {exe}", lambda: f"APP_PAGE:{exe} -> {page}\r\n" in s.trace_text())
        s.wait_captions(LEFT, [page[0]])
        press_into(s, log, 0, code)  # a KEY goes back to the default page: the program's page
        s.wait_captions(LEFT, [page[0]])
    start_program(s, "OTHER.EXE", "other.log")
    wait_until("the trace line of OTHER.EXE", lambda: "APP_PAGE:OTHER.EXE -> USER\r\n" in s.trace_text())
    s.wait_captions(LEFT, ["U"])
    press_into(s, "other.log", 0, "55")
    check(s.trace_text().count("APP_PAGE:") == 3, "more than three switches by program in the trace")


CASES = [
    ("program pages: two programs bring their pages, a third the user's default", case_each_program_brings_its_page,
     PROGRAM_PAGES, BUILD),
]
