// The driver's texts: messages, file kinds and the usage text. This file
// is compiled with code page 932 as execution character set (tx_cp932), so
// its literals are the Shift-JIS bytes the console receives.
#include <cstring>

#include "driver.h"

namespace txcl {
namespace {

struct MessageRecord {
    uint32_t code;
    const char *text;
};

// Every code a pass may store in err_code. Code 2 has no text: the pass
// has printed its own lines.
constexpr MessageRecord kMessages[] = {
    {kErrCannotStart, "コンパイラが起動できません"},
    {kErrParameter, "パラメータの指定に誤りがあります"},
    {kErrOption, "オプションの指定に誤りがあります"},
    {kErrConflict, "オプションの指定に矛盾があります"},
    {kErrNoMemory, "メモリが足りません"},
    {kErrWorkFile, "作業ファイルが作成できません"},
    {kErrOpen, "ファイルがオープンできません"},
    {kErrWrite, "ファイルが書き込めません"},
    {kErrRead, "ファイルが読み込めません"},
    {kErrBadFile, "ファイルの形式が正しくありません"},
    {kErrTextFull, "テキスト領域がいっぱいになりました"},
    {kErrNamesFull, "シンボル名領域がいっぱいになりました"},
    {kErrVariablesFull, "変数領域がいっぱいになりました"},
    {kErrConstantsFull, "定数領域がいっぱいになりました"},
    {kErrTooManyLines, "翻訳可能なソース行数(65535)を超えています"},
    {kErrMakeScript, "メイクスクリプトの形式が正しくありません"},
    {kErrInternal, "システムに異常があります"},
    {kErrUnknownCode, "未定義のエラーが発生しました"},
    {kErrInterrupted, "中断しました"},
    {kErrNotCompiled, "翻訳できませんでした"},
    {0, nullptr},
};

constexpr uint32_t kUndefinedError = kErrUnknownCode;

struct DetailRecord {
    uint32_t detail;
    const char *text;
};

// 0x1nn: a file the user named or that belongs to the module; 0x2nn: a
// temporary file.
constexpr DetailRecord kDetails[] = {
    {kDetailSource, "ソース"},
    {kDetailEnv, "運用環境"},
    {kDetailPch, "プリコンパイルヘッダ"},
    {kDetailListing, "ソースリスト"},
    {kDetailExpanded, "展開ソースリスト"},
    {kDetailInclude, "インクルード"},
    {kDetailXref, "クロスリファレンス"},
    {kDetailObject, "オブジェクト"},
    {kDetailTemp, "テンポラリ"},
    {kDetailSourceList, "ソースリスティングテンポラリ"},
    {kDetailTokenCode, "トークンコードテンポラリ"},
    {kDetailIntermediate, "中間コードテンポラリ"},
    {kDetailWork, "内部中間コードテンポラリ"},
    {kDetailXrefWork, "内部クロスリファレンステンポラリ"},
    {0, nullptr},
};

constexpr const char *kUsage[] = {
    "ｺﾏﾝﾄﾞﾗｲﾝ : Txcl[ /ｵﾌﾟｼｮﾝ[ /ｵﾌﾟｼｮﾝ...]] ｿｰｽﾌｧｲﾙ名",
    "ｵﾌﾟｼｮﾝ :",
    " /nologo          版権非表示",
    " /S[:]{ﾌｧｲﾙ名|?}  運用環境{ﾌｧｲﾙ|標準値}",
    " /MW              Windows実行形作成",
    " /CL{e|d}         ﾒｯｾｰｼﾞﾁｪｯｸ{する|しない}",
    " /CI{e|d}         割り込みﾁｪｯｸ{する|しない}",
    " /CO{e|d}         ｵｰﾊﾞｰﾌﾛｰﾁｪｯｸ{する|しない}",
    " /CF{F|I}         FOR-NEXT動作ﾓｰﾄﾞ{FMﾓｰﾄﾞ|ISOﾓｰﾄﾞ}",
    " /Foﾌｧｲﾙ名        生成ｵﾌﾞｼﾞｪｸﾄﾌｧｲﾙ名指定",
    " /Fs[ﾌｧｲﾙ名]      ｿｰｽﾘｽﾃｨﾝｸﾞﾌｧｲﾙ生成[省略時ｿｰｽ.LST]",
    " /Fx[ﾌｧｲﾙ名]      ｸﾛｽﾘﾌｧﾚﾝｽﾌｧｲﾙ生成[省略時ｿｰｽ.XRF]",
    " /Fp[ﾌｧｲﾙ名]      ﾌﾟﾘﾌﾟﾛｾｽﾌｧｲﾙ生成[省略時ｿｰｽ.I]",
    " /Zi              ﾃﾞﾊﾞｯｸﾞ情報生成",
    " /Iﾊﾟｽ            ｲﾝｸﾙｰﾄﾞﾌｧｲﾙ検索ﾊﾟｽ指定(複数指定可)",
    " /CV              ﾃﾞﾌｫﾙﾄ変数禁止",
    " /?               簡易ﾍﾙﾌﾟ出力",
};

const char *MessageText(uint32_t code) {
    for (const MessageRecord *m = kMessages; m->text; ++m)
        if (m->code == code)
            return m->text;
    return nullptr;
}

const char *DetailText(uint32_t detail) {
    for (const DetailRecord *r = kDetails; r->text; ++r)
        if (r->detail == detail)
            return r->text;
    return nullptr;
}

}  // namespace

void PrintError(Driver &d, uint32_t code, uint32_t detail, const char *text, std::size_t textMax) {
    PrintBanner(d);
    if (code == kErrNoText)
        return;
    // A pass's err_text need not be terminated: never read past its size.
    std::size_t length = text ? strnlen(text, textMax) : 0;
    // Temporary names mean nothing to the user unless "/TMP" keeps the files.
    if ((detail & kDetailTempFile) && !d.Flag(kSlotTMP)) {
        detail = kDetailTemp;
        length = 0;
    }
    bool fileDetail = (detail & (kDetailUserFile | kDetailTempFile)) != 0;
    if (fileDetail && length)
        d.out.Write(std::string_view(text, length));  // a name, never a format
    if (fileDetail) {
        if (const char *kind = DetailText(detail))
            d.out.Printf("(%s) : ", kind);
        else
            d.out.Write(" : ");  // a detail no table knows: keep the name, drop the kind
    }
    const char *message = MessageText(code);
    if (!message)
        message = MessageText(kUndefinedError);
    d.out.Printf("%d.%s\n", static_cast<int>(code), message);
    d.out.Flush();
}

void PrintUsage(Driver &d) {
    PrintBanner(d);
    for (const char *line : kUsage) {
        d.out.Write(line);
        d.out.Write("\n");
    }
    d.out.Flush();
}

}  // namespace txcl
