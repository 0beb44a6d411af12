// Compiled with code page 932 as execution charset: keep this file to text.
#include "project_texts.h"

namespace prj::text {

const char kProductVersion[] = "Tambrix V6.3";
const char kScriptTitle[] = "# %s ﾒｲｸ ｽｸﾘﾌﾟﾄ\r\n#\r\n";
const char kScriptProject[] = "#  ﾌﾟﾛｼﾞｪｸﾄ名： %s\r\n";
const char kScriptDate[] = "#  日付      ： ";
const char kScriptDefaults[] = "# %s ﾃﾞﾌｫﾙﾄ翻訳ｵﾌﾟｼｮﾝ\r\n";
const char kScriptObjects[] = "# ｵﾌﾞｼﾞｪｸﾄ ﾌｧｲﾙ 一覧\r\n";
const char kScriptResources[] = "# ﾘｿｰｽ ｺﾝﾊﾟｲﾙ ｵﾌﾟｼｮﾝ\r\n";
const char kScriptEnvironment[] = "# 運用環境ﾌｧｲﾙ名\r\n";
const char kScriptLink[] = "# ﾘﾝｸ ｵﾌﾟｼｮﾝ\r\n";
const char kUpToDate[] = "更新する必要がありません";

}  // namespace prj::text
