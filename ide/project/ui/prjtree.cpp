#include "prjtree.h"

#include "buildrun.h"
#include "cmpopt.h"
#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "betedit.h"
#include "prjdoc.h"
#include "prjsheet.h"
#include "prjtexts.h"
#include "prjwin.h"
#include "project_file.h"
#include "shellids.h"
#include "mbcs.h"
#include "sjis_path.h"
#include "project_env.h"

#include <algorithm>

FW_IMPLEMENT_DYNCREATE(CPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CPrjTreeFrm, CMDIChildWnd)

FW_BEGIN_CMD_MAP(CPrjTree, CView)
    FW_ON_COMMAND(FW_ID_FILE_OPEN, OnFileOpen)
    FW_ON_COMMAND(ID_BUILD_COMPILE, OnCompile)
    FW_ON_COMMAND(ID_PRJ_REMOVE, OnRemove)
    FW_ON_COMMAND(ID_PRJ_MODULE_OPTIONS, OnCompileOptions)
    FW_ON_COMMAND(ID_PRJ_DEPENDENCIES, OnDependencies)
FW_END_CMD_MAP()

namespace {

constexpr UINT kMsgCloseAll = IDS_CLOSE_ALL_TOO;

const char* GroupText(int category) {
    switch (category) {
    case prj::kCatProgram: return prjui::text::kGroupProgram;
    case prj::kCatResource: return prjui::text::kGroupResource;
    case prj::kCatEnvironment: return prjui::text::kGroupEnvironment;
    default: return prjui::text::kGroupLibrary;
    }
}

// A closed group, an open group and a file, drawn: 16 x 15 with a mask.
HIMAGELIST MakeImages() {
    HIMAGELIST list = ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 3, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (int i = 0; i < 3; ++i) {
        HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 15);
        HGDIOBJ old = SelectObject(dc, bmp);
        RECT all{0, 0, 16, 15};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH b = CreateSolidBrush(i == 2 ? RGB(0, 0, 128) : RGB(192, 160, 0));
        RECT r = i == 2 ? RECT{3, 1, 13, 14} : RECT{1, i == 1 ? 5 : 3, 15, 13};
        FillRect(dc, &r, b);
        DeleteObject(b);
        SelectObject(dc, old);
        ImageList_AddMasked(list, bmp, RGB(255, 255, 255));
        DeleteObject(bmp);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}

bool SameName(const std::string& a, const std::string& b) { return prj::EqualNoCase(a, b); }

bool EndsWithObj(const std::string& s) {
    return s.size() >= 4 && lstrcmpiA(s.c_str() + s.size() - 4, ".obj") == 0;
}

}  // namespace

bool CPrjTree::Create(CWnd* parent, UINT id, CCreateContext* ctx) {
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    RECT rc;
    GetClientRect(parent->m_hWnd, &rc);
    if (!CreateEx(0, WC_TREEVIEWA, "",
                  WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0,
                  0, rc.right, rc.bottom, parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return false;
    }
    m_images = MakeImages();
    TreeView_SetImageList(m_hWnd, m_images, TVSIL_NORMAL);
    return true;
}

CPrjDoc* CPrjTree::GetProjectDocument() const { return dynamic_cast<CPrjDoc*>(GetDocument()); }

std::string CPrjTree::ItemText(HTREEITEM item) const {
    char buf[MAX_PATH + 8] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    if (!item || !SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)))
        return {};
    return buf;
}

HTREEITEM CPrjTree::InsertItem(HTREEITEM parent, int image, const std::string& text) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent ? parent : TVI_ROOT;
    ins.hInsertAfter = TVI_SORT;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(text.c_str());
    ins.item.iImage = ins.item.iSelectedImage = image;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!parent) {
        m_root = item;
    } else if (parent == m_root) {
        for (int c = 1; c <= 4; ++c) {
            if (text == GroupText(c))
                m_groups[c - 1] = item;
        }
    }
    return item;
}

void CPrjTree::DeleteAll() {
    TreeView_DeleteAllItems(m_hWnd);
    m_root = m_spare = m_rclick = nullptr;
    std::fill(std::begin(m_groups), std::end(m_groups), nullptr);
    m_strRclick.clear();
}

