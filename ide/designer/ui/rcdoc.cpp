// The resource document, its tree frame and view, loading through our RC,
// and the services the shell calls.
#include "rcdoc.h"

#include "dsg_formdata.h"
#include "dsg_import.h"
#include "dsg_rcwrite.h"
#include "dsg_resread.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "idesettings.h"
#include "childrun.h"
#include "procstart.h"
#include "buildrun.h"
#include "propwnd.h"
#include "shellids.h"
#include "sjis_path.h"
#include "smalldlgs.h"

#include <algorithm>
#include <cstdio>

FW_IMPLEMENT_DYNCREATE(CRcDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CRcTreeFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CRcTreeView, CView)

CRcDoc* g_pRcDoc = nullptr;
HCURSOR g_hCurSelect = nullptr, g_hCurMove = nullptr, g_hCurLayout = nullptr, g_hCurCopyPaste = nullptr;
HWND g_hActiveForm = nullptr;

using namespace dsgwin;

namespace {

// The file lists of the tree's categories 1-3 (0 is forms, 4 menus).
constexpr int kCategoryList[3] = {dsg::kListBitmap, dsg::kListCursor, dsg::kListIcon};

const char* const kCategoryText[5] = {
    "\xCC\xAB\xB0\xD1",                  // ﾌｫｰﾑ
    "\xCB\xDE\xAF\xC4\xCF\xAF\xCC\xDF",  // ﾋﾞｯﾄﾏｯﾌﾟ
    "\xB6\xB0\xBF\xD9",                  // ｶｰｿﾙ
    "\xB1\xB2\xBA\xDD",                  // ｱｲｺﾝ
    "\xD2\xC6\xAD\xB0",                  // ﾒﾆｭｰ
};

CRcTreeView* TreeOf(CDocument* doc) {
    for (CView* v : doc->GetViews()) {
        if (auto* t = dynamic_cast<CRcTreeView*>(v))
            return t;
    }
    return nullptr;
}

std::string FolderOf(const std::string& path) {
    size_t p = path.find_last_of('\\');
    if (p == std::string::npos)
        p = path.find_last_of(':');
    return p == std::string::npos ? std::string(".") : path.substr(0, p);
}

void SetStatus(const std::string& text) {
    Ide().SetStatusText(text.c_str());
}

// ---- RC ------------------------------------------------------------------

struct RcRun {
    tambrix::ChildResult result;
    std::string commandLine;
    std::string output;  // RC's words on both streams
};

RcRun RunRc(const std::string& script) {
    size_t dot = script.find_last_of('.');
    std::string out = (dot == std::string::npos ? script + "." : script.substr(0, dot + 1)) + "res";
    // The installation's and the user's tool and include folders (the "Env"
    // values), set as for a build: RC and tq70form.h lie there. Read here, as
    // a script named on the command line opens before start-up reads them.
    auto read = [](fw::RegRoot root, const char* key, const char* name) {
        return Ide().Registry().ReadString(root, key, name, MAX_PATH).value_or(std::string());
    };
    auto machine = [&](const char* name) { return read(fw::RegRoot::LocalMachine, tambrix::kEnvKey, name); };
    auto user = [&](const char* name) { return read(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey, name); };
    prjui::ToolEnvironment env({machine("Bin"), machine("Lib"), machine("Include"), user("Bin"), user("Lib"),
                                user("Include")});

    RcRun run;
    run.commandLine = "RC /r /l 0x411 /fo " + tambrix::QuoteArgument(out) + " " + tambrix::QuoteArgument(script);
    // "%sを生成中．．．"
    SetStatus(out + "\x82\xF0\x90\xB6\x90\xAC\x92\x86\x81\x44\x81\x44\x81\x44");
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ProcessStart start;
    start.commandLine = run.commandLine;
    start.folder = FolderOf(script);
    start.flags = CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS;
    start.title = "Tambrix";
    start.startFlags = STARTF_FORCEONFEEDBACK;
    CollectedOutput words;
    // The open is under way inside a command: only painting runs meanwhile.
    run.result = RunCapturedChild(start, words, ChildWait::kPaintOnly);
    run.output = words.Text();
    Ide().ShowModeText();
    SetCursor(old);
    return run;
}

// Tells the user why a script did not load; RC's own lines go to the
// result window.
void ReportLoadFailure(const std::string& script, const RcRun* rc) {
    if (rc && rc->result.status != tambrix::ChildStatus::kRan) {
        MessageBoxById(dsg::kMsgRcNotStarted, MB_ICONHAND, 0, rc->commandLine.c_str());
        return;
    }
    if (rc && !tambrix::RcSucceeded(rc->result)) {
        std::string lines;
        for (const std::string& l : tambrix::OutputLines(rc->output))
            lines += l + "\r\n";
        ShowToolOutput(lines);
        MessageBoxById(dsg::kMsgRcRefused, MB_ICONHAND, 0, script.c_str());
        return;
    }
    MessageBoxById(dsg::kMsgResUnreadable, MB_ICONHAND, 0, dsg::CompiledPath(script).c_str());
}

}  // namespace

