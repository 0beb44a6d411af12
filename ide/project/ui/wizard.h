// The project wizard "ﾌﾟﾛｼﾞｪｸﾄ ｳｨｻﾞｰﾄﾞ" (template 172): the names of a new
// project, its folder and its program type. The wizard command reads the
// members after OK and makes the project.
#pragma once

#include "fw.h"
#include "prjids.h"

#include <string>

class CPrjWizardDlg : public CDialog {
public:
    enum : UINT { IDD = IDD_WIZARD };
    CPrjWizardDlg(CWnd* parent, int number) : CDialog(IDD, parent), m_nNumber(number) {}

    std::string m_strProjectFile, m_strMainModule, m_strFormName, m_strFormModule, m_strFolder;
    int m_nProgramType = -1;  // 0 procedural, 1 event-driven

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    int m_nNumber;
    void EnableFormModule();
    // "参照(&R)...": a folder for the project.
    void OnBrowse();
};
