// Our stand-in for the runtime message-text library, loaded from the
// installation folder: the text of error n is its string resource n, the
// compiler's text for that number; a number without one gets the text of
// 0xFF, the compiler's "undefined error code".
#include <windows.h>

namespace {
constexpr UINT kUndefinedText = 0xFF;
}

extern "C" __declspec(dllexport) int WINAPI PbGetErrMsg(HMODULE module, UINT number, char* buf, UINT size) {
    if (!buf || size == 0)
        return 0;
    buf[0] = '\0';
    int n = number >= 1 && number <= 0xFFFF ? LoadStringA(module, number, buf, static_cast<int>(size)) : 0;
    if (n > 0)
        return n;
    return LoadStringA(module, kUndefinedText, buf, static_cast<int>(size));
}
