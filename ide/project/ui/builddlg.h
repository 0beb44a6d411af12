// The build dialog "Tambrix V6.3" (template 170): shown modeless while the
// build runs, then the run, debug and close buttons.
#pragma once

#include "fw.h"
#include "prjids.h"

#include <string>

class CBuildDlg : public CDialog {
public:
    enum : UINT { IDD = IDD_BUILD, kStatus = 30000, kRun = 30004, kDebug = 30005 };
    explicit CBuildDlg(CWnd* parent) : CDialog(IDD, parent) {}

    bool Create();
    void SetStatus(const std::string& text);
    void EnableRun(bool enable);
    void EnableDebug(bool enable);

    std::string m_strStatus;
    std::string m_strProgram;
    std::string m_strArgs;
    int m_bEnded = 0;
    int m_bDebug = 0;
    int m_bClosed = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnClose() override;

private:
    void OnRun();
    void OnDebug();
    void EndBuildDialog();
};
