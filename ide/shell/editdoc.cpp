#include "editor.h"

#include "edittext.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "neighbours.h"
#include "prjframe.h"
#include "resource.h"
#include "project_env.h"

FW_IMPLEMENT_DYNCREATE(CBasEditDoc, CRichEditDoc)

FW_BEGIN_CMD_MAP(CBasEditDoc, CRichEditDoc)
    FW_ON_COMMAND(FW_ID_FILE_SAVE_AS, OnFileSaveAs)
FW_END_CMD_MAP()

namespace {

std::string FullPathOf(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return (n > 0 && n < sizeof full) ? std::string(full, n) : path;
}

}  // namespace

CBasEditView* CBasEditDoc::GetEditView() const {
    for (CView* v : m_views) {
        if (auto* e = dynamic_cast<CBasEditView*>(v))
            return e;
    }
    return nullptr;
}

int CBasEditDoc::GetDebugState() const { return m_pPrjDoc ? m_pPrjDoc->GetDebugState() : 0; }

int CBasEditDoc::StreamInFile(std::FILE* file, CBasEditView* view) {
    if (!file || !view)
        return 0;
    tambrix::StreamInBlocks blocks([file](char* buf, size_t n) -> long {
        size_t got = std::fread(buf, 1, n, file);
        if (got == 0 && std::ferror(file))
            return -1;
        return static_cast<long>(got);
    });
    DWORD err = view->StreamIn([&blocks](char* buf, size_t n) { return blocks.Next(buf, n); });
    return err == 0 ? 1 : 0;
}

int CBasEditDoc::StreamOutFile(std::FILE* file, CBasEditView* view) {
    if (!file || !view)
        return 0;
    tambrix::CrLfWriter crlf;
    DWORD err = view->StreamOut([&](const char* buf, size_t n) {
        std::string out = crlf.Convert(std::string_view(buf, n));
        return std::fwrite(out.data(), 1, out.size(), file) == out.size();
    });
    std::string tail = crlf.Convert("");
    if (err == 0 && std::fwrite(tail.data(), 1, tail.size(), file) != tail.size())
        err = ERROR_WRITE_FAULT;
    return err == 0 ? 1 : 0;
}

void CBasEditDoc::Serialize(CArchive& ar) {
    CBasEditView* view = GetEditView();
    std::string name = tambrix::StripDirectory(ar.GetPath());
    if (ar.IsLoading()) {
        if (StreamInFile(ar.GetFile(), view)) {
            view->SetModify(false);
            SetActiveWindow(view->m_hWnd);
            ShowCaret(view->m_hWnd);
        } else {
            MessageBoxById(prj::kMsgReadFailed, MB_ICONSTOP, 1, name.c_str());
        }
        return;
    }
    if (StreamOutFile(ar.GetFile(), view))
        view->SetModify(false);
    else
        m_bStreamFailed = true;
}

bool CBasEditDoc::OnSaveDocument(const std::string& path) {
    if (!PrepareSave(path))
        return false;
    std::string name = tambrix::StripDirectory(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f != nullptr;
    if (f) {
        m_bStreamFailed = false;
        CArchive ar(f, CArchive::store, path);
        Serialize(ar);
        ok = std::fclose(f) == 0 && !m_bStreamFailed;
    }
    if (!ok) {
        MessageBoxById(IDS_WRITE_FAILED, MB_ICONSTOP, 1, name.c_str());
        return false;
    }
    SetModifiedFlag(false);
    KeepProjectInStep(m_strSavingFrom, FullPathOf(path));
    return true;
}

bool CBasEditDoc::PrepareSave(const std::string& path) {
    // The previous contents go to the backup before the file is opened
    // for writing; a failed copy keeps the file as it is.
    std::string full = FullPathOf(path);
    m_strSavingFrom = m_strPathName.empty() ? std::string() : FullPathOf(m_strPathName);
    auto bak = tambrix::BackupPathFor(full);
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!bak || !GetFileAttributesExA(full.c_str(), GetFileExInfoStandard, &fa) ||
        (fa.nFileSizeLow == 0 && fa.nFileSizeHigh == 0))
        return true;
    if (CopyFileA(full.c_str(), bak->c_str(), FALSE))
        return true;
    MessageBoxById(IDS_WRITE_FAILED, MB_ICONSTOP, 1, bak->c_str());
    return false;
}

bool CBasEditDoc::OnNewDocument() { return CRichEditDoc::OnNewDocument(); }

void CBasEditDoc::UpdateEditFrame(int line) {
    CBasEditView* view = GetEditView();
    if (!view)
        return;
    if (line > 0)
        view->GoToLine(line);
    if (CChildFrame* f = view->GetChildFrame()) {
        f->ShowMargin(true);
        f->RedrawMargin(false);
    }
}

bool CBasEditDoc::SaveModified() {
    if (!IsModified())
        return true;
    std::string name = !m_strPathName.empty() ? tambrix::StripDirectory(m_strPathName)
                       : !m_strTitle.empty()  ? m_strTitle
                                              : fw::LoadStr(FW_IDS_UNTITLED);
    EnableFrames(false);
    std::string prompt = fw::LoadStr(FW_IDP_ASK_TO_SAVE);
    size_t at = prompt.find("%s");
    if (at != std::string::npos)
        prompt.replace(at, 2, name);
    int answer = MessageBoxA(nullptr, prompt.c_str(), fw::LoadStr(IDR_MAINFRAME).c_str(),
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    CIdeApp& app = TheApp();
    HWND main = app.m_pMainWnd ? app.m_pMainWnd->m_hWnd : nullptr;
    if (answer == IDCANCEL) {
        EnableFrames(true);
        SetActiveWindow(main);
        return false;
    }
    SetActiveWindow(main);
    bool ok = answer != IDYES || DoFileSave();
    EnableFrames(true);
    return ok;
}

void CBasEditDoc::OnFileSaveAs() {
    CIdeApp& app = TheApp();
    CWnd* main = app.m_pMainWnd;
    EnableFrames(false);
    app.m_pMainWnd = app.m_pPrjFrame;
    DoSave("");
    app.m_pMainWnd = main;
    EnableFrames(true);
}

void CBasEditDoc::KeepProjectInStep(const std::string& oldPath, const std::string& newPath) {
    // Only a save under another path changes the project's record; its own
    // form of the name (relative or bare) is kept.
    if (!m_pPrjDoc || !m_nFileId)
        return;
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (!pf)
        return;
    for (CMDIChildWnd* f = pf->FindPrjTreeFrame(); f; f = pf->FindPrjTreeFrame(f)) {
        auto* prj = dynamic_cast<CPrjDoc*>(f->GetActiveDocument());
        CPrjDoc::FileRecord* rec = prj ? prj->FindFileRecord(m_nFileId) : nullptr;
        if (!rec)
            continue;
        auto stored = tambrix::StoredNameAfterSave(rec->stored, oldPath, newPath);
        if (!stored)
            continue;
        std::string old = rec->stored;
        rec->stored = *stored;
        rec->resolved = newPath;
        prj->RenameTreeItem(old, *stored);
        prj->SetModifiedFlag(true);
    }
}
