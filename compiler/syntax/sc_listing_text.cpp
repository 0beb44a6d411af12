// Compiled with code page 932 as the execution character set: the literals
// here are the bytes the listings carry. Each column keeps one byte width.
#include "sc_listing.h"

namespace txsc {

const char *XrefTypeName(uint8_t type) {
    switch (type) {
    case 0: return " 整数型       ";
    case 1: return " ロング整数型 ";
    case 2: return " 単精度実数型 ";
    case 3: return " 倍精度実数型 ";
    case 4: return " バイト整数型 ";
    case 16: return " 可変長文字型 ";
    case 17: return " STRING文字型 ";
    case 18: return " BCD文字型    ";
    case 19: return " 固定長文字型 ";
    case 48: return " ユーザ定義型 ";
    default: return "              ";
    }
}

const char *XrefKindName(uint8_t kind) {
    if (kind == 33) return " ＳＴＡＴＩＣ     ";
    switch (kind & 0x0F) {
    case 2: return " ＣＯＭＭＯＮ     ";
    case 4: return " 仮パラメータ     ";
    case 5: return " ＦＵＮＣＴＩＯＮ ";
    case 6: return " ＳＵＢ           ";
    case 15: return " ユーザ定義関数   ";
    default: return "                  ";
    }
}

const char *CountLineError() { return "エラー個数="; }
const char *CountLineWarning() { return "ワーニング個数="; }

}  // namespace txsc