// ---- the document ----------------------------------------------------------

CRcDoc::CRcDoc() { g_pRcDoc = this; }

CRcDoc::~CRcDoc() {
    DestroyForms();
    if (g_pRcDoc == this)
        g_pRcDoc = nullptr;
}

void CRcDoc::SetModifiedFlag(bool modified) {
    CDocument::SetModifiedFlag(modified);
    m_doc.modified = modified;
}

bool CRcDoc::IsModified() { return m_bModified || m_doc.modified; }

std::vector<HWND> CRcDoc::FormWindows() const {
    std::vector<HWND> out;
    for (const auto& f : m_doc.forms)
        out.push_back(Hwnd(f.window));
    return out;
}

void CRcDoc::DestroyForms() {
    for (auto& f : m_doc.forms) {
        for (size_t i = f.table.size(); i-- > 1;)
            dsg::CtlReleaseResources(Host(), m_doc, f.table[i], true);
        if (!f.table.empty())
            dsg::CtlReleaseResources(Host(), m_doc, f.table[0], false);
        if (f.mdiClient)
            Host().DropWindow(f.mdiClient);
        Host().DropWindow(f.window);
    }
    m_doc.forms.clear();
}

bool CRcDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    g_pRcDoc = this;
    return true;
}

bool CRcDoc::OnOpenDocument(const std::string& path) {
    m_bLoadFailed = false;
    // A script that did not load opens no document: the user was told why.
    if (!CDocument::OnOpenDocument(path) || m_bLoadFailed)
        return false;
    if (m_doc.converted)
        SetModifiedFlag(true);
    return true;
}

void CRcDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        return;  // saving goes through OnSaveDocument
    if (!RcLoad(ar.GetPath())) {
        SetModifiedFlag(false);
        m_bLoadFailed = true;
        return;
    }
    std::string name = ar.GetPath().substr(ar.GetPath().find_last_of('\\') + 1);
    FillResourceTree(name, true);
    if (!m_doc.forms.empty()) {
        HWND first = Hwnd(m_doc.forms[0].window);
        m_doc.forms[0].open = 1;
        ShowWindow(first, SW_SHOWNA);
        DsgSelectControl(first, first);
    }
    g_pRcDoc = this;
}

