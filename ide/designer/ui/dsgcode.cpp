// The resource document's undo step on the live windows, and the event
// procedures in the form's source: found in an open editor or a project
// module, or written at the end of the form's source.
#include "dsg_prop.h"
#include "dsg_undo.h"
#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "prjdoc.h"
#include "prjwin.h"
#include "project_ops.h"
#include "propwnd.h"
#include "rcdoc.h"
#include "sjis_path.h"

#include <map>

using namespace dsgwin;

// ---- undo ------------------------------------------------------------------

namespace {

dsg::Form* TargetForm(HWND target) {
    dsg::Form* f = FormOf(target);
    return f ? f : FormOf(GetParent(target));
}

bool RecordSlot(dsg::UndoBuffer& u, uint32_t code, int slot) {
    Selection& s = Sel();
    HWND formWnd = s.form ? s.form : g_hActiveForm;
    dsg::Form* form = FormOf(formWnd);
    if (!form)
        return false;
    std::vector<uint32_t> keys;
    if (s.form == formWnd) {
        for (HWND c : s.controls)
            keys.push_back(Key(c));
    }
    HWND anchor = s.form == formWnd && s.anchor ? s.anchor : formWnd;
    char text[1024] = {};
    GetWindowTextA(anchor, text, sizeof text);
    return u.Record(code, g_pRcDoc, form, keys, text, slot);
}

}  // namespace

bool RcUndoRecord(uint32_t code) {
    if (!g_pRcDoc)
        return false;
    if (!g_pRcDoc->m_pUndo)
        g_pRcDoc->m_pUndo = std::make_unique<dsg::UndoBuffer>();
    return RecordSlot(*g_pRcDoc->m_pUndo, code, 0);
}

bool RcCanUndo() { return g_pRcDoc && g_pRcDoc->m_pUndo && g_pRcDoc->m_pUndo->stepFlag == 1; }

void RcUndoSetKind(uint32_t flag, HWND window) {
    if (g_pRcDoc && g_pRcDoc->m_pUndo)
        g_pRcDoc->m_pUndo->SetKind(flag, flag == 1 ? Key(window) : 0);
}

bool RcUndo() {
    if (!g_pRcDoc || !g_pRcDoc->m_pUndo)
        return false;
    dsg::UndoBuffer& u = *g_pRcDoc->m_pUndo;
    int s = u.Current(g_pRcDoc);
    if (s < 0)
        return false;
    RecordSlot(u, u.slots[s].code, 1);
    u.current = s;
    const dsg::UndoSlot& slot = u.slots[s];
    HWND target = Hwnd(slot.target);
    dsg::Form* form = TargetForm(target);
    switch (slot.code) {
    case dsg::kUndoText:
        if (target)
            SetWindowTextA(target, slot.text.c_str());
        break;
    case dsg::kUndoAlign:
        if (!form || !dsg::UndoWriteBack(*form, slot))
            return false;
        for (const auto& r : slot.snapshot) {
            if (HWND w = Hwnd(r.hwnd); w && r.kind != dsg::kForm)
                MoveWindow(w, r.x, r.y, r.cx, r.cy, TRUE);
        }
        break;
    case dsg::kUndoProperty: {
        if (!form || !dsg::UndoWriteBack(*form, slot))
            return false;
        for (const auto& saved : slot.snapshot) {
            HWND w = Hwnd(saved.hwnd);
            if (!w)
                continue;
            SetWindowLongPtrA(w, GWL_STYLE, LONG_PTR((saved.style | WS_VISIBLE) & ~uint32_t(WS_DISABLED)));
            SetWindowLongPtrA(w, GWL_EXSTYLE, LONG_PTR(saved.exStyle));
            SetWindowPos(w, nullptr, saved.x, saved.y, saved.cx, saved.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            ShowWindow(w, saved.kind == dsg::kForm ? SW_RESTORE : SW_SHOWNA);
            RECT c;
            GetClientRect(w, &c);
            SendMessageA(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right, c.bottom));
            RECT wr;
            GetWindowRect(w, &wr);
            if (saved.kind != dsg::kForm)
                MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&wr), 2);
            for (auto& r : form->table) {
                if (r.hwnd == saved.hwnd)
                    r.x = wr.left, r.y = wr.top, r.cx = wr.right - wr.left, r.cy = wr.bottom - wr.top;
            }
        }
        break;
    }
    default: break;
    }
    u.current = s == 0 ? 1 : 2;
    g_pRcDoc->SetModifiedFlag(true);
    if (form)
        InvalidateRect(Hwnd(form->window), nullptr, TRUE);
    PropWndReselect();
    return true;
}

// ---- event procedures -------------------------------------------------------

namespace {

// The editor in which a form's procedures were last found or written.
std::map<HWND, HWND> g_codeEditor;

CBasEditView* ViewOf(CMDIChildWnd* frame) {
    return frame && IsWindow(frame->m_hWnd) ? dynamic_cast<CBasEditView*>(frame->GetActiveView()) : nullptr;
}

CMDIChildWnd* FrameOf(HWND w) { return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(w)); }

bool IsFormSource(CMDIChildWnd* frame, const std::string& formName) {
    CDocument* d = frame->GetActiveDocument();
    if (!d)
        return false;
    std::string path = d->GetPathName();
    if (path.empty())
        return dsg::EvtIsFormSource(d->GetTitle() + ".sub", formName);
    size_t slash = path.find_last_of("\\/");
    return dsg::EvtIsFormSource(slash == std::string::npos ? path : path.substr(slash + 1), formName);
}

