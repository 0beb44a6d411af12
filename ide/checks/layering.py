#!/usr/bin/env python3
"""Checks the IDE's window layering (ide/README.md draws it).

The window folders are the shell (ide/shell, its api/ apart), the project
UI (ide/project/ui), the designer UI (ide/designer/ui) and the debugger UI
(ide/debugger/ui). A source of one window folder may include a header of
another window folder only where ALLOWED says so:
  - every UI: the shell's interface headers (ide/shell/api);
  - the designer and debugger UIs: the project UI's headers named below
    (the project document and the services they use);
  - the shell: every UI's headers (it creates their windows).
Tests (tests/) and the scenario harness (harness/) are outside the check.
Prints each finding as file:line and exits with 1 when there is any.
"""
import pathlib
import re
import sys

FOLDERS = {
    "shell": "shell",
    "api": "shell/api",
    "project": "project/ui",
    "designer": "designer/ui",
    "debugger": "debugger/ui",
}
PROJECT_SHARED = {"prjdoc.h", "prjwin.h", "buildrun.h", "prjids.h"}
# Which folder's headers a folder may include, and which of them (None: all).
ALLOWED = {
    "shell": {"api": None, "project": None, "designer": None, "debugger": None},
    "api": {},
    "project": {"api": None},
    "designer": {"api": None, "project": PROJECT_SHARED},
    "debugger": {"api": None, "project": PROJECT_SHARED},
}
# The shell's id header names every UI's ids for the resource script; the
# UIs' id headers are plain defines anyone may read.
ID_HEADERS = {"prjids.h", "dsgids.h", "dbgids.h", "shellids.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SKIP_PARTS = {"tests", "harness", "core"}


def headers_of(root):
    """Header name -> the window folder that holds it."""
    owner = {}
    for key, rel in FOLDERS.items():
        folder = root / rel
        for h in folder.glob("*.h"):
            owner[h.name] = key
    return owner


def folder_of(root, path):
    rel = path.relative_to(root).parent.as_posix()
    for key, f in FOLDERS.items():
        if rel == f:
            return key
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent).resolve()
    owner = headers_of(root)
    findings = []
    for key, rel in FOLDERS.items():
        for path in sorted((root / rel).glob("*")):
            if path.suffix not in (".cpp", ".h") or SKIP_PARTS & set(path.relative_to(root).parts):
                continue
            here = folder_of(root, path)
            for n, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                name = pathlib.PurePosixPath(m.group(1)).name
                there = owner.get(name)
                if there is None or there == here or name in ID_HEADERS:
                    continue
                allowed = ALLOWED[here]
                if there in allowed and (allowed[there] is None or name in allowed[there]):
                    continue
                findings.append(f"{path.relative_to(root)}:{n}: {FOLDERS[here]} includes {FOLDERS[there]}/{name}")
    for f in findings:
        print(f)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
