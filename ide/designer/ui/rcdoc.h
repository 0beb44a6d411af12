// The live designer: the resource document with its tree, the form windows
// with their controls in design mode, the tool box's insertion and the
// mouse selection. The designer's data are the portable model (dsg::); the
// windows reach it through the Win32 host's side tables.
#pragma once

#include "dsg_model.h"
#include "dsg_undo.h"
#include "dsgids.h"
#include "fw.h"

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The one resource document, held in a global while it is open.
class CRcDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CRcDoc)
public:
    CRcDoc();
    ~CRcDoc() override;
    uint32_t m_nTestMode = 0;
    std::string m_strFrameCaption;
    dsg::Document m_doc;
    // Visible flags of the forms while they are hidden around a modal state.
    std::vector<uint8_t> m_hiddenForms;
    // The undo step, made by the first recording.
    std::unique_ptr<dsg::UndoBuffer> m_pUndo;

    void Serialize(CArchive& ar) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void OnCloseDocument() override;
    void SetModifiedFlag(bool modified = true) override;
    bool IsModified() override;

    const std::string& GetRcFileName() const { return m_strPathName; }
    void FillResourceTree(const std::string& rootText, bool empty);
    uint32_t RcGetTestMode() const { return m_nTestMode; }
    uint32_t RcSetTestMode(uint32_t mode);
    void RcToggleTestMode();
    int RcHideForms(int restore);
    int EnableDesignerWindows(int enable);
    // The form list as the shell reads it: form windows in list order.
    std::vector<HWND> FormWindows() const;

private:
    // False when the script did not load; the user has been told why.
    bool RcLoad(const std::string& path);
    bool m_bLoadFailed = false;
    void DestroyForms();
};
extern CRcDoc* g_pRcDoc;
// The designer's cursors, loaded by the application at start-up.
extern HCURSOR g_hCurSelect, g_hCurMove, g_hCurLayout, g_hCurCopyPaste;

class CRcTreeFrm : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CRcTreeFrm)
protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class CRcTreeView : public CView {
    FW_DECLARE_DYNCREATE(CRcTreeView)
public:
    bool Create(CWnd* parent, UINT id, CCreateContext* ctx) override;
    void OnDraw(HDC) override {}
    void OnInitialUpdate() override;
    void OnUpdate(CView*) override;

    HTREEITEM InsertResourceItem(HTREEITEM parent, int image, const std::string& text, LPARAM data);
    void Empty();
    void RcTreeRefresh();
    // The selected item's text and data when it lies under the given
    // category (0 forms, 4 menus), else none.
    HTREEITEM RcTreeGetSel(int category, std::string* text);
    // The selected item when it lies under any category, else none.
    HTREEITEM RcTreeGetSelText(std::string* text);
    bool OpenFileItem();
    std::vector<std::string> ItemTexts(HTREEITEM parent);  // for tests and callers
    LPARAM ItemData(HTREEITEM item);
    // The resource commands 9002-9005 (import, edit, close, delete).
    void ResImport();
    // Adds one file to its list: false (with 20060) for a name that cannot be one.
    bool ResImportFile(const std::string& path);
    void ResEdit();
    void ResClose();
    bool ResDelete();

    HTREEITEM m_root = nullptr;
    // Forms, bitmaps, cursors, icons, menus.
    HTREEITEM m_category[5] = {};
    // Undo (57643) and the code of the current control (32791).
    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;

protected:
    void OnPaint() override { Default(); }
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    // The right button: the item under the pointer, then the popup menu.
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnDestroy() override;
};

