// Texts of the code generator, compiled to code page 932.
#include <cstdio>
#include <string>

#include "cg_driver.h"

namespace txcg {

const char kCrashTitle[] = "Tambrix V6.1";

std::string FormatCrashMessage(int phase, const std::string &moduleFile, unsigned line) {
    char text[256];
    if (phase == 4)
        std::snprintf(text, sizeof text,
                      "コード生成：%s[%d行] フェーズ%dで続行不可能なエラーが発生しました",
                      moduleFile.c_str(), int(line), phase);
    else
        std::snprintf(text, sizeof text,
                      "コード生成：%s フェーズ%dで続行不可能なエラーが発生しました",
                      moduleFile.c_str(), phase);
    return text;
}

} // namespace txcg
