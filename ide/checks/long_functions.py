#!/usr/bin/env python3
"""Finds functions in the IDE's C++ sources longer than the limit.

A function is a brace block opened outside any other function whose
opening brace follows a parameter list (")" with optional qualifiers, a
trailing return type or a constructor's initializer list). Its length is
the number of lines from the line of its opening brace to the line of its
closing brace. Lambdas and blocks inside a function count toward it.
Braces in strings, character literals and comments are skipped.
Prints each finding as file:line (length) and exits with 1 when any
function is longer than LIMIT lines, EXCEPTIONS aside.
"""
import pathlib
import re
import sys

LIMIT = 120
# (file name, function name): why it may stay longer for now.
EXCEPTIONS = {
}
HEAD = re.compile(
    r"\)\s*(?:const\s*|noexcept\s*|override\s*|final\s*|mutable\s*)*(?:->\s*[\w:<>,*&\s]+)?$"
    r"|\)\s*:\s*[\w:]+\s*[({].*$", re.S)


def code_only(text):
    """The text with strings, characters and comments blanked, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("".join(ch if ch == "\n" else " " for ch in text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def functions(text):
    """(start line, end line, head) of every outermost function body."""
    code = code_only(text)
    stack, found = [], []  # stack entries: (is_function, start line, head)
    stmt_start = 0
    line = 1
    for i, c in enumerate(code):
        if c == "\n":
            line += 1
        elif c == "{":
            inside = any(entry[0] for entry in stack)
            head = code[stmt_start:i].strip()
            stack.append((not inside and bool(HEAD.search(head)), line, head))
            stmt_start = i + 1
        elif c == "}":
            if stack:
                is_func, start, head = stack.pop()
                if is_func:
                    found.append((start, line, head))
            stmt_start = i + 1
        elif c == ";" and not any(entry[0] for entry in stack):
            stmt_start = i + 1
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    over = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".cpp", ".h", ".inc"):
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for start, end, head in functions(text):
            length = end - start + 1
            name = re.findall(r"([\w:~]+)\s*\(", head)
            excepted = any(path.name == f and name and name[0].endswith(n) for f, n in EXCEPTIONS)
            if length > LIMIT and not excepted:
                over.append((path, start, length))
    for path, start, length in over:
        print(f"{path}:{start}: function of {length} lines (limit {LIMIT})")
    print(f"{len(over)} functions over {LIMIT} lines")
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main())
