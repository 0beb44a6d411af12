// Compiled with code page 932 as the execution character set: the literals
// here are the bytes the error lines and the crash report carry.
#include "sc_text.h"

#include <cstring>

namespace txsc {

namespace {

struct ErrorText {
    uint8_t code;
    const char *text;
};

const ErrorText kStatementErrors[] = {
    {1, "[01] 反復(FOR)文がないのに繰り返し(NEXT)文がありました"},
    {2, "[02] 文法が正しくありません"},
    {5, "[05] 関数または命令文の使い方が正しくありません"},
    {6, "[06] 数値データの値が許される範囲を超えています"},
    {9, "[09] 配列の添字の値が許される値を超えています"},
    {10, "[10] 重複定義を行おうとしました"},
    {11, "[11] ０で割ることはできません"},
    {13, "[13] 変数または式の型が合っていません"},
    {18, "[18] 定義されていない関数(FN)が参照されました"},
    {22, "[22] オペランドの記述が正しくありません"},
    {23, "[23] 反復(FOR)文と繰り返し(NEXT)文の対応が正しくありません"},
    {24, "[24] 条件反復(WHILE)文に対応する折り返し(WEND)文がありません"},
    {25, "[25] 条件反復(WHILE)文がないのに折り返し(WEND)文がありました"},
    {27, "[27] システムに異常があります"},
    {28, "[28] この機能は現システムでは処理できません"},
    {29, "[29] 定義されていないシンボル名が参照されました"},
    {30, "[30] ラベル名が重複して定義されています"},
    {31, "[31] 制御ブロックに終了文がありません"},
    {38, "[38] 実パラメータブロックが見つかりません"},
    {39, "[39] 制御ブロックの構成に誤りがあります"},
    {76, "[76] ここでは宣言または実行できません"},
    {82, "[82] 変数領域がいっぱいになりました"},
    {85, "[85] 文字定数領域がいっぱいになりました"},
    {89, "[89] システム用作業領域がいっぱいになりました"},
    {90, "[90] 定数行(RESTORE)文で指定したデータが見つかりません"},
    {0xFF, "[??] エラーコード未定義"},
};

}  // namespace

const char *StatementErrorText(uint8_t code) {
    for (const ErrorText &e : kStatementErrors)
        if (e.code == code || e.code == 0xFF) return e.text;
    return nullptr;
}

void FormatLineField(uint16_t line, char out[16]) {
    char places[6] = "*****";
    char digits[8];
    int n = 0;
    do {
        digits[n++] = char('0' + line % 10);
        line = uint16_t(line / 10);
    } while (line && n < 5);
    for (int i = 0; i < n; ++i) places[4 - i] = digits[i];
    std::strcpy(out, " ");
    std::strcat(out, places);
    std::strcat(out, "行 ");
}

const char *CrashPhaseFormat(int phase) {
    switch (phase) {
    case 0: return "[%u行] 構文検査中に";
    case 1: return " 後処理中に";
    default: return " 終了処理中に";
    }
}

const char *CrashMessageFormat() { return "構文解析：%s %s続行不可能なエラーが発生しました"; }
const char *CrashTitle() { return "Tambrix V6.3"; }

}  // namespace txsc
