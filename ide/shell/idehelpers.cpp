#include "idehelpers.h"

#include "errtext.h"
#include "idepaths.h"
#include "ideapp.h"
#include "mainfrm.h"
#include "mbcs.h"
#include "neighbours.h"
#include "openrules.h"
#include "prjframe.h"
#include "resource.h"

int MessageBoxById(UINT id, UINT flags, int disableFrames, const char* arg) {
    std::string title = fw::LoadStr(IDR_MAINFRAME);
    std::string text;
    if (id == 0)
        text = arg ? arg : "";
    else if (arg)
        text = tambrix::FormatMessageText(fw::LoadStr(id), arg);
    else
        text = fw::LoadStr(id);
    if (text.empty() && id != 0) {
        // An id without a text still says which message it was.
        text = tambrix::FormatMessageText(fw::LoadStr(IDS_UNKNOWN_MESSAGE), std::to_string(id));
        if (text.empty())
            text = std::to_string(id);
        if (arg && *arg)
            text = text + "\n" + arg;
    }
    if (text.empty())
        return IDOK;
    if (disableFrames == 1)
        EnableFrames(false);
    int r = MessageBoxA(nullptr, text.c_str(), title.c_str(), flags | MB_SETFOREGROUND);
    if (disableFrames == 1)
        EnableFrames(true);
    CIdeApp& app = TheApp();
    if (app.m_pMainFrame && app.m_pMainFrame->m_hWnd)
        SetActiveWindow(app.m_pMainFrame->m_hWnd);
    return r;
}

void EnableFrames(bool enable) {
    CIdeApp& app = TheApp();
    if (app.m_pMainFrame && app.m_pMainFrame->m_hWnd)
        EnableWindow(app.m_pMainFrame->m_hWnd, enable);
    if (app.m_pPrjFrame && app.m_pPrjFrame->m_hWnd)
        EnableWindow(app.m_pPrjFrame->m_hWnd, enable);
    if (app.m_pMainFrame)
        app.m_pMainFrame->EnableDesignWindows(enable, true);
}

CPrjDoc* FindProjectDoc() {
    CIdeApp& app = TheApp();
    CPrjFrame* pf = app.m_pPrjFrame;
    if (!pf || !pf->m_hWnd || !pf->m_hWndMDIClient)
        return nullptr;
    if (app.m_pPrjTreeFrame)
        return dynamic_cast<CPrjDoc*>(app.m_pPrjTreeFrame->GetActiveDocument());
    if (app.m_pHeldPrjDoc)
        return app.m_pHeldPrjDoc;
    if (app.m_strProjectPath.empty())
        return nullptr;
    for (HWND h = GetWindow(pf->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(h));
        if (f && fw::EqualNoCase(f->GetWindowText(), app.m_strProjectPath))
            return dynamic_cast<CPrjDoc*>(f->GetActiveDocument());
    }
    return nullptr;
}

CPrjDoc* GetProjectDoc() {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    return pf ? pf->m_pDefaultProject : nullptr;
}

namespace {

// The outside error-text library, loaded from the installation folder at
// each use and released again.
class LibraryTexts : public tambrix::ErrorTextSource {
public:
    bool LibraryMessage(uint16_t number, std::string& text) override {
        auto folder = TheApp().Registry().ReadString(fw::RegRoot::LocalMachine, tambrix::kEnvKey,
                                                     "Tambrix", 260);
        if (!folder)
            return false;
        std::string path = *folder + fw::LoadStr(IDS_ERRTEXT_DLL);
        HMODULE lib = LoadLibraryA(path.c_str());
        if (reinterpret_cast<UINT_PTR>(lib) <= 32)
            return false;
        using GetErrMsg = int(WINAPI*)(HMODULE, UINT, char*, UINT);
        auto fn = reinterpret_cast<GetErrMsg>(
            reinterpret_cast<void*>(GetProcAddress(lib, "$PbGetErrMsg")));
        if (!fn) {
            FreeLibrary(lib);
            return false;
        }
        char buf[120] = {};
        fn(lib, number & 0xFFFF, buf, sizeof buf);
        buf[sizeof buf - 1] = '\0';  // a library that fills it whole stays inside
        FreeLibrary(lib);
        text = buf;
        return true;
    }
    std::string String(uint32_t id) override { return fw::LoadStr(id); }
};

}  // namespace

bool GetRuntimeErrorText(unsigned errorNumber, std::string& out, bool nextLine, bool withDetail,
                         bool wholeNumber) {
    LibraryTexts src;
    return tambrix::FormatRuntimeErrorText(src, errorNumber, out, nextLine, withDetail, wholeNumber);
}

DWORD GetPlatformId() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return v.dwPlatformId;
}
