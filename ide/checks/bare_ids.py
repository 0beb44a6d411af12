#!/usr/bin/env python3
"""Finds command, message, string and dialog ids written as bare numbers
in the IDE.

An id has one name, in its folder's id header (plain defines the resource
scripts read too) or in a core's message enum; everything else uses the
name. What counts as a bare id:
  C++ outside tests/ and harness/ (they check the numbers on their own):
    - a number in a command map entry (FW_ON_COMMAND, FW_ON_UPDATE and
      their _RANGE forms);
    - a number as the command of a WM_COMMAND sent or posted, directly or
      in MAKEWPARAM;
    - a number other than 0 (0 means "the text is given") as the first
      argument of MessageBoxById;
    - a number compared with a command id (`id`, `m_nID`) or used as a
      case label of a command switch; numbers below 100 (notifications,
      indexes) and dialog control ids (1000-1999, 30000-30999, which a
      dialog's own template names) are not commands;
    - a number as a string id: the argument of LoadStr, the id of
      LoadString;
    - a number as a dialog template id: the first argument of a CDialog
      or CPropertyPage constructor or of a page class's (C...Page), the
      value of an `IDD` member or of a name ending in Template or
      TemplateName (also in MAKEINTRESOURCE), the template of
      CreateDialog...;
  resource scripts (.rc): a number as a MENUITEM's id, an accelerator's
    command, a MENU or DIALOG/DIALOGEX resource's name, or a STRINGTABLE
    key (a key written as a name plus an offset, `IDS_X + 5`, is named).
Prints each finding as file:line and exits with 1 when there is any.
"""
import pathlib
import re
import sys

NUM = r"(?<![\w.])\d+(?![\w.])"
def is_command(number):
    n = int(number)
    return n >= 100 and not (1000 <= n <= 1999 or 30000 <= n <= 30999)


CPP_RULES = [
    ("command map", re.compile(r"FW_ON_\w+\(([^)]*)\)"), lambda m: re.search(NUM, m.group(1))),
    ("WM_COMMAND", re.compile(r"WM_COMMAND\s*,\s*(MAKEWPARAM\(\s*)?(\d+)"), lambda m: True),
    ("MessageBoxById", re.compile(r"MessageBoxById\(\s*(\d+)"), lambda m: int(m.group(1)) != 0),
    ("command compared", re.compile(r"\b(?:id|m_nID)\s*(?:==|!=|>=|<=)\s*(\d+)"), lambda m: is_command(m.group(1))),
    ("case label", re.compile(r"\bcase\s+(\d+)\s*:"), lambda m: is_command(m.group(1))),
    ("string id", re.compile(r"\bLoadStr\(\s*(\d+)|\bLoadStringA?\([^,]*,\s*(\d+)"), lambda m: True),
    ("dialog template", re.compile(r"\b(?:CDialog|CPropertyPage)\s*\(\s*(\d+)"), lambda m: True),
    ("page template or caption", re.compile(r"\bC\w+Page\s*\(\s*(\d+)"), lambda m: True),
    ("dialog template", re.compile(r"\b(?:IDD|\w*Template\w*)\s*=\s*(?:MAKEINTRESOURCEA?\(\s*)?(\d+)"), lambda m: True),
    ("dialog template", re.compile(r"\bCreateDialog\w*\([^,]*,\s*MAKEINTRESOURCEA?\(\s*(\d+)"), lambda m: True),
]
RC_RULES = [
    ("menu item", re.compile(r'^\s*MENUITEM\s+".*",\s*(\d+)')),
    ("menu resource", re.compile(r"^(\d+)\s+MENU\b")),
    ("dialog template", re.compile(r"^(\d+)\s+DIALOG(?:EX)?\b")),
]
STRING_ROW = re.compile(r'^\s*\d+\s*,?\s*"')
ACCEL_ROW = re.compile(r"^\s*[^,]+,\s*(\d+)\s*,")
def strip_comment(line):
    return line.split("//", 1)[0]


def check_cpp(path, findings):
    for n, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        code = strip_comment(line)
        for name, pattern, bare in CPP_RULES:
            for m in pattern.finditer(code):
                if bare(m):
                    findings.append(f"{path}:{n}: {name}: {line.strip()}")


def check_rc(path, findings):
    in_accel = in_strings = False
    for n, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        code = strip_comment(line)
        if re.match(r"^\w+\s+ACCELERATORS\b", code):
            in_accel = True
        elif in_accel and code.startswith("END"):
            in_accel = False
        elif in_accel and ACCEL_ROW.match(code):
            findings.append(f"{path}:{n}: accelerator: {line.strip()}")
        if code.startswith("STRINGTABLE"):
            in_strings = True
        elif in_strings and code.startswith("END"):
            in_strings = False
        elif in_strings and STRING_ROW.match(code):
            findings.append(f"{path}:{n}: string key: {line.strip()}")
        for name, pattern in RC_RULES:
            if pattern.match(code):
                findings.append(f"{path}:{n}: {name}: {line.strip()}")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    findings = []
    for path in sorted(root.rglob("*")):
        parts = set(path.parts)
        if "tests" in parts or "harness" in parts:
            continue
        if path.suffix in (".cpp", ".h"):
            check_cpp(path, findings)
        elif path.suffix == ".rc":
            check_rc(path, findings)
    for f in findings:
        print(f)
    print(f"{len(findings)} bare command, message, string or dialog ids")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
