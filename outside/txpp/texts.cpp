// The preprocessor's own texts. Compiled with code page 932 as execution
// character set, so the literals are the Shift-JIS bytes the console gets.
#include "preprocess.h"

namespace pp {

const char *PchNotCreatedText() { return "プリコンパイルヘッダは作成しません(/Yc を無視しました)"; }

}  // namespace pp
