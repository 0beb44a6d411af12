#!/usr/bin/env python3
"""Compiles and runs every program a guide shows and compares its output.

check_guide.py --txcl TXCL --basrun BASRUN --root REPO GUIDE.md

A fenced block whose info string starts with "basic" is a whole program:
- "basic examples/NAME.bas": the block must be that file of the repository,
  word for word (the guide shows the example itself);
- "basic fails NAME.BAS": the program must not compile; the block that
  follows holds what txcl prints;
- a word ending in ".BAS" names the source file (txcl's messages show it);
- an "input" block right after it is the program's console input;
- an "output" block right after that is what the program prints.
Programs run under basrun in a folder of their own (their files stay
there). The guide is UTF-8; the sources and the output are Shift-JIS.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^```(.*)$")


def blocks(text):
    """(info, body, line) of each fenced block, and whether only blank
    lines separate it from the one before."""
    out = []
    lines = text.split("\n")
    i = 0
    gap_blank = True
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            if lines[i].strip():
                gap_blank = False
            i += 1
            continue
        start = i
        body = []
        i += 1
        while i < len(lines) and lines[i] != "```":
            body.append(lines[i])
            i += 1
        out.append((m.group(1).split(), "\n".join(body) + "\n", start + 1, gap_blank))
        gap_blank = True
        i += 1
    return out


def run(cmd, cwd, stdin):
    p = subprocess.run(cmd, cwd=cwd, input=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    return p.returncode, p.stdout.decode("cp932", "replace").replace("\r\n", "\n"), p.stderr.decode("utf-8", "replace")


def check(args, guide):
    with open(guide, encoding="utf-8") as f:
        found = blocks(f.read())
    passed = failed = 0
    with tempfile.TemporaryDirectory(prefix="guide.") as work:
        for n, block in enumerate(found):
            ok = check_block(args, guide, found, n, block, work)
            if ok is not None:
                passed += ok
                failed += not ok
    print("%d passed, %d failed" % (passed, failed))
    return failed == 0 and passed > 0


def check_block(args, guide, found, n, block, work):
    """True or False for a program block, None for any other block."""
    info, body, line, _ = block
    if not info or info[0] != "basic":
        return None
    stdin = b""
    expect = None
    for (finfo, fbody, _, blank) in found[n + 1:n + 3]:
        if not blank or not finfo or finfo[0] not in ("input", "output"):
            break
        if finfo[0] == "input":
            stdin = fbody.encode("cp932")
        else:
            expect = fbody
            break
    words = info[1:]
    fails = "fails" in words
    example = next((w for w in words if "/" in w), None)
    name = next((os.path.basename(w) for w in words if w.upper().endswith(".BAS")), "PROG%d.BAS" % line)
    where = "%s:%d (%s)" % (os.path.basename(guide), line, example or name)
    problems = []
    if example:
        with open(os.path.join(args.root, example), encoding="utf-8") as f:
            if f.read() != body:
                problems.append("the block is not the text of " + example)
    folder = os.path.join(work, "p%d" % line)
    os.mkdir(folder)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(body.encode("cp932"))
    if fails:
        rc, out, err = run([args.txcl, "/nologo", name], folder, stdin)
        if rc == 0:
            problems.append("it compiled")
    else:
        rc, out, err = run([args.basrun, "--dir", folder, name], folder, stdin)
        if rc != 0:
            problems.append("exit status %d: %s" % (rc, (err or out).strip()))
    if expect is not None and out != expect:
        problems.append("output differs:\n--- expected\n%s--- got\n%s" % (expect, out))
    if problems:
        print("FAIL %s: %s" % (where, "; ".join(problems)))
        return False
    print("ok   %s" % where)
    return True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--txcl", required=True)
    ap.add_argument("--basrun", required=True)
    ap.add_argument("--root", required=True)
    ap.add_argument("guide")
    args = ap.parse_args()
    # The programs run in folders of their own.
    args.txcl, args.basrun = os.path.abspath(args.txcl), os.path.abspath(args.basrun)
    sys.exit(0 if check(args, args.guide) else 1)


if __name__ == "__main__":
    main()
