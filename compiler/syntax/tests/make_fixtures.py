#!/usr/bin/env python3
"""Writes hand-assembled inputs of the analyzer: a source-list file, a
token-code file and the expected standard output (code page 932) per case.

The records follow the preprocessor's format as the analyzer reads it:
{u16 total length, u16 source line, tokens}; tokens are 4-byte units
{class, kind, offset, length}, numeric constants followed by their value.
Everything here is written from that layout, not by our preprocessor.
"""
import os
import struct
import sys

SRC = "PROG.BAS"


def unit(cls, kind, off=0, length=0):
    return bytes([cls, kind, off, length])


def kw(kind):
    return unit(0x00, kind)


def clause(kind):
    return unit(0x10, kind)


def op(kind):
    return unit(0x20, kind)


def punct(kind):
    return unit(0x30, kind)


def const_int(v):
    return unit(0x70, 0) + struct.pack("<h", v)


def const_lng(v):
    return unit(0x70, 1) + struct.pack("<i", v)


def const_dbl(v):
    return unit(0x70, 3) + struct.pack("<d", v)


class Line:
    """One source line; names are found in the text by their spelling."""

    def __init__(self, number, text):
        self.number = number
        self.text = text
        self.tokens = b""

    def name(self, spelling, cls=0x50, kind=2, nth=0):
        pos = -1
        for _ in range(nth + 1):
            pos = self.text.index(spelling, pos + 1)
        self.tokens += unit(cls, kind, pos, len(spelling))
        return self

    def add(self, *parts):
        for p in parts:
            self.tokens += p
        return self

    def record(self, total=None):
        length = 4 + len(self.tokens) if total is None else total
        return struct.pack("<HH", length, self.number) + self.tokens


def err(n, text):
    texts = {
        1: "[01] 反復(FOR)文がないのに繰り返し(NEXT)文がありました",
        2: "[02] 文法が正しくありません",
        6: "[06] 数値データの値が許される範囲を超えています",
        11: "[11] ０で割ることはできません",
        13: "[13] 変数または式の型が合っていません",
        23: "[23] 反復(FOR)文と繰り返し(NEXT)文の対応が正しくありません",
        24: "[24] 条件反復(WHILE)文に対応する折り返し(WEND)文がありません",
        25: "[25] 条件反復(WHILE)文がないのに折り返し(WEND)文がありました",
        29: "[29] 定義されていないシンボル名が参照されました",
        30: "[30] ラベル名が重複して定義されています",
        0xFF: "[??] エラーコード未定義",
    }
    return text + texts[n] + "\n"


def field(line):
    digits = str(line)
    return " " + "*" * (5 - len(digits)) + digits + "行 "


