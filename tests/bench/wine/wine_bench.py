#!/usr/bin/env python3
"""Whole-program figures of keyvane.exe under Wine, next to a bare two-window program.

Run by scripts/bench inside a virtual X display with WINEPREFIX set. Both programs run in the
same prefix, warmed up first, alternating round by round, so both see the same machine state.
Each round and program:
  start    the launch (wine program.exe) to both windows mapped on the X server, and the
           program's own part: its first window created to both mapped; six start-ups a
           round, since this figure varies most
  memory   resident set of the program's process 3 s after the start
  idle     CPU time of the program's process while it rests after a tap, the pointer left on
           the button the tap hit (keyvane.exe parks it there itself) and the driver's window,
           which has a child window as most programs do, in front; and how often its
           threads switched meanwhile: every wake-up and every wait for the Wine server counts,
           so polling shows as hundreds more a second
  press    keyvane.exe only: the button's release (SendInput) to the WM_KEYDOWN at the
           driver's window, the foreground window the keys go to
Prints the medians and their ratios; asserts nothing about them.
"""
import argparse
import json
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import time

from x_windows import WindowWatch

ROOT = pathlib.Path(__file__).resolve().parents[3]
BUILD = ROOT / "build" / os.environ.get("KEYVANE_WINE_BUILD", "mingw-i686")
WORK = ROOT / "build" / "bench-work"
WINE_ENV = dict(os.environ, LC_ALL="ja_JP.UTF-8")
PREFIX = os.environ.get("WINEPREFIX", "")

DRIVER = "keyvane-bench-driver.exe"
PRESS_ROW = 3  # the right panel's fourth button: "→ KEY RIGHT" in the example file


class Program:
    def __init__(self, name, exe, titles, press_title, presses, files=(), exe_name=None):
        self.name = name
        self.exe = exe_name or exe.name
        self.titles = titles
        self.press_title = press_title
        self.presses = presses
        self.dir = WORK / name
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        shutil.copy(exe, self.dir / self.exe)
        shutil.copy(BUILD / DRIVER, self.dir / DRIVER)
        for source in files:
            shutil.copy(source, self.dir / source.name)
        self.figures = {"start": [], "own": [], "memory": [], "idle": [], "wakeups": [], "press": [], "lost": []}


def driver(program, *args, timeout=120):
    """Runs the driver to its end. Its output goes through a file: a Wine server or desktop
    process that the driver happens to start would hold a pipe open long after."""
    output = program.dir / "driver.out"
    with output.open("w") as out:
        status = subprocess.run(["wine", DRIVER, *map(str, args)], cwd=program.dir, env=WINE_ENV, stdout=out,
                                stderr=subprocess.DEVNULL, timeout=timeout).returncode
    return status, output.read_text()


def unix_pid(program):
    """The Linux process that runs the program in this Wine prefix."""
    wanted = program.exe.lower()
    for entry in pathlib.Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            argv0 = (entry / "cmdline").read_bytes().split(b"\0")[0].decode("utf-8", "replace").strip()
            if argv0.replace("/", "\\").split("\\")[-1].lower() != wanted:
                continue
            if f"WINEPREFIX={PREFIX}".encode() not in (entry / "environ").read_bytes().split(b"\0"):
                continue
            if (entry / "stat").read_text().split(") ")[1].startswith("Z"):
                continue
            return int(entry.name)
        except OSError:
            continue
    return None


def resident_mib(pid):
    for line in pathlib.Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return float("nan")


