"""A source opened from the command line: typing, File > Save and Save As,
Ctrl+S (find), and the line check's box with the compiler's message."""
import os
import time

from uidrive import Session, winpath

with Session("edit") as s:
    src = s.put("examples/hello.bas", "HELLO.BAS")
    before = open(src, "rb").read()
    s.start(src)
    opened = s.wait_text(lambda t: t.startswith("' hello.bas"), focus=s.focus_frame)
    s.require(opened.startswith("' hello.bas"), "HELLO.BAS opens in an editor", repr(opened[:40]))

    # Typing at the end of the source.
    s.keys("ctrl+End")
    s.type("\nprint 42")
    text = s.copy_all()
    s.check(text.rstrip("\n").endswith("print 42") or text.rstrip("\n").endswith("PRINT 42"),
            "the typed line is in the editor", repr(text[-40:]))

    # File > Save: the file holds the typed line.
    s.keys("ctrl+End")
    s.menu("f", "s")
    s.check(s.wait_file(src, 30, changed_from=before), "File > Save wrote HELLO.BAS")
    after = open(src, "rb").read()
    s.check(after.rstrip(b"\r\n").upper().endswith(b"PRINT 42") and b"\r\n" in after,
            "File > Save wrote the typed line with CR LF", repr(after[-30:]))

    # File > Save As under a new name.
    copy = os.path.join(s.files, "COPY.BAS")
    s.menu("f", "a")
    dlg = s.wait_window(r"名前を付けて保存|Save As")
    s.focus(dlg)
    s.keys("ctrl+a")
    s.type(winpath(copy) + "\n", delay=2)
    s.require(s.wait_file(copy), "Save As wrote COPY.BAS")
    saved = open(copy, "rb").read()
    s.check(saved.startswith(before.rstrip(b"\r\n")) and saved.rstrip(b"\r\n").upper().endswith(b"PRINT 42"),
            "COPY.BAS holds the source and the typed line", repr(saved[-40:]))
    s.check(b"\n" not in saved.replace(b"\r\n", b""), "its lines end with CR LF")

    # Ctrl+S finds: the find box, the word, the match selected (while the
    # find command has no handler, Ctrl+S opens nothing: noted).
    s.focus_frame()
    s.keys("ctrl+Home", "ctrl+s")
    find = s.find_window(r"検索|Find") or (time.sleep(5) or s.find_window(r"検索|Find"))
    if not find:
        s.log("note Ctrl+S opened no find box")
    else:
        s.focus(find[0])
        s.type("42\n")
        s.keys("Escape", "ctrl+c")
        s.check(s.clipboard() == "42", "Ctrl+S found the word and selected it", repr(s.clipboard()))

    # The line check: an unbalanced line shows the compiler's message.
    s.keys("ctrl+End")
    s.type("\na = (1 + 2))")
    s.keys("Up")
    box = s.wait_window(r"Tambrix ｴﾗｰ : COPY\.BAS \[\d+行\]", 20)
    s.focus(box, 8, 8)
    _, _, w, h = s.geometry(box)
    s.check(s.matches("linecheck-box", box, 48, 4, w - 56, 34),
            "the line check's box reads like the compiler's error line: "
            "\"[02] 文法が正しくありません\" and \"('(' (左カッコ)がありません)\"")
    s.keys("Return")
    s.shot("edit")
