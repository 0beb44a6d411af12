"""Drives the installed IDE as a user does: an X server of its own (Xvfb), a
Wine prefix of its own with an installation laid out by scripts/install.sh
and registered in it, TAMBRIX.EXE started from that installation, and only
the keyboard and the mouse (xdotool). What a test checks is what a user can
see or find: window titles, files on disk, text copied to the clipboard,
pixels of the screen.

    with Session("edit") as s:
        s.start(s.put("examples/hello.bas"))
        s.wait_window("HELLO.BAS")
        s.keys("ctrl+End"); s.type("print 4\\n")
        ...

Each session has its own display and prefix, so sessions run in parallel.
The build folder comes from TX_BUILD (default build/win64 of the tree).
"""
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("TX_BUILD", os.path.join(ROOT, "build", "win64"))
SCREEN = (1024, 768)


class Failure(Exception):
    pass


def winpath(path):
    """The Windows name of a Linux path (drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Session:
    def __init__(self, name, keep=None):
        self.name = name
        self.keep = os.environ.get("TX_KEEP") if keep is None else keep
        self.work = tempfile.mkdtemp(prefix="tx-user-%s-" % name)
        self.prefix = os.path.join(self.work, "prefix")
        self.inst = os.path.join(self.work, "inst")
        self.files = os.path.join(self.work, "files")
        self.fb = os.path.join(self.work, "fb")
        for d in (self.prefix, self.files, self.fb):
            os.makedirs(d)
        self.xvfb = None
        self.ide = None
        self.failures = 0
        self.env = dict(os.environ)
        self.env.update(TX_WINEPREFIX=self.prefix, WINEPREFIX=self.prefix,
                        LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")

    # ---- set-up and tear-down ---------------------------------------------

    def __enter__(self):
        self._start_x()
        self._install()
        return self

    def __exit__(self, kind, value, tb):
        if kind is not None and kind is not KeyboardInterrupt:
            self.log("stopped by %s: %s" % (kind.__name__, value))
            self.shot("failure")
            self.failures += 1
        self.stop()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        if self.keep:
            self.log("kept %s" % self.work)
        else:
            shutil.rmtree(self.work, ignore_errors=True)
        print("RESULT %s" % ("PASS" if self.failures == 0 else "FAIL"))
        sys.stdout.flush()
        return kind is Failure

    def _start_x(self):
        # Xvfb picks a free display and tells us which.
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % SCREEN,
             "-fbdir", self.fb, "-nolisten", "tcp"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number

    def _install(self):
        t = time.time()
        run = subprocess.run(
            ["bash", os.path.join(ROOT, "scripts", "install.sh"), BUILD, self.inst, "--register"],
            env=self.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if run.returncode != 0:
            raise Failure("install.sh failed:\n" + run.stdout.decode(errors="replace"))
        self.log("installation and Wine prefix ready (%.0f s)" % (time.time() - t))

    def start(self, *args):
        """Starts the installed TAMBRIX.EXE with these arguments (Linux paths
        become Windows ones)."""
        exe = os.path.join(self.inst, "TAMBRIX", "TAMBRIX.EXE")
        argv = [winpath(a) if a.startswith("/") else a for a in args]
        self.ide = subprocess.Popen(
            [os.path.join(ROOT, "scripts", "wine-run.sh"), exe] + argv,
            env=self.env, cwd=self.files, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        return self.ide

    def stop(self):
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.ide:
            try:
                self.ide.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.ide.pid, signal.SIGKILL)
            self.ide = None
        self._main = None

    def put(self, source, name=None):
        """Copies a file of the tree (or a folder's files) into the session's
        files folder; returns the copy's path."""
        src = os.path.join(ROOT, source)
        if os.path.isdir(src):
            dest = os.path.join(self.files, name or os.path.basename(src))
            shutil.copytree(src, dest)
            return dest
        dest = os.path.join(self.files, name or os.path.basename(src))
        shutil.copy(src, dest)
        return dest

    def wait_file(self, path, timeout=30, changed_from=None):
        """Waits until a file exists (and differs from `changed_from`)."""
        end = time.time() + timeout
        while time.time() < end:
            if os.path.exists(path):
                data = open(path, "rb").read()
                if changed_from is None or data != changed_from:
                    time.sleep(0.5)
                    return True
            time.sleep(0.5)
        return False

    # ---- reporting ---------------------------------------------------------

    def log(self, text):
        print("[%s] %s" % (self.name, text))
        sys.stdout.flush()

    def check(self, ok, what, detail=""):
        self.log(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else ": %s" % detail))
        if not ok:
            self.failures += 1
        return ok

    def require(self, ok, what, detail=""):
        if not self.check(ok, what, detail):
            raise Failure(what)

    # ---- X: windows, keyboard, mouse --------------------------------------

    def _xdo(self, *args, check=True):
        r = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if check and r.returncode != 0 and args[0] != "search":
            raise Failure("xdotool %s: %s" % (" ".join(map(str, args)), r.stderr.decode(errors="replace")))
        return r.stdout.decode("utf-8", errors="replace")

    def windows(self):
        """(id, title) of every visible window with a title."""
        out = []
        for wid in self._xdo("search", "--onlyvisible", "--name", ".").split():
            title = self._xdo("getwindowname", wid, check=False).strip()
            if title:
                out.append((wid, title))
        return out

    def find_window(self, pattern, besides=()):
        rx = re.compile(pattern)
        for wid, title in self.windows():
            if rx.search(title) and wid not in besides:
                return wid, title
        return None

    def main_frame(self):
        """The main frame (menu and bars), titled "Tambrix" like the boxes."""
        if not getattr(self, "_main", None):
            self._main = self.wait_window(r"^Tambrix$")
        return self._main

    def wait_box(self, timeout=30):
        """A message box of the IDE: titled "Tambrix", not the main frame."""
        return self.wait_window(r"^Tambrix$", timeout, besides=(self.main_frame(),))

    def wait_window(self, pattern, timeout=60, besides=()):
        """Waits for a visible window whose title matches the pattern (and
        is none of `besides`); returns its id."""
        end = time.time() + timeout
        while time.time() < end:
            found = self.find_window(pattern, besides)
            if found:
                return found[0]
            time.sleep(0.5)
        raise Failure("no window titled /%s/ after %d s; visible: %s"
                      % (pattern, timeout, [t for _, t in self.windows()]))

    def wait_gone(self, pattern, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if not self.find_window(pattern):
                return True
            time.sleep(0.5)
        return False

    def focus(self, wid, x=None, y=None):
        """Gives a window the keyboard. With no window manager Wine takes
        focus only from the mouse: with a point (negative = from the right or
        bottom edge) the window is clicked there; without one only asked."""
        if x is None:
            self._xdo("windowfocus", wid, check=False)
        else:
            _, _, w, h = self.geometry(wid)
            self.click(wid, x if x >= 0 else w + x, y if y >= 0 else h + y)
        time.sleep(0.3)

    def focus_frame(self, x=150, y=120):
        """The project frame, where the documents are, by a click into it
        (by default into the first document window, which opens at its
        top left); returns its id."""
        wid = self.wait_window(r"^Tambrix - ")
        self.focus(wid, x, y)
        return wid

    def keys(self, *keys, delay=0.3):
        """Presses keys or chords in turn, e.g. keys("alt+f", "o")."""
        for k in keys:
            self._xdo("key", "--clearmodifiers", k)
            time.sleep(delay)

    def type(self, text, delay=0.3):
        """Types text; a newline is the Enter key."""
        for i, part in enumerate(text.split("\n")):
            if i:
                self._xdo("key", "Return")
            if part:
                self._xdo("type", "--delay", "40", part)
        time.sleep(delay)

    def menu(self, *letters):
        """Chooses a menu command of the main frame by its access keys:
        menu("f", "o") is File > Open. The main frame gets the keyboard by a
        click on the empty end of its menu bar."""
        self.focus(self.main_frame(), -20, 8)
        self.keys("alt+" + letters[0], *letters[1:])

    def geometry(self, wid):
        out = self._xdo("getwindowgeometry", "--shell", wid)
        g = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def click(self, wid, x, y, button=1, double=False):
        """Clicks at a point of a window (its own coordinates)."""
        wx, wy, _, _ = self.geometry(wid)
        self._xdo("mousemove", "--sync", wx + x, wy + y)
        time.sleep(0.2)
        self._xdo("click", "--repeat", 2 if double else 1, "--delay", 80, button)
        time.sleep(0.5)

    def drag(self, wid, x0, y0, x1, y1):
        wx, wy, _, _ = self.geometry(wid)
        self._xdo("mousemove", "--sync", wx + x0, wy + y0)
        self._xdo("mousedown", 1)
        time.sleep(0.2)
        self._xdo("mousemove", "--sync", wx + x1, wy + y1)
        time.sleep(0.2)
        self._xdo("mouseup", 1)
        time.sleep(0.5)

    # ---- what a user reads -------------------------------------------------

    def clipboard(self):
        """The clipboard's text (as the IDE put it there, in UTF-8 here)."""
        r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=10)
        # Wine may hand over the text with its NUL and what followed it.
        text = r.stdout.split(b"\0", 1)[0]
        return text.decode("utf-8", errors="replace").replace("\r\n", "\n")

    def wait_text(self, ok, timeout=60, focus=None):
        """Copies the focused window's text (after `focus()`, when given)
        until `ok(text)` holds: a window still opening on a loaded machine
        answers late. The last text copied."""
        end = time.time() + timeout
        while True:
            if focus:
                focus()
            text = self.copy_all()
            if ok(text) or time.time() > end:
                return text
            time.sleep(1)

    def copy_all(self, menu=False):
        """Select All and Copy in the focused window (Ctrl+A, Ctrl+C; with
        menu=True through Edit > Select All and Edit > Copy); the text."""
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=b"", env=self.env)
        if menu:
            self.menu("e", "l")
            self.menu("e", "c")
        else:
            self.keys("ctrl+a", "ctrl+c")
        return self.clipboard()

    def screen(self):
        """The whole screen as rows of (r, g, b), read from Xvfb's frame
        buffer file (XWD)."""
        with open(os.path.join(self.fb, "Xvfb_screen0"), "rb") as f:
            data = f.read()
        (header_size, _version, _format, _depth, width, height, _xoff, byte_order, _unit, _bit_order,
         _pad, bpp, line, _visual, rmask, gmask, bmask, _bits, _entries, ncolors) = struct.unpack(
            ">20I", data[:80])
        return Screen(data, header_size + 12 * ncolors, width, height, line, bpp // 8,
                      "little" if byte_order == 0 else "big", (rmask, gmask, bmask))

    def changed_area(self, before, after, step=1, within=None):
        """The bounding box (x, y, w, h, in screen coordinates) of the
        pixels that differ between two screens (in the rectangle `within`
        only, when given), or None."""
        x0, y0, w0, h0 = within or (0, 0, after.width, after.height)
        xs, ys = [], []
        for y in range(max(0, y0), min(after.height, y0 + h0), step):
            a = after.off + y * after.stride
            b = before.off + y * before.stride
            if after.data[a:a + after.stride] == before.data[b:b + before.stride]:
                continue
            for x in range(max(0, x0), min(after.width, x0 + w0)):
                if after.pixel(x, y) != before.pixel(x, y):
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1

    def click_screen(self, x, y, button=1, double=False):
        """Clicks at a point of the screen."""
        self._xdo("mousemove", "--sync", x, y)
        time.sleep(0.2)
        self._xdo("click", "--repeat", 2 if double else 1, "--delay", 80, button)
        time.sleep(0.5)

    def mask(self, wid, x, y, w, h, level=96):
        """Rows of '#' (dark) and '.' over a rectangle of a window."""
        wx, wy, _, _ = self.geometry(wid)
        sc = self.screen()
        rows = []
        for yy in range(wy + y, wy + y + h):
            rows.append("".join("#" if max(sc.pixel(xx, yy)) < level else "."
                                for xx in range(wx + x, wx + x + w)))
        return rows

    def matches(self, name, wid, x, y, w, h, tolerance=0.02):
        """Compares a rectangle of a window with the golden mask `name`
        (golden/NAME.txt): true when at most `tolerance` of its pixels differ.
        TX_UPDATE_GOLDEN=1 writes the mask instead."""
        rows = self.mask(wid, x, y, w, h)
        path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "golden", name + ".txt")
        if os.environ.get("TX_UPDATE_GOLDEN"):
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write("\n".join(rows) + "\n")
            self.log("golden %s written" % name)
            return True
        if not os.path.exists(path):
            return False
        want = open(path).read().split()
        if len(want) != len(rows) or any(len(a) != len(b) for a, b in zip(want, rows)):
            return False
        differ = sum(a != b for wr, gr in zip(want, rows) for a, b in zip(wr, gr))
        dark = max(1, sum(r.count("#") for r in want))
        return differ <= tolerance * w * h and differ <= dark // 4

    def shot(self, label):
        """Saves the screen as PNG beside the test's output (TX_SHOTS)."""
        folder = os.environ.get("TX_SHOTS")
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        out = os.path.join(folder, "%s-%s.png" % (self.name, label))
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "xwd2png.py"),
                        os.path.join(self.fb, "Xvfb_screen0"), out],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.log("screen in %s" % out)


class Screen:
    def __init__(self, data, off, width, height, stride, size, order, masks):
        self.data, self.off, self.width, self.height = data, off, width, height
        self.stride, self.size, self.order = stride, size, order
        self.masks = [(m, (m & -m).bit_length() - 1) for m in masks]

    def pixel(self, x, y):
        i = self.off + y * self.stride + x * self.size
        v = int.from_bytes(self.data[i:i + self.size], self.order)
        return tuple((v & m) >> s for m, s in self.masks)

    def dark_count(self, x, y, w, h, level=96):
        """Pixels darker than level in a rectangle: text drawn there."""
        n = 0
        for yy in range(y, min(y + h, self.height)):
            for xx in range(x, min(x + w, self.width)):
                r, g, b = self.pixel(xx, yy)
                if r < level and g < level and b < level:
                    n += 1
        return n

    def colours(self, x, y, w, h):
        return {self.pixel(xx, yy) for yy in range(y, y + h) for xx in range(x, x + w)}
