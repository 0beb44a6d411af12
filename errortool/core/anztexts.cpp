#include "anztexts.h"

namespace anz::text {

const char kErrorHeading[] = "エラー発生時の状況\r\n";
const char kExceptionHeading[] = "例外発生時の状況\r\n";
const char kUnknownRoutine[] = "未知の関数";
const char kNoMessage[] = "?";

const char kCaption[] = "Tambrix エラー解析ツール";
const char kUntitledTitle[] = "無題 - Tambrix エラー解析ツール";
const char kTitleSuffix[] = " - Tambrix エラー解析ツール";
const char kUntitledPrompt[] = "ファイル 無題の内容が変更されています。\n\n変更を保存しますか？";
const char kPromptHead[] = "ファイル ";
const char kPromptTail[] = "の内容が変更されています。\n\n変更を保存しますか？";
const char kNoRecord[] = "エラー情報がありません！";
const char kNoMemoryRead[] = "メモリが足ません\n";
const char kNoMemoryTest[] = "メモリが足りません";
const char kAskClear[] = "レジストリ情報をクリアしますか？";
// The two dialogs' filters differ by one blank, as the tool always had them.
const char kSaveFilter[] = "テキスト文書(*.txt)|*.txt|すべてのファイル (*.*)|*.*||";
const char kOpenFilter[] = "テキスト文書(*.txt)|*.txt|すべてのファイル(*.*)|*.*||";

}  // namespace anz::text
