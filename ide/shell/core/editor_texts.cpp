// The editor's and the shared controls' texts, compiled to code page 932.
#include "dlgrules.h"
#include "editsettings.h"
#include "edittext.h"

namespace tambrix {

const ColorEntry kColorTable[kColorCount] = {
    {0, 0, 0, "黒"},          {128, 128, 128, "暗い灰色"}, {0, 0, 128, "暗い青"},
    {0, 0, 255, "青"},        {128, 0, 0, "暗い赤"},       {255, 0, 0, "赤"},
    {128, 0, 128, "暗い紫"},  {255, 0, 255, "紫"},         {0, 128, 0, "暗い緑"},
    {0, 255, 0, "緑"},        {0, 128, 128, "暗い水色"},   {0, 255, 255, "水色"},
    {128, 128, 0, "暗い黄色"}, {255, 255, 0, "黄色"},      {192, 192, 192, "灰色"},
    {255, 255, 255, "白"},
};

const char* const kHotKeyNone = "(なし)";

}  // namespace tambrix

namespace tambrix {
const char* const kSyntaxErrorCaption = "Tambrix ｴﾗｰ : %s [%d行]";
}  // namespace tambrix

namespace tambrix {
const char* const kHotKeyNoneRow = "  (なし)";
const char* const kFolderChangeTitle = "ﾌｫﾙﾀﾞの変更";
const char* const kFolderChangeButton = "変更(&C)";
const char* const kFolderPickTitle = "ﾌｫﾙﾀﾞの参照";
}  // namespace tambrix
