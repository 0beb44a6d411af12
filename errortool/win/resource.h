// Resource ids of TXANZ60.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define ID_EDIT_DELETE 32771
#define ID_EDIT_SELECT_ALL 32772
#define ID_REG_READ 32774
#define ID_REG_CLEAR 32775
