// The project tree: the project at the root, the four groups (program
// modules, resource script, runtime environment, libraries and objects)
// with their files, the double click that opens a file and the context
// menu of a file. Its frame makes its project current and asks before it
// closes windows of the project.
#pragma once

#include "fw.h"

#include <commctrl.h>

#include <string>

class CPrjDoc;

class CPrjTree : public CView {
    FW_DECLARE_DYNCREATE(CPrjTree)
public:
    bool Create(CWnd* parent, UINT id, CCreateContext* ctx) override;
    void OnDraw(HDC) override {}
    // The tree control paints its items itself.
    void OnPaint() override { Default(); }
    void OnInitialUpdate() override;
    void OnUpdate(CView*) override {}

    HTREEITEM InsertItem(HTREEITEM parent, int image, const std::string& text);
    void DeleteAll();
    void Expand();
    void RefreshModules();
    void RefreshLibraries();
    void Refresh() { RefreshModules(); RefreshLibraries(); }
    // Fills the tree from the project (after a read).
    void Fill();
    std::string ItemText(HTREEITEM item) const;
    // The group node of a category (1 program .. 4 library), or null.
    HTREEITEM GroupNode(int category) const { return m_groups[category - 1]; }
    HTREEITEM Root() const { return m_root; }
    // What the context menu of the last right-clicked item enables.
    struct MenuState {
        bool shown = false, compile = false, remove = false;
    };
    MenuState RightClick(HTREEITEM item);

    CPrjDoc* GetProjectDocument() const;
    // InsertTreeFile: the item under a category whose text equals `from`
    // (without case) takes the text `to`; false when there is none.
    bool RenameItem(int category, const std::string& from, const std::string& to);
    // The first item under a category (the group and the item inserted
    // when missing) takes a text.
    void SetCategoryFirstItem(int category, const std::string& text);
    // The project's first view, when it is a tree.
    static CPrjTree* Of(CPrjDoc* doc);

protected:
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnFileOpen();
    void OnCompile();
    void OnRemove();
    void OnCompileOptions();
    void OnDependencies();
    FW_DECLARE_CMD_MAP()

private:
    void OnDoubleClick();
    HTREEITEM m_root = nullptr;
    HTREEITEM m_groups[4] = {};
    HTREEITEM m_spare = nullptr;
    HTREEITEM m_rclick = nullptr;
    std::string m_strRclick;
    bool m_bModuleItem = false;
    HIMAGELIST m_images = nullptr;
};

class CPrjTreeFrm : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CPrjTreeFrm)
protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnDestroy() override;
    void OnClose() override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};
