// The designer's commands as the project frame receives them: test mode,
// aligning and spacing, locking, the grid.
#include "dsg_align.h"
#include "propwnd.h"
#include "rcdoc.h"
#include "ideservices.h"
#include "shellids.h"

using namespace dsgwin;

namespace {

// The selected controls of the active form as boxes, and their records.
std::vector<dsg::ControlRecord*> SelectedRecords(dsg::Form*& form) {
    std::vector<dsg::ControlRecord*> out;
    form = FormOf(Sel().form);
    if (!form)
        return out;
    for (HWND c : Sel().controls) {
        dsg::ControlRecord* r = RecordOf(*form, c);
        if (r && r != &form->table[0])
            out.push_back(r);
    }
    return out;
}

std::vector<dsg::AlignBox> Boxes(const std::vector<dsg::ControlRecord*>& recs) {
    std::vector<dsg::AlignBox> out;
    for (auto* r : recs)
        out.push_back({r->hwnd, r->x, r->y, r->cx, r->cy, (r->attributes & dsg::kCaLocked) != 0});
    return out;
}

}  // namespace

bool DsgAlign(int mode) {
    dsg::Form* form = nullptr;
    auto recs = SelectedRecords(form);
    auto boxes = Boxes(recs);
    size_t anchor = 0;
    for (size_t i = 0; i < recs.size(); ++i) {
        if (Hwnd(recs[i]->hwnd) == Sel().anchor)
            anchor = i;
    }
    if (!form)
        return false;
    const auto& f = form->table[0];
    if (!dsg::DsgAlignBoxes(mode, boxes, anchor, f.area[dsg::fa::gridSnap] != 0, int32_t(f.area[dsg::fa::gridX]),
                            int32_t(f.area[dsg::fa::gridY])))
        return false;
    // The records as they were (still unchanged) make the undo step.
    RcUndoRecord(dsg::kUndoAlign);
    HDWP batch = BeginDeferWindowPos(int(recs.size()));
    for (size_t i = 0; i < recs.size(); ++i) {
        auto* r = recs[i];
        r->x = boxes[i].x, r->y = boxes[i].y, r->cx = boxes[i].cx, r->cy = boxes[i].cy;
        if (batch)
            batch = DeferWindowPos(batch, Hwnd(r->hwnd), nullptr, r->x, r->y, r->cx, r->cy,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch)
        EndDeferWindowPos(batch);
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
    InvalidateRect(Sel().form, nullptr, TRUE);
    return true;
}

bool DsgSelectionLocked() {
    dsg::Form* form = nullptr;
    return dsg::DsgIsLocked(Boxes(SelectedRecords(form)), true);
}

bool DsgToggleLock() {
    dsg::Form* form = nullptr;
    auto recs = SelectedRecords(form);
    bool lock = !dsg::DsgIsLocked(Boxes(recs), true);
    for (auto* r : recs)
        r->attributes = lock ? (r->attributes | dsg::kCaLocked) : (r->attributes & ~dsg::kCaLocked);
    if (!recs.empty() && g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
    if (Sel().form)
        InvalidateRect(Sel().form, nullptr, TRUE);
    return lock;
}

void DsgCommand(unsigned id) {
    if (id == ID_DSG_TEST_MODE && g_pRcDoc)
        g_pRcDoc->RcToggleTestMode();
    else if (id >= ID_DSG_ALIGN_FIRST && id <= ID_DSG_ALIGN_LAST)
        DsgAlign(int(id - ID_DSG_ALIGN_FIRST));
    else if (id == ID_DSG_LOCK)
        DsgToggleLock();
    else if (id == ID_DSG_GROUP)
        DsgGroup(Sel().form);
    else if (id == ID_DSG_ARRANGE)
        DsgArrange();
    else if (id == ID_DSG_TAB_ORDER)
        DsgTabOrder();
    else if (id == ID_VIEW_GRID)
        DsgToggleGrid();
    else if (id >= ID_RES_NEW && id <= ID_RES_DELETE)
        DsgResourceCommand(id);
}

DsgMenuState DsgMenuQuery() {
    DsgMenuState st;
    st.open = g_pRcDoc != nullptr;
    st.formTestMode = g_pRcDoc && !g_pRcDoc->m_strFrameCaption.empty() && g_pRcDoc->m_nTestMode != 0;
    st.testModeChecked = g_pRcDoc && g_pRcDoc->RcGetTestMode() != 0;
    st.canUndo = g_pRcDoc && RcCanUndo();
    const Selection& sel = Sel();
    st.form = sel.form;
    st.anchor = sel.anchor;
    st.grouped = sel.group >= 0;
    st.selected = sel.controls.size();
    return st;
}

void DsgRegisterCommands(IdeServices& ide) {
    auto command = [](UINT id) { DsgCommand(id); };
    ide.RegisterCommands(ID_DSG_ARRANGE, ID_DSG_ARRANGE, command);
    ide.RegisterCommands(ID_DSG_TAB_ORDER, ID_DSG_TAB_ORDER, command);
    ide.RegisterCommands(ID_DSG_TEST_MODE, ID_DSG_TEST_MODE, command);
    ide.RegisterCommands(ID_DSG_ALIGN_FIRST, ID_DSG_ALIGN_LAST, command);
    ide.RegisterCommands(ID_DSG_GROUP, ID_DSG_LOCK, command);
    ide.RegisterCommands(ID_RES_FIRST, ID_RES_LAST, command);
    ide.RegisterCommands(ID_VIEW_GRID, ID_VIEW_GRID, command);
}