void CPrjTree::Expand() {
    if (!m_root)
        return;
    TreeView_Expand(m_hWnd, m_root, TVE_EXPAND);
    for (HTREEITEM g : m_groups) {
        if (!g)
            break;
        TreeView_Expand(m_hWnd, g, TVE_EXPAND);
    }
}

void CPrjTree::Fill() {
    CPrjDoc* doc = GetProjectDocument();
    if (!doc)
        return;
    DeleteAll();
    InsertItem(nullptr, 0, doc->GetTitle());
    for (const prj::TreeGroup& g : prj::ProjectTreeGroups(doc->Data())) {
        HTREEITEM node = InsertItem(m_root, 0, GroupText(g.category));
        for (const std::string& item : g.items)
            InsertItem(node, 2, item);
    }
    for (int c = 1; c <= 4; ++c) {
        if (HTREEITEM n = m_groups[c - 1])
            TreeView_Expand(m_hWnd, n, TVE_EXPAND);
    }
    TreeView_Expand(m_hWnd, m_root, TVE_EXPAND);
}

CPrjTree* CPrjTree::Of(CPrjDoc* doc) {
    return doc ? dynamic_cast<CPrjTree*>(doc->GetFirstView()) : nullptr;
}

bool CPrjTree::RenameItem(int category, const std::string& from, const std::string& to) {
    HTREEITEM node = category >= 1 && category <= 4 ? m_groups[category - 1] : nullptr;
    if (!node || TreeView_GetCount(m_hWnd) < 3)
        return false;
    for (HTREEITEM c = TreeView_GetChild(m_hWnd, node); c; c = TreeView_GetNextSibling(m_hWnd, c)) {
        if (SameName(ItemText(c), from)) {
            TVITEMA it{};
            it.mask = TVIF_TEXT;
            it.hItem = c;
            it.pszText = const_cast<char*>(to.c_str());
            SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
            return true;
        }
    }
    return false;
}

