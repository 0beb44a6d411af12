// The whole framework for a program that uses it.
#pragma once

#include "fwapp.h"
#include "fwctrls.h"
#include "fwdialog.h"
#include "fwdoc.h"
#include "fwdoctmpl.h"
#include "fwfiledlg.h"
#include "fwframe.h"
#include "fwobject.h"
#include "fwpropsheet.h"
#include "fwrichedit.h"
#include "fwres.h"
#include "fwstatusbar.h"
#include "fwtoolbar.h"
#include "fwwnd.h"
