// Library and object files: open as an icon in the project frame that can
// be neither restored nor maximised; their content is never read.
#pragma once

#include "fw.h"

class CLibDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CLibDoc)
public:
    void Serialize(CArchive&) override {}
};

class CLibFrm : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CLibFrm)
public:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void ActivateFrame(int cmdShow = -1) override;
    bool Create(const char* className, const char* title, DWORD style, CMDIFrameWnd* parent,
                CCreateContext* ctx) override;
};

class CLibView : public CView {
    FW_DECLARE_DYNCREATE(CLibView)
public:
    void OnDraw(HDC) override {}
};
