// The project environment dialog "プロジェクト環境" (template 145): the
// project and program names, the run model with the libraries it links,
// the resource script and runtime-environment file, the working folder.
#pragma once

#include "fw.h"
#include "prjids.h"

#include <string>

class CPrjDoc;

class CPrjEnvDlg : public CDialog {
public:
    enum : UINT { IDD = IDD_PROJECT_ENV };
    explicit CPrjEnvDlg(CWnd* parent) : CDialog(IDD, parent) {}

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    CPrjDoc* m_pDoc = nullptr;
    bool m_bDefault = false;
    void FillLibraries();
    void ApplyModel();
    std::string ComboText(int id) const;
    // "ﾌｧｲﾙ(&F)...": a resource script or runtime environment into its combo.
    void OnChooseFile();
    void LinkOpenBet(const std::string& path);
};