def cases():
    out = {}

    # A token that cannot start a statement, at line 42.
    l = Line(42, "* 3").add(op(0x15))
    out["syntax42"] = ([l], err(2, SRC + field(42)))

    # A good program: nothing on standard output.
    a = Line(1, "A = 1 + 2").name("A").add(op(0x20), const_int(1), op(0x13), const_int(2))
    b = Line(2, "PRINT A; \"X\"").add(kw(0x94)).name("A").add(punct(3), unit(0x70, 16, 10, 1))
    c = Line(3, "END").add(kw(0x1A))
    out["good"] = ([a, b, c], "")

    # Preprocessor errors: a known number and one without a text.
    e6 = Line(7, "X = 99999999999").add(unit(0xF0, 6, 4, 11))
    e99 = Line(12345, "X = ?").add(unit(0xF0, 99, 4, 1))
    out["pperrors"] = ([e6, e99], err(6, SRC + field(7)) + err(0xFF, SRC + field(12345)))

    # Integer division and MOD overflow and division by zero fold to errors.
    d1 = Line(10, "PRINT -2147483648 \\ -1").add(kw(0x94), op(0x14), const_dbl(2147483648.0),
                                                 op(0x17), op(0x14), const_int(1))
    d2 = Line(11, "PRINT -2147483648 MOD -1").add(kw(0x94), op(0x14), const_dbl(2147483648.0),
                                                  op(0x18), op(0x14), const_int(1))
    d3 = Line(12, "PRINT 5 MOD 0").add(kw(0x94), const_int(5), op(0x18), const_int(0))
    d4 = Line(13, "X% = 70000").name("X", kind=0).add(op(0x20), const_lng(70000))
    out["folding"] = ([d1, d2, d3, d4], err(6, SRC + field(10)) + err(6, SRC + field(11)) +
                      err(11, SRC + field(12)) + err(6, SRC + field(13)))

    # Blocks: NEXT and WEND without opening, a FOR and a WHILE left open.
    n1 = Line(1, "NEXT").add(kw(0x21))
    n2 = Line(2, "WEND").add(kw(0x23))
    n3 = Line(3, "FOR I = 1 TO 2").add(kw(0x20)).name("I").add(op(0x20), const_int(1), clause(8), const_int(2))
    n4 = Line(4, "WHILE 1").add(kw(0x22), const_int(1))
    out["unopened"] = ([n1, n2], err(1, SRC + field(1)) + err(25, SRC + field(2)))
    # Open blocks are reported after the last statement, innermost first,
    # each at its opening line (only when no statement error came before).
    out["open"] = ([n3, n4], err(24, SRC + field(4)) + err(23, SRC + field(3)))

    # A label defined twice; a string added to a number.
    b1 = Line(5, "*A PRINT").add(unit(0xA0, 0, 0, 2), kw(0x94))
    b2 = Line(6, "*A PRINT").add(unit(0xA0, 0, 0, 2), kw(0x94))
    b3 = Line(8, "PRINT 1 + \"S\"").add(kw(0x94), const_int(1), op(0x13), unit(0x70, 16, 11, 1))
    b4 = Line(9, "X% = \"S\"").name("X", kind=0).add(op(0x20), unit(0x70, 16, 6, 1))
    out["labels"] = ([b1, b2, b3, b4], err(30, SRC + field(6)) + err(2, SRC + field(8)) + err(13, SRC + field(9)))
    return out


def write(dirname):
    os.makedirs(dirname, exist_ok=True)
    for name, (lines, expected) in cases().items():
        with open(os.path.join(dirname, name + ".sl"), "wb") as f:
            for l in lines:
                f.write(l.text.encode("cp932") + b"\n")
        with open(os.path.join(dirname, name + ".tc"), "wb") as f:
            for l in lines:
                f.write(l.record())
        with open(os.path.join(dirname, name + ".out"), "wb") as f:
            f.write(expected.encode("cp932"))

    # Broken token-code files: a record too short for its head, one longer
    # than the buffer, a name that runs past its line.
    ok = Line(1, "END").add(kw(0x1A))
    with open(os.path.join(dirname, "short.tc"), "wb") as f:
        f.write(ok.record() + struct.pack("<HH", 2, 2))
    with open(os.path.join(dirname, "long.tc"), "wb") as f:
        f.write(struct.pack("<HH", 2049, 1) + bytes(2045))
    past = Line(1, "AB = 1")
    past.add(unit(0x50, 2, 4, 5), op(0x20), const_int(1))
    with open(os.path.join(dirname, "past.tc"), "wb") as f:
        f.write(past.record())
    for name in ("short", "long", "past"):
        with open(os.path.join(dirname, name + ".sl"), "wb") as f:
            f.write(b"END\nEND\n" if name == "short" else b"AB = 1\n")


def write_crash(dirname):
    """The dump of a pass at line 12 whose trace holds one step."""
    lines = ["構文解析：PROG.BAS [12行] 構文検査中に続行不可能なエラーが発生しました",
             "Code C0000005 Flag 00000000, Address 00401234",
             "Pointer 0"]
    for i in range(100):
        if i == 0:
            lines.append("  0(0094),0011,30,02,0000002A")
        else:
            lines.append("%3d(0000),0000,00,00,00000000" % i)
    with open(os.path.join(dirname, "crash.out"), "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("cp932"))


if __name__ == "__main__":
    write(sys.argv[1])
    write_crash(sys.argv[1])
