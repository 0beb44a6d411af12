"""The example project: opened from the command line, built from the menu
(翻訳 > すべて翻訳), the build box's "作成を終了しました", the program and
the make script on disk, the result window's text; then Run, which cannot
start a 32-bit program here and says so."""
import os
import time

from uidrive import Session

with Session("build") as s:
    proj = s.put("examples/project", "demo")
    exe = os.path.join(proj, "DEMO.exe")
    s.start(os.path.join(proj, "DEMO.MAK"))
    s.wait_window(r"^Tambrix - ")

    # Build all: the IDE asks first (20027), then its build box stays.
    s.menu("c", "a")
    s.main_frame()
    ask = s.wait_box()
    s.focus(ask, 8, 8)
    s.keys("Return")
    box = s.wait_window(r"^Tambrix V6\.3$", 60)
    end = time.time() + 180
    while not os.path.exists(exe) and time.time() < end:
        time.sleep(1)
    s.require(s.wait_file(exe, 1), "DEMO.exe is built beside the project")
    s.check(s.wait_file(os.path.join(proj, "DEMO.mk2"), 5), "the IDE wrote its make script DEMO.mk2")
    s.check(open(exe, "rb").read(2) == b"MZ", "DEMO.exe is a Windows program")
    box = s.wait_window(r"^Tambrix V6\.3$", 10)
    w = s.geometry(box)[2]
    # The box's text changes when NMAKE has ended, a moment after LINK. Its
    # line is compared in a band of fixed height: Wine makes the box itself
    # 100 or 116 pixels tall from run to run.
    end = time.time() + 60
    while not s.matches("build-done", box, 0, 0, w, 40) and time.time() < end:
        time.sleep(1)
    s.check(s.matches("build-done", box, 0, 0, w, 40),
            "the build box says \"DEMO.exe 作成を終了しました\"")
    s.shot("built")

    # Run (the box's 実行 button, its default): the program is 32-bit and
    # this Wine has no 32-bit system files, so the IDE refuses it and says why.
    s.focus(box, 8, 8)
    s.keys("alt+r")
    # The refusal comes over the build box, which stays for another try.
    why = s.wait_box(30)
    s.focus(why, 8, 8)
    _, _, w, h = s.geometry(why)
    s.shot("run")
    s.check(s.matches("run-32bit", why, 48, 4, w - 56, 50),
            "Run says it cannot start DEMO.exe, and why (\"... を起動できません\")")
    s.keys("Return")
