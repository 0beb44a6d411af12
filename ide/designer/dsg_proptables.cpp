// Compiled with code page 932 as execution charset: keep this file to tables.
#include "dsg_prop.h"

namespace dsg {

const char *const kTextYes = "あり";
const char *const kTextNo = "なし";
const char *const kTextNone = "(なし)";
const char *const kEventGroupName = "ｲﾍﾞﾝﾄ";
const char *const kBasicGroupName = "基本ｽﾀｲﾙ";
const char *const kRangeFormat = "指定された値は許される範囲を超えています(%d～%d)";
const char *const kPropTitle = "ﾌﾟﾛﾊﾟﾃｨ";
const char *const kPropTitleOf = "%s のﾌﾟﾛﾊﾟﾃｨ";
const char *const kKeepOnTopText = "手前に表示";

const char *const kColourNames[16] = {
    "黒", "暗い灰色", "暗い青", "青", "暗い赤", "赤", "暗い紫", "紫",
    "暗い緑", "緑", "暗い水色", "水色", "暗い黄色", "黄色", "灰色", "白",
};

const StockPointer kStockPointers[12] = {
    {32512, "矢印"}, {32513, "Ｉﾋﾞｰﾑ"}, {32514, "砂時計"}, {32515, "十字"},
    {32516, "上向き矢印"}, {32646, "正方形"}, {32641, "空のｱｲｺﾝ"}, {32643, "左に傾いた矢印"},
    {32642, "右に傾いた矢印"}, {32644, "横方向の矢印"}, {32645, "縦方向の矢印"}, {0, nullptr},
};

namespace {

const char *const kList10[] = {"ﾕｰｻﾞ指定", "自動", "ﾃﾞｽｸﾄｯﾌﾟ中央", "親ｳｨﾝﾄﾞｳ中央", nullptr};
const char *const kList11[] = {"標準", "最大化", "ｱｲｺﾝ", nullptr};
const char *const kList17[] = {"ｻｲｽﾞ変更(太枠)", "境界線", "ﾀﾞｲｱﾛｸﾞﾌﾚｰﾑ", nullptr};
const char *const kList25[] = {"左上", "左下", nullptr};
const char *const kList32[] = {"ﾃｷｽﾄﾓｰﾄﾞ", "ﾋﾟｸｾﾙﾓｰﾄﾞ", "1/10ﾐﾘﾓｰﾄﾞ", "1/100ﾐﾘﾓｰﾄﾞ",
                               "1/100ｲﾝﾁﾓｰﾄﾞ", "1/1000ｲﾝﾁﾓｰﾄﾞ", "Twipﾓｰﾄﾞ", nullptr};
const char *const kList34[] = {"ﾋﾟｸｾﾙﾓｰﾄﾞ", "1/10ﾐﾘﾓｰﾄﾞ", "1/100ﾐﾘﾓｰﾄﾞ", "1/100ｲﾝﾁﾓｰﾄﾞ",
                               "1/1000ｲﾝﾁﾓｰﾄﾞ", "Twipﾓｰﾄﾞ", nullptr};
const char *const kList33[] = {"ﾒﾀによる再描画", "ﾋﾞｯﾄﾏｯﾌﾟによる再描画", nullptr};
const char *const kList53[] = {"左揃え", "中央揃え", "右揃え", "左揃え(ﾜｰﾄﾞﾗｯﾌﾟなし)", nullptr};
const char *const kList55[] = {"左揃え", "中央揃え", "右揃え", nullptr};
const char *const kList56[] = {"ﾁｪｯｸなし", "ﾁｪｯｸあり", nullptr};
const char *const kList57[] = {"ﾁｪｯｸなし", "ﾁｪｯｸあり", "不確定", nullptr};
const char *const kList61[] = {"任意", "ｵﾝ", "ｵﾌ", "ひらがな", "カタカナ", "ｶﾀｶﾅ", "英数", nullptr};
const char *const kList74[] = {"ｼﾝﾌﾟﾙ", "ﾄﾞﾛｯﾌﾟﾀﾞｳﾝ", "ﾄﾞﾛｯﾌﾟﾀﾞｳﾝﾘｽﾄ", nullptr};
const char *const kList81[] = {"ｺﾏﾝﾄﾞﾎﾞﾀﾝ型", "ﾗｼﾞｵﾎﾞﾀﾝ型", "ﾁｪｯｸﾎﾞｯｸｽ型", "ﾏﾙﾁｽﾃｰﾄ型", nullptr};
const char *const kList49[] = {"矢印", "Ｉﾋﾞｰﾑ", "砂時計", "十字", "上向き矢印", "正方形",
                               "空のｱｲｺﾝ", "左に傾いた矢印", "右に傾いた矢印", "横方向の矢印",
                               "縦方向の矢印", nullptr};

#define ROW(name, type, choices, min, max, id) {name, type, choices, 0, min, max, id}
#define END {nullptr, 0, nullptr, 0, 0, 0, -1}

const PropertyRow kFrameRows[] = {
    ROW("ｳｨﾝﾄﾞｳの初期位置", kEdChoice, kList10, 0, 0, 10),
    ROW("ｳｨﾝﾄﾞｳの起動状態", kEdChoice, kList11, 0, 0, 11),
    ROW("ﾃｷｽﾄ", kEdText, nullptr, 0, 256, 16),
    ROW("ﾌﾚｰﾑ種類", kEdChoice, kList17, 0, 0, 17),
    ROW("ｱｲｺﾝ", kEdIcon, nullptr, 0, 0, 18),
    ROW("ﾀｲﾄﾙﾊﾞｰ", kEdYesNo, nullptr, 0, 0, 19),
    ROW("ｺﾝﾄﾛｰﾙﾒﾆｭｰ", kEdYesNo, nullptr, 0, 0, 20),
    ROW("水平ｽｸﾛｰﾙ", kEdYesNo, nullptr, 0, 0, 21),
    ROW("垂直ｽｸﾛｰﾙ", kEdYesNo, nullptr, 0, 0, 22),
    ROW("最大表示ﾎﾞﾀﾝ", kEdYesNo, nullptr, 0, 0, 23),
    ROW("ｱｲｺﾝ化ﾎﾞﾀﾝ", kEdYesNo, nullptr, 0, 0, 24),
    ROW("座標原点", kEdChoice, kList25, 0, 0, 25),
    ROW("ﾄｯﾌﾟﾓｰｽﾄ", kEdYesNo, nullptr, 0, 0, 26),
    ROW("ｸﾞﾗﾌｨｯｸ/ﾃｷｽﾄのｺﾋﾟｰ", kEdYesNo, nullptr, 0, 0, 27),
    ROW("ｼｪﾙﾄﾞﾛｯﾌﾟ", kEdYesNo, nullptr, 0, 0, 30),
    ROW("ｺﾝﾄﾛｰﾙの3D表示", kEdYesNo, nullptr, 0, 0, 31),
    END,
};

const PropertyRow kClientRows[] = {
    ROW("ﾏｯﾋﾟﾝｸﾞﾓｰﾄﾞ", kEdChoice, kList32, 0, 0, 32),
    ROW("再描画ﾓｰﾄﾞ", kEdChoice, kList33, 0, 0, 33),
    ROW("ﾃｷｽﾄ行数", kEdDigits, nullptr, 1, 124, 36),
    ROW("ﾃｷｽﾄ桁数", kEdDigits, nullptr, 1, 132, 35),
    END,
};

const PropertyRow kButtonRows[] = {
    ROW("ﾃｷｽﾄ", kEdText, nullptr, 0, 256, 16),
    ROW("ﾃﾞﾌｫﾙﾄﾎﾞﾀﾝ", kEdYesNo, nullptr, 0, 0, 51),
    ROW("3ｽﾃｰﾄ", kEdYesNo, nullptr, 0, 0, 52),
    ROW("ﾃｷｽﾄの配置", kEdChoice, kList53, 0, 0, 53),
    ROW("境界線", kEdYesNo, nullptr, 0, 0, 54),
    ROW("初期値", kEdChoice, kList56, 0, 0, 56),
    ROW("初期値", kEdChoice, kList57, 0, 0, 57),
    ROW("ｼｪﾙﾄﾞﾛｯﾌﾟ", kEdYesNo, nullptr, 0, 0, 30),
    END,
};

const PropertyRow kBasicRows[] = {
    ROW("位置（X座標）", kEdSigned, nullptr, -32768, 32767, 12),
    ROW("位置（Y座標）", kEdSigned, nullptr, -32768, 32767, 13),
    ROW("ｻｲｽﾞ（幅）", kEdDigits, nullptr, 11, kMaxControlSide, 14),
    ROW("ｻｲｽﾞ（高さ）", kEdDigits, nullptr, 11, kMaxControlSide, 15),
    ROW("可視", kEdYesNo, nullptr, 0, 0, 28),
    ROW("無効", kEdYesNo, nullptr, 0, 0, 29),
    ROW("3D表示", kEdYesNo, nullptr, 0, 0, 58),
    END,
};

const PropertyRow kColourRows[] = {
    ROW("ﾃｷｽﾄｶﾗｰ", kEdColour, nullptr, 0, 0, 37),
    ROW("ｺﾝﾄﾛｰﾙの背景", kEdColour, nullptr, 0, 0, 38),
    ROW("ﾌｫｱｸﾞﾗｳﾝﾄﾞｶﾗｰ", kEdColour, nullptr, 0, 0, 39),
    ROW("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞｶﾗｰ", kEdColour, nullptr, 0, 0, 40),
    END,
};

const PropertyRow kEventRows[] = {
    ROW("ｲﾍﾞﾝﾄ", 0, nullptr, 0, 0, 41),
    END,
};

const PropertyRow kFontRows[] = {
    ROW("ﾌｫﾝﾄ", kEdFont, nullptr, 0, 0, 42),
    ROW("ｻｲｽﾞ", kEdSize, nullptr, 0, 0, 43),
    ROW("ﾎﾞｰﾙﾄﾞ", kEdYesNo, nullptr, 0, 0, 44),
    ROW("ｲﾀﾘｯｸ", kEdYesNo, nullptr, 0, 0, 45),
    ROW("下線", kEdYesNo, nullptr, 0, 0, 46),
    ROW("取り消し線", kEdYesNo, nullptr, 0, 0, 47),
    END,
};

const PropertyRow kOtherRows[] = {
    ROW("ﾒﾆｭｰ", kEdMenu, nullptr, 0, 0, 48),
    ROW("ﾏｳｽﾎﾟｲﾝﾀ", kEdCursor, kList49, 0, 0, 49),
    {"ﾎｯﾄｷｰ", kEdHotKey, nullptr, kHotKeyMarker, 0, 0, 50},
    END,
};

const PropertyRow kEditRows[] = {
    ROW("ﾃｷｽﾄ", kEdText, nullptr, 0, 256, 16),
    ROW("複数行入力", kEdYesNo, nullptr, 0, 0, 59),
    ROW("文字数制限", kEdSigned, nullptr, 0, 32767, 60),
    ROW("IMEﾓｰﾄﾞの設定", kEdChoice, kList61, 0, 0, 61),
    ROW("読み取り専用", kEdYesNo, nullptr, 0, 0, 62),
    ROW("水平ｽｸﾛｰﾙﾊﾞｰ", kEdYesNo, nullptr, 0, 0, 21),
    ROW("水平ｵｰﾄｽｸﾛｰﾙ", kEdYesNo, nullptr, 0, 0, 63),
    ROW("垂直ｽｸﾛｰﾙﾊﾞｰ", kEdYesNo, nullptr, 0, 0, 22),
    ROW("垂直ｵｰﾄｽｸﾛｰﾙ", kEdYesNo, nullptr, 0, 0, 64),
    ROW("大文字", kEdYesNo, nullptr, 0, 0, 65),
    ROW("小文字", kEdYesNo, nullptr, 0, 0, 66),
    ROW("ﾊﾟｽﾜｰﾄﾞ", kEdYesNo, nullptr, 0, 0, 67),
    ROW("数字のみ", kEdYesNo, nullptr, 0, 0, 68),
    ROW("ﾃｷｽﾄの配置", kEdChoice, kList55, 0, 0, 55),
    ROW("3D表示", kEdYesNo, nullptr, 0, 0, 58),
    ROW("ｼｪﾙﾄﾞﾛｯﾌﾟ", kEdYesNo, nullptr, 0, 0, 30),
    END,
};

const PropertyRow kListRows[] = {
    ROW("初期値", kEdLines, nullptr, 0, 0, 69),
    ROW("ｿｰﾄ", kEdYesNo, nullptr, 0, 0, 70),
    ROW("垂直ｽｸﾛｰﾙﾊﾞｰ", kEdYesNo, nullptr, 0, 0, 22),
    ROW("複数選択", kEdYesNo, nullptr, 0, 0, 71),
    ROW("拡張選択", kEdYesNo, nullptr, 0, 0, 72),
    ROW("3D表示", kEdYesNo, nullptr, 0, 0, 58),
    ROW("ｼｪﾙﾄﾞﾛｯﾌﾟ", kEdYesNo, nullptr, 0, 0, 30),
    END,
};

const PropertyRow kComboRows[] = {
    ROW("初期値", kEdLines, nullptr, 0, 0, 73),
    ROW("種類", kEdChoice, kList74, 0, 0, 74),
    ROW("ｿｰﾄ", kEdYesNo, nullptr, 0, 0, 70),
    ROW("水平ｵｰﾄｽｸﾛｰﾙ", kEdYesNo, nullptr, 0, 0, 63),
    ROW("垂直ｽｸﾛｰﾙ", kEdYesNo, nullptr, 0, 0, 22),
    ROW("ｼｪﾙﾄﾞﾛｯﾌﾟ", kEdYesNo, nullptr, 0, 0, 30),
    END,
};

const PropertyRow kScrollRows[] = {
    ROW("ｽﾗｲﾀﾞ初期値", kEdSigned, nullptr, -32768, 32767, 75),
    ROW("最小値", kEdSigned, nullptr, -32768, 32767, 76),
    ROW("最大値", kEdSigned, nullptr, -32768, 32767, 77),
    ROW("ｽﾃｯﾌﾟ", kEdSigned, nullptr, -32768, 32767, 78),
    ROW("微少ｽﾃｯﾌﾟ", kEdSigned, nullptr, -32768, 32767, 79),
    END,
};

const PropertyRow kPictureRows[] = {
    ROW("ﾏｯﾋﾟﾝｸﾞﾓｰﾄﾞ", kEdChoice, kList34, 0, 0, 34),
    ROW("再描画ﾓｰﾄﾞ", kEdChoice, kList33, 0, 0, 33),
    ROW("ﾏｳｽﾎﾟｲﾝﾀ", kEdCursor, kList49, 0, 0, 49),
    ROW("境界線", kEdYesNo, nullptr, 0, 0, 54),
    ROW("ｼｪﾙﾄﾞﾛｯﾌﾟ", kEdYesNo, nullptr, 0, 0, 30),
    END,
};

const PropertyRow kOleRows[] = {
    ROW("境界線", kEdYesNo, nullptr, 0, 0, 54),
    END,
};

const PropertyRow kBmpButtonRows[] = {
    ROW("ﾋﾞｯﾄﾏｯﾌﾟ", kEdBitmap, nullptr, 0, 0, 80),
    ROW("種類", kEdChoice, kList81, 0, 0, 81),
    ROW("状態数", kEdDigits, nullptr, 1, 32767, 83),
    ROW("初期状態", kEdDigits, nullptr, 0, 32767, 82),
    ROW("ﾌﾚｰﾑ数", kEdDigits, nullptr, 1, 32767, 84),
    ROW("描画間隔", kEdDigits, nullptr, 0, 32767, 85),
    ROW("ﾌﾚｰﾑ幅", kEdDigits, nullptr, 0, 32767, 86),
    ROW("ﾌﾚｰﾑ高さ", kEdDigits, nullptr, 0, 32767, 87),
    ROW("ｺﾝﾄﾛｰﾙｻｲｽﾞにﾋﾞｯﾄﾏｯﾌﾟを合わせる", kEdYesNo, nullptr, 0, 0, 88),
    ROW("ﾌﾚｰﾑｻｲｽﾞにｺﾝﾄﾛｰﾙｻｲｽﾞを合わせる", kEdYesNo, nullptr, 0, 0, 89),
    ROW("境界線", kEdYesNo, nullptr, 0, 0, 54),
    ROW("ｵｰﾄｽﾃｰﾄ", kEdYesNo, nullptr, 0, 0, 90),
    ROW("ﾂｰﾙﾁｯﾌﾟ", kEdText, nullptr, 0, 23, 91),
    END,
};

const PropertyRow kTimerRows[] = {
    ROW("ﾀｲﾏｰの間隔", kEdDigits, nullptr, 0, 2147483647, 92),
    ROW("ﾀｲﾏｰを有効にする", kEdYesNo, nullptr, 0, 0, 93),
    END,
};

#undef ROW
#undef END

#define GRP(name, rows, mask, id) {name, rows, 0, mask, id}
#define GEND {nullptr, nullptr, 0, 0, -1}
const char kStyle[] = "ｽﾀｲﾙ";
const char kBasic[] = "基本ｽﾀｲﾙ";
const char kColour[] = "ｶﾗｰ";
const char kEvent[] = "ｲﾍﾞﾝﾄ";
const char kFont[] = "ﾌｫﾝﾄ";
const char kOther[] = "そのほか";

const PropertyGroup kFormGroups[] = {
    GRP("ﾌﾚｰﾑ", kFrameRows, kAllRows, 1), GRP(kBasic, kBasicRows, 0x0F, 4),
    GRP("ｸﾗｲｱﾝﾄｴﾘｱ", kClientRows, kAllRows, 2), GRP(kColour, kColourRows, 0x07, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7),
    GRP(kOther, kOtherRows, kAllRows, 9), GEND,
};
const PropertyGroup kPushGroups[] = {
    GRP(kStyle, kButtonRows, 0x13, 3), GRP(kBasic, kBasicRows, 0x0F, 4),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kRadioGroups[] = {
    GRP(kStyle, kButtonRows, 0x21, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x09, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kCheckGroups[] = {
    GRP(kStyle, kButtonRows, 0x45, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x09, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kGroupGroups[] = {
    GRP(kStyle, kButtonRows, 0x01, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x09, 5),
    GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kEditGroups[] = {
    GRP(kStyle, kEditRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x09, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kTextGroups[] = {
    GRP(kStyle, kButtonRows, 0x99, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x09, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kListGroups[] = {
    GRP(kStyle, kListRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x01, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kScrollGroups[] = {
    GRP(kStyle, kScrollRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x08, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GEND,
};
const PropertyGroup kComboGroups[] = {
    GRP(kStyle, kComboRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kColour, kColourRows, 0x09, 5),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kFont, kFontRows, kAllRows, 7), GEND,
};
const PropertyGroup kPictureGroups[] = {
    GRP(kStyle, kPictureRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4),
    GRP(kColour, kColourRows, 0x07, 5), GRP(kEvent, kEventRows, kAllRows, 6), GEND,
};
const PropertyGroup kOleGroups[] = {
    GRP(kStyle, kOleRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4), GRP(kEvent, kEventRows, kAllRows, 6),
    GEND,
};
const PropertyGroup kBmpButtonGroups[] = {
    GRP(kStyle, kBmpButtonRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x0F, 4),
    GRP(kEvent, kEventRows, kAllRows, 6), GRP(kOther, kOtherRows, 0x02, 9), GEND,
};
const PropertyGroup kTimerGroups[] = {
    GRP(kStyle, kTimerRows, kAllRows, 3), GRP(kBasic, kBasicRows, 0x01, 4), GRP(kEvent, kEventRows, kAllRows, 6),
    GEND,
};
const PropertyGroup kMciGroups[] = {
    GRP(kBasic, kBasicRows, 0x01, 4), GRP(kEvent, kEventRows, kAllRows, 6), GEND,
};
#undef GRP
#undef GEND

}  // namespace

const PropertyGroup *const kPropertyTable[kPropKinds] = {
    kFormGroups, nullptr, nullptr, kPushGroups, kRadioGroups, kCheckGroups, kGroupGroups, kEditGroups,
    kTextGroups, kListGroups, kScrollGroups, kScrollGroups, kComboGroups, kPictureGroups, kOleGroups,
    kBmpButtonGroups, kTimerGroups, kMciGroups,
};

}  // namespace dsg
