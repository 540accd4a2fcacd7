"""End-to-end cases of faults that only show on a real Windows desktop: a program folder whose
code page 932 name holds the backslash byte, and a running copy whose mutex a second start may
not open.
"""
import shutil

from run_e2e import BUILD, HEADING, LEFT, MAIN_LEFT, MAIN_RIGHT, RIGHT, check, fixture, wait_until

MUTEX_NAME = "Keyvane Lanternworks"


# ---------------------------------------------------------------------------------------
# The program's folder
# ---------------------------------------------------------------------------------------

def case_folder_and_name_with_backslash_bytes(s):
    # 表 is 0x95 0x5C and ソ 0x83 0x5C in code page 932: both end in the backslash byte.
    folder = s.dir / "表"
    folder.mkdir()
    shutil.copy(s.dir / "keyvane.exe", folder / "ソフト.exe")
    (folder / "dovaD.BTN").write_bytes(fixture("panels.btn"))
    s.start_target()
    s.start(str(folder / "ソフト.exe"))
    wait_until("both panels shown", lambda: s.visible(LEFT) and s.visible(RIGHT), timeout=15)
    check(s.captions(LEFT) == MAIN_LEFT, f"left captions {s.captions(LEFT)}")
    check(s.captions(RIGHT) == MAIN_RIGHT, f"right captions {s.captions(RIGHT)}")
    trace = folder / "dovaD.STS"
    wait_until("dovaD.STS next to the program", trace.exists)
    text = trace.read_bytes().decode("cp932")
    check(text.startswith(HEADING + "#MAIN\r\n取得マップ名=MAIN\r\n"), f"the trace starts {text[:100]!r}")
    files = sorted(path.name for path in folder.iterdir())
    check(files == sorted(["ソフト.exe", "dovaD.BTN", "dovaD.STS"]), f"files beside the program: {files}")


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


CASES = [
    ("faults: program folder and name with backslash bytes", case_folder_and_name_with_backslash_bytes, None, BUILD),
    ("faults: second start denied the running copy's mutex", case_second_start_denied_the_mutex,
     fixture("panels.btn"), BUILD),
]
