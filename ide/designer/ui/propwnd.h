// The property window: the current form's or control's properties by
// group, edited in place and applied to the record and the live window;
// the event rows with their procedure names; the undo step of the
// resource document; the event procedures in the form's source.
#pragma once

#include "dsg_prop.h"
#include "dsgids.h"
#include "fw.h"

#include <cstdint>
#include <string>
#include <vector>

class CColorComboBox;

class CPropertyWnd : public CDialog {
    FW_DECLARE_DYNAMIC(CPropertyWnd)
public:
    CPropertyWnd() : CDialog(kTemplate) {}
    ~CPropertyWnd() override;
    static constexpr UINT kTemplate = IDD_PROPERTIES;
    enum : UINT { kControlCombo = 1000, kGroupCombo = 1001, kList = 1003, kEditor = 1010, kKeepOnTop = 7104 };

    // Modeless on the template, with the desktop as parent, at a rectangle.
    bool CreateAt(const RECT& rc);

    void SetTitle(const char* name);
    void SelectForm(HWND form);
    void RefreshControl(HWND form, HWND control);
    void ShowRect(const RECT& rc, bool position, bool size);
    // Lists group index `group` of the current control (the first when -1).
    void ListGroup(int group);
    bool StartEdit(int row);
    // Commits the open editor; false when its value is refused.
    bool Commit();
    void CancelEdit();
    void CloseEditor();
    void SetEditText(const std::string& text, int index);
    bool ApplyEdit();
    bool GotoEventRow(int row);
    void Rename(const std::string& name);
    // The current control's window was re-created.
    void Rebind(HWND now) { m_hControl = now; }

    // What scenarios and the shell read.
    int RowOf(int32_t id) const;
    std::string RowText(int row) const;
    bool RowEnabled(int row) const;
    int RowCount() const { return int(m_rowId.size()); }
    int32_t RowId(int row) const { return m_rowId[size_t(row)]; }
    int32_t RowType(int row) const { return m_rowType[size_t(row)]; }
    int GroupIndexOf(int32_t groupId) const;
    HWND Editor() const { return m_hEditor; }
    HWND CurrentControl() const { return m_hControl; }
    HWND CurrentForm() const { return m_hForm; }
    int CurrentMenuItem() const { return m_nMenuItem; }
    int EditRow() const { return m_nEditRow; }
    int32_t CurrentGroup() const { return m_nGroup; }

    uint32_t m_bShown = 0;  // meant to be shown

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnSize(UINT type, int cx, int cy) override;
    void PostNcDestroy() override;

private:
    HWND Item(UINT id) const { return GetDlgItem(m_hWnd, int(id)); }
    dsg::ControlRecord* Record();
    dsg::PropView View();
    void ShowRow(int row);
    void SetRowText(int row, const std::string& text);
    void SetRowEnabled(int row, bool enabled);
    void FillControls();
    // A menu item of the form's menu shown in place of a control: its
    // record index, a record standing for it (kind, id, name).
    void SelectMenuItem(int index);
    void ListMenuItem(int group);
    dsg::MenuItem* MenuItemOf();
    dsg::EventTable* Events();
    void SelectObjectEntry(uint32_t data);
    void ListEvents(const dsg::ControlRecord& r);
    void ApplyEventName(int row, const std::string& text);
    // The row being opened for editing, its kind and its cell.
    struct EditCell {
        int row = -1;
        int32_t id = 0, type = 0;
        bool event = false;
        const dsg::PropertyRow* def = nullptr;
        RECT rect{};
        HFONT font = nullptr;
    };
    bool EditHotKey(int row, dsg::ControlRecord& rec);
    bool OpenTextEditor(const EditCell& c, dsg::ControlRecord& rec);
    bool OpenColourEditor(const EditCell& c);
    bool OpenListEditor(const EditCell& c, dsg::ControlRecord& rec);
    std::vector<std::string> ListChoices(const EditCell& c, const dsg::ControlRecord& rec);
    bool CheckEdit();
    void ApplyForm(dsg::ControlRecord& r, const dsg::PropEdit& e);
    void ApplyControl(dsg::ControlRecord& r, const dsg::PropEdit& e);
    bool ApplyFont(dsg::ControlRecord& r, const dsg::PropEdit& e);
    void ApplyRect(dsg::ControlRecord& r, const dsg::PropEdit& e);
    void ApplyFiles(dsg::ControlRecord& r, const dsg::PropEdit& e);
    void FinishRows(const dsg::ApplyResult& a);
    void SetModified(uint32_t code);
    void EditChanged();
    bool LeavingForElsewhere() const;

    HWND m_hForm = nullptr, m_hControl = nullptr;
    int m_nMenuItem = -1;
    dsg::ControlRecord m_menuRec{};
    int m_nEditRow = -1;
    int32_t m_nEditType = 0;
    HWND m_hEditor = nullptr;
    CColorComboBox* m_pColour = nullptr;
    std::string m_strOpenText;
    std::string m_strApplyText;
    int m_nApplyIndex = -1;
    int32_t m_nMin = 0, m_nMax = 0;
    bool m_bPutting = false, m_bChecking = false, m_bUndoMarked = false;
    int32_t m_nGroup = 0;
    std::vector<int32_t> m_groupIds;
    std::vector<int32_t> m_rowGroup, m_rowId, m_rowType;
    std::vector<uint8_t> m_rowEnabled;
};

extern CPropertyWnd* g_pPropWnd;
extern bool g_bPropKeepOnTop;

// The main frame's side: the saved state ("PropShow": bit 0 shown, bit 1
// kept in front) brought back at start-up, read back at exit, and the end;
// View > Properties (shown or hidden), Properties (shown), shown for an
// edit (false: it had to be made). place: where the main frame keeps it.
void PropWndRestore(uint32_t propShow, const RECT& place);
void PropWndToggle(const RECT& place);
bool PropWndVisible();
void PropWndShow(const RECT& place);
bool PropWndActivate(const RECT& place);
void PropWndState(bool& exists, bool& visible, bool& onTop, RECT& rc);
void PropWndDestroy();

void PropWndSetTitle(const char* name);
void PropWndSelectControl(HWND form);
void PropWndRefreshControl(HWND form, HWND control);
void PropWndReselect();
// A control's rectangle (form client coordinates) in the basic rows.
void DsgShowCtlRect(HWND form, const RECT& rc);
// Re-creates a control window from its record; the new window or null.
HWND PropRecreateControl(HWND form, HWND control);
void SetImeMode(HWND w, uint32_t mode);

// The resource document's undo step.
bool RcUndoRecord(uint32_t code);
bool RcUndo();
bool RcCanUndo();
void RcUndoSetKind(uint32_t flag, HWND window);

// Event procedures in the form's source (a double click on a control, the
// code command, an event row).
bool EvtGotoCode(HWND form, HWND control);
bool EvtInsertProcedure(HWND form, int event, const std::string& proc);