bool CRcDoc::RcLoad(const std::string& path) {
    m_doc.converted = 0;
    std::string compiled = dsg::CompiledPath(path);
    if (compiled.empty()) {
        ReportLoadFailure(path, nullptr);
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA src{}, res{};
    bool have = GetFileAttributesExA(compiled.c_str(), GetFileExInfoStandard, &res) != 0;
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &src);
    if (!have || CompareFileTime(&src.ftLastWriteTime, &res.ftLastWriteTime) > 0) {
        RcRun rc = RunRc(path);
        if (!tambrix::RcSucceeded(rc.result)) {
            ReportLoadFailure(path, &rc);
            return false;
        }
    }
    std::FILE* f = std::fopen(compiled.c_str(), "rb");
    if (!f) {
        ReportLoadFailure(path, nullptr);
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    char cur[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cur, cur);
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool ok = dsg::RcLoadCompiled(Host(), m_doc, bytes, path, cur);
    SetCursor(old);
    if (!ok)
        ReportLoadFailure(path, nullptr);
    return ok;
}

bool CRcDoc::OnSaveDocument(const std::string& path) {
    dsg::StdioScriptFiles files;
    dsg::WriteResult r = dsg::RcSave(Host(), m_doc, path, files);
    if (!r.ok)
        return false;
    SetModifiedFlag(false);
    return true;
}

void CRcDoc::OnCloseDocument() {
    if (m_nTestMode)
        RcToggleTestMode();
    DestroyForms();
    Sel() = Selection{};
    g_hActiveForm = nullptr;
    PropWndSetTitle(nullptr);
    bool closing = Ide().Closing() != 0;
    CDocument::OnCloseDocument();
    // (this may be gone now)
    if (!closing && Ide().ProjectFrame()) {
        CMDIChildWnd* next = Ide().FindChild(ChildKind::kResourceTree);
        g_pRcDoc = next ? dynamic_cast<CRcDoc*>(next->GetActiveDocument()) : nullptr;
    }
}

void CRcDoc::FillResourceTree(const std::string& rootText, bool empty) {
    CRcTreeView* tree = TreeOf(this);
    if (!tree)
        return;
    if (empty)
        tree->Empty();
    tree->m_root = tree->InsertResourceItem(nullptr, 0, rootText, 0);
    for (const auto& f : m_doc.forms) {
        if (f.table.empty())
            continue;
        if (!tree->m_category[0])
            tree->InsertResourceItem(tree->m_root, 0, kCategoryText[0], 0);
        tree->InsertResourceItem(tree->m_category[0], 2,
                                 dsg::FieldText(f.table[0].name, sizeof f.table[0].name), f.number);
    }
    const auto& menus = m_doc.menus.menus;
    for (size_t i = 0; i < menus.size(); ++i) {
        if (!tree->m_category[4])
            tree->InsertResourceItem(tree->m_root, 0, kCategoryText[4], 0);
        const auto& h = menus[i].block.header;
        tree->InsertResourceItem(tree->m_category[4], 2, dsg::FieldText(h.name, sizeof h.name), LPARAM(i));
    }
    // Bitmaps, cursors, icons.
    for (int c = 0; c < 3; ++c) {
        dsg::FileList& list = m_doc.List(kCategoryList[c]);
        if (!list.exists)
            continue;
        if (!tree->m_category[c + 1])
            tree->InsertResourceItem(tree->m_root, 0, kCategoryText[c + 1], 0);
        for (size_t i = 0; i < list.entries.size(); ++i)
            tree->InsertResourceItem(tree->m_category[c + 1], 2, list.entries[i].path, LPARAM(i));
    }
    tree->RcTreeRefresh();
}

uint32_t CRcDoc::RcSetTestMode(uint32_t mode) {
    uint32_t old = m_nTestMode;
    m_nTestMode = mode;
    return old;
}

void CRcDoc::RcToggleTestMode() {
    uint32_t mode = m_nTestMode ? 0 : 1;
    m_nTestMode = 1;
    for (auto& f : m_doc.forms) {
        HWND fw = Hwnd(f.window);
        ShowWindow(fw, SW_HIDE);
        HWND focus = nullptr;
        for (size_t i = 1; i < f.table.size(); ++i) {
            auto& r = f.table[i];
            if (r.kind < dsg::kButton || r.kind > dsg::kBmpButton)
                continue;
            HWND c = Hwnd(r.hwnd);
            if (mode) {
                if (!(r.style & dsg::kWsVisible))
                    ShowWindow(c, SW_HIDE);
                if (r.style & dsg::kWsDisabled)
                    EnableWindow(c, FALSE);
            } else {
                ShowWindow(c, SW_SHOWNA);
                EnableWindow(c, TRUE);
                if (r.kind == dsg::kBmpButton)
                    r.area[dsg::ba::runState] = 0;
            }
            bool focusable = (r.kind >= dsg::kButton && r.kind <= dsg::kEdit) ||
                             (r.kind >= dsg::kList && r.kind <= dsg::kCombo) || r.kind == dsg::kBmpButton;
            if (!focus && focusable)
                focus = c;
        }
        if (!mode && !f.table.empty()) {
            if (IsIconic(fw) || IsZoomed(fw))
                ShowWindow(fw, SW_RESTORE);
            const auto& r = f.table[0];
            SetWindowPos(fw, nullptr, r.x, r.y, r.cx, r.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ShowWindow(fw, SW_SHOWNA);
        RedrawWindow(fw, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (focus)
            SetFocus(focus);
    }
    if (g_hActiveForm)
        SetActiveWindow(g_hActiveForm);
    m_nTestMode = mode;
    if (Ide().MainFrame())
        Ide().EnableCloseMenu(mode == 0);
}

int CRcDoc::RcHideForms(int restore) {
    std::vector<HWND> forms = FormWindows();
    if (!restore) {
        m_hiddenForms.clear();
        for (HWND f : forms) {
            m_hiddenForms.push_back(IsWindowVisible(f) ? 1 : 0);
            ShowWindow(f, SW_HIDE);
        }
    } else {
        for (size_t i = 0; i < forms.size() && i < m_hiddenForms.size(); ++i) {
            if (m_hiddenForms[i])
                ShowWindow(forms[i], SW_SHOWNA);
        }
        m_hiddenForms.clear();
    }
    return 1;
}

int CRcDoc::EnableDesignerWindows(int enable) {
    for (HWND f : FormWindows())
        EnableWindow(f, enable ? TRUE : FALSE);
    return 1;
}

// ---- the tree frame and view ----------------------------------------------

int CRcTreeFrm::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    SetWindowPos(m_hWnd, nullptr, 0, 0, 230, 310, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

bool CRcTreeFrm::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_MDIACTIVATE && reinterpret_cast<HWND>(lp) == m_hWnd && Ide().Closing() == 0) {
        if (auto* doc = dynamic_cast<CRcDoc*>(GetActiveDocument())) {
            std::string title = GetWindowText();
            if (!title.empty())
                doc->m_strFrameCaption = title;
            g_pRcDoc = doc;
        }
    }
    return CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
}

bool CRcTreeView::Create(CWnd* parent, UINT id, CCreateContext* ctx) {
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    RegisterClasses();
    RECT rc;
    GetClientRect(parent->m_hWnd, &rc);
    if (!CreateEx(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS |
                                         TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                  0, 0, rc.right, rc.bottom, parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return false;
    }
    if (auto* doc = dynamic_cast<CRcDoc*>(m_pDocument))
        g_pRcDoc = doc;
    return true;
}

void CRcTreeView::OnInitialUpdate() { OnUpdate(nullptr); }

void CRcTreeView::OnUpdate(CView*) {
    RcTreeRefresh();
    if (auto* doc = dynamic_cast<CRcDoc*>(m_pDocument)) {
        if (CFrameWnd* f = GetParentFrame()) {
            std::string title = f->GetWindowText();
            if (!title.empty())
                doc->m_strFrameCaption = title;
        }
    }
}

void CRcTreeView::OnDestroy() {
    m_root = nullptr;
    for (auto& c : m_category)
        c = nullptr;
    CView::OnDestroy();
}

void CRcTreeView::Empty() {
    TreeView_DeleteAllItems(m_hWnd);
    m_root = nullptr;
    for (auto& c : m_category)
        c = nullptr;
}

HTREEITEM CRcTreeView::InsertResourceItem(HTREEITEM parent, int image, const std::string& text, LPARAM data) {
    TVINSERTSTRUCTA is{};
    is.hParent = parent ? parent : TVI_ROOT;
    is.hInsertAfter = TVI_SORT;
    is.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    is.item.pszText = const_cast<char*>(text.c_str());
    is.item.lParam = data;
    is.item.iImage = is.item.iSelectedImage = image;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    if (item && parent && parent == m_root) {
        for (int i = 0; i < 5; ++i) {
            if (text == kCategoryText[i])
                m_category[i] = item;
        }
    }
    return item;
}

void CRcTreeView::RcTreeRefresh() {
    if (!m_hWnd)
        return;
    if (m_root)
        TreeView_Expand(m_hWnd, m_root, TVE_EXPAND);
    for (HTREEITEM c : m_category) {
        if (c)
            TreeView_Expand(m_hWnd, c, TVE_EXPAND);
    }
    dsg::Form* f = FormOf(g_hActiveForm);
    if (f && m_category[0]) {
        for (HTREEITEM i = TreeView_GetChild(m_hWnd, m_category[0]); i; i = TreeView_GetNextSibling(m_hWnd, i)) {
            TVITEMA it{};
            it.mask = TVIF_PARAM;
            it.hItem = i;
            TreeView_GetItem(m_hWnd, &it);
            if (it.lParam == f->number) {
                TreeView_SelectItem(m_hWnd, i);
                break;
            }
        }
    }
}

HTREEITEM CRcTreeView::RcTreeGetSel(int category, std::string* text) {
    HTREEITEM sel = TreeView_GetSelection(m_hWnd);
    if (!sel || !m_category[category] || TreeView_GetParent(m_hWnd, sel) != m_category[category])
        return nullptr;
    if (text) {
        char buf[MAX_PATH] = {};
        TVITEMA it{};
        it.mask = TVIF_TEXT;
        it.hItem = sel;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        TreeView_GetItem(m_hWnd, &it);
        *text = buf;
    }
    return sel;
}

HTREEITEM CRcTreeView::RcTreeGetSelText(std::string* text) {
    for (int c = 0; c < 5; ++c) {
        if (HTREEITEM sel = RcTreeGetSel(c, text))
            return sel;
    }
    return nullptr;
}

std::vector<std::string> CRcTreeView::ItemTexts(HTREEITEM parent) {
    std::vector<std::string> out;
    HTREEITEM i = parent ? TreeView_GetChild(m_hWnd, parent) : TreeView_GetRoot(m_hWnd);
    for (; i; i = TreeView_GetNextSibling(m_hWnd, i)) {
        char buf[MAX_PATH] = {};
        TVITEMA it{};
        it.mask = TVIF_TEXT;
        it.hItem = i;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        TreeView_GetItem(m_hWnd, &it);
        out.push_back(buf);
    }
    return out;
}

bool CRcTreeView::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lp);
    if (msg == WM_NOTIFY && nm && nm->code == NM_DBLCLK) {
        std::string text;
        if (HTREEITEM item = RcTreeGetSel(0, &text)) {
            TVITEMA it{};
            it.mask = TVIF_PARAM;
            it.hItem = item;
            TreeView_GetItem(m_hWnd, &it);
            if (auto* doc = dynamic_cast<CRcDoc*>(m_pDocument)) {
                for (auto& f : doc->m_doc.forms) {
                    if (f.number == it.lParam)
                        ShowFormWindow(Hwnd(f.window));
                }
            }
            *result = 1;
            return true;
        }
        if (RcTreeGetSel(4, nullptr)) {
            ResEdit();
            *result = 1;
            return true;
        }
        if (OpenFileItem()) {
            *result = 1;
            return true;
        }
    }
    return CView::OnChildNotify(msg, wp, lp, result);
}

bool CRcTreeView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg != WM_RBUTTONDOWN)
        return CView::OnWndMsg(msg, wp, lp, result);
    // The menu's commands act on the selection: the clicked item first.
    TVHITTESTINFO hit{};
    hit.pt = {short(LOWORD(lp)), short(HIWORD(lp))};
    HTREEITEM item = TreeView_HitTest(m_hWnd, &hit);
    if (item && (hit.flags & TVHT_ONITEM))
        TreeView_SelectItem(m_hWnd, item);
    POINT screen = hit.pt;
    ClientToScreen(m_hWnd, &screen);
    DsgTrackPopup(IDR_RES_TREE_POPUP, screen);
    *result = 0;
    return true;
}