def cpu_seconds(pid):
    """CPU time of all the process's threads, in nanoseconds resolution where the kernel has it."""
    total = 0.0
    for task in pathlib.Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[0]) / 1e9
        except (OSError, IndexError, ValueError):
            fields = (task / "stat").read_text().split(") ")[1].split()
            total += (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    return total


def launch(program, watch):
    """Starts the program as a shortcut would and times it on the X server: to its first window
    created and to both its windows mapped. Returns both in ms, when it started, and its pid."""
    watch.drain()
    started = time.monotonic()
    with open(program.dir / "launch.out", "wb") as out:
        # Never a pipe: Wine's services, which the program may start, would hold it open.
        subprocess.Popen(["wine", program.exe], cwd=program.dir, env=WINE_ENV, stdout=out, stderr=out)
    times = watch.until_mapped(program.titles, started)
    if times is None:
        raise RuntimeError(f"{program.name} did not show its windows")
    first_window, shown = times
    pid = None
    deadline = time.monotonic() + 5
    while pid is None and time.monotonic() < deadline:
        pid = unix_pid(program)
        if pid is None:
            time.sleep(0.05)
    if pid is None:
        raise RuntimeError(f"no Linux process for {program.exe}")
    return shown * 1000, (shown - first_window) * 1000, started, pid


def close(program, pid):
    if driver(program, "close", program.titles[0], timeout=30)[0] != 0:
        try:
            os.kill(pid, 9)
        except OSError:
            pass
    deadline = time.monotonic() + 10
    while unix_pid(program) is not None and time.monotonic() < deadline:
        time.sleep(0.05)


def wakeups(pid):
    """Context switches of all the process's threads: each is a wake-up, by a timer or a message."""
    total = 0
    for task in pathlib.Path(f"/proc/{pid}/task").iterdir():
        try:
            for line in (task / "status").read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
        except OSError:
            continue
    return total


def one_round(program, watch, rest_s, starts, measure):
    # Start-up varies most from run to run: a few more starts, each ended at once.
    for _ in range(starts - 1):
        shown_ms, own_ms, _, pid = launch(program, watch)
        close(program, pid)
        if measure:
            program.figures["start"].append(shown_ms)
            program.figures["own"].append(own_ms)
    shown_ms, own_ms, started, pid = launch(program, watch)
    try:
        time.sleep(max(0.0, started + 3.0 - time.monotonic()))
        memory = resident_mib(pid)
        # The driver taps (or presses) the button, then rests: measure the program meanwhile.
        settle = 1.0
        # The driver's lines go to a file, read as they come: never a pipe, which Wine's services
        # may hold open.
        said = program.dir / "press-driver.txt"
        with open(said, "wb") as out:
            process = subprocess.Popen(
                ["wine", DRIVER, "press", program.press_title, str(PRESS_ROW), str(program.presses),
                 str(int((settle + rest_s + 1.0) * 1000))], cwd=program.dir, env=WINE_ENV, stdout=out,
                stderr=subprocess.DEVNULL)
        presses = []
        lost = 0
        idle = None
        done = 0  # bytes of the file's complete lines already taken
        deadline = time.monotonic() + 120
        while idle is None and time.monotonic() < deadline:
            ended = process.poll() is not None
            data = said.read_bytes()
            complete = data[:data.rfind(b"\n") + 1]
            lines, done = complete[done:].decode("ascii", "replace").splitlines(), len(complete)
            if not lines:
                if ended:
                    break
                time.sleep(0.01)
            for line in lines:
                word, _, value = line.strip().partition(" ")
                if word == "press":
                    presses.append(float(value))
                elif word == "lost":
                    lost += 1
                elif word == "resting":
                    time.sleep(settle)
                    cpu0, wakeups0, wall0 = cpu_seconds(pid), wakeups(pid), time.monotonic()
                    time.sleep(rest_s)
                    wall = time.monotonic() - wall0
                    idle = 100 * (cpu_seconds(pid) - cpu0) / wall
                    rate = (wakeups(pid) - wakeups0) / wall
                    break
        if process.wait(timeout=60) != 0 or idle is None or (program.presses and not presses):
            raise RuntimeError(f"{program.name}: the press driver failed after {len(presses)} presses")
    finally:
        close(program, pid)
    if measure:
        program.figures["start"].append(shown_ms)
        program.figures["own"].append(own_ms)
        program.figures["memory"].append(memory)
        program.figures["idle"].append(idle)
        program.figures["wakeups"].append(rate)
        program.figures["press"].extend(presses)
        program.figures["lost"].append(lost)


def median(values):
    return statistics.median(values) if values else float("nan")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=6)
    parser.add_argument("--presses", type=int, default=20, help="timed presses per round")
    parser.add_argument("--rest", type=float, default=5.0, help="seconds of idle measured per round")
    parser.add_argument("--starts", type=int, default=6, help="start-ups measured per round")
    parser.add_argument("--exe", type=pathlib.Path, action="append",
                        help="a keyvane.exe to measure (default the built one); repeat it to compare builds")
    parser.add_argument("--json", type=pathlib.Path, help="also write the figures here")
    parser.add_argument("--native", type=pathlib.Path, help="Google Benchmark JSON of the native load benchmark")
    args = parser.parse_args()
    exes = args.exe or [BUILD / "keyvane.exe"]

    bare = Program("bare", BUILD / "keyvane-bench-bare.exe", ("Bare Left", "Bare Right"), "Bare Right", 0)
    builds = []
    for n, exe in enumerate(exes):
        name = "keyvane" if len(exes) == 1 else f"{n + 1}-{exe.stem}"
        builds.append(Program(name, exe, ("KB1_For_Keyvane", "KB2_For_Keyvane"), "KB2_For_Keyvane", args.presses,
                              files=[ROOT / "examples" / "dovaD.BTN"], exe_name="keyvane.exe"))
    programs = [bare] + builds

    watch = WindowWatch()
    print("== warming up the prefix", flush=True)
    for program in programs:
        one_round(program, watch, 0.5, 1, measure=False)
    for n in range(1, args.rounds + 1):
        # Alternate the order, so no program always follows the same one.
        for program in programs if n % 2 else reversed(programs):
            for attempt in (1, 2, 3):
                try:
                    one_round(program, watch, args.rest, args.starts, measure=True)
                    break
                except (RuntimeError, subprocess.TimeoutExpired) as error:
                    # A machine under load can drop a start or a press: the round is run again.
                    print(f"   {program.name}: {error}; again", flush=True)
                    if attempt == 3:
                        raise
        print(f"== round {n}/{args.rounds}: " + "; ".join(
            f"{p.name} {p.figures['start'][-1]:.0f} ms {p.figures['memory'][-1]:.1f} MiB "
            f"{p.figures['idle'][-1]:.2f} %" + (f" press {median(p.figures['press'][-args.presses:]):.2f} ms"
                                                if p.presses else "") for p in programs), flush=True)

    summary = {}
    for p in programs:
        presses = sorted(p.figures["press"])
        summary[p.name] = {
            "start": median(p.figures["start"]), "own": median(p.figures["own"]), "memory": median(p.figures["memory"]),
            "idle": median(p.figures["idle"]), "wakeups": median(p.figures["wakeups"]),
            "press_p50": median(presses) if presses else None,
            "press_p90": presses[int(len(presses) * 0.9)] if presses else None,
            "presses_lost": sum(p.figures["lost"]),
            "size": (p.dir / p.exe).stat().st_size, "rounds": p.figures}
    if args.native:
        summary["load"] = native_load(args.native)
    if args.json:
        args.json.write_text(json.dumps(summary, indent=2))
    print_table(summary, [p.name for p in builds])
    return 0


