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
extern const char kWizardBrowseTitle[];  // "ﾃﾞｨﾚｸﾄﾘの参照"
extern const char kWizardNoFolder[];   // "ﾌｫﾙﾀﾞ名 %s に移動または作成できませんでした"
// The environment dialog's.
extern const char kModelDebug[];       // "ランタイム型 （デバッグ用）"
extern const char kModelRuntime[];     // "ランタイム型"
extern const char kModelStandalone[];  // "独立型"
extern const char kNotChosen[];        // "(選択されていません)"
extern const char kEnvFileFilter[];    // "ﾘｿｰｽ (*.rc)|*.rc|運用環境 (*.bet)|*.bet||"
struct RuntimeLibraryRow {
    const char* label;
    const char* standalone;
    const char* runtime;
};
extern const RuntimeLibraryRow kRuntimeLibraries[7];
// The runtime-environment editor's.
extern const char kBetTabMode[];      // "動作モード"
extern const char kBetTabLine[];      // "回線"
extern const char kBetTabPrinter[];   // "プリンタ"
extern const char kPortSheetTitle[];  // "回線ﾊﾟﾗﾒｰﾀの設定"
extern const char* const kPortDataLength[2];
extern const char* const kPortParity[3];
extern const char* const kPortStopBits[2];
extern const char* const kPortBufferBusy[2];
extern const char* const kPortCodeSystem[2];
// The project property sheet's and the dependency-file dialog's.
extern const char kSheetCaption[];      // "ﾓｼﾞｭｰﾙの登録"
extern const char kMoveIn[];            // "登録 >> (Rﾄ)"
extern const char kMoveOut[];           // "解除 << (Rｶ)"
extern const char kRegisterButton[];    // "登録(&A)"
extern const char kModuleFileTitle[];   // "ﾌｧｲﾙの登録"
extern const char kModuleFileFilter[];
extern const char kLibraryFileTitle[];  // "ﾗｲﾌﾞﾗﾘの登録"
extern const char kLibraryFileFilter[];
extern const char kDepTitle[];          // "依存ﾌｧｲﾙの登録"
extern const char kDepFilter[];
// The migration command's texts.
extern const char kCnvSelectionOnly[];
extern const char kCnvTitle[];
extern const char kCnvErrorTitle[];
extern const char kCnvInCreate[];
extern const char kCnvInWrite[];
extern const char kCnvOutOpen[];
extern const char kCnvOutRead[];

}  // namespace prjui::text