namespace dsgwin {
std::string ScriptFolder(CRcDoc* doc) {
    if (doc && !doc->GetPathName().empty())
        return prj::FolderOf(doc->GetPathName());
    char cur[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cur, cur);
    return cur;
}
}  // namespace dsgwin

// The selected bitmap, cursor or icon entry opened by the shell, found
// from the script's folder as the import stored it.
bool CRcTreeView::OpenFileItem() {
    auto* doc = dynamic_cast<CRcDoc*>(m_pDocument);
    for (int c = 1; doc && c <= 3; ++c) {
        std::string text;
        HTREEITEM item = RcTreeGetSel(c, &text);
        if (!item)
            continue;
        dsg::FileList& l = doc->m_doc.List(kCategoryList[c - 1]);
        size_t at = size_t(ItemData(item));
        const dsg::FileEntry* e = at < l.entries.size() ? &l.entries[at] : l.Find(text);
        if (!e)
            return false;
        std::string folder = ScriptFolder(doc);
        ShellOpenFile(dsg::ImportFullPath(e->path, folder), folder);
        return true;
    }
    return false;
}

// ---- what the shell calls ----------------------------------------------------

CRcDoc* DsgNewResource() {
    CMultiDocTemplate* t = Ide().Template(kSlotResource);
    auto* doc = t ? dynamic_cast<CRcDoc*>(t->OpenDocumentFile(nullptr)) : nullptr;
    if (!doc)
        return nullptr;
    DsgFirstForm(doc, "MAINFORM");
    return doc;
}

