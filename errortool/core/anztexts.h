// The tool's own texts as Shift-JIS bytes (anztexts.cpp is compiled to code
// page 932): the report's headings and labels and the texts of its boxes.
#pragma once

namespace anz::text {

extern const char kErrorHeading[];      // "エラー発生時の状況\r\n"
extern const char kExceptionHeading[];  // "例外発生時の状況\r\n"
extern const char kUnknownRoutine[];    // "未知の関数"
extern const char kNoMessage[];         // "?"

extern const char kCaption[];           // "Tambrix エラー解析ツール"
extern const char kUntitledTitle[];     // "無題 - Tambrix エラー解析ツール"
extern const char kTitleSuffix[];       // " - Tambrix エラー解析ツール"
extern const char kUntitledPrompt[];    // "ファイル 無題の内容が変更されています。..."
extern const char kPromptHead[];        // "ファイル "
extern const char kPromptTail[];        // "の内容が変更されています。\n\n変更を保存しますか？"
extern const char kNoRecord[];          // "エラー情報がありません！"
extern const char kNoMemoryRead[];      // "メモリが足ません\n" (reading the record)
extern const char kNoMemoryTest[];      // "メモリが足りません" (testing for a record)
extern const char kAskClear[];          // "レジストリ情報をクリアしますか？"
extern const char kSaveFilter[];        // the save dialog's filter
extern const char kOpenFilter[];        // the open dialog's filter

}  // namespace anz::text
