// The three pass entry points, bound by the driver at load time.
#pragma once

#include "cmpfilparam.h"

#if defined(_WIN32) && defined(TX_BUILDING_PASS)
#define TX_PASS_EXPORT __declspec(dllexport)
#else
#define TX_PASS_EXPORT
#endif

extern "C" {
int PP_CmpFil(CmpFilParam *param);
int SC_CmpFil(CmpFilParam *param);
int CG_CmpFil(CmpFilParam *param);
}