void CPrjTree::SetCategoryFirstItem(int category, const std::string& text) {
    if (category < 1 || category > 4 || !m_root)
        return;
    HTREEITEM& node = m_groups[category - 1];
    if (!node)
        InsertItem(m_root, 0, GroupText(category));
    HTREEITEM first = node ? TreeView_GetChild(m_hWnd, node) : nullptr;
    if (!first) {
        InsertItem(node, 2, text);
        TreeView_Expand(m_hWnd, node, TVE_EXPAND);
        return;
    }
    TVITEMA it{};
    it.mask = TVIF_TEXT;
    it.hItem = first;
    it.pszText = const_cast<char*>(text.c_str());
    SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

void CPrjTree::RefreshModules() {
    CPrjDoc* doc = GetProjectDocument();
    if (!doc)
        return;
    prj::ProjectData& d = doc->Data();
    HTREEITEM& node = m_groups[prj::kCatProgram - 1];
    auto matches = [&](const std::string& text) {
        return std::any_of(d.modules.begin(), d.modules.end(), [&](const auto& m) {
            return SameName(text, m->stored_path) || SameName(text, m->full_path) ||
                   SameName(text, d.GetProjectFileName(m->full_path));
        });
    };
    if (node) {
        for (HTREEITEM c = TreeView_GetChild(m_hWnd, node); c;) {
            HTREEITEM next = TreeView_GetNextSibling(m_hWnd, c);
            if (!matches(ItemText(c)))
                TreeView_DeleteItem(m_hWnd, c);
            c = next;
        }
    }
    for (const auto& m : d.modules) {
        std::string text = d.GetProjectFileName(m->full_path.empty() ? m->stored_path : m->full_path);
        bool has = false;
        for (HTREEITEM c = node ? TreeView_GetChild(m_hWnd, node) : nullptr; c && !has;
             c = TreeView_GetNextSibling(m_hWnd, c))
            has = SameName(ItemText(c), text) || SameName(ItemText(c), m->stored_path);
        if (!has) {
            if (!node)
                InsertItem(m_root, 0, GroupText(prj::kCatProgram));
            InsertItem(node, 2, text);
        }
    }
    if (d.modules.empty() && node) {
        TreeView_DeleteItem(m_hWnd, node);
        node = nullptr;
    }
}

void CPrjTree::RefreshLibraries() {
    CPrjDoc* doc = GetProjectDocument();
    if (!doc)
        return;
    prj::ProjectData& d = doc->Data();
    HTREEITEM& node = m_groups[prj::kCatLibrary - 1];
    auto listed = [&](const std::string& text) {
        const auto& list = EndsWithObj(text) ? d.objects : d.libraries;
        return std::any_of(list.begin(), list.end(), [&](const std::string& e) {
            return SameName(text, e) || SameName(text, d.GetProjectFileName(e));
        });
    };
    if (node) {
        for (HTREEITEM c = TreeView_GetChild(m_hWnd, node); c;) {
            HTREEITEM next = TreeView_GetNextSibling(m_hWnd, c);
            if (!listed(ItemText(c)))
                TreeView_DeleteItem(m_hWnd, c);
            c = next;
        }
    }
    auto add = [&](const std::vector<std::string>& list) {
        for (const std::string& e : list) {
            std::string text = d.GetProjectFileName(e);
            bool has = false;
            for (HTREEITEM c = node ? TreeView_GetChild(m_hWnd, node) : nullptr; c && !has;
                 c = TreeView_GetNextSibling(m_hWnd, c))
                has = SameName(ItemText(c), text);
            if (!has) {
                if (!node)
                    InsertItem(m_root, 0, GroupText(prj::kCatLibrary));
                InsertItem(node, 2, text);
            }
        }
    };
    add(d.libraries);
    add(d.objects);
    if (d.libraries.empty() && d.objects.empty() && node) {
        TreeView_DeleteItem(m_hWnd, node);
        node = nullptr;
    }
}

void CPrjTree::OnInitialUpdate() {
    CView::OnInitialUpdate();
    CPrjDoc* doc = GetProjectDocument();
    if (doc && doc->m_pData)
        Fill();
    Expand();
    if (doc && !doc->GetTitle().empty() && !m_root) {
        InsertItem(nullptr, 0, doc->GetTitle());
    }
}

CPrjTree::MenuState CPrjTree::RightClick(HTREEITEM item) {
    MenuState st;
    if (!item)
        return st;
    bool group = std::find(std::begin(m_groups), std::end(m_groups), item) != std::end(m_groups);
    if (group) {
        m_rclick = nullptr;
        m_strRclick.clear();
        return st;
    }
    TreeView_SelectItem(m_hWnd, item);
    HTREEITEM parent = TreeView_GetParent(m_hWnd, item);
    if (!parent) {
        m_rclick = nullptr;
        m_strRclick.clear();
        return st;
    }
    m_rclick = item;
    m_strRclick = ItemText(item);
    m_bModuleItem = parent == m_groups[prj::kCatProgram - 1];
    CPrjDoc* doc = GetProjectDocument();
    bool idle = !(doc && doc->GetDebugState() == 1);
    st.shown = true;
    st.compile = m_bModuleItem && idle;
    st.remove = !m_strRclick.empty() && idle;
    return st;
}

bool CPrjTree::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_RBUTTONDOWN) {
        TVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        auto item = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        MenuState st = RightClick((hit.flags & TVHT_ONITEM) ? item : nullptr);
        *result = Default();
        if (st.shown) {
            HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_PRJ_TREE_POPUP));
            HMENU pop = bar ? GetSubMenu(bar, 0) : nullptr;
            if (pop) {
                UINT off = MF_BYCOMMAND | MF_GRAYED;
                UINT on = MF_BYCOMMAND | MF_ENABLED;
                EnableMenuItem(pop, ID_BUILD_COMPILE, st.compile ? on : off);
                EnableMenuItem(pop, ID_PRJ_MODULE_OPTIONS, st.compile ? on : off);
                EnableMenuItem(pop, ID_PRJ_DEPENDENCIES, st.compile ? on : off);
                EnableMenuItem(pop, ID_PRJ_REMOVE, st.remove ? on : off);
                POINT pt = hit.pt;
                ClientToScreen(m_hWnd, &pt);
                TrackPopupMenu(pop, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
            }
            if (bar)
                DestroyMenu(bar);
        }
        return true;
    }
    if (msg == WM_LBUTTONDBLCLK) {
        *result = Default();
        OnDoubleClick();
        return true;
    }
    if (msg == WM_COMMAND && lp == 0) {
        // The context menu's commands come to the tree itself.
        if (OnCmdMsg(LOWORD(wp), FwCmdKind::Command, nullptr)) {
            *result = 0;
            return true;
        }
    }
    if (msg == WM_DESTROY) {
        DeleteAll();
        if (m_images)
            ImageList_Destroy(m_images);
        m_images = nullptr;
    }
    return CView::OnWndMsg(msg, wp, lp, result);
}

