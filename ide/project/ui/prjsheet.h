// The project property sheet "ﾓｼﾞｭｰﾙの登録" with its pages "ｿｰｽ" (the
// project's source modules) and "ﾗｲﾌﾞﾗﾘ" (its libraries and object files),
// both on template 143, and the dependency-file dialog of a module.
#pragma once

#include "fw.h"
#include "prjids.h"
#include "project_data.h"

#include <memory>
#include <string>
#include <vector>

class CPrjDoc;

// What both pages share: the two lists, the move button and the project.
class CPrjListPage : public CPropertyPage {
public:
    CPrjListPage(UINT captionId) : CPropertyPage(IDD_PRJ_LIST_PAGE, captionId) {}

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    virtual void OnSelectionChanged() {}
    // The names chosen in a file dialog with the page's title and filter.
    std::vector<std::string> ChooseFiles(const char* title, const char* filter, const char* defExt);
    void AddName(int list, const std::string& name);
    bool Listed(int list, const std::string& name) const;
    std::vector<std::string> Names(int list) const;
    std::vector<std::string> Selected(int list) const;
    void MoveSelected();
    void UpdateMoveButton(int list);
    CPrjDoc* m_pDoc = nullptr;
    bool m_bDefault = false;  // the project frame's default project
    int m_nSide = 0;          // the list that holds the selection (1: candidates)
};

class CPrjModPropPage : public CPrjListPage {
public:
    CPrjModPropPage() : CPrjListPage(IDS_SOURCE_PAGE) {}
    bool OnInitDialog() override;
    void OnOK() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnSelectionChanged() override;

private:
    void OnOptions();
    void OnDependencies();
    prj::CBasData* Working(const std::string& name);
    std::vector<std::unique_ptr<prj::CBasData>> m_working;
};

class CPrjLibPropPage : public CPrjListPage {
public:
    CPrjLibPropPage() : CPrjListPage(IDS_LIBRARY_PAGE) {}
    bool OnInitDialog() override;
    void OnOK() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    std::vector<std::string> m_held;  // the project's names when the page opened
    std::string m_strSearchPath;      // the IDE's library folder and LIB
};

// Runs the sheet at page 0 (modules) or 1 (libraries); IDOK or IDCANCEL.
INT_PTR RunProjectSheet(CWnd* parent, int firstPage);

// The dependency-file dialog "依存ﾌｧｲﾙの登録" over a module: OK replaces
// its list (names in the project folder bare when `shorten`) and marks the
// project modified. True when the dialog ended with OK.
bool RunDependencyDialog(CWnd* parent, CPrjDoc* project, prj::CBasData& module, bool shorten);
