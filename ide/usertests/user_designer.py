"""A resource script named on the command line opens with its form: the
installation's RC compiles it (with tq70form.h from its INCLUDE) and the
form window "Greeting" shows in design mode. A push button placed from the
tool box, its text changed in the property window, File > Save: the script
on disk holds the button with its text; opened again, the form shows it."""
import os
import re
import time

from uidrive import Session

TOOL_PITCH, TOOL_X, TOOL_Y = 31, 15, 62   # the docked tool box's buttons in the main frame
PUSH_BUTTON = 1                           # after the pointer
TEXT_VALUE = (112, 137)                   # a button's first row (ﾃｷｽﾄ), its value cell
PLACE = (40, 212)                         # free space under the list box


def open_form(s, rc):
    s.start(rc)
    form = s.wait_window(r"^Greeting$", 120)
    s.wait_window(r"^Tambrix - ")
    return form


with Session("designer") as s:
    rc = s.put("examples/designer/FORMS.RC")
    form = open_form(s, rc)
    s.check(s.wait_file(os.path.join(s.files, "FORMS.res"), 60),
            "the installation's RC compiled FORMS.RC")
    s.shot("opened")

    # View > Properties, then the tool box's push button and a click on the form.
    s.menu("v", "p")
    prop = s.wait_window(r"ﾌﾟﾛﾊﾟﾃｨ", 30)
    s.click(s.main_frame(), TOOL_X + TOOL_PITCH * PUSH_BUTTON, TOOL_Y)
    before = s.screen()
    s.click(form, *PLACE)
    # The control on the form and its rows in the property window.
    placed = shown = None
    end = time.time() + 20
    while not (placed and shown) and time.time() < end:
        time.sleep(0.5)
        now = s.screen()
        placed = s.changed_area(before, now, within=s.geometry(form))
        shown = s.changed_area(before, now, within=s.geometry(prop))
    s.require(placed is not None, "a click on the form placed a control")
    s.require(shown is not None, "the property window shows the new control")
    fx, fy, _, _ = s.geometry(form)

    # Its text in the property window: a click on the value opens the row's
    # editor; the new text, Return.
    s.click(prop, *TEXT_VALUE)
    s.keys("ctrl+a")
    s.type("Hello user\n", delay=1)
    s.shot("edited")

    # File > Save with the script's window (its tree, at the frame's top left) active.
    saved_before = open(rc, "rb").read()
    s.focus_frame(116, 36)
    s.menu("f", "s")
    s.require(s.wait_file(rc, 30, changed_from=saved_before), "File > Save wrote FORMS.RC")
    script = open(rc, "rb").read().decode("cp932")
    block = re.search(r'__CREATE3, XWT_PUSHBUTTON[^\n]*\n(?:(?!__CREATE3)[^\n]*\n)*?'
                      r'\s*__WINDOWTITLE, "Hello user\\0"\s*\n\s*__CONTROLNAME, "(\w+)\\0"', script)
    s.check(block is not None and block.group(1) == "BUTTON3",
            "FORMS.RC holds the new push button BUTTON3 with the text \"Hello user\"")
    s.check(script.count("XWT_PUSHBUTTON") == 3 and '"Greet\\0"' in script and '"Close\\0"' in script,
            "the form's other controls are still in FORMS.RC")

    # The button as it is drawn on the form, text included (inside the
    # selection's frame).
    bx, by, bw, bh = placed[0] - fx + 6, placed[1] - fy + 6, placed[2] - 12, placed[3] - 12
    drawn = s.mask(form, bx, by, bw, bh)
    s.check(sum(r.count("#") for r in drawn) > 20, "the form shows the button's text")

    # Opened again: the IDE ends, the script is compiled anew and the form
    # shows the button with its text at its place.
    res = os.path.join(s.files, "FORMS.res")
    old_res = open(res, "rb").read()
    s.stop()
    form = open_form(s, rc)
    s.check(s.wait_file(res, 60, changed_from=old_res), "FORMS.RC is compiled again")
    # The text's dark pixels are looked for a few pixels around their old
    # place: the button is drawn anew from the script, not from the screen
    # (its text may come out a pixel narrower). The empty form before the
    # button was placed is the measure's zero.
    dark = [(x, y) for y, row in enumerate(drawn) for x, c in enumerate(row)
            if c == "#" and 3 <= x < bw - 3 and 3 <= y < bh - 3]

    def best(rows):
        return max(sum(rows[y + 4 + dy][x + 4 + dx] == "#" for x, y in dark)
                   for dx in range(-4, 5) for dy in range(-4, 5))

    empty = best(["".join("#" if max(before.pixel(xx, yy)) < 96 else "."
                          for xx in range(fx + bx - 4, fx + bx + bw + 4))
                  for yy in range(fy + by - 4, fy + by + bh + 4)])
    found = 0
    end = time.time() + 30
    while time.time() < end:
        found = best(s.mask(form, bx - 4, by - 4, bw + 8, bh + 8))
        if found >= len(dark) * 3 // 4:
            break
        time.sleep(1)
    s.shot("reopened")
    s.check(len(dark) > 20 and found >= len(dark) * 3 // 4 and empty < len(dark) // 2,
            "opened again, the form shows the button with \"Hello user\" where it was placed",
            "%d of %d dark pixels found, %d on the empty form" % (found, len(dark), empty))
