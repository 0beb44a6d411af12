// The migration commands of the project frame: the topmost editor's text
// (or its selection) through the converter TQ70BCNV and back.
#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "idesettings.h"
#include "prjtexts.h"
#include "tq70bcnv.h"
#include "prjids.h"
#include "project_env.h"
#include "prjwin.h"

#include <cstdio>
#include <string>

namespace {

// Result%d.bas: numbers are used up as long as the IDE runs.
int g_resultCounter = 1;

void CnvMessage(const char* text) {
    MessageBoxA(Ide().ProjectFrame() ? Ide().ProjectFrame()->m_hWnd : nullptr, text, prjui::text::kCnvErrorTitle,
                MB_OK);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The installation's Bin folder (the per-machine "Env" value), without its
// last backslash; none when the value is missing.
bool ConverterFolder(std::string& folder) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, tambrix::kEnvKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char bin[261] = {};
    DWORD size = sizeof bin - 1, type = 0;
    LONG got = RegQueryValueExA(key, "Bin", nullptr, &type, reinterpret_cast<BYTE*>(bin), &size);
    RegCloseKey(key);
    if (got != ERROR_SUCCESS || type != REG_SZ)
        return false;
    folder = bin;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return true;
}

// The text to convert: the selection (after the user agreed to convert only
// it), else the whole text (whole set). False: cancelled.
bool TextToConvert(CBasEditView* view, std::string& text, bool& whole) {
    text = view->GetSelText();
    whole = text.empty();
    if (whole) {
        view->HideSelection(true);
        view->SetSel(0, -1);
        text = view->GetSelText();
        view->SetSel(0, 0);
        view->HideSelection(false);
        return true;
    }
    return MessageBoxA(Ide().ProjectWindow(), prjui::text::kCnvSelectionOnly, prjui::text::kCnvTitle, MB_OKCANCEL) !=
           IDCANCEL;
}

bool WriteInput(const char* in, const std::string& text) {
    FILE* f = std::fopen(in, "wb");
    if (!f) {
        DeleteFileA(in);
        CnvMessage(prjui::text::kCnvInCreate);
        return false;
    }
    bool wrote = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !wrote) {
        DeleteFileA(in);
        CnvMessage(prjui::text::kCnvInWrite);
        return false;
    }
    return true;
}

// The converter's entry from the DLL in folder (lib set when the DLL
// loaded); null when either is missing.
EntCnvFilWinFn LoadConverter(const std::string& folder, HMODULE& lib) {
    char cwd[257] = {};
    GetCurrentDirectoryA(sizeof cwd - 1, cwd);
    SetCurrentDirectoryA(folder.c_str());
    // The one in Bin, not another the search order would find first.
    lib = LoadLibraryA((folder + "\\TQ70BCNV.DLL").c_str());
    SetCurrentDirectoryA(cwd);
    auto entry = lib ? reinterpret_cast<EntCnvFilWinFn>(reinterpret_cast<void*>(GetProcAddress(lib, "ENT_CnvFilWin")))
                     : nullptr;
    return entry;
}

bool ReadOutput(const char* out, std::string& converted) {
    FILE* r = std::fopen(out, "rb");
    if (!r) {
        CnvMessage(prjui::text::kCnvOutOpen);
        return false;
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
        return false;
    }
    return true;
}

// A whole text converted goes into a new editor named Result%d.bas; the
// document that took it (null, said to the user, when none could be made).
CDocument* ShowInNewEditor(const std::string& converted) {
    std::string name;
    do {
        char b[32];
        std::snprintf(b, sizeof b, "Result%d.bas", g_resultCounter++);
        name = b;
    } while (FileExists(name));
    Ide().HoldRecentList(true);
    auto* fresh = dynamic_cast<CBasEditDoc*>(Ide().OpenWithTemplate(kSlotBasic, nullptr));
    Ide().HoldRecentList(false);
    CBasEditView* fv = fresh ? fresh->GetEditView() : nullptr;
    if (!fv) {
        CnvMessage(prjui::text::kCnvOutRead);
        return nullptr;
    }
    char full[MAX_PATH];
    GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    fresh->SetPathName(full, false);
    if (CFrameWnd* ff = fv->GetParentFrame()) {
        SetWindowTextA(ff->m_hWnd, name.c_str());
        ShowWindow(ff->m_hWnd, SW_SHOW);
        SendMessageA(Ide().ProjectFrame()->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(ff->m_hWnd), 0);
    }
    SetFocus(fv->m_hWnd);
    fv->SetSel(0, -1);
    fv->ReplaceSel(converted);
    return fresh;
}

}  // namespace

void prjui::Migrate(unsigned id) {
    uint16_t mode = id == ID_MIGRATE_DELETE_MESSAGES ? kCnvDeleteMessages : kCnvConvert;
    std::string folder;
    if (!ConverterFolder(folder))
        return;
    CMDIChildWnd* frame = Ide().FindChild(ChildKind::kEditor);
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

    std::string text;
    bool whole = false;
    if (!TextToConvert(view, text, whole)) {
        DeleteFileA(in);
        return;
    }
    if (!WriteInput(in, text))
        return;
    CnvFilWinBlock block{in, out, 0, 1, mode, 0, view->m_hWnd};
    HMODULE lib = nullptr;
    EntCnvFilWinFn entry = LoadConverter(folder, lib);
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
    std::string converted;
    if (result != 0) {
        DeleteFileA(out);
    } else if (ReadOutput(out, converted)) {
        // A new editor that could not be made leaves the change on the source.
        CDocument* target = doc;
        if (!whole)
            view->ReplaceSel(converted, true);
        else if (CDocument* fresh = ShowInNewEditor(converted))
            target = fresh;
        target->SetModifiedFlag(true);
    }
    FreeLibrary(lib);
}