bool CPrjTree::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->code == TVN_ITEMEXPANDEDA || nm->code == TVN_ITEMEXPANDEDW) {
            auto* tv = reinterpret_cast<NMTREEVIEWA*>(lp);
            TVITEMA it{};
            it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            it.hItem = tv->itemNew.hItem;
            bool open = (TreeView_GetItemState(m_hWnd, it.hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
            it.iImage = it.iSelectedImage = open ? 1 : 0;
            SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
            *result = 0;
            return true;
        }
    }
    return CView::OnChildNotify(msg, wp, lp, result);
}

void CPrjTree::OnDoubleClick() {
    HTREEITEM item = TreeView_GetSelection(m_hWnd);
    if (!item || item == m_root || std::find(std::begin(m_groups), std::end(m_groups), item) != std::end(m_groups))
        return;
    std::string text = ItemText(item);
    HTREEITEM parent = TreeView_GetParent(m_hWnd, item);
    IdeServices& ide = Ide();
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    CPrjDoc* doc = GetProjectDocument();
    if (!pf || !doc)
        return;
    std::string name = prj::BareName(text);
    for (HWND h = GetWindow(pf->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        auto* f = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(h));
        if (!f)
            continue;
        CDocument* d = f->GetActiveDocument();
        std::string path = d ? d->GetPathName() : std::string();
        if ((!path.empty() && (SameName(path, name) || SameName(prj::BareName(path), name))) ||
            SameName(f->GetWindowText(), text)) {
            if (IsIconic(h))
                ShowWindow(h, SW_RESTORE);
            SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h), 0);
            return;
        }
    }
    size_t dot = text.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : fw::LowerAscii(text.substr(dot + 1));
    if (ext == "rc" && Ide().FindChild(ChildKind::kResourceTree)) {
        MessageBoxById(IDS_ONE_RC_ONLY, MB_ICONQUESTION, 0);
        return;
    }
    prj::ProjectEnv& env = prjui::Env();
    std::string path = text;
    if (!env.fs.Exists(path)) {
        std::string found;
        if ((ext == "lib" || ext == "obj") && prj::FindLibraryFile(env, text, found)) {
            path = found;
        } else {
            MessageBoxById(prj::kMsgNotFound, MB_ICONHAND, 0, text.c_str());
            return;
        }
    }
    Ide().HoldRecentList(true);
    CDocument* opened = nullptr;
    if (ext.empty())
        opened = ide.OpenWithTemplate(kSlotOther, path.c_str());
    else if (parent == m_groups[prj::kCatResource - 1])
        opened = ide.OpenWithTemplate(kSlotResource, doc->Data().rc_path.c_str());
    else if (parent == m_groups[prj::kCatEnvironment - 1])
        opened = ide.OpenWithTemplate(kSlotEnvironment, doc->Data().bet_path.c_str());
    else
        opened = ide.OpenDocumentFile(path.c_str());
    Ide().HoldRecentList(false);
    if (auto* bas = dynamic_cast<CBasEditDoc*>(opened)) {
        prj::ProjectData& d = doc->Data();
        uint32_t number = ++d.doc_counter;
        bas->m_pPrjDoc = doc;
        bas->m_nFileId = number;
        if (parent == m_groups[prj::kCatProgram - 1]) {
            if (prj::CBasData* m = d.FindModuleByPath(text); m || (m = d.FindModuleByFullPath(text)))
                m->doc_number = number;
        }
        doc->SyncFromData();
    } else if (auto* bet = dynamic_cast<CBetDoc*>(opened)) {
        prj::ProjectData& d = doc->Data();
        uint32_t number = ++d.doc_counter;
        bet->m_pPrjDoc = doc;
        bet->m_nDocNumber = number;
        d.bet_doc_number = number;
        doc->SyncFromData();
    }
}

void CPrjTree::OnFileOpen() {
    if (HTREEITEM sel = TreeView_GetSelection(m_hWnd)) {
        std::string text = ItemText(sel);
        Ide().HoldRecentList(true);
        Ide().OpenDocumentFile(text.c_str());
        Ide().HoldRecentList(false);
    }
}

