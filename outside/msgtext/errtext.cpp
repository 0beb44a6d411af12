// Our stand-in for the runtime message-text library, loaded from the
// installation folder: the text of error n is its string resource n
// ("MSG<n>" for 1-255); a number without one still gets "MSG<n>", so a
// caller always sees which number reached the library.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) int WINAPI PbGetErrMsg(HMODULE module, UINT number, char* buf, UINT size) {
    if (!buf || size == 0)
        return 0;
    int n = number <= 0xFFFF ? LoadStringA(module, number, buf, static_cast<int>(size)) : 0;
    if (n > 0)
        return n;
    return std::snprintf(buf, size, "MSG%u", number);
}
