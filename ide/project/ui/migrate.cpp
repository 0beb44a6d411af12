// The migration commands of the project frame: the topmost editor's text
// (or its selection) through the converter TQ70BCNV and back.
#include "editor.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "idesettings.h"
#include "prjframe.h"
#include "prjtexts.h"
#include "tq70bcnv.h"
#include "prjids.h"
#include "project_env.h"

#include <cstdio>
#include <string>

namespace {

// Result%d.bas: numbers are used up as long as the IDE runs.
int g_resultCounter = 1;

void CnvMessage(const char* text) {
    MessageBoxA(TheApp().m_pPrjFrame ? TheApp().m_pPrjFrame->m_hWnd : nullptr, text, prjui::text::kCnvErrorTitle,
                MB_OK);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void CPrjFrame::OnMigrate(UINT id) {
    uint16_t mode = id == ID_MIGRATE_DELETE_MESSAGES ? kCnvDeleteMessages : kCnvConvert;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, tambrix::kEnvKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char bin[261] = {};
    DWORD size = sizeof bin - 1, type = 0;
    LONG got = RegQueryValueExA(key, "Bin", nullptr, &type, reinterpret_cast<BYTE*>(bin), &size);
    RegCloseKey(key);
    if (got != ERROR_SUCCESS || type != REG_SZ)
        return;
    std::string folder(bin);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();

    CMDIChildWnd* frame = FindEditorChildFrame();
    auto* doc = frame ? dynamic_cast<CBasEditDoc*>(frame->GetActiveDocument()) : nullptr;
    CBasEditView* view = doc ? doc->GetEditView() : nullptr;
    if (!view)
        return;

    char tmp[MAX_PATH], in[MAX_PATH], out[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    if (!GetTempFileNameA(tmp, "TQ70", 0, in))
        return;
    if (!GetTempFileNameA(tmp, "TQ70", 0, out)) {
        DeleteFileA(in);
        return;
    }
    DeleteFileA(out);

    std::string text = view->GetSelText();
    bool whole = text.empty();
    if (whole) {
        view->HideSelection(true);
        view->SetSel(0, -1);
        text = view->GetSelText();
        view->SetSel(0, 0);
        view->HideSelection(false);
    } else if (MessageBoxA(m_hWnd, prjui::text::kCnvSelectionOnly, prjui::text::kCnvTitle, MB_OKCANCEL) == IDCANCEL) {
        DeleteFileA(in);
        return;
    }
    FILE* f = std::fopen(in, "wb");
    if (!f) {
        DeleteFileA(in);
        CnvMessage(prjui::text::kCnvInCreate);
        return;
    }
    bool wrote = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !wrote) {
        DeleteFileA(in);
        CnvMessage(prjui::text::kCnvInWrite);
        return;
    }

    CnvFilWinBlock block{in, out, 0, 1, mode, 0, view->m_hWnd};
    char cwd[257] = {};
    GetCurrentDirectoryA(sizeof cwd - 1, cwd);
    SetCurrentDirectoryA(folder.c_str());
    // The one in Bin, not another the search order would find first.
    HMODULE lib = LoadLibraryA((folder + "\\TQ70BCNV.DLL").c_str());
    SetCurrentDirectoryA(cwd);
    auto entry = lib ? reinterpret_cast<EntCnvFilWinFn>(reinterpret_cast<void*>(GetProcAddress(lib, "ENT_CnvFilWin")))
                     : nullptr;
    if (!entry) {
        // No converter to call: say so and leave nothing behind.
        DeleteFileA(in);
        DeleteFileA(out);
        MessageBoxById(prj::kMsgNotFound, MB_ICONHAND, 0, lib ? "ENT_CnvFilWin" : "TQ70BCNV.DLL");
        if (lib)
            FreeLibrary(lib);
        return;
    }
    int result = entry(&block);
    DeleteFileA(in);
    if (result != 0) {
        DeleteFileA(out);
        FreeLibrary(lib);
        return;
    }
    std::string converted;
    FILE* r = std::fopen(out, "rb");
    if (!r) {
        CnvMessage(prjui::text::kCnvOutOpen);
        FreeLibrary(lib);
        return;
    }
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, r)) > 0)
        converted.append(buf, n);
    bool readOk = !std::ferror(r);
    std::fclose(r);
    DeleteFileA(out);
    if (!readOk) {
        CnvMessage(prjui::text::kCnvOutRead);
        FreeLibrary(lib);
        return;
    }
    CDocument* target = doc;
    if (whole) {
        std::string name;
        do {
            char b[32];
            std::snprintf(b, sizeof b, "Result%d.bas", g_resultCounter++);
            name = b;
        } while (FileExists(name));
        ++g_nNoRecentEntry;
        auto* fresh = dynamic_cast<CBasEditDoc*>(TheApp().OpenWithTemplate(kSlotBasic, nullptr));
        --g_nNoRecentEntry;
        CBasEditView* fv = fresh ? fresh->GetEditView() : nullptr;
        if (fv) {
            char full[MAX_PATH];
            GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
            fresh->SetPathName(full, false);
            if (CFrameWnd* ff = fv->GetParentFrame()) {
                SetWindowTextA(ff->m_hWnd, name.c_str());
                ShowWindow(ff->m_hWnd, SW_SHOW);
                SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(ff->m_hWnd), 0);
            }
            SetFocus(fv->m_hWnd);
            fv->SetSel(0, -1);
            fv->ReplaceSel(converted);
            target = fresh;
        } else {
            CnvMessage(prjui::text::kCnvOutRead);
        }
    } else {
        view->ReplaceSel(converted, true);
    }
    if (target)
        target->SetModifiedFlag(true);
    FreeLibrary(lib);
}