// The new-resource dialog (186): a form (0) or a menu (1).
class CNewResDlg : public CDialog {
public:
    CNewResDlg() : CDialog(IDD_NEW_RES) {}
    int GetKind() const { return m_nKind; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    int m_nKind = 0;
};
// False, with 21018, when the active resource document holds 16 of the kind.
bool DsgRoomForNew(int kind);
// Command 9001: the dialog, then the new form or menu.
void DsgNewResourceCommand();
// Commands ID_RES_NEW to ID_RES_DELETE.
void DsgResourceCommand(UINT id);

// ---- what the shell calls ------------------------------------------------

// The commands' ids are in dsgids.h.

// What the main frame's menus and bars ask of the designer: its state, not
// its parts.
struct DsgMenuState {
    bool open = false;             // a resource script is the designer's document
    bool formTestMode = false;     // its forms run as the program would (with their caption)
    bool testModeChecked = false;  // the test-mode command shows checked
    bool canUndo = false;
    HWND form = nullptr;           // the selection's form and its anchor control
    HWND anchor = nullptr;
    bool grouped = false;          // the current group of the form is set
    size_t selected = 0;           // selected controls
};
DsgMenuState DsgMenuQuery();

// The active form window (null when none).
extern HWND g_hActiveForm;
// A new resource document with its main form (File, New of a script).
CRcDoc* DsgNewResource();
// The tree of a new resource document and its first form (name, or the
// designer's own name when null).
void DsgFirstForm(CRcDoc* doc, const char* name);
// Shows (true) or hides the form windows of the resource document.
void CreateDesignerWindows(bool show);
// Toggles a form between hidden and shown-and-active.
void ShowFormWindow(HWND form);
bool EnableDesignerWindows(bool enable);
bool DsgIsFormTestMode();
// Aligning (modes 0-9, commands 2200-2209) and the lock (2119).
// The designer's frame commands (ID_DSG_*, ID_RES_*, ID_VIEW_GRID), which
// the project frame forwards.
void DsgCommand(unsigned id);
bool DsgAlign(int mode);
bool DsgToggleLock();
// True when every selected control is locked (also when none is): the
// lock command then unlocks.
bool DsgSelectionLocked();
// Command 32787: the tab-order dialog on the active form.
bool DsgTabOrder();
// Command 2019: the arrangement dialog on the active form.
bool DsgArrange();
// The menu editor on menu index; a new menu that is cancelled is removed.
bool DsgMenuEdit(int index, bool isNew);
// Sets the form's menu bar from its menu (none: no bar).
bool DsgApplyMenuBar(dsg::Form& form);
// Command 3010: the grid shown or hidden on every form; its check mark.
void DsgToggleGrid();
bool DsgGridShown();
// The active form window while it still exists, else null.
HWND DsgGetActiveForm();
// Tool-box commands 9500-9515.
void DsgSelectTool(UINT id);
bool DsgToolActive();
uint32_t DsgToolKind();

// ---- the designer's windows ------------------------------------------------

namespace dsgwin {
dsg::DesignerHost& Host();
HWND Hwnd(uint32_t key);
uint32_t Key(HWND w);
HFONT Font(uint32_t key);
HBRUSH Brush(uint32_t key);
void RegisterClasses();
// The placeholder's procedure, which the bitmap button shares for the
// design-mode clicks, texts and fonts, and Tab in test mode (dsgform.cpp).
LRESULT CALLBACK PlaceholderProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
bool TabToNext(HWND form, HWND from, bool back);
// The bitmap button (dsgbmpbtn.cpp): its procedure, its image read from a
// file (width and height, {0, 0} when unreadable; a window of another class
// keeps nothing), its painting into a device context, its press state.
LRESULT CALLBACK BmpButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
POINT BmpButtonLoad(HWND w, const std::string& path);
void BmpButtonPaint(HWND w, HDC dc);
int BmpButtonPressState(HWND w);
// The folder the document's files are found from: its script's, or the
// current folder for a script not saved yet (or while one is loading).
std::string ScriptFolder(CRcDoc* doc);
// The form of the open document whose window this is.
dsg::Form* FormOf(HWND w);
// The record of a window in a form's table (the form's own record for the
// form's window); null for a window the table does not hold.
dsg::ControlRecord* RecordOf(dsg::Form& form, HWND w);
// The same for a control, through the form it is on.
dsg::ControlRecord* ControlRecordOf(HWND control);
// The body of a designer window procedure, run so that no exception
// crosses into the system (it answers 0 then), as the framework's do.
template <class Body>
LRESULT Guarded(Body&& body) {
    try {
        return body();
    } catch (...) {
        return 0;
    }
}
// The selection: the anchor control (the form itself when only it is
// selected) and the selected controls.
struct Selection {
    HWND form = nullptr;
    HWND anchor = nullptr;
    std::vector<HWND> controls;
    int group = -1;  // the current group of the form, -1 none
};
// The form's groups, from its records' marks.
std::vector<std::vector<uint32_t>> GroupsOf(HWND form);
// Command 2118: the selection becomes a group, or the current group goes.
bool DsgGroup(HWND form);
// Windows follow their records: z-order in table order, WS_GROUP.
void ApplyTableOrder(HWND form);
Selection& Sel();
void DsgSelectControl(HWND form, HWND control);
// Moves every unlocked selected control by the offset; the records follow.
void MoveSelectionBy(HWND form, dsg::Form& f, int dx, int dy);
// The keyboard in design mode (dsgkeys.cpp): Shift and Ctrl, the arrow
// keys moving the selection or (Shift) sizing its anchor by a grid step.
void FormKeyDown(HWND form, dsg::Form& f, UINT vk);
void FormKeyUp(UINT vk);
void ClearModifiers();
// The designer's popup menu at a screen point; its commands go to the main frame.
void DsgPopupMenu(POINT screen);
// The first popup of a menu resource at a screen point, owned by the main frame.
void DsgTrackPopup(UINT menu, POINT screen);
// The clipboard (dsgclip.cpp): copy into the clipboard or a private block,
// paste from either into a pending paste, place it at a point.
bool ClipCopy(HWND form, std::vector<uint8_t>* out);
bool ClipPaste(HWND form, const std::vector<uint8_t>* block);
bool ClipPlace(HWND form, POINT pt);
bool HasPendingPaste();
POINT PasteReference();
void DeleteSelection(HWND form);
}  // namespace dsgwin
