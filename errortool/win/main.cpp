// The program's entry and its one application object.
#include "anz.h"

#ifndef TX_ANZ_HARNESS
CTxeanyzrApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    return FwWinMain(instance, cmdShow);
}
#endif
