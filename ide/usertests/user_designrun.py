"""The design windows after a debugging run: a resource script on the
command line shows its form "Greeting"; a source opened with File > Open is
run with 実行 > 実行; its program is missing, so the IDE asks to build it,
and the build box's ﾃﾞﾊﾞｯｸﾞ starts a debugging run (which hides the design
windows). The program is 32-bit: under this 64-bit IDE it faults while
starting, the IDE reports the application error and the run ends; then the
form is shown again and the IDE is back in edit mode."""
import os
import time

from uidrive import Session, winpath

with Session("designrun") as s:
    rc = s.put("examples/designer/FORMS.RC")
    bas = s.put("examples/hello.bas", "HELLO.BAS")
    exe = os.path.join(s.files, "HELLO.exe")
    s.start(rc)
    s.wait_window(r"^Tambrix - ", 90)
    s.require(s.find_window(r"Greeting") or s.wait_window(r"Greeting", 60), "the form Greeting is shown")

    s.menu("f", "o")
    s.wait_window(r"開く|Open", 30)
    s.type(winpath(bas) + "\n", delay=3)
    opened = s.wait_text(lambda t: t.startswith("' hello.bas"), focus=s.focus_frame)
    s.require(opened.startswith("' hello.bas"), "HELLO.BAS opens in an editor", repr(opened[:40]))

    # Run: the program is missing, the IDE asks to build it (Yes, the
    # default button), the build box offers Debug.
    s.menu("r", "r")
    ask = s.wait_box()
    s.focus(ask, 8, 8)
    s.keys("Return")
    box = s.wait_window(r"^Tambrix V6\.3$", 60)
    end = time.time() + 180
    while not os.path.exists(exe) and time.time() < end:
        time.sleep(1)
    s.require(os.path.exists(exe), "the build wrote HELLO.exe")
    # The box's buttons come alive when the build has ended.
    end = time.time() + 60
    while time.time() < end:
        s.focus(box, 8, 8)
        s.keys("alt+d")
        if s.wait_gone(r"^Tambrix V6\.3$", 3):
            break
    s.require(not s.find_window(r"^Tambrix V6\.3$"), "the build box's Debug started the debugging run")

    # The run ends with the IDE's message (the application error).
    why = s.wait_box(60)
    s.shot("run-message")
    s.focus(why, 8, 8)
    s.keys("Return")
    end = time.time() + 10
    while s.find_window(r"^Tambrix$", besides=(s.main_frame(),)) and time.time() < end:
        time.sleep(0.5)
    s.check(not s.find_window(r"^Tambrix$", besides=(s.main_frame(),)), "the message is gone")
    found = None
    end = time.time() + 30
    while not found and time.time() < end:
        found = s.find_window(r"Greeting")
        time.sleep(0.5)
    s.check(bool(found), "after the debugging run the form Greeting is shown again")
    s.shot("after")