def native_load(path):
    """MB/s of the checker's JSON path for the 10 MB files, from the benchmark's JSON output."""
    rates = {}
    for run in json.loads(path.read_text())["benchmarks"]:
        if run["name"].startswith("CheckJson/") and run["name"].endswith("/10"):
            rates[run["name"].split("/")[1]] = run["bytes_per_second"] / 1e6
    return rates


def print_table(s, names):
    """One column per keyvane.exe measured; the verdict is for the last one."""
    bare, last = s["bare"], s[names[-1]]

    def ratio(figure, name):
        return s[name][figure] / bare[figure] if bare[figure] else float("inf")

    def verdict(ok):
        return "ok" if ok else "MISSED"

    def cells(text):
        return [text(name) for name in names]

    rows = [
        ["start, launch to both panels shown", f"{bare['start']:.0f} ms",
         *cells(lambda n: f"{s[n]['start']:.0f} ms ({ratio('start', n):.2f}x)"), "<= 1.2x bare",
         verdict(ratio("start", names[-1]) <= 1.2)],
        ["its own part, first window created to both shown", f"{bare['own']:.0f} ms",
         *cells(lambda n: f"{s[n]['own']:.0f} ms ({ratio('own', n):.2f}x)"), "", ""],
        ["resident memory 3 s after start", f"{bare['memory']:.1f} MiB",
         *cells(lambda n: f"{s[n]['memory']:.1f} MiB ({ratio('memory', n):.2f}x)"), "<= 1.1x bare",
         verdict(ratio("memory", names[-1]) <= 1.1)],
        ["idle CPU after a tap, pointer on the button", f"{bare['idle']:.2f} %",
         *cells(lambda n: f"{s[n]['idle']:.2f} %"), "<= 0.2 %", verdict(last["idle"] <= 0.2)],
        ["thread switches a second at rest", f"{bare['wakeups']:.0f}", *cells(lambda n: f"{s[n]['wakeups']:.0f}"),
         "no polling", ""],
        ["click release to key-down, p50 (p90)", "",
         *cells(lambda n: f"{s[n]['press_p50']:.2f} ms ({s[n]['press_p90']:.1f})" +
                (f" {s[n]['presses_lost']} lost" if s[n]["presses_lost"] else "")), "<= 1.3 ms",
         verdict(last["press_p50"] <= 1.3)],
        ["exe as shipped", f"{bare['size'] / 1000:.1f} KB", *cells(lambda n: f"{s[n]['size'] / 1000:.0f} KB"),
         "<= 400 KB", verdict(last["size"] <= 400_000)],
    ]
    for kind, rate in sorted(s.get("load", {}).items()):
        # The goal is for a button file; the file of mistakes is a stress case whose report is
        # larger than the file itself, shown to catch a step that grows with the diagnostics.
        goal = [">= 50 MB/s", verdict(rate >= 50)] if kind == "Example" else ["(stress case)", ""]
        rows.append([f"native load, 10 MB {kind.lower()} file, --json", "", *([""] * (len(names) - 1)),
                     f"{rate:.1f} MB/s", *goal])
    header = ["figure", "bare", *names, "goal", ""]
    widths = [max(len(row[i]) for row in rows + [header]) for i in range(len(header))]
    for row in [header] + rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


if __name__ == "__main__":
    sys.exit(main())
