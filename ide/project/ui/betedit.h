// The runtime-environment editor: the document of a .bet file (CBetDoc),
// its frame, the form view with the three tabs "動作モード", "回線",
// "プリンタ" whose pages write their bytes of the record at once, and the
// port sheet "回線ﾊﾟﾗﾒｰﾀの設定" with a page per serial port.
#pragma once

#include "bet_pages.h"
#include "bet_port.h"
#include "envblock.h"
#include "fw.h"
#include "prjids.h"

#include <cstdint>
#include <string>

class CPrjDoc;

class CBetDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CBetDoc)
public:
    CBetDoc();
    CPrjDoc* m_pPrjDoc = nullptr;  // the project that opened it, or none
    uint32_t m_nDocNumber = 0;     // the number that project handed out
    EnvBlock m_record;             // bytes 308 on are never kept

    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    void Serialize(CArchive& ar) override;
    bool SaveModified() override;

protected:
    void OnFileSaveAs();
    FW_DECLARE_CMD_MAP()
};

class CBetFrm : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CBetFrm)
protected:
    void OnClose() override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

// A page of the view: a modeless child dialog whose handlers reach the
// record through the view and its frame.
class CBetPage : public CDialog {
public:
    explicit CBetPage(UINT templateId) : CDialog(templateId) {}
    // The frame's active document when it is a runtime environment.
    CBetDoc* Document() const;
};

// The mode and line pages: option buttons and check boxes over bytes of
// the record, and the defaults button.
class CBetButtonsPage : public CBetPage {
public:
    CBetButtonsPage(UINT templateId, const prj::BetPage& page) : CBetPage(templateId), m_page(page) {}
    bool OnInitDialog() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void ShowRecord();
    const prj::BetPage& m_page;
};

class CBetModePage : public CBetButtonsPage {
public:
    CBetModePage();
};

class CBetLinePage : public CBetButtonsPage {
public:
    CBetLinePage();

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
};

class CBetPrinterPage : public CBetPage {
public:
    CBetPrinterPage() : CBetPage(IDD_BET_PRINTER) {}
    bool OnInitDialog() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    CSpinButtonCtrl m_spin;
};

class CBetView : public CView {
    FW_DECLARE_DYNCREATE(CBetView)
public:
    ~CBetView() override;
    bool Create(CWnd* parent, UINT id, CCreateContext* ctx) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView*) override {}
    void OnDraw(HDC) override {}
    // The page of a tab (0 mode, 1 line, 2 printer).
    CBetPage* Page(int tab) const;
    void ShowTab(int tab);

protected:
    void OnPaint() override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;

private:
    HWND m_hTab = nullptr;
    RECT m_rcTabClient{};
    RECT m_rcTabItem{};
    CBetModePage* m_pMode = nullptr;
    CBetLinePage* m_pLine = nullptr;
    CBetPrinterPage* m_pPrinter = nullptr;
};

// A port of the sheet: six combo indexes (-1: none selected).
class CBetComExPage : public CPropertyPage {
public:
    CBetComExPage(int port, const prj::PortSettings& s);
    prj::PortSettings m_settings;
    bool m_bParityOn = false;
    bool OnInitDialog() override;
    void OnOK() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void Show(const prj::PortSettings& s);
};

// Runs the port sheet over the document's five ports; OK stores all of them.
bool RunPortSheet(CWnd* owner, CBetDoc* doc);
