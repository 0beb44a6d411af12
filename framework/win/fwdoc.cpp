#include "fwdoc.h"

#include "fwapp.h"
#include "fwdoctmpl.h"
#include "fwframe.h"
#include "fwres.h"
#include "mbcs.h"

#include <commdlg.h>

FW_IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)
FW_IMPLEMENT_DYNAMIC(CView, CWnd)

FW_BEGIN_CMD_MAP(CDocument, CCmdTarget)
    FW_ON_COMMAND(FW_ID_FILE_SAVE, OnFileSave)
FW_END_CMD_MAP()

namespace {

// The framework's own messages: owned by the main window, text from the
// string table with the one argument put in.
int FrameworkMessage(UINT id, const std::string& arg, UINT flags) {
    std::string fmt = fw::LoadStr(id);
    std::string text;
    size_t at = fmt.find("%s");
    text = at == std::string::npos ? fmt : fmt.substr(0, at) + arg + fmt.substr(at + 2);
    CWinApp* app = FwGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    std::string title = app ? fw::LoadStr(128) : std::string();
    return MessageBoxA(owner, text.c_str(), title.c_str(), flags);
}

}  // namespace

size_t CArchive::Read(void* buf, size_t n) { return std::fread(buf, 1, n, file_); }

bool CArchive::Write(const void* buf, size_t n) { return std::fwrite(buf, 1, n, file_) == n; }

CDocument::~CDocument() {
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
    UpdateFrameCounts();
}

void CDocument::SetPathName(const std::string& path, bool addToRecent) {
    // The framework keeps the path as given; the title is its name part.
    m_strPathName = path;
    size_t bs = fw::FindLastChar(path, '\\');
    SetTitle(bs == std::string::npos ? path : path.substr(bs + 1));
    if (addToRecent && FwGetApp())
        FwGetApp()->AddToRecentFileList(path.c_str());
}

void CDocument::UpdateFrameCounts() {
    for (CView* v : m_views) {
        if (CFrameWnd* f = v->GetParentFrame())
            f->OnUpdateFrameTitle(true);
    }
}

void CDocument::AddView(CView* view) {
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    for (auto it = m_views.begin(); it != m_views.end(); ++it) {
        if (*it == view) {
            m_views.erase(it);
            break;
        }
    }
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender) {
    for (CView* v : m_views) {
        if (v != sender)
            v->OnUpdate(sender);
    }
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(CArchive&) {}

bool CDocument::OnOpenDocument(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        FrameworkMessage(FW_IDP_FAILED_TO_OPEN, path, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    DeleteContents();
    bool ok = true;
    try {
        CArchive ar(f, CArchive::load, path);
        Serialize(ar);
    } catch (...) {
        ok = false;
    }
    std::fclose(f);
    if (!ok) {
        DeleteContents();
        FrameworkMessage(FW_IDP_FAILED_TO_OPEN, path, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
    if (!PrepareSave(path))
        return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        FrameworkMessage(FW_IDP_FAILED_TO_SAVE, path, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    bool ok = true;
    try {
        CArchive ar(f, CArchive::store, path);
        Serialize(ar);
    } catch (...) {
        ok = false;
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        FrameworkMessage(FW_IDP_FAILED_TO_SAVE, path, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::DoSave(const std::string& path, bool replace) {
    std::string target = path;
    if (target.empty()) {
        char buf[MAX_PATH] = {};
        std::string title = m_strTitle;
        title.copy(buf, sizeof buf - 1);
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        CWinApp* app = FwGetApp();
        ofn.hwndOwner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
        ofn.lpstrFile = buf;
        ofn.nMaxFile = sizeof buf;
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
        if (!GetSaveFileNameA(&ofn))
            return false;
        target = buf;
    }
    if (!OnSaveDocument(target))
        return false;
    if (replace)
        SetPathName(target);
    return true;
}

bool CDocument::DoFileSave() {
    DWORD attr = m_strPathName.empty() ? INVALID_FILE_ATTRIBUTES
                                       : GetFileAttributesA(m_strPathName.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY))
        return DoSave("");  // a read-only file goes through Save As
    return DoSave(m_strPathName);
}

bool CDocument::SaveModified() {
    if (!IsModified())
        return true;
    std::string name = m_strPathName.empty() ? m_strTitle : m_strPathName;
    switch (FrameworkMessage(FW_IDP_ASK_TO_SAVE, name, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

bool CDocument::CanCloseFrame(CFrameWnd* frame) {
    // Another frame on the document keeps it open without a question.
    for (CView* v : m_views) {
        if (v->GetParentFrame() != frame)
            return true;
    }
    return SaveModified();
}

void CDocument::OnCloseDocument() {
    // The frames go first; their views unhook themselves.
    bool autoDelete = m_bAutoDelete;
    m_bAutoDelete = false;
    while (!m_views.empty()) {
        CView* v = m_views.front();
        CFrameWnd* f = v->GetParentFrame();
        if (f)
            f->DestroyWindow();
        else
            v->DestroyWindow();
        if (!m_views.empty() && m_views.front() == v)
            RemoveView(v);  // a view whose window would not go
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

bool CDocument::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (CCmdTarget::OnCmdMsg(id, kind, ui))
        return true;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, kind, ui);
}

// ---- CView -------------------------------------------------------------

bool CView::Create(CWnd* parent, UINT id, CCreateContext* ctx) {
    const char* cls = RegisterClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, nullptr,
                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!cls)
        return false;
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    RECT rc;
    GetClientRect(parent->m_hWnd, &rc);
    if (!CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return false;
    }
    return true;
}

CFrameWnd* CView::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        if (auto* f = dynamic_cast<CFrameWnd*>(FromHandle(h)))
            return f;
    }
    return nullptr;
}

void CView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    OnDraw(dc);
    EndPaint(m_hWnd, &ps);
}

void CView::PostNcDestroy() {
    // A document whose last view goes closes with it.
    if (CDocument* doc = m_pDocument) {
        doc->RemoveView(this);
        if (doc->GetViews().empty() && doc->m_bAutoDelete)
            doc->OnCloseDocument();
    }
    delete this;
}

bool CView::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (CWnd::OnCmdMsg(id, kind, ui))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, kind, ui);
}
