// Compiled with code page 932 as execution charset: keep this file to text.
#include "dbg_texts.h"

namespace txdbg {

const char* MessageText(int id) {
    switch (id) {
    case kMsgTooManyBreakpoints: return "ブレークポイントの数が多すぎます";
    case kMsgNoCodeAtLine: return "指定行にブレークポイントを設定することはできません";
    case kMsgNotResponding: return "ﾌﾟﾛｸﾞﾗﾑが応答しないため終了しました";
    case kMsgNoDebugInfo: return "%s には必要なﾃﾞﾊﾞｯｸﾞ情報がありません";
    case kMsgOldImagehlp: return "新しい IMAGEHLP.DLL が必要です";
    case kMsgObjectNotOpened: return "オブジェクトファイル %s を開くことができません。";
    default: return "";
    }
}

namespace text {
const char kInitSymInitialize[] = "ﾃﾞﾊﾞｯｶﾞの初期化でｴﾗｰが発生しました\n  SymInitialize ｴﾗｰｺｰﾄﾞ : 0x%08X";
const char kInitSymEnumerate[] = "ﾃﾞﾊﾞｯｶﾞの初期化でｴﾗｰが発生しました\n  SymEnumerateSymbols ｴﾗｰｺｰﾄﾞ : 0x%08X";
const char kInitDbgInit[] = "ﾃﾞﾊﾞｯｶﾞの初期化でｴﾗｰが発生しました\n  $BAS_DBGINIT ｴﾗｰｺｰﾄﾞ : %d";
const char kNoValueCalc[] = "Symbol not found. <$BAS_DBGVALUECALC>";
const char kAppError[] = "%s で ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ が発生しました";
const char kAppErrorModule[] = "\n  ﾓｼﾞｭｰﾙ名 : %s";
const char kAppErrorFunction[] = "\n  関数名 : %s";
const char kAppErrorLine[] = "\n  行番号 : %d";
const char kAppErrorAddress[] = "\n  ｱﾄﾞﾚｽ : 0x%08X";
const char kStartFailed[] = "ﾃﾞﾊﾞｯｶﾞの起動に失敗しました";
const char kWatchTitle[] = "式表示";
const char kWatchFont[] = "ＭＳ ゴシック";
const char kRuntimeErrorLine[] = "%d行 %s";
const char kExprChangeCaption[] = "式変更";
const char kJumpButton[] = "ｼﾞｬﾝﾌﾟ";
const char kColumnModule[] = "ﾓｼﾞｭｰﾙ名";
const char kColumnNumber[] = "通番号";
const char kColumnCount[] = "回数";
} // namespace text

} // namespace txdbg