void DsgFirstForm(CRcDoc* doc, const char* name) {
    doc->FillResourceTree(doc->GetTitle(), true);
    dsg::Form* f = dsg::FrmCreateNew(Host(), doc->m_doc, name, false);
    if (f) {
        HWND w = Hwnd(f->window);
        auto& r = f->table[0];
        RECT wr;
        GetWindowRect(w, &wr);
        r.x = wr.left;
        r.y = wr.top;
        r.cx = wr.right - wr.left;
        r.cy = wr.bottom - wr.top;
        ShowWindow(w, SW_SHOWNORMAL);
        DsgSelectControl(w, w);
        doc->FillResourceTree(doc->GetTitle(), true);
    }
}

void CreateDesignerWindows(bool show) {
    if (!g_pRcDoc)
        return;
    if (!show && g_pRcDoc->m_hiddenForms.empty())
        g_pRcDoc->RcHideForms(0);
    else if (show)
        g_pRcDoc->RcHideForms(1);
}

void ShowFormWindow(HWND form) {
    if (!g_pRcDoc)
        return;
    dsg::Form* f = FormOf(form);
    if (!f)
        return;
    int visible = 0;
    for (HWND w : g_pRcDoc->FormWindows())
        visible += IsWindowVisible(w) ? 1 : 0;
    if (visible > 1 && IsWindowVisible(form)) {
        ShowWindow(form, SW_HIDE);
        f->open = 0;
        g_hActiveForm = nullptr;
    } else {
        ShowWindow(form, SW_SHOW);
        f->open = 1;
        SetActiveWindow(form);
        DsgSelectControl(form, form);
    }
}

