// The line-jump dialog (template 154) and the mark dialog (template 157)
// of the project frame.
#pragma once

#include "colorctl.h"
#include "fw.h"
#include "jumprules.h"
#include "resource.h"

#include <string>

class CChildFrame;

class CLineJumpDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CLineJumpDlg)
public:
    // title: the caption of the editor frame to jump in (empty: none).
    CLineJumpDlg(CWnd* parent, const std::string& title) : CDialog(IDD_LINE_JUMP, parent), m_strTarget(title) {}
    std::string m_strTarget;
    tambrix::LineRange m_range;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnJump();
    void OnMark();
    void OnBreakpoints();
};

class CMarkDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CMarkDlg)
public:
    explicit CMarkDlg(CWnd* parent) : CDialog(IDD_MARK, parent) {}
    CReportListCtrl m_lstMarks;
    CComboBox m_cmbFiles;
    tambrix::Mark m_selected;  // line 0: none
    bool m_bListReady = false;

    bool OnInitDialog() override;
    void OnCancel() override;
    // Selects the row of the list (the scenario's click).
    void SelectRow(int row);

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;
    void OnFileChange();
    void OnAdd();
    void OnJump();
    void OnRemove();
    void OnRemoveAll();
    void EnableRowButtons(bool on);
};

// The editor frame of the project frame whose document's title (byPath:
// path) equals name without regard to case; nullptr when none is open.
CChildFrame* FindEditorFrameByName(const std::string& name, bool byPath);
