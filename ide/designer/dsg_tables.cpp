// Compiled with code page 932 as execution charset: keep this file to tables.
#include "dsg_events.h"
#include "dsg_model.h"

namespace dsg {

const KindInfo kKindTable[kKindCount] = {
    {"フォーム", 0x00CF0115, 0, "TQ70FormWndClass", "Form Window", 0, 0, "Form"},
    {"mdi frame", 0x00CF0000, 0, "TQ70FormWndClass", "Form Window", 0, 0, "Form"},
    {"mdi child", 0x00300008, 0, "MDICLIENT", "MDI Window", int32_t(0x80000000), int32_t(0x80000000), "MDI"},
    {"コマンドボタン", 0x50010000, 0, "Button", "Button", 40, 14, "Button"},
    {"ラジオボタン", 0x50010009, 0, "Button", "Radio", 39, 10, "Radio"},
    {"チェックボックス", 0x50010003, 0, "Button", "Check", 40, 10, "Check"},
    {"グループボックス", 0x50000007, 0, "Button", "Group", 48, 40, "Group"},
    {"エディットコントロール", 0x50810180, 0, "Edit", "", 32, 12, "Edit"},
    {"テキスト", 0x50000000, 0, "Static", "Text", 20, 8, "Text"},
    {"リストボックス", 0x50A10001, 0, "Listbox", "", 48, 40, "List"},
    {"水平スクロールバー", 0x50010000, 0, "Scrollbar", "", 48, 8, "HScroll"},
    {"垂直スクロールバー", 0x50010001, 0, "Scrollbar", "", 9, 40, "VScroll"},
    {"コンボボックス", 0x50A10241, 0, "Combobox", "", 48, 35, "Combo"},
    {"ピクチャボックス", 0x56800000, 0, "TQ70OptWndClass", "", 48, 40, "Picture"},
    {"ＯＬＥクライアント", 0x56800000, 0, "TQ70OptWndClass", "", 48, 40, "OLEClient"},
    {"ビットマップボタン", 0x56810000, 0, "TQ70BBWndClass", "", 48, 40, "BmpButton"},
    {"タイマー", 0x56800000, 0, "TQ70OptWndClass", "", 25, 14, "Timer"},
    {"ＭＣＩ", 0x56800000, 0, "TQ70OptWndClass", "", 25, 14, "MCI"},
    {"プリンタ", 0x56800000, 0, "TQ70OptWndClass", "", 25, 14, "Printer"},
    {"ＯＣＸ", 0x56800000, 0, "TQ70OptWndClass", "", 25, 14, "OCX"},
    {"menu", 0, 0, "", "", 0, 0, "Menu"},
};

const EventName kEventNames[kEventCount] = {
    {"_InitMenu", "ﾒﾆｭｰ初期化", "__EV_INITMENU"},
    {"_On", "実行", "__EV_ON"},
    {"_Change", "変更", "__EV_CHANGE"},
    {"_Start", "初期化", "__EV_START"},
    {"_End", "終了", "__EV_END"},
    {"_SetFocus", "ﾌｫｰｶｽ獲得", "__EV_SETFOCUS"},
    {"_KillFocus", "ﾌｫｰｶｽ喪失", "__EV_KILLFOCUS"},
    {"_Resize", "ﾘｻｲｽﾞ", "__EV_RESIZE"},
    {"_Click", "ｸﾘｯｸ", "__EV_CLICK"},
    {"_DblClick", "ﾀﾞﾌﾞﾙｸﾘｯｸ", "__EV_DBLCLICK"},
    {"_MouseDown", "ﾏｳｽﾎﾞﾀﾝ押下", "__EV_MOUSEDOWN"},
    {"_MouseUp", "ﾏｳｽﾎﾞﾀﾝ解放", "__EV_MOUSEUP"},
    {"_MouseMove", "ﾏｳｽ移動", "__EV_MOUSEMOVE"},
    {"_Updated", "更新", "__EV_UPDATED"},
    {"_Done", "通知", "__EV_DONE"},
    {"_Timer", "ﾀｲﾏｰ", "__EV_TIMER"},
    {"_AbortDoc", "ﾄﾞｷｭﾒﾝﾄ中断", "__EV_ABORTDOC"},
    {"_QueryClose", "閉じる", "__EV_QUERYCLOSE"},
    {"_NotifyIcon", "ﾀｽｸﾄﾚｲｱｲｺﾝ", "__EV_NOTIFYICON"},
    {"_DropFiles", "ｼｪﾙﾄﾞﾛｯﾌﾟ", "__EV_DROPFILES"},
    {"_MouseWheel", "ﾏｳｽﾎｲｰﾙ回転", "__EV_MOUSEWHEEL"},
};

}  // namespace dsg

namespace dsg {
// The arrangement dialog's range message.
extern const char *const kArrangeRangeFormat;
const char *const kArrangeRangeFormat = "指定された値が正しくありません (%d-%d)";
}  // namespace dsg