bool EnableDesignerWindows(bool enable) {
    return g_pRcDoc && g_pRcDoc->EnableDesignerWindows(enable ? 1 : 0) != 0;
}

// ---- the resource commands -----------------------------------------------------

namespace {

const char* const kKindNames[2] = {"\xCC\xAB\xB0\xD1", "\xD2\xC6\xAD\xB0"};  // ﾌｫｰﾑ, ﾒﾆｭｰ

CRcTreeView* ActiveTree() { return g_pRcDoc ? TreeOf(g_pRcDoc) : nullptr; }

void Refill(CRcDoc* doc) {
    std::string root = doc->GetPathName().empty() ? doc->GetTitle()
                                                  : doc->GetPathName().substr(doc->GetPathName().find_last_of('\\') + 1);
    doc->FillResourceTree(root, true);
}

}  // namespace

bool DsgRoomForNew(int kind) {
    if (!g_pRcDoc)
        return true;
    size_t have = kind == 0 ? g_pRcDoc->m_doc.forms.size() : g_pRcDoc->m_doc.menus.menus.size();
    if (have >= size_t(dsg::kMaxForms)) {
        MessageBoxById(dsg::kMsgNoMoreItems, MB_ICONEXCLAMATION, 1);
        return false;
    }
    return true;
}

bool CNewResDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = GetDlgItem(m_hWnd, 30002);
    for (int i = 0; i < 2; ++i) {
        int at = int(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kKindNames[i])));
        SendMessageA(list, LB_SETITEMDATA, WPARAM(at), LPARAM(i));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    CenterInWorkArea(m_hWnd);
    return true;
}

