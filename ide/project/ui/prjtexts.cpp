// Compiled with code page 932 as execution charset: keep this file to text.
#include "prjtexts.h"

namespace prjui::text {

const char kResultTitle[] = "結果表示";
const char kBuilding[] = "%s を作成中です";
const char kBuilt[] = "%s 作成を終了しました";
const char kBuildFailed[] = "%s の作成に失敗しました。";
const char kConsoleTitle[] = "Tambrix";
const char kLogPrefix[] = "TV";
const char kGroupProgram[] = "ﾌﾟﾛｸﾞﾗﾑ";
const char kGroupResource[] = "ﾘｿｰｽ";
const char kGroupEnvironment[] = "運用環境";
const char kGroupLibrary[] = "ﾗｲﾌﾞﾗﾘ";
const char kTypeProcedural[] = "手続き型";
const char kTypeEventDriven[] = "ｲﾍﾞﾝﾄ駆動型";
const char kWizardBrowseTitle[] = "ﾃﾞｨﾚｸﾄﾘの参照";
const char kWizardNoFolder[] = "ﾌｫﾙﾀﾞ名 %s に移動または作成できませんでした";
const char kModelDebug[] = "ランタイム型 （デバッグ用）";
const char kModelRuntime[] = "ランタイム型";
const char kModelStandalone[] = "独立型";
const char kNotChosen[] = "(選択されていません)";
const char kEnvFileFilter[] = "ﾘｿｰｽ (*.rc)|*.rc|運用環境 (*.bet)|*.bet||";
static const char kNoStandalone[] = "独立型はｻﾎﾟｰﾄされていません。";
const RuntimeLibraryRow kRuntimeLibraries[7] = {
    {"基本命令ﾗｲﾌﾞﾗﾘ1(%s)", "TQ70LM63.LIB", "TQ70RM63.LIB"},
    {"基本命令ﾗｲﾌﾞﾗﾘ2(%s)", "TQ70LN63.LIB", "TQ70RN63.LIB"},
    {"ｳｨﾝﾄﾞｳ拡張ﾗｲﾌﾞﾗﾘ(%s)", "TQ70LW63.LIB", "TQ70RW63.LIB"},
    {"ﾌｧｲﾙ拡張ﾗｲﾌﾞﾗﾘ(%s)", "TQ70LF63.LIB", "TQ70LF63.LIB"},
    {"OLE拡張ﾗｲﾌﾞﾗﾘ(%s)", kNoStandalone, "TQ70RO63.LIB"},
    {"ｲﾝﾀｰﾈｯﾄ拡張ﾗｲﾌﾞﾗﾘ(%s)", kNoStandalone, "TQ70RI63.LIB"},
    {"基本ﾗｲﾌﾞﾗﾘ(%s)", "TQ70MS63.LIB", "TQ70MS63.LIB"},
};
const char kBetTabMode[] = "動作モード";
const char kBetTabLine[] = "回線";
const char kBetTabPrinter[] = "プリンタ";
const char kPortSheetTitle[] = "回線ﾊﾟﾗﾒｰﾀの設定";
const char* const kPortDataLength[2] = {"7bit", "8bit"};
const char* const kPortParity[3] = {"なし", "奇数", "偶数"};
const char* const kPortStopBits[2] = {"1bit", "2bit"};
const char* const kPortBufferBusy[2] = {"無効", "有効"};
const char* const kPortCodeSystem[2] = {"JIS7", "JIS8"};
const char kSheetCaption[] = "ﾓｼﾞｭｰﾙの登録";
const char kMoveIn[] = "登録 >> (\036R\037ﾄ)";
const char kMoveOut[] = "解除 << (\036R\037ｶ)";
const char kRegisterButton[] = "登録(&A)";
const char kModuleFileTitle[] = "ﾌｧｲﾙの登録";
const char kModuleFileFilter[] = "ｿｰｽ (*.bas,*.sub)|*.bas;*.sub|すべてのﾌｧｲﾙ (*.*)|*.*||";
const char kLibraryFileTitle[] = "ﾗｲﾌﾞﾗﾘの登録";
const char kLibraryFileFilter[] = "ﾗｲﾌﾞﾗﾘ (*.lib,*.obj)|*.lib;*.obj|すべてのﾌｧｲﾙ (*.*)|*.*||";
const char kDepTitle[] = "依存ﾌｧｲﾙの登録";
const char kDepFilter[] = "ｲﾝｸﾙｰﾄﾞ (*.bi)|*.bi|すべてのﾌｧｲﾙ (*.*)|*.*||";
const char kCnvSelectionOnly[] = "選択されている部分のみ変換を行います。";
const char kCnvTitle[] = "移行支援";
const char kCnvErrorTitle[] = "Tambrix 移行支援";
const char kCnvInCreate[] = "変換用Tempﾌｧｲﾙが作成できません。";
const char kCnvInWrite[] = "変換用Tempﾌｧｲﾙに書き込みできません。";
const char kCnvOutOpen[] = "変換後Tempﾌｧｲﾙが作成できません。";
const char kCnvOutRead[] = "変換後ﾌｧｲﾙに書き込みできません。";

}  // namespace prjui::text