// Finds the declaration line and shows the procedure below it.
bool SearchEditor(CMDIChildWnd* frame, const std::string& decl) {
    CBasEditView* v = ViewOf(frame);
    if (!v)
        return false;
    v->HideSelection(true);
    v->SetSel(0, 0);
    bool found = false;
    int n = v->GetLineCount();
    for (int line = 0; line < n && !found; ++line) {
        if (prj::FindNoCase(v->GetLineText(line), decl) == std::string::npos)
            continue;
        found = true;
        int next = v->LineIndex(line + 1);
        v->SetSel(next < 0 ? v->GetTextLength() : next, next < 0 ? v->GetTextLength() : next);
        SendMessageA(v->m_hWnd, EM_LINESCROLL, 0, line - v->GetFirstVisibleLine());
        if (HWND main = Ide().MainWindow())
            BringWindowToTop(main);
        if (CMDIFrameWnd* pf = Ide().ProjectFrame())
            SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
        SetFocus(v->m_hWnd);
    }
    v->HideSelection(false);
    return found;
}

bool WriteProcedure(CMDIChildWnd* frame, const std::string& proc, int event) {
    CBasEditView* v = ViewOf(frame);
    if (!v)
        return false;
    int len = v->GetTextLength();
    std::string text = dsg::EvtProcedureText(proc, event, Ide().EditorTabWidth());
    // A source whose last line has no line end gets one first.
    if (len > 0) {
        std::string last = v->GetTextRange(len - 1, len);
        if (last != "\r" && last != "\n")
            text = "\r\n" + text;
    }
    v->SetSel(len, len);
    v->ReplaceSel(text, true);
    v->SetSel(len, len);
    if (CMDIFrameWnd* pf = Ide().ProjectFrame())
        SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
    SearchEditor(frame, dsg::EvtDeclaration(proc, event));
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
    return true;
}

CMDIChildWnd* FrameOfDoc(CDocument* d) {
    CView* v = d ? d->GetFirstView() : nullptr;
    return v ? dynamic_cast<CMDIChildWnd*>(v->GetParentFrame()) : nullptr;
}

}  // namespace

bool EvtInsertProcedure(HWND form, int event, const std::string& proc) {
    dsg::Form* f = FormOf(form);
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    if (!f || !pf || proc.empty())
        return false;
    std::string formName = dsg::FieldText(f->table[0].name, sizeof f->table[0].name);
    std::string decl = dsg::EvtDeclaration(proc, event);
    bool searchedProject = false, openedSource = false;
    for (;;) {
        auto it = g_codeEditor.find(form);
        if (it != g_codeEditor.end() && IsWindow(it->second) && SearchEditor(FrameOf(it->second), decl))
            return true;
        CMDIChildWnd* source = nullptr;
        for (CMDIChildWnd* c = Ide().FindChild(ChildKind::kEditor); c; c = Ide().FindChild(ChildKind::kEditor, c)) {
            if (!IsFormSource(c, formName))
                continue;
            if (!source)
                source = c;
            if (SearchEditor(c, decl)) {
                g_codeEditor[form] = c->m_hWnd;
                return true;
            }
        }
        for (CMDIChildWnd* c = Ide().FindChild(ChildKind::kEditor); c; c = Ide().FindChild(ChildKind::kEditor, c)) {
            if (!IsFormSource(c, formName) && SearchEditor(c, decl)) {
                g_codeEditor[form] = c->m_hWnd;
                return true;
            }
        }
        if (source) {
            g_codeEditor[form] = source->m_hWnd;
            return WriteProcedure(source, proc, event);
        }
        // The project's modules that are not open.
        CPrjDoc* project = FindProjectDoc();
        if (!searchedProject && project && project->m_pData) {
            searchedProject = true;
            auto isOpen = [&](const prj::CBasData& m) {
                IdeServices& ide = Ide();
                for (CMDIChildWnd* c = ide.FindChild(ChildKind::kEditor); c; c = ide.FindChild(ChildKind::kEditor, c)) {
                    CDocument* d = c->GetActiveDocument();
                    if (d && prj::EqualNoCase(d->GetPathName(), m.full_path))
                        return true;
                }
                return false;
            };
            int i = prj::FindModuleDefiningName(*project->m_pData, decl, "", isOpen, prjui::Env().fs);
            if (i >= 0) {
                CDocument* d = Ide().OpenDocumentFile(project->m_pData->modules[size_t(i)]->full_path.c_str());
                if (CMDIChildWnd* c = FrameOfDoc(d)) {
                    g_codeEditor[form] = c->m_hWnd;
                    continue;
                }
            }
        }
        // The form's own file in the current folder: opened once; a file
        // that is there but does not open is reported, not retried forever.
        std::string file = dsg::EvtSourceName(formName);
        if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (openedSource) {
                MessageBoxById(dsg::kMsgFileOpen, MB_OK | MB_ICONEXCLAMATION, 1, file.c_str());
                return false;
            }
            openedSource = true;
            Ide().OpenDocumentFile(file.c_str());
            continue;
        }
        CDocument* d = Ide().OpenWithTemplate(kSlotSub, nullptr, true);
        CMDIChildWnd* c = FrameOfDoc(d);
        if (!c)
            return false;
        d->SetTitle(formName);
        g_codeEditor[form] = c->m_hWnd;
        return WriteProcedure(c, proc, event);
    }
}

bool EvtGotoCode(HWND form, HWND control) {
    dsg::Form* f = FormOf(form);
    if (!f)
        return false;
    const dsg::ControlRecord* r = control == form ? &f->table[0] : RecordOf(*f, control);
    if (!r)
        return false;
    int n = dsg::DefaultEventOf(r->kind);
    int k = n < 0 ? -1 : dsg::EventIndexIn(r->kind, n);
    const dsg::EventBlock* b = f->events.Find(r->id);
    if (k < 0 || !b || size_t(k) >= b->entries.size())
        return false;
    return EvtInsertProcedure(form, n, b->entries[size_t(k)].proc);
}
