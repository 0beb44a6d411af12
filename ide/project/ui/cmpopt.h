// The compile-options dialog "翻訳オプションの設定" (template 149): six
// option bits and the include path of a module or of the project.
#pragma once

#include "fw.h"
#include "prjids.h"
#include "project_data.h"

#include <string>

class CPrjDoc;

class CCmpOptDlg : public CDialog {
public:
    enum : UINT { IDD = IDD_COMPILE_OPTIONS };
    explicit CCmpOptDlg(CWnd* parent) : CDialog(IDD, parent) {}

    // Fills the values from the module's own block, or from the project's
    // defaults (module null, or one without own options).
    void ModuleOptionsToDialog(CPrjDoc* project, prj::CBasData* module);
    // Stores the values into the module (own options only when they differ
    // from the project's defaults), or into the project's defaults.
    void DialogToModuleOptions(CPrjDoc* project, prj::CBasData* module);

    int m_bInterrupt = 1, m_bOverflow = 1, m_bListing = 0, m_bCrossRef = 0, m_bNoDefaultVars = 0;
    std::string m_strInclude;
    int m_nForNextQv = 1;
    std::string m_strName;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    prj::ModuleOptions Reference(CPrjDoc* project) const;
    prj::ModuleOptions m_reference;
    void Show(const prj::OptionDialogValues& v);
    prj::OptionDialogValues Values() const;
};
