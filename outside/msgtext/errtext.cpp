// Our stand-in for the runtime message-text library, loaded from the
// installation folder: message n is "MSG<n>".
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) int WINAPI PbGetErrMsg(HMODULE, UINT number, char* buf, UINT size) {
    return std::snprintf(buf, size, "MSG%u", number);
}
