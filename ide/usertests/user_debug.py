"""Debugging a loose source, as a user does it: FAKE.BAS opened from the
command line (no project), 実行 > ﾃﾞﾊﾞｯｸﾞ starts FAKE.EXE beside it (the
build's x86_64 test debuggee, linked without a console window, as this
64-bit IDE debugs 64-bit programs only) without asking for DEFAULT.exe, and
the margin marks the stop line. A click into the margin shows its
breakpoint mark at once and a second click takes it away; the run goes on
to the breakpoint and to its end, and the editor is back in edit mode."""
import os
import subprocess
import time

from uidrive import BUILD, ROOT, Failure, Session, winpath

STOP = (0, 255, 255)   # the stop line's triangle
BREAK = (255, 0, 0)    # a breakpoint's circle


def debuggee():
    path = os.path.join(BUILD, "bin", "fake_debuggee_gui.exe")
    if not os.path.exists(path):
        raise Failure("no %s" % path)
    return path


def spots(sc, colour, area):
    """The rows (y) where a colour is in an area (x, y, w, h) of the screen."""
    x0, y0, w, h = area
    return sorted({y for y in range(y0, min(y0 + h, sc.height))
                   for x in range(x0, min(x0 + w, sc.width)) if sc.pixel(x, y) == colour})


def wait_spots(s, colour, area, present, timeout=15, forward=None):
    """Waits (bounded) until a colour is (or is no longer) in the area; its
    rows. `forward()`, when given, is called before each look."""
    end = time.time() + timeout
    while True:
        if forward:
            forward()
        rows = spots(s.screen(), colour, area)
        if bool(rows) == present or time.time() > end:
            return rows
        time.sleep(0.5)


with Session("debug") as s:
    exe = os.path.join(s.files, "FAKE.EXE")
    with open(debuggee(), "rb") as f:
        data = f.read()
    with open(exe, "wb") as f:
        f.write(data)
    # The debuggee writes the object file that holds its lines.
    subprocess.run([os.path.join(ROOT, "scripts", "wine-run.sh"), exe, "--obj",
                    winpath(os.path.join(s.files, "FAKE.obj"))],
                   env=s.env, cwd=s.files, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=180)
    s.require(os.path.exists(os.path.join(s.files, "FAKE.obj")), "FAKE.EXE wrote FAKE.obj")
    src = os.path.join(s.files, "FAKE.BAS")
    with open(src, "wb") as f:
        f.write(b"".join(b"REM %d\r\n" % n for n in range(1, 27)))

    s.start(src)
    opened = s.wait_text(lambda t: t.startswith("REM 1"), focus=s.focus_frame)
    s.require(opened.startswith("REM 1"), "FAKE.BAS opens in an editor", repr(opened[:20]))
    frame = s.wait_window(r"^Tambrix - ")
    fx, fy, fw, fh = s.geometry(frame)
    view = (fx, fy, fw // 2, fh)   # the first document window opens at the top left

    def forward():
        # The debuggee's console window may lie over the IDE: a click on
        # the frame's empty lower right brings the IDE forward.
        s.focus(frame, -40, -40)

    # Debug without a project: the program is FAKE.EXE, it stops on the
    # first line of its main routine, and no box asks for anything.
    s.menu("r", "d")
    main = s.main_frame()
    stop = wait_spots(s, STOP, view, True, 90, forward)
    box = s.find_window(r"^Tambrix$", besides=(main,))
    if box:
        s.shot("debug-box")
    s.require(not box, "Debug on a loose source asks nothing (no DEFAULT.exe)")
    s.require(bool(stop), "Debug started FAKE.EXE and the margin marks the stop line")
    s.shot("stopped")

    # The margin: the stop mark's column, the line pitch from the numbers'
    # rows (dark text), line 5 three lines under the stop line (line 2).
    sc = s.screen()
    xs = [x for x in range(view[0], view[0] + view[2]) if sc.pixel(x, stop[0] + (stop[-1] - stop[0]) // 2) == STOP]
    mark_x = xs[0] + 3
    number_rows = [y for y in range(stop[0] - 40, stop[0] + 120)
                   if any(max(sc.pixel(x, y)) < 96 for x in range(xs[0] + 14, xs[0] + 46))]
    tops = [y for y in number_rows if y - 1 not in number_rows]
    pitches = sorted(b - a for a, b in zip(tops, tops[1:]) if b - a > 6)
    s.require(bool(pitches), "the margin shows line numbers")
    pitch = pitches[len(pitches) // 2]
    line5 = (stop[0] + stop[-1]) // 2 + 3 * pitch
    near5 = (xs[0] - 2, line5 - pitch // 2, 30, pitch)

    s.click_screen(mark_x, line5)
    marked = wait_spots(s, BREAK, near5, True, 5)
    s.check(bool(marked), "a click in the margin shows the breakpoint mark at once (no other repaint)")
    s.shot("breakpoint")
    s.click_screen(mark_x, line5)
    s.check(not wait_spots(s, BREAK, near5, False, 5), "a second click takes the mark away at once")

    # Set again; Continue runs to it: the stop mark moves to line 5.
    s.click_screen(mark_x, line5)
    s.require(bool(wait_spots(s, BREAK, near5, True, 5)), "the breakpoint is set again")
    s.menu("r", "c")
    s.check(bool(wait_spots(s, STOP, near5, True, 30, forward)), "Continue stops at the breakpoint on line 5")

    # Without the breakpoint the run goes to its end: no stop mark, and the
    # editor takes typing again (edit mode).
    s.click_screen(mark_x, line5)
    wait_spots(s, BREAK, near5, False, 5)
    s.menu("r", "c")
    s.check(not wait_spots(s, STOP, view, False, 60, forward), "the run ended: no stop mark")
    box = s.find_window(r"^Tambrix$", besides=(main,))
    if box:
        s.shot("end-box")
        s.focus(box[0], 8, 8)
        s.keys("Return")
    s.focus_frame()
    s.keys("ctrl+End")
    s.type("REM 27")
    text = s.wait_text(lambda t: t.rstrip("\n").endswith("REM 27"), 20)
    s.check(text.rstrip("\n").endswith("REM 27"), "after the run the editor takes typing again",
            repr(text[-20:]))
    s.shot("ended")
