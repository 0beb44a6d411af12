// The system's own texts that the make script and the build filter write or
// look for, as Shift-JIS bytes (project_texts.cpp is compiled to code page 932).
#pragma once

namespace prj::text {

extern const char kProductVersion[];   // "Tambrix V6.3"
extern const char kScriptTitle[];      // "# %s ﾒｲｸ ｽｸﾘﾌﾟﾄ\r\n#\r\n"
extern const char kScriptProject[];    // "#  ﾌﾟﾛｼﾞｪｸﾄ名： %s\r\n"
extern const char kScriptDate[];       // "#  日付      ： " (then the time)
extern const char kScriptDefaults[];   // "# %s ﾃﾞﾌｫﾙﾄ翻訳ｵﾌﾟｼｮﾝ\r\n"
extern const char kScriptObjects[];    // "# ｵﾌﾞｼﾞｪｸﾄ ﾌｧｲﾙ 一覧\r\n"
extern const char kScriptResources[];  // "# ﾘｿｰｽ ｺﾝﾊﾟｲﾙ ｵﾌﾟｼｮﾝ\r\n"
extern const char kScriptEnvironment[];// "# 運用環境ﾌｧｲﾙ名\r\n"
extern const char kScriptLink[];       // "# ﾘﾝｸ ｵﾌﾟｼｮﾝ\r\n"
// NMAKE's note that a target is up to date: shown only in verbose mode.
extern const char kUpToDate[];

}  // namespace prj::text
