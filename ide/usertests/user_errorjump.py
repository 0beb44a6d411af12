"""A module with an error: the project opened with Project > Open, built
from the menu (翻訳 > 翻訳); the build result window lists the compiler's
error line (NMAKE names MAIN.BAS, a blank line, then the error), and a
double click on it opens the module with the caret on the faulty line (a
mark typed there and saved changes that line on disk, no other)."""
import os
import time

from uidrive import Session, winpath

with Session("errorjump") as s:
    proj = s.put("examples/project", "bad")
    main = os.path.join(proj, "MAIN.BAS")
    text = open(main, "rb").read()
    eol = b"\r\n" if b"\r\n" in text else b"\n"
    lines = text.split(eol)
    bad_line = 3
    lines.insert(bad_line - 1, b"a = (1 + ")
    text_with_error = eol.join(lines)
    open(main, "wb").write(text_with_error)

    s.start()
    s.main_frame()
    s.wait_window(r"^Tambrix - ")
    s.menu("p", "o")
    s.wait_window(r"開く|Open", 30)
    s.type(winpath(os.path.join(proj, "DEMO.MAK")) + "\n", delay=3)

    s.menu("c", "c")
    box = s.wait_window(r"^Tambrix V6\.3$", 60)
    s.check(s.wait_file(os.path.join(proj, "DEMO.mk2"), 60), "the build ran")
    # Close (the default button) comes alive when the build has ended; the
    # failed build then shows the result window.
    end = time.time() + 180
    while time.time() < end:
        s.focus(box, 8, 8)
        s.keys("Return")
        if s.wait_gone(r"^Tambrix V6\.3$", 3):
            break
    s.require(not s.find_window(r"^Tambrix V6\.3$"), "the build ended and its box closed")
    s.check(not os.path.exists(os.path.join(proj, "DEMO.exe")), "no program from a module with an error")

    # The error line (the third) selected with the keyboard shows where it
    # is on the screen; there the double click.
    s.focus_frame(300, 120)
    s.keys("ctrl+Home", "Down", "Down", "Home")
    before = s.screen()
    s.keys("shift+End")
    area = s.changed_area(before, s.screen())
    s.require(area is not None, "the error line is in the result window")
    x, y, w, h = area
    s.keys("Home")
    before = s.screen()
    s.click_screen(x + min(w // 2, 40), y + h // 2, double=True)
    # The editor that opened (drawn in full a moment after it shows): a
    # click on its caption gives it the keyboard without moving its caret.
    opened = None
    end = time.time() + 30
    while not opened and time.time() < end:
        time.sleep(1)
        opened = s.changed_area(before, s.screen())
    time.sleep(1)
    after = s.screen()
    opened = s.changed_area(before, after)
    s.require(opened is not None, "the double click opened a window")
    ox, oy, ow, oh = opened
    caption = next((yy for yy in range(oy, oy + oh)
                    if sum(1 for xx in range(ox, ox + ow, 4)
                           if after.pixel(xx, yy)[2] > 180 and after.pixel(xx, yy)[0] < 120) > ow // 8),
                   None)
    s.require(caption is not None, "the active window's caption is on the screen")
    s.click_screen(ox + ow // 2, caption + 4)
    # The caret's line: a comment mark typed at its start, File > Save, and
    # on disk exactly the faulty line has changed.
    s.keys("Home")
    s.type("'")
    s.menu("f", "s")
    s.require(s.wait_file(main, 30, changed_from=text_with_error), "File > Save wrote MAIN.BAS")
    # (the IDE writes CR LF whatever the file had)
    saved = open(main, "rb").read().replace(b"\r\n", b"\n").split(b"\n")
    changed = [n + 1 for n, (a, b) in enumerate(zip(lines, saved)) if a != b]
    s.check(changed == [bad_line] and saved[bad_line - 1] == b"'" + lines[bad_line - 1],
            "the double click put the caret on the faulty line (line %d)" % bad_line,
            "changed lines %s" % changed)
    s.shot("jumped")
