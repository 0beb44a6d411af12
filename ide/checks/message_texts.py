#!/usr/bin/env python3
"""Finds message ids the IDE can raise that have no text.

A message id is raised when it is
  - the value of a `kMsg...` constant (the cores' message enums and the
    windows' own message names): such a constant exists to be shown, and
    variables handed to a message box carry these values;
  - the first argument of MessageBoxById (0, "the text is given", aside),
    of a designer host's Message, of a project MessageSink's Show or of
    the debugger's Message, when written as an id name (IDS_..., FW_IDP_...,
    kMsg...) or a number.
Its text is a non-empty row of a STRINGTABLE in the resource scripts under
ide/ and the framework's; the debugger's own messages (constants under
ide/debugger/, raised there) have theirs in dbg_texts.cpp's MessageText.
Names resolve through the plain defines of the id headers. Tests and the
Wine harness are left out: they raise unknown ids on purpose.
Prints each id without a text (with where it is raised) and exits with 1
when there is any, or when an id name cannot be resolved.
"""
import pathlib
import re
import sys

DEFINE = re.compile(r"^\s*#\s*define\s+(\w+)\s+(.+?)\s*$")
CONST = re.compile(r"\b(kMsg\w+)\s*=\s*([\w:]+(?:\s*\+\s*\d+)?)")
CALL = re.compile(r"(?:\bMessageBoxById|(?:\.|->)\s*(?:Message|Show))\(\s*([\w:]+)")
ID_NAME = re.compile(r"^(?:IDS_\w+|FW_IDP_\w+|kMsg\w+)$")
STRING_ROW = re.compile(r'^\s*(\w+(?:\s*\+\s*\d+)?)\s*,?\s*"(.*)"\s*$')
DBG_CASE = re.compile(r'\bcase\s+(kMsg\w+)\s*:\s*return\s+"(.*)"\s*;')


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    return "\n".join(line.split("//", 1)[0] for line in text.splitlines())


def sources(root, suffixes):
    for path in sorted(root.rglob("*")):
        parts = set(path.relative_to(root).parts)
        if path.suffix in suffixes and not parts & {"tests", "harness"}:
            yield path


class Names:
    """The defines and kMsg constants, name -> expression."""

    def __init__(self):
        self.expr = {}

    def add(self, name, expr):
        self.expr.setdefault(name, expr.strip())

    def value(self, expr, depth=0):
        expr = expr.strip().strip("()").strip()
        m = re.match(r"^([\w:]+)\s*\+\s*(\d+)$", expr)
        if m:
            base = self.value(m.group(1), depth + 1)
            return None if base is None else base + int(m.group(2))
        if re.match(r"^(0[xX][0-9a-fA-F]+|\d+)[uUlL]*$", expr):
            return int(expr.rstrip("uUlL"), 0)
        name = expr.split("::")[-1]
        if depth > 20 or name not in self.expr:
            return None
        return self.value(self.expr[name], depth + 1)


def read_names(roots):
    names = Names()
    for root in roots:
        for path in sources(root, (".h",)):
            for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
                m = DEFINE.match(line.split("//", 1)[0].split("/*", 1)[0])
                if m:
                    names.add(m.group(1), m.group(2))
    return names


def read_tables(roots, names, problems):
    texts = set()
    for root in roots:
        for path in sources(root, (".rc",)):
            inside = False
            for n, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                code = line.split("//", 1)[0].strip() if not line.lstrip().startswith('"') else line
                if code.startswith("STRINGTABLE"):
                    inside = True
                elif inside and code.startswith("END"):
                    inside = False
                elif inside:
                    m = STRING_ROW.match(line)
                    if not m:
                        continue
                    v = names.value(m.group(1))
                    if v is None:
                        problems.append(f"{path}:{n}: string key {m.group(1)} has no value")
                    elif m.group(2):
                        texts.add(v)
    return texts


def main():
    ide = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    framework = ide.parent / "framework"
    names = read_names([ide, framework])
    raised = []  # (where, name, is_debugger)
    for path in sources(ide, (".h", ".cpp")):
        debugger = "debugger" in path.relative_to(ide).parts
        code = strip_comments(path.read_text(encoding="utf-8", errors="replace"))
        for n, line in enumerate(code.splitlines(), 1):
            for m in CONST.finditer(line):
                names.add(m.group(1), m.group(2))
                raised.append((f"{path}:{n}", m.group(1), debugger))
            for m in CALL.finditer(line):
                arg = m.group(1).split("::")[-1]
                if ID_NAME.match(arg) or (arg.isdigit() and arg != "0"):
                    raised.append((f"{path}:{n}", arg, debugger))
    problems = []
    texts = read_tables([ide, framework], names, problems)
    dbg_texts = set()
    for path in sources(ide / "debugger", (".cpp",)):
        for m in DBG_CASE.finditer(path.read_text(encoding="utf-8", errors="replace")):
            v = names.value(m.group(1))
            if v is not None and m.group(2):
                dbg_texts.add(v)
    for where, name, debugger in raised:
        v = names.value(name)
        if v is None:
            problems.append(f"{where}: {name} names no id")
        elif v not in (dbg_texts if debugger else texts):
            table = "MessageText in dbg_texts.cpp" if debugger else "a string table"
            problems.append(f"{where}: message {v} ({name}) has no text in {table}")
    for p in problems:
        print(p)
    print(f"{len(problems)} message ids without a text")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
