// The program's entry and its one application object.
#include "ideapp.h"

#ifndef TX_IDE_HARNESS
CIdeApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    return FwWinMain(instance, cmdShow);
}
#endif
