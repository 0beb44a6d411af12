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
    {1, "コンパイラが起動できません"},
    {3, "パラメータの指定に誤りがあります"},
    {4, "オプションの指定に誤りがあります"},
    {5, "オプションの指定に矛盾があります"},
    {6, "メモリが足りません"},
    {10, "作業ファイルが作成できません"},
    {11, "ファイルがオープンできません"},
    {12, "ファイルが書き込めません"},
    {13, "ファイルが読み込めません"},
    {14, "ファイルの形式が正しくありません"},
    {20, "テキスト領域がいっぱいになりました"},
    {21, "シンボル名領域がいっぱいになりました"},
    {22, "変数領域がいっぱいになりました"},
    {23, "定数領域がいっぱいになりました"},
    {24, "翻訳可能なソース行数(65535)を超えています"},
    {30, "メイクスクリプトの形式が正しくありません"},
    {90, "システムに異常があります"},
    {91, "未定義のエラーが発生しました"},
    {98, "中断しました"},
    {99, "翻訳できませんでした"},
    {0, nullptr},
};

constexpr uint32_t kUndefinedError = 91;

struct DetailRecord {
    uint32_t detail;
    const char *text;
};

// 0x1nn: a file the user named or that belongs to the module; 0x2nn: a
// temporary file.
constexpr DetailRecord kDetails[] = {
    {0x101, "ソース"},
    {0x102, "運用環境"},
    {0x104, "プリコンパイルヘッダ"},
    {0x105, "ソースリスト"},
    {0x106, "展開ソースリスト"},
    {0x103, "インクルード"},
    {0x107, "クロスリファレンス"},
    {0x108, "オブジェクト"},
    {0x201, "テンポラリ"},
    {0x202, "ソースリスティングテンポラリ"},
    {0x203, "トークンコードテンポラリ"},
    {0x204, "中間コードテンポラリ"},
    {0x205, "内部中間コードテンポラリ"},
    {0x206, "内部クロスリファレンステンポラリ"},
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