void CPrjTree::OnCompile() {
    CPrjDoc* doc = GetProjectDocument();
    if (!doc || doc->GetDebugState() == 1)
        return;
    if (prjui::Build(doc, false, false) == 2)
        Ide().StartDebug(doc, 0);
}

void CPrjTree::OnRemove() {
    CPrjDoc* doc = GetProjectDocument();
    HTREEITEM sel = m_rclick ? m_rclick : TreeView_GetSelection(m_hWnd);
    if (!doc || !sel)
        return;
    std::string text = ItemText(sel);
    HTREEITEM parent = TreeView_GetParent(m_hWnd, sel);
    prj::ProjectData& d = doc->Data();
    if (parent && parent == m_groups[prj::kCatProgram - 1]) {
        auto it = std::find_if(d.modules.begin(), d.modules.end(), [&](const auto& m) {
            return SameName(text, m->stored_path) || SameName(text, m->full_path) ||
                   SameName(text, d.GetProjectFileName(m->full_path));
        });
        if (it != d.modules.end())
            d.modules.erase(it);
        Refresh();
        doc->SetModifiedFlag(true);
    } else if (parent && (parent == m_groups[prj::kCatResource - 1] || parent == m_groups[prj::kCatEnvironment - 1])) {
        int cat = parent == m_groups[prj::kCatResource - 1] ? prj::kCatResource : prj::kCatEnvironment;
        (cat == prj::kCatResource ? d.rc_path : d.bet_path).clear();
        TreeView_DeleteItem(m_hWnd, sel);
        TreeView_DeleteItem(m_hWnd, m_groups[cat - 1]);
        m_groups[cat - 1] = nullptr;
        doc->SetModifiedFlag(true);
    } else if (parent && parent == m_groups[prj::kCatLibrary - 1]) {
        for (auto* list : {&d.libraries, &d.objects}) {
            auto it = std::find_if(list->begin(), list->end(), [&](const std::string& e) {
                return SameName(e, text) || SameName(d.GetProjectFileName(e), text);
            });
            if (it != list->end()) {
                list->erase(it);
                doc->SetModifiedFlag(true);
            }
        }
        Refresh();
    }
    m_rclick = nullptr;
    m_strRclick.clear();
    doc->SyncFromData();
}

void CPrjTree::OnCompileOptions() {
    CPrjDoc* doc = GetProjectDocument();
    HTREEITEM sel = m_rclick ? m_rclick : TreeView_GetSelection(m_hWnd);
    if (!doc || !sel)
        return;
    std::string text = ItemText(sel);
    prj::ProjectData& d = doc->Data();
    CCmpOptDlg dlg(Ide().ProjectFrame());
    prj::CBasData* module = d.FindModuleByPath(text);
    bool made = false;
    if (!module) {
        // A record for the time of the dialog.
        d.modules.push_back(d.NewModule());
        module = d.modules.back().get();
        module->stored_path = text;
        made = true;
    }
    dlg.ModuleOptionsToDialog(doc, module);
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    EnableFrames(true);
    if (r == IDOK) {
        dlg.DialogToModuleOptions(doc, module);
        doc->SetModifiedFlag(true);
    } else if (made) {
        d.modules.pop_back();
    }
    doc->SyncFromData();
}

// ---- the frame ------------------------------------------------------------

int CPrjTreeFrm::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    SetWindowPos(m_hWnd, nullptr, 0, 0, 230, 310, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Ide().SetProjectTreeFrame(this);
    return 0;
}

void CPrjTreeFrm::OnDestroy() {
    if (Ide().ProjectTreeFrame() == this)
        Ide().SetProjectTreeFrame(nullptr);
    CMDIChildWnd::OnDestroy();
}

bool CPrjTreeFrm::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_SHOWWINDOW && wp) {
        auto* doc = dynamic_cast<CPrjDoc*>(GetActiveDocument());
        if (doc && doc->m_pData && doc->Data().version_read == 0xFFFF) {
            PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
            *result = 0;
            return true;
        }
    }
    if (msg == WM_MDIACTIVATE) {
        bool done = CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
        if (reinterpret_cast<HWND>(lp) == m_hWnd) {
            IdeServices& ide = Ide();
            auto* doc = dynamic_cast<CPrjDoc*>(GetActiveDocument());
            if (doc && ide.HeldProject() && ide.HeldProject() != doc) {
                ide.SetHeldProject(doc);
                ide.SetProjectPath(doc->m_strProjectFile);
                if (ide.ProjectFrame())
                    Ide().SetReadyText();
                if (doc->m_pData)
                    prjui::Env().fs.SetCurrentFolder(doc->Data().drive, doc->Data().project_folder);
            }
            ide.SetProjectTreeFrame(this);
        }
        return done;
    }
    if (msg == WM_WINDOWPOSCHANGING) {
        bool done = CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (IsZoomed(m_hWnd) && !(pos->flags & SWP_NOSIZE)) {
            int cap = GetSystemMetrics(SM_CYCAPTION);
            pos->y += cap;
            pos->cy -= cap;
        }
        return done;
    }
    return CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
}

