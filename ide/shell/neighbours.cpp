#include "neighbours.h"

FW_IMPLEMENT_DYNCREATE(CUPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CUPrjTreeFrm, CMDIChildWnd)