bool CNewResDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == 30002 && code == LBN_DBLCLK) {
        OnOK();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CNewResDlg::OnOK() {
    HWND list = GetDlgItem(m_hWnd, 30002);
    int sel = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    m_nKind = sel < 0 ? 0 : int(SendMessageA(list, LB_GETITEMDATA, WPARAM(sel), 0));
    if (!DsgRoomForNew(m_nKind))
        return;
    CDialog::OnOK();
}

void DsgNewResourceCommand() {
    if (!g_pRcDoc) {
        DsgNewResource();
        return;
    }
    CNewResDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;
    CRcDoc* doc = g_pRcDoc;
    if (dlg.GetKind() == 0) {
        dsg::Form* f = dsg::FrmCreateNew(Host(), doc->m_doc, nullptr, false);
        if (!f)
            return;
        HWND w = Hwnd(f->window);
        auto& r = f->table[0];
        RECT wr;
        GetWindowRect(w, &wr);
        r.x = wr.left, r.y = wr.top, r.cx = wr.right - wr.left, r.cy = wr.bottom - wr.top;
        ShowWindow(w, SW_SHOWNORMAL);
        DsgSelectControl(w, w);
    } else {
        CRcTreeView* tree = TreeOf(doc);
        if (!doc->m_doc.menus.CreateNew(tree ? Key(tree->m_hWnd) : 0))
            return;
        if (!DsgMenuEdit(int(doc->m_doc.menus.menus.size()) - 1, true))
            return;
    }
    doc->SetModifiedFlag(true);
    Refill(doc);
}

LPARAM CRcTreeView::ItemData(HTREEITEM item) {
    TVITEMA it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    TreeView_GetItem(m_hWnd, &it);
    return it.lParam;
}

void CRcTreeView::ResImport() {
    CFileDialog dlg(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "\xD8\xBF\xB0\xBD(*.ico;*.bmp;*.dib;*.cur;*.ptr)|*.ico;*.bmp;*.dib;*.cur;*.ptr|"
                    "\xB1\xB2\xBA\xDD(*.ico)|*.ico|\xCB\xDE\xAF\xC4\xCF\xAF\xCC\xDF(*.bmp;*.dib)|*.bmp;*.dib|"
                    "\xCF\xB3\xBD\xCE\xDF\xB2\xDD\xC0(*.cur;*.ptr)|*.cur;*.ptr|"
                    "\x82\xB7\x82\xD7\x82\xC4\x82\xCC\xCC\xA7\xB2\xD9(*.*)|*.*||");
    dlg.m_strTitle = "\xD8\xBF\xB0\xBD\x82\xCC\xB2\xDD\xCE\xDF\xB0\xC4";  // ﾘｿｰｽのｲﾝﾎﾟｰﾄ
    std::string folder;
    if (auto* doc = dynamic_cast<CRcDoc*>(m_pDocument); doc && !doc->GetPathName().empty())
        folder = prj::FolderOf(doc->GetPathName());
    if (!folder.empty())
        dlg.m_ofn.lpstrInitialDir = folder.c_str();
    if (dlg.DoModal() == IDOK)
        ResImportFile(dlg.GetPathName());
}

bool CRcTreeView::ResImportFile(const std::string& path) {
    auto* doc = dynamic_cast<CRcDoc*>(m_pDocument);
    if (!doc)
        return false;
    if (dsg::ImportCheckTitle(prj::BareName(path)) != 0) {
        MessageBoxById(dsg::kMsgBadFileName, MB_ICONEXCLAMATION, 1);
        return false;
    }
    std::string folder;
    if (!doc->GetPathName().empty()) {
        folder = prj::FolderOf(doc->GetPathName());
    } else {
        char cur[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof cur, cur);
        folder = cur;
    }
    bool noMemory = false;
    if (!dsg::ResFileImport(doc->m_doc.lists, dsg::ImportStoredPath(path, folder), noMemory)) {
        if (noMemory)
            MessageBoxById(dsg::kMsgNoMemory, MB_ICONEXCLAMATION, 1);
        return false;
    }
    doc->SetModifiedFlag(true);
    Refill(doc);
    return true;
}

void CRcTreeView::ResEdit() {
    auto* doc = dynamic_cast<CRcDoc*>(m_pDocument);
    HTREEITEM item = RcTreeGetSel(0, nullptr);
    std::string menu;
    if (doc && !item && RcTreeGetSel(4, &menu)) {
        if (DsgMenuEdit(doc->m_doc.menus.Find(menu), false))
            Refill(doc);
        return;
    }
    if (!doc || !item)
        return;
    LPARAM number = ItemData(item);
    for (auto& f : doc->m_doc.forms) {
        if (f.number == number)
            ShowFormWindow(Hwnd(f.window));
    }
}

void CRcTreeView::ResClose() {
    if (RcTreeGetSel(0, nullptr) && g_hActiveForm)
        ShowWindow(g_hActiveForm, SW_HIDE);
}

bool CRcTreeView::ResDelete() {
    auto* doc = dynamic_cast<CRcDoc*>(m_pDocument);
    HTREEITEM sel = TreeView_GetSelection(m_hWnd);
    if (!doc || !sel || TreeView_GetCount(m_hWnd) < 2)
        return false;
    HTREEITEM parent = TreeView_GetParent(m_hWnd, sel);
    int category = -1;
    for (int i = 0; i < 5; ++i) {
        if (parent && parent == m_category[i])
            category = i;
    }
    if (category < 0)
        return false;  // the root or a category
    char buf[MAX_PATH] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT | TVIF_PARAM;
    it.hItem = sel;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    TreeView_GetItem(m_hWnd, &it);
    std::string text = buf;
    auto confirm = [&] {
        return MessageBoxById(dsg::kMsgDeleteItem, MB_YESNO | MB_ICONQUESTION, 1, text.c_str()) == IDYES;
    };
    dsg::Document& d = doc->m_doc;
    if (category == 0) {
        auto f = std::find_if(d.forms.begin(), d.forms.end(), [&](const dsg::Form& x) { return x.number == it.lParam; });
        if (f == d.forms.end() || !confirm())
            return false;
        for (size_t i = f->table.size(); i-- > 1;)
            dsg::CtlReleaseResources(Host(), d, f->table[i], true);
        dsg::CtlReleaseResources(Host(), d, f->table[0], false);
        if (Sel().form == Hwnd(f->window))
            Sel() = Selection{};
        Host().DropWindow(f->window);
        d.forms.erase(f);
    } else if (category == 4) {
        int index = d.menus.Find(text);
        if (index < 0)
            return false;
        for (const auto& f : d.forms) {
            if (f.menu == index) {
                MessageBoxById(dsg::kMsgItemInUse, MB_ICONEXCLAMATION, 1);
                return false;
            }
        }
        if (!confirm())
            return false;
        d.menus.menus.erase(d.menus.menus.begin() + index);
        for (auto& f : d.forms) {
            if (f.menu > index)
                --f.menu;
        }
    } else {
        dsg::FileList& list = d.List(kCategoryList[category - 1]);
        std::string name = dsg::ResourceName(text);
        size_t i = 0;
        while (i < list.entries.size() && !prj::EqualNoCase(dsg::ResourceName(list.entries[i].path), name))
            ++i;
        if (i == list.entries.size())
            return false;
        if (list.entries[i].uses != 0) {
            MessageBoxById(dsg::kMsgItemInUse, MB_ICONEXCLAMATION, 1);
            return false;
        }
        if (!confirm())
            return false;
        list.Remove(i);
    }
    doc->SetModifiedFlag(true);
    TreeView_DeleteItem(m_hWnd, sel);
    if (!TreeView_GetChild(m_hWnd, parent)) {
        TreeView_DeleteItem(m_hWnd, parent);
        m_category[category] = nullptr;
    }
    if (category == 0 && !d.forms.empty()) {
        HWND first = Hwnd(d.forms[0].window);
        d.forms[0].open = 1;
        ShowWindow(first, SW_SHOW);
        SetActiveWindow(first);
        DsgSelectControl(first, first);
    }
    return true;
}

void DsgResourceCommand(UINT id) {
    if (id == ID_RES_NEW) {
        DsgNewResourceCommand();
        return;
    }
    CRcTreeView* tree = ActiveTree();
    if (!tree)
        return;
    switch (id) {
    case ID_RES_IMPORT: tree->ResImport(); break;
    case ID_RES_EDIT: tree->ResEdit(); break;
    case ID_RES_CLOSE: tree->ResClose(); break;
    case ID_RES_DELETE: tree->ResDelete(); break;
    default: break;
    }
}

bool CRcTreeView::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (id != FW_ID_EDIT_UNDO && id != ID_DSG_CODE)
        return CView::OnCmdMsg(id, kind, ui);
    if (kind == FwCmdKind::Update) {
        ui->Enable(id == FW_ID_EDIT_UNDO ? RcCanUndo() : dsgwin::Sel().form != nullptr);
        return true;
    }
    if (kind == FwCmdKind::Command) {
        if (id == FW_ID_EDIT_UNDO)
            RcUndo();
        else
            EvtGotoCode(dsgwin::Sel().form, dsgwin::Sel().anchor ? dsgwin::Sel().anchor : dsgwin::Sel().form);
    }
    return true;
}
