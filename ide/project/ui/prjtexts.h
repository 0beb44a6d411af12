// The project windows' own texts, as Shift-JIS bytes (prjtexts.cpp is
// compiled to code page 932).
#pragma once

namespace prjui::text {

extern const char kResultTitle[];    // "結果表示"
extern const char kBuilding[];       // "%s を作成中です"
extern const char kBuilt[];          // "%s 作成を終了しました"
extern const char kBuildFailed[];    // "%s の作成に失敗しました。"
extern const char kConsoleTitle[];   // "Tambrix"
extern const char kLogPrefix[];      // "TV"
extern const char kGroupProgram[];   // "ﾌﾟﾛｸﾞﾗﾑ"
extern const char kGroupResource[];  // "ﾘｿｰｽ"
extern const char kGroupEnvironment[];  // "運用環境"
extern const char kGroupLibrary[];   // "ﾗｲﾌﾞﾗﾘ"
// The wizard's.
extern const char kTypeProcedural[];   // "手続き型"
extern const char kTypeEventDriven[];  // "ｲﾍﾞﾝﾄ駆動型"
extern const char kWizardNoFolder[];   // "ﾌｫﾙﾀﾞ名 %s に移動または作成できませんでした"
// The environment dialog's.
extern const char kModelDebug[];       // "ランタイム型 （デバッグ用）"
extern const char kModelRuntime[];     // "ランタイム型"
extern const char kModelStandalone[];  // "独立型"
extern const char kNotChosen[];        // "(選択されていません)"
struct RuntimeLibraryRow {
    const char* label;
    const char* standalone;
    const char* runtime;
};
extern const RuntimeLibraryRow kRuntimeLibraries[7];
// The migration command's texts.
extern const char kCnvSelectionOnly[];
extern const char kCnvTitle[];
extern const char kCnvErrorTitle[];
extern const char kCnvInCreate[];
extern const char kCnvInWrite[];
extern const char kCnvOutOpen[];
extern const char kCnvOutRead[];

}  // namespace prjui::text