namespace {

// The open documents of the project's windows other than its own tree.
bool BelongsToProject(CDocument* d, CPrjDoc* prjDoc) {
    if (!d || d == prjDoc || dynamic_cast<CPrjDoc*>(d))
        return false;
    if (auto* bas = dynamic_cast<CBasEditDoc*>(d)) {
        if (bas->m_pPrjDoc == prjDoc)
            return true;
        prj::ProjectData& data = prjDoc->Data();
        return data.FindModuleByPath(d->GetPathName()) || data.FindModuleByFullPath(d->GetPathName());
    }
    if (auto* bet = dynamic_cast<CBetDoc*>(d))
        return bet->m_pPrjDoc == prjDoc;
    // A resource script: a document of the designer's template.
    if (d->GetDocTemplate() && d->GetDocTemplate() == Ide().Template(kSlotResource)) {
        const std::string& rc = prjDoc->Data().rc_path;
        return !rc.empty() && SameName(d->GetPathName(), rc);
    }
    return false;
}

}  // namespace

void CPrjTreeFrm::OnClose() {
    auto* doc = dynamic_cast<CPrjDoc*>(GetActiveDocument());
    if (doc && doc->GetDebugState() == 1) {
        MessageBoxById(IDS_NO_PROJECT_WHILE_DEBUG, MB_ICONEXCLAMATION, 0);
        return;
    }
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    EnableFrames(false);
    if (doc && pf) {
        auto related = [&]() -> CMDIChildWnd* {
            for (HWND h = GetWindow(pf->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                auto* f = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(h));
                if (f && f != this && BelongsToProject(f->GetActiveDocument(), doc))
                    return f;
            }
            return nullptr;
        };
        if (related()) {
            int answer = MessageBoxById(kMsgCloseAll, MB_YESNOCANCEL | MB_ICONQUESTION, 0);
            if (answer == IDCANCEL) {
                EnableFrames(true);
                return;
            }
            if (answer == IDYES) {
                for (CMDIChildWnd* f = related(); f; f = related()) {
                    HWND h = f->m_hWnd;
                    SendMessageA(h, WM_CLOSE, 0, 0);
                    if (IsWindow(h)) {
                        EnableFrames(true);
                        return;
                    }
                }
            } else {
                // The windows stay, no longer tied to the project.
                for (HWND h = GetWindow(pf->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                    auto* f = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(h));
                    CDocument* other = f && f != this ? f->GetActiveDocument() : nullptr;
                    if (!BelongsToProject(other, doc))
                        continue;
                    if (auto* bas = dynamic_cast<CBasEditDoc*>(other)) {
                        bas->m_pPrjDoc = nullptr;
                        bas->m_nFileId = 0;
                    } else if (auto* bet = dynamic_cast<CBetDoc*>(other)) {
                        bet->m_pPrjDoc = nullptr;
                        bet->m_nDocNumber = 0;
                    }
                }
            }
        }
    }
    EnableFrames(true);
    CMDIChildWnd::OnClose();
}

void CPrjTree::OnDependencies() {
    CPrjDoc* doc = GetProjectDocument();
    HTREEITEM sel = m_rclick ? m_rclick : TreeView_GetSelection(m_hWnd);
    if (!doc || !sel)
        return;
    std::string text = ItemText(sel);
    prj::ProjectData& d = doc->Data();
    prj::CBasData* module = d.FindModuleByPath(text);
    if (!module)
        module = d.FindModuleByFullPath(text);
    if (!module)
        return;
    EnableFrames(false);
    RunDependencyDialog(Ide().ProjectFrame(), doc, *module, false);
    EnableFrames(true);
    doc->SyncFromData();
}
