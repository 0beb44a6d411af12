#!/usr/bin/env python3
"""Compiler launcher for clang builds (make fuzz).

clang has no -fexec-charset=CP932, which tx_cp932 puts on the files that
hold the system's texts. For such a file this writes a copy beside the object
whose non-ASCII characters are octal escapes of their code page 932 bytes
(the same bytes g++ puts in), and compiles the copy instead. Every other
command runs as it is. Octal escapes are used because they end after three
digits: a hex escape would swallow a following letter.
"""
import os
import sys

FLAG = "-fexec-charset=CP932"


def escape(text):
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
            continue
        try:
            raw = ch.encode("cp932")
        except UnicodeEncodeError:
            out.append(ch)  # only in comments: g++ would refuse it in a literal
            continue
        out.append("".join("\\%03o" % b for b in raw))
    return "".join(out)


def main(argv):
    if FLAG not in argv:
        os.execvp(argv[0], argv)
    args = [a for a in argv if a != FLAG]
    src_at = args.index("-c") + 1
    obj_at = args.index("-o") + 1
    src = args[src_at]
    copy = args[obj_at] + ".cp932" + os.path.splitext(src)[1]
    with open(src, encoding="utf-8") as f:
        text = f.read()
    with open(copy, "w", encoding="utf-8") as f:
        f.write(escape(text))
    args[src_at] = copy
    # Quoted includes are looked up beside the original first, as before.
    args += ["-iquote", os.path.dirname(os.path.abspath(src))]
    os.execvp(args[0], args)


if __name__ == "__main__":
    main(sys.argv[1:])
