// The project wizard's checks on OK that need no window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/prjids.h"  // the message ids, which the resource script reads too

namespace prj {

enum : uint32_t {
    kMsgFillAllFields = IDS_FILL_ALL_FIELDS,    // 値を正しく入力してください
    kMsgSameModuleNames = IDS_SAME_MODULE_NAMES,  // ﾒｲﾝ ﾓｼﾞｭｰﾙとﾌｫｰﾑ ﾓｼﾞｭｰﾙに同じﾌｧｲﾙ名を...
};

// The five edits in dialog order; `main_module` and `form_module` index
// into them. 0 when the wizard may go on, else the message to show.
uint32_t CheckWizardFields(const std::array<std::string, 5> &fields, int main_module, int form_module);

// The folder the wizard enters: "." for an empty text, one trailing '\'
// dropped (a double-byte character ending in 0x5C is kept).
std::string WizardFolder(const std::string &text);

}  // namespace prj
