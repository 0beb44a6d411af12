#include "anz.h"

#include "anztexts.h"
#include "fwfiledlg.h"
#include "fwres.h"
#include "fwsdi.h"
#include "resource.h"

#include <cstdio>

// ---- the message library -------------------------------------------------

std::optional<std::string> LibraryMessages::Message(uint32_t code) {
    auto folder = reg_.ReadString(fw::RegRoot::LocalMachine, anz::kEnvKey, anz::kEnvFolderValue,
                                  anz::kFolderBytes);
    if (!folder)
        return std::nullopt;
    std::string path = *folder + anz::kMessageLibrary;
    HMODULE lib = LoadLibraryA(path.c_str());
    if (!lib)
        return std::nullopt;
    if (!GetProcAddress(lib, anz::kMessageExport)) {
        FreeLibrary(lib);
        return std::nullopt;
    }
    char buf[256] = {};
    // String ids are 16 bits: a larger code has no string rather than the
    // string of its low half.
    if (code <= 0xFFFF)
        LoadStringA(lib, code, buf, sizeof buf);
    FreeLibrary(lib);
    return std::string(buf);
}

// ---- document --------------------------------------------------------------

FW_IMPLEMENT_DYNCREATE(CTxeanyzrDoc, CDocument)

FW_BEGIN_CMD_MAP(CTxeanyzrDoc, CDocument)
    FW_ON_COMMAND(FW_ID_FILE_NEW, OnFileNew)
    FW_ON_COMMAND(FW_ID_FILE_OPEN, OnFileOpen)
    FW_ON_COMMAND(FW_ID_FILE_SAVE, OnFileSave)
    FW_ON_COMMAND(FW_ID_FILE_SAVE_AS, OnFileSaveAs)
FW_END_CMD_MAP()

CTxeanyzrDoc::CTxeanyzrDoc() : m_session(*this, m_reg, m_messages) {}

CTxeanyzrView* CTxeanyzrDoc::GetView() const {
    return dynamic_cast<CTxeanyzrView*>(GetFirstView());
}

bool CTxeanyzrDoc::SaveModified() { return m_session.CanClose(); }

HWND CTxeanyzrDoc::Owner() const {
    CWinApp* app = FwGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

anz::Answer CTxeanyzrDoc::AskSave(const std::string& prompt) {
    switch (MessageBoxA(Owner(), prompt.c_str(), anz::text::kCaption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return anz::Answer::Yes;
    case IDNO: return anz::Answer::No;
    default: return anz::Answer::Cancel;
    }
}

bool CTxeanyzrDoc::AskYesNo(const std::string& question) {
    return MessageBoxA(Owner(), question.c_str(), anz::text::kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CTxeanyzrDoc::Stop(const std::string& message) {
    MessageBoxA(Owner(), message.c_str(), anz::text::kCaption, MB_OK | MB_ICONSTOP);
}

void CTxeanyzrDoc::FileError(const std::string& path, bool saving) {
    char text[1024];
    std::snprintf(text, sizeof text,
                  fw::LoadStr(saving ? FW_IDP_FAILED_TO_SAVE : FW_IDP_FAILED_TO_OPEN).c_str(),
                  path.c_str());
    MessageBoxA(Owner(), text, anz::text::kCaption, MB_OK | MB_ICONEXCLAMATION);
}

std::optional<std::string> CTxeanyzrDoc::SavePath() {
    CFileDialog dlg(false, "txt", "*.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    anz::text::kSaveFilter, FwGetApp()->m_pMainWnd);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.GetPathName();
}

std::optional<std::string> CTxeanyzrDoc::OpenPath() {
    CFileDialog dlg(true, "txt", "*.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    anz::text::kOpenFilter, FwGetApp()->m_pMainWnd);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.GetPathName();
}

std::string CTxeanyzrDoc::ViewText() {
    CTxeanyzrView* v = GetView();
    return v ? v->GetText() : std::string();
}

void CTxeanyzrDoc::SetViewText(const std::string& text) {
    if (CTxeanyzrView* v = GetView())
        v->SetReportText(text);
}

void CTxeanyzrDoc::SetTitle(const std::string& title) {
    CDocument::SetTitle(title);
    if (HWND main = Owner())
        SetWindowTextA(main, title.c_str());
}

// ---- view ------------------------------------------------------------------

FW_IMPLEMENT_DYNCREATE(CTxeanyzrView, CEditView)

FW_BEGIN_CMD_MAP(CTxeanyzrView, CEditView)
    FW_ON_COMMAND(ID_REG_READ, OnRegRead)
    FW_ON_COMMAND(ID_REG_CLEAR, OnRegClear)
    FW_ON_COMMAND(ID_EDIT_DELETE, OnEditDelete)
    FW_ON_UPDATE(ID_EDIT_DELETE, OnUpdateEditDelete)
    FW_ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    FW_ON_UPDATE(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
FW_END_CMD_MAP()

CTxeanyzrView::CTxeanyzrView() {
    // Long lines wrap.
    m_dwEditStyle = WS_VSCROLL | ES_MULTILINE | ES_NOHIDESEL;
}

void CTxeanyzrView::SetReportText(const std::string& text) {
    m_bSettingText = true;
    SetText(text);
    m_bSettingText = false;
}

void CTxeanyzrView::OnEditChange() {
    if (!m_bSettingText)
        GetDoc()->Session().OnEdit();
}

void CTxeanyzrView::OnEditDelete() { SendMessageA(m_hWnd, WM_CLEAR, 0, 0); }

void CTxeanyzrView::OnUpdateEditDelete(CCmdUI* ui) {
    int s, e;
    GetSel(s, e);
    ui->Enable(s != e);
}

void CTxeanyzrView::OnEditSelectAll() { SetSel(0, 65535); }

void CTxeanyzrView::OnUpdateEditSelectAll(CCmdUI* ui) { ui->Enable(GetWindowTextLengthA(m_hWnd) > 0); }

// ---- frame, about box, application -------------------------------------------

FW_IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

FW_BEGIN_CMD_MAP(CMainFrame, CFrameWnd)
    FW_ON_COMMAND(FW_ID_APP_EXIT, OnAppExit)
FW_END_CMD_MAP()

void CMainFrame::OnClose() {
    CWinApp* app = FwGetApp();
    if (app && !app->SaveAllModified())
        return;
    DestroyWindow();
}

CAnzAboutDlg::CAnzAboutDlg() : CDialog(IDD_ABOUTBOX) {}

FW_BEGIN_CMD_MAP(CTxeanyzrApp, CWinApp)
    FW_ON_COMMAND(FW_ID_APP_ABOUT, OnAppAbout)
FW_END_CMD_MAP()

void CTxeanyzrApp::OnAppAbout() {
    CAnzAboutDlg dlg;
    dlg.m_pParentWnd = m_pMainWnd;
    dlg.DoModal();
}

bool CTxeanyzrApp::InitInstance() {
    LoadStdProfileSettings(4);
    auto* tmpl = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTxeanyzrDoc),
                                        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CTxeanyzrView));
    AddDocTemplate(tmpl);
    CCommandLineInfo cmd;
    ParseCommandLine(cmd);
    auto* doc = dynamic_cast<CTxeanyzrDoc*>(tmpl->OpenDocumentFile(nullptr));
    if (!doc)
        return false;
    return doc->Session().Start(cmd.m_nShellCommand == CCommandLineInfo::FileOpen ? cmd.m_strFileName
                                                                                   : std::string());
}
