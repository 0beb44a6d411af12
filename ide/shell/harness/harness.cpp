// A test build of TAMBRIX that plays one scenario against itself: it seeds
// the registry (redirected into a key of its own, so scenarios running side
// by side never meet), drives the IDE with messages from timers inside its
// own message loop, answers every message box, and prints one line per
// check and a last "RESULT PASS" or "RESULT FAIL" for CTest.
//
//   TAMBRIX_TEST.EXE /scenario:<name> [/nologo]
#include "dsg_clip.h"
#include "dsg_formdata.h"
#include "fwscenario.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "libwnd.h"
#include "mainfrm.h"
#include "neighbours.h"
#include "prjframe.h"
#include "resource.h"
#include "splash.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

std::string g_scenario;
std::string g_tempDir;

using fwtest::Check;
using fwtest::Hex;

// ---- message boxes ------------------------------------------------------

struct BoxSeen {
    std::string text;
    bool framesEnabled;
    std::string title;
};
std::vector<BoxSeen> g_boxes;
std::deque<int> g_answers;  // buttons for the next boxes; IDOK when empty
std::set<HWND> g_handled;
// A scenario's look into a dialog before it is answered: true when it
// answered the dialog itself.
std::function<bool(HWND)> g_dialogCheck;
// Help requests (data, command): the test build logs them and starts nothing.
std::vector<std::pair<DWORD_PTR, UINT>> g_helpCalls;
// The help file of each call, and the keyword of a keyword search.
std::vector<std::string> g_helpFiles, g_helpKeys;
bool g_splashCreated = false;
bool g_aboutChecked = false;

std::string BoxText(HWND box) {
    std::string best;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32];
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0)
            continue;
        char t[512];
        int n = GetWindowTextA(c, t, sizeof t);
        if (n > static_cast<int>(best.size()))
            best.assign(t, n);
    }
    return best;
}

void CheckAboutBox(CAboutDlg* dlg) {
    RECT client, button;
    GetClientRect(dlg->m_hWnd, &client);
    GetWindowRect(dlg->m_btnOK.m_hWnd, &button);
    POINT tl{button.left, button.top};
    ScreenToClient(dlg->m_hWnd, &tl);
    Check(client.right == 576 && client.bottom == 432, "about box client is the picture's size",
          std::to_string(client.right) + "x" + std::to_string(client.bottom));
    Check(tl.x == client.right - 105 && tl.y == client.bottom - 40,
          "about box OK button 105 from the right, 40 from the bottom",
          std::to_string(tl.x) + "," + std::to_string(tl.y));
    CIdeApp& app = TheApp();
    Check(!IsWindowEnabled(app.m_pMainFrame->m_hWnd) && !IsWindowEnabled(app.m_pPrjFrame->m_hWnd),
          "about box disables both frames");
    g_aboutChecked = true;
}

BOOL CALLBACK ScanWindow(HWND h, LPARAM) {
    char cls[32];
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(h) || g_handled.count(h))
        return TRUE;
    g_handled.insert(h);
    if (auto* about = dynamic_cast<CAboutDlg*>(CWnd::FromHandle(h))) {
        CheckAboutBox(about);
        PostMessageA(h, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    CIdeApp& app = TheApp();
    bool enabled = app.m_pMainFrame && app.m_pMainFrame->m_hWnd &&
                   IsWindowEnabled(app.m_pMainFrame->m_hWnd);
    if (g_dialogCheck && g_dialogCheck(h))
        return TRUE;  // a dialog the scenario looks into and answers itself
    char title[256] = {};
    GetWindowTextA(h, title, sizeof title);
    g_boxes.push_back({BoxText(h), enabled, title});
    int answer = IDOK;
    if (!g_answers.empty()) {
        answer = g_answers.front();
        g_answers.pop_front();
    }
    std::printf("     box \"%s\" answered %d\n", Hex(g_boxes.back().text).c_str(), answer);
    PostMessageA(h, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    return TRUE;
}

void CALLBACK ScanTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), ScanWindow, 0);
}

LRESULT CALLBACK CreateHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && dynamic_cast<CSplashWnd*>(CWnd::FromHandle(reinterpret_cast<HWND>(wp))))
        g_splashCreated = true;
    return CallNextHookEx(nullptr, code, wp, lp);
}

bool SawBox(UINT id) {
    std::string want = fw::LoadStr(id);
    for (const auto& b : g_boxes) {
        if (b.text == want)
            return true;
    }
    return false;
}

// ---- registry -----------------------------------------------------------

std::string g_redirect;  // under the real HKCU

void RedirectRegistry() {
    g_redirect = "Software\\TxTest\\" + g_scenario + "-" + std::to_string(GetCurrentProcessId());
    HKEY lm, cu;
    RegCreateKeyExA(HKEY_CURRENT_USER, (g_redirect + "\\HKLM").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &lm, nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, (g_redirect + "\\HKCU").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &cu, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, lm);
    RegOverridePredefKey(HKEY_CURRENT_USER, cu);
    RegCloseKey(lm);
    RegCloseKey(cu);
}

void DropRegistry() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, g_redirect.c_str());
}

fw::Win32RegStore g_reg;
using fw::RegRoot;
const char* kRecentKey = "Software\\VELTRAN\\Tambrix V6.3\\RecentFiles\\Recent File List";
const char* kRecentPrjKey = "Software\\VELTRAN\\Tambrix V6.3\\RecentFiles\\Recent Project File List";

void SeedMachine() {
    // The installation folder is where the error-text library's stand-in
    // lies, beside the harness.
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string folder(exe);
    folder.resize(folder.find_last_of('\\') + 1);
    folder += "harness\\";
    g_reg.WriteString(RegRoot::LocalMachine, tambrix::kEnvKey, "Tambrix", folder);
    g_reg.WriteString(RegRoot::LocalMachine, tambrix::kEnvKey, "Bin", "C:\\TX\\BIN");
    g_reg.WriteString(RegRoot::LocalMachine, tambrix::kEnvKey, "Lib", "C:\\TX\\LIB");
    g_reg.WriteString(RegRoot::LocalMachine, tambrix::kEnvKey, "Include", "C:\\TX\\INCLUDE");
    g_reg.WriteString(RegRoot::LocalMachine, tambrix::kEnvKey, "Project", "C:\\TX\\PROJECT");
}

std::string TempFile(const char* name) {
    std::string p = g_tempDir + "\\" + name;
    if (FILE* f = std::fopen(p.c_str(), "wb")) {
        std::fputs("x", f);
        std::fclose(f);
    }
    return p;
}

void RemoveTempDir() {
    SetCurrentDirectoryA("\\");
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((g_tempDir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((g_tempDir + "\\" + fd.cFileName).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(g_tempDir.c_str());
}

// ---- the scenarios --------------------------------------------------------

// Steps run one per tick of a timer in the IDE's own loop; a step that
// opens a modal box returns when the scanner has answered it.
std::vector<std::function<void()>> g_steps;
size_t g_step = 0;
bool g_inStep = false;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (g_inStep)
        return;
    if (g_step >= g_steps.size()) {
        KillTimer(nullptr, id);
        return;
    }
    g_inStep = true;
    g_steps[g_step++]();
    g_inStep = false;
}

void StartupChecks() {
    CIdeApp& app = TheApp();
    HWND mf = app.m_pMainFrame->m_hWnd, pf = app.m_pPrjFrame->m_hWnd;
    Check(IsWindowVisible(mf) && IsWindowVisible(pf), "both frames shown");
    Check(GetWindow(pf, GW_OWNER) == mf, "the project frame is owned by the main frame");
    Check(g_splashCreated, "the splash window showed");
    Check(CSplashWnd::Current() == nullptr, "the splash window closed at the end of start-up");
    Check((GetClassLongPtrA(pf, GCL_STYLE) & CS_NOCLOSE) != 0, "the project frame cannot be closed");

    CStatusBar& sb = app.m_pPrjFrame->m_wndStatusBar;
    int parts[8] = {};
    int n = static_cast<int>(SendMessageA(sb.m_hWnd, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(parts)));
    Check(n == 6 && IsWindowVisible(sb.m_hWnd), "the status bar shows six panes", std::to_string(n));
    const UINT ids[] = {0, 59150, 59140, 59137, 59138, 59139};
    bool idsOk = sb.GetCount() == 6;
    for (int i = 0; idsOk && i < 6; ++i)
        idsOk = sb.GetItemID(i) == ids[i];
    Check(idsOk, "pane ids in order");
    char text[128] = {};
    SendMessageA(sb.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    Check(text == fw::LoadStr(IDS_EDIT_MODE), "pane 0 shows the edit mode text", Hex(text));
    SendMessageA(sb.m_hWnd, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    Check(std::string(text) == "\x91\x7D\x93\xFC", "pane 2 shows insert", Hex(text));
    RECT r1, r3;
    sb.GetItemRect(1, &r1);
    sb.GetItemRect(3, &r3);
    Check(r1.right - r1.left > r3.right - r3.left, "the caret pane is the widest fixed pane");

    CPrjDoc* def = GetProjectDoc();
    Check(def != nullptr, "the DEFAULT project exists");
    if (def) {
        Check(def->GetTitle() == "DEFAULT" && def->GetPathName() == "DEFAULT.mak" &&
                  def->m_strProjectFile == "DEFAULT.mak" && def->m_bDefaultProject && !def->IsModified(),
              "the DEFAULT project's names and mark");
        CView* v = def->GetFirstView();
        CFrameWnd* f = v ? v->GetParentFrame() : nullptr;
        Check(f && dynamic_cast<CUPrjTreeFrm*>(f) && !IsWindowVisible(f->m_hWnd),
              "the DEFAULT project sits in a hidden second-view frame",
              f ? std::string(f->GetRuntimeClass()->m_lpszClassName) + (IsWindowVisible(f->m_hWnd) ? " visible" : " hidden") : "none");
        Check(def->GetDocTemplate() == app.m_pTemplates[kSlotDefaultProject], "from template slot 1");
        Check(def->m_nRunModel == 3, "ExeModel sets its run model", std::to_string(def->m_nRunModel));
    }
    Check(FindProjectDoc() == nullptr && app.m_pPrjFrame->FindPrjTreeFrame() == nullptr,
          "no project is open");
    Check(app.GetOpenDocumentCount() == 1, "without a command line nothing opens but DEFAULT",
          std::to_string(app.GetOpenDocumentCount()));
    Check(app.m_pRecentFileList && app.m_pRecentFileList->Size() == 8 && app.m_pRecentPrjList &&
              app.m_pRecentPrjList->Size() == 8,
          "both recent lists take their size from the registry");
    Check(app.m_pRecentFileList && (*app.m_pRecentFileList)[0] == "C:\\OLD\\FIRST.BAS",
          "the recent files are read");
    for (int i = 0; i < 8; ++i) {
        if ((*app.m_pRecentPrjList)[i] == "DEFAULT.mak")
            Check(false, "DEFAULT.mak stays out of the recent projects");
    }
    Check(g_reg.ReadString(RegRoot::CurrentUser, "Software\\Classes\\.BAS", "") == "TAMBRIX_BAS.Document" &&
              g_reg.ReadString(RegRoot::CurrentUser, "Software\\Classes\\.MAK", "") == "TAMBRIX_MAK.Document" &&
              !g_reg.KeyExists(RegRoot::CurrentUser, "Software\\Classes\\.SUB"),
          "only sources and projects are registered with the shell");
    const std::string help = app.m_pszHelpFilePath;
    const std::string tail = "\\Help\\tq70ope.hlp";
    Check(help.size() > tail.size() && help.compare(help.size() - tail.size(), tail.size(), tail) == 0,
          "the help file", help);
    Check(g_hCurSelect && g_hCurMove && g_hCurLayout && g_hCurCopyPaste, "the designer's cursors load");
    Check(app.m_nCharWidth > 0 && app.m_nCharHeight > 0, "the character cell is measured");

    // Idle processing: the framework decides only at count 1000.
    Check(app.OnIdle(5) && !app.OnIdle(1000), "idle answers");
    app.m_hRunProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // not a process: ended
    app.OnIdle(1);
    bool kept = app.m_hRunProcess != nullptr;
    app.OnIdle(0);
    Check(kept && app.m_hRunProcess == nullptr, "an ended program is noticed at idle count 0 only");
}

void LibraryChecks() {
    CIdeApp& app = TheApp();
    std::string lib = TempFile("X.LIB");
    CDocument* doc = app.OpenDocumentFile(lib.c_str());
    Check(dynamic_cast<CLibDoc*>(doc) != nullptr, "a .lib opens as a library document");
    if (!doc)
        return;
    CFrameWnd* f = doc->GetFirstView()->GetParentFrame();
    Check(dynamic_cast<CLibFrm*>(f) && IsIconic(f->m_hWnd) && IsWindowVisible(f->m_hWnd),
          "as an icon in the project frame");
    Check(::GetParent(::GetParent(f->m_hWnd)) == app.m_pPrjFrame->m_hWnd, "inside the project frame");
    Check(f->GetWindowText() == "X.LIB", "titled with its name", f->GetWindowText());
    Check(!(GetWindowLongPtrA(f->m_hWnd, GWL_STYLE) & WS_MAXIMIZEBOX), "without a maximise box");
    HMENU sys = GetSystemMenu(f->m_hWnd, FALSE);
    Check(sys && (GetMenuState(sys, 0, MF_BYPOSITION) & MF_GRAYED), "Restore is greyed");
    SendMessageA(f->m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessageA(f->m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Check(IsIconic(f->m_hWnd) != 0, "restoring leaves it an icon");
    int docs = app.GetOpenDocumentCount();
    Check(app.OpenDocumentFile(lib.c_str()) == doc && app.GetOpenDocumentCount() == docs,
          "opening it again activates the same window");
    CDocument* obj = app.OpenDocumentFile(TempFile("Y.obj").c_str());
    Check(obj && obj->GetDocTemplate() == app.m_pTemplates[kSlotObject], "a .obj opens through slot 6");
    Check((*app.m_pRecentFileList)[0] == g_tempDir + "\\Y.obj", "opened files go to the recent list");

    // Opening the File menu fills both recent lists and greys what nothing handles.
    HMENU file = GetSubMenu(GetMenu(app.m_pMainFrame->m_hWnd), 0);
    SendMessageA(app.m_pMainFrame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    char text[MAX_PATH];
    GetMenuStringA(file, FW_ID_FILE_MRU_FIRST + 1, text, sizeof text, MF_BYCOMMAND);
    Check(std::string(text).rfind("&2 ", 0) == 0 && std::string(text).find("X.LIB") != std::string::npos,
          "the File menu lists the recent files", text);
    GetMenuStringA(file, ID_RECENT_PRJ_FIRST, text, sizeof text, MF_BYCOMMAND);
    Check(std::string(text) == "&1 C:\\OLD\\P.MAK" &&
              !(GetMenuState(file, ID_RECENT_PRJ_FIRST, MF_BYCOMMAND) & MF_GRAYED),
          "and the recent projects", text);
    Check((GetMenuState(file, 57607, MF_BYCOMMAND) & MF_GRAYED) != 0, "print is greyed without a view to print");
}

// A resource script RC compiles: one without resources.
std::string TempScript(const char* name) {
    std::string p = g_tempDir + "\\" + name;
    if (FILE* f = std::fopen(p.c_str(), "wb")) {
        std::fputs("// no resources\r\n", f);
        std::fclose(f);
    }
    return p;
}

void ResourceChecks() {
    CIdeApp& app = TheApp();
    std::string a = TempScript("A.RC"), b = TempScript("B.rc");
    CDocument* first = app.OpenDocumentFile(a.c_str());
    Check(dynamic_cast<CRcDoc*>(first) != nullptr, "a resource script opens");
    size_t boxes = g_boxes.size();
    Check(app.OpenDocumentFile(b.c_str()) == nullptr && g_boxes.size() == boxes + 1 &&
              SawBox(IDS_ONE_RC_ONLY),
          "a second resource script is refused with its message");
    Check(app.OpenDocumentFile(a.c_str()) == first, "the open script opens again");

    CDocument* txt = app.OpenDocumentFile(TempFile("NOTE.TXT").c_str());
    Check(txt && txt->GetDocTemplate() == app.m_pTemplates[kSlotOther], "a .txt goes to the other-files template");
    CDocument* bare = app.OpenDocumentFile(TempFile("README").c_str());
    Check(bare && bare->GetDocTemplate() == app.m_pTemplates[kSlotBasic],
          "a name without extension takes the framework's choice (the BASIC template)");
    Check(app.OpenDocumentFile((g_tempDir + "\\MISSING.BAS").c_str()) == nullptr,
          "a missing file does not open");
    Check(app.m_pPrjFrame->FindRcTreeFrame() != nullptr && app.m_pPrjFrame->FindEditorChildFrame() != nullptr,
          "the frame finders see the new windows");
}

UINT g_commandsToPrjFrame = 0;
LRESULT CALLBACK CallHook(int code, WPARAM wp, LPARAM lp) {
    auto* cw = reinterpret_cast<CWPSTRUCT*>(lp);
    if (code == HC_ACTION && g_pPrjFrame && cw->hwnd == g_pPrjFrame->m_hWnd &&
        cw->message == WM_COMMAND && LOWORD(cw->wParam) == ID_LINE_JUMP)
        ++g_commandsToPrjFrame;
    return CallNextHookEx(nullptr, code, wp, lp);
}

void HelperChecks() {
    CIdeApp& app = TheApp();
    CPrjFrame* pf = app.m_pPrjFrame;
    CStatusBar& sb = pf->m_wndStatusBar;

    // Menu prompts go to pane 0; a closing menu brings the mode text back.
    char text[128] = {};
    pf->UpdateMenuPrompt(57600, 0);
    SendMessageA(sb.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    Check(std::string(text) == "\x90\x56\x8B\x4B\x82\xC9\xCC\xA7\xB2\xD9\x82\xF0\x8D\xEC\x90\xAC",
          "a menu prompt is its string up to the newline", Hex(text));
    pf->UpdateMenuPrompt(0, 0xFFFF);
    SendMessageA(sb.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    Check(text == fw::LoadStr(IDS_EDIT_MODE), "closing the menu restores the mode text");

    // A double click on the caret pane asks for the line jump; elsewhere nothing.
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CallHook, nullptr, GetCurrentThreadId());
    RECT r1, r3;
    sb.GetItemRect(1, &r1);
    sb.GetItemRect(3, &r3);
    SendMessageA(sb.m_hWnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM((r1.left + r1.right) / 2, (r1.top + r1.bottom) / 2));
    SendMessageA(sb.m_hWnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM((r3.left + r3.right) / 2, (r3.top + r3.bottom) / 2));
    UnhookWindowsHookEx(hook);
    Check(g_commandsToPrjFrame == 1, "a double click on the caret pane, and only there, asks for the line jump",
          std::to_string(g_commandsToPrjFrame));

    // The message helper: a formatted text with the frames disabled while up.
    size_t before = g_boxes.size();
    g_answers.push_back(IDCANCEL);
    int r = MessageBoxById(IDS_OTHER_PROJECT_OPEN, MB_OKCANCEL | MB_ICONQUESTION, 1, "XY");
    Check(r == IDCANCEL && g_boxes.size() == before + 1, "MessageBoxById returns the button");
    if (g_boxes.size() == before + 1) {
        const BoxSeen& b = g_boxes.back();
        Check(b.text.compare(0, 17, "\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67 'XY'") == 0,
              "its %s takes the argument", Hex(b.text));
        Check(!b.framesEnabled, "with flag 1 the frames are disabled while it is up");
    }
    Check(IsWindowEnabled(app.m_pMainFrame->m_hWnd) && IsWindowEnabled(pf->m_hWnd), "and enabled after it");
    // An id without a string still shows a box naming the id (and its argument).
    const struct { UINT id; const char* arg; const char* text; } unknown[] = {
        {4242, nullptr, "\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57 4242"},
        {4243, "XY", "\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57 4243\nXY"},
    };
    for (const auto& u : unknown) {
        before = g_boxes.size();
        Check(MessageBoxById(u.id, MB_OK, 0, u.arg) == IDOK && g_boxes.size() == before + 1,
              "an id without a string shows a box", std::to_string(u.id));
        if (g_boxes.size() == before + 1)
            Check(g_boxes.back().text == u.text, "which names the id", Hex(g_boxes.back().text));
    }
    // The older-project question reaches the box in the program's code page.
    before = g_boxes.size();
    g_answers.push_back(IDNO);
    MessageBoxById(IDS_OLD_PROJECT_FILE, MB_YESNO | MB_ICONQUESTION, 0, "V6.3");
    Check(g_boxes.size() == before + 1 &&
              g_boxes.back().text ==
                  "\x82\xB1\x82\xCC\xCC\xDF\xDB\xBC\xDE\xAA\xB8\xC4\xCC\xA7\xB2\xD9\x82\xCDV6.3\x88\xC8\x91O\x82\xCC"
                  "\x82\xE0\x82\xCC\x82\xC5\x82\xB7.\n\x90V\x82\xB5\x82\xA2\x8C`\x8E\xAE\x82\xC9\x95\xCF\x8A\xB7\x82\xB3"
                  "\x82\xEA\x82\xDC\x82\xB7.\n\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9?",
          "20001 asks with the version", g_boxes.empty() ? "" : Hex(g_boxes.back().text));

    // Error texts through the library the installation folder names.
    std::string out = "kept";
    bool made = GetRuntimeErrorText(0x0B09, out, true, true, false);
    Check(made && out == "[09] \x94z\x97\xF1\x82\xCC\x93Y\x8E\x9A\x82\xCC\x92l\x82\xAA\x8B\x96\x82\xB3\x82\xEA\x82\xE9\x92l\x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7"
                      "\n(\x89\x89\x8E\x5A\x8E\x71\x82\xAA\x90\xB3\x82\xB5\x82\xAD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1)",
          "a runtime error text with its detail on the next line", Hex(out));
    Check(GetRuntimeErrorText(300, out, false, false, true) && out == "[300] \x83G\x83\x89\x81[\x83R\x81[\x83h\x96\xA2\x92\xE8\x8B`",
          "the whole number: a number without a text of its own", Hex(out));
    g_reg.WriteString(RegRoot::LocalMachine, tambrix::kEnvKey, "Tambrix", "C:\\NOWHERE\\");
    out = "kept";
    Check(!GetRuntimeErrorText(5, out, false, false, false) && out == "kept",
          "without the library no text is made");

    // A file dropped on a frame opens.
    std::string dropped = TempFile("DROP.SUB");
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + dropped.size() + 2);
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), dropped.c_str(), dropped.size());
    GlobalUnlock(mem);
    SendMessageA(pf->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    CMDIChildWnd* top = pf->MDIGetActive();
    Check(top && top->GetActiveDocument() &&
              top->GetActiveDocument()->GetDocTemplate() == app.m_pTemplates[kSlotSub],
          "a file dropped on the project frame opens", top ? top->GetWindowText() : "");

    // The splash: one at a time, a click hides it, a late timer is harmless.
    CSplashWnd::EnableSplashScreen(true);
    HWND s = CSplashWnd::ShowSplashScreen(app.m_pMainFrame);
    Check(s && CSplashWnd::ShowSplashScreen(app.m_pMainFrame) == nullptr, "only one splash window at a time");
    MSG click{s, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {}};
    app.PreTranslateMessage(&click);
    Check(!IsWindow(s) && CSplashWnd::Current() == nullptr, "a click hides the splash window");
    SendMessageA(s, WM_TIMER, 1, 0);
    CSplashWnd::EnableSplashScreen(false);
    Check(CSplashWnd::ShowSplashScreen(app.m_pMainFrame) == nullptr, "a disabled splash shows nothing");
}

void AboutStep() {
    SendMessageA(TheApp().m_pMainFrame->m_hWnd, WM_COMMAND, FW_ID_APP_ABOUT, 0);
    CIdeApp& app = TheApp();
    Check(g_aboutChecked, "the about box showed");
    Check(IsWindowEnabled(app.m_pMainFrame->m_hWnd) && IsWindowEnabled(app.m_pPrjFrame->m_hWnd),
          "both frames are enabled again after the about box");
}

void CloseCancelled() {
    g_answers.push_back(IDCANCEL);
    SendMessageA(TheApp().m_pMainFrame->m_hWnd, WM_CLOSE, 0, 0);
    Check(SawBox(IDS_EXIT_CONFIRM), "closing asks first");
    Check(IsWindow(TheApp().m_pMainFrame->m_hWnd) && TheApp().m_nClosing == 0,
          "Cancel keeps the IDE open");
}

void CloseForReal() {
    g_answers.push_back(IDOK);
    PostMessageA(TheApp().m_pMainFrame->m_hWnd, WM_CLOSE, 0, 0);
}

void AfterExit() {
    auto dw = [](const char* name) {
        return g_reg.ReadDword(RegRoot::CurrentUser, tambrix::kGeneralKey, name);
    };
    // Both frames deleted themselves with their windows (the project frame,
    // an owned window, before the main frame's end): nothing may point at them.
    Check(TheApp().m_pMainFrame == nullptr && TheApp().m_pPrjFrame == nullptr && g_pPrjFrame == nullptr,
          "no pointer to an ended frame remains");
    if (g_scenario == "startup") {
        Check(dw("SaveGeneral") == 1u, "exit writes SaveGeneral");
        auto cx = dw("MfWinCx"), pcy = dw("PfWinCy");
        Check(dw("MfWinX") && cx && *cx > 0 && pcy && *pcy > 0 && dw("PfWinY"),
              "exit writes the placement of both frames");
        Check(dw("ToolBarDockInfo").has_value() && dw("PropShow") == 0u, "and the bars' and property window's state");
        auto save = g_reg.ReadString(RegRoot::CurrentUser, tambrix::kUserEnvKey, "SavePath");
        Check(save && !save->empty() && save->back() == '\\', "and the working folder");
        auto f1 = g_reg.ReadString(RegRoot::CurrentUser, kRecentKey, "File1");
        Check(f1 && *f1 == g_tempDir + "\\DROP.SUB", "exit writes the recent files", f1 ? *f1 : "");
        Check(g_reg.ReadString(RegRoot::CurrentUser, kRecentPrjKey, "PrjFile1") == "C:\\OLD\\P.MAK",
              "exit writes the recent projects");
    } else if (g_scenario == "damaged") {
        Check(dw("SaveGeneral") == 0u && !dw("MfWinX"), "with SaveGeneral 0 only SaveGeneral is written");
    } else if (g_scenario == "bars") {
        Check(dw("ToolBarDockInfo") == 7u && dw("TeX") == 120u && dw("TeY") == 340u && dw("TeCx") &&
                  dw("TeCy") && !dw("TrcX"),
              "closing writes ToolBarDockInfo 7 and the standard bar's float frame, not the tool box's",
              std::to_string(dw("ToolBarDockInfo").value_or(99)));
    }
}

void SeedDesigner();
void SeedProp();

void Seed(const std::string& scenario) {
    if (scenario == "nomachine")
        return;
    SeedMachine();
    const char* user = tambrix::kUserEnvKey;
    if (scenario == "startup") {
        g_reg.WriteDword(RegRoot::CurrentUser, user, "RecentFileList", 8);
        g_reg.WriteDword(RegRoot::CurrentUser, user, "ExeModel", 3);
        g_reg.WriteString(RegRoot::CurrentUser, kRecentKey, "File1", "C:\\OLD\\FIRST.BAS");
        g_reg.WriteString(RegRoot::CurrentUser, kRecentPrjKey, "PrjFile1", "C:\\OLD\\P.MAK");
    } else if (scenario == "bars") {
        g_reg.WriteString(RegRoot::CurrentUser, user, "Bin", "C:\\A;;C:\\B;");
        g_reg.WriteString(RegRoot::CurrentUser, user, "Lib", "L1;;L2");
        g_reg.WriteString(RegRoot::CurrentUser, user, "Include", "I1");
    } else if (scenario == "barsfloat") {
        const char* g = tambrix::kGeneralKey;
        g_reg.WriteDword(RegRoot::CurrentUser, g, "ToolBarDockInfo", 7);
        g_reg.WriteDword(RegRoot::CurrentUser, g, "TeX", 120);
        g_reg.WriteDword(RegRoot::CurrentUser, g, "TeY", 340);
        g_reg.WriteDword(RegRoot::CurrentUser, g, "TeCx", 700);
        g_reg.WriteDword(RegRoot::CurrentUser, g, "TeCy", 40);
        g_reg.WriteString(RegRoot::CurrentUser, g, "SmallBitmap", "1");
    } else if (scenario == "designer" || scenario == "designerpaste" || scenario == "designerprop" ||
               scenario == "designerkeys" || scenario == "designerlive") {
        SeedDesigner();
        if (scenario == "designerprop" || scenario == "designerlive")
            SeedProp();
    } else if (scenario == "damaged") {
        // Every value of the wrong type or out of range: the defaults hold.
        g_reg.WriteString(RegRoot::CurrentUser, user, "RecentFileList", "8");
        g_reg.WriteDword(RegRoot::CurrentUser, user, "ExeModel", 9);
        g_reg.WriteDword(RegRoot::CurrentUser, user, "InsertMode", 7);
        g_reg.Write(RegRoot::CurrentUser, user, "SavePath", fw::RegValue{fw::RegType::Binary, {1, 2, 3}});
        g_reg.WriteString(RegRoot::CurrentUser, tambrix::kGeneralKey, "MfWinX", "x");
        g_reg.Write(RegRoot::CurrentUser, tambrix::kGeneralKey, "MfWinCy", fw::RegValue{fw::RegType::Dword, {1, 2}});
        g_reg.WriteDword(RegRoot::CurrentUser, tambrix::kGeneralKey, "PfWinX", 0x80000000u);
        g_reg.WriteDword(RegRoot::CurrentUser, tambrix::kGeneralKey, "PropShow", 1);
        g_reg.WriteDword(RegRoot::CurrentUser, tambrix::kGeneralKey, "PropX", 99999);
        g_reg.WriteDword(RegRoot::CurrentUser, tambrix::kGeneralKey, "SaveGeneral", 0);
        g_reg.WriteString(RegRoot::CurrentUser, kRecentKey, "File1", std::string(300, 'A'));
    }
}

void DamagedChecks() {
    CIdeApp& app = TheApp();
    Check(IsWindowVisible(app.m_pMainFrame->m_hWnd) && IsWindowVisible(app.m_pPrjFrame->m_hWnd),
          "damaged values: both frames shown");
    Check(!g_splashCreated && app.m_pMainFrame->m_hSplash == nullptr, "/nologo: no splash window");
    Check(app.m_pRecentFileList->Size() == 4, "a REG_SZ recent-list size gives 4");
    // An entry that cannot open (this one is longer than any path) leaves the list.
    // (Entry 1: the command line's file went in front of it.)
    SendMessageA(app.m_pMainFrame->m_hWnd, WM_COMMAND, FW_ID_FILE_MRU_FIRST + 1, 0);
    Check(app.m_pRecentFileList->Count() == 1, "a recent entry that does not open is removed");
    // A library from the recent list opens as its icon window again.
    SendMessageA(app.m_pMainFrame->m_hWnd, WM_COMMAND, FW_ID_FILE_MRU_FIRST, 0);
    Check(GetProjectDoc() && GetProjectDoc()->m_nRunModel == 3, "a bad ExeModel is ignored: the debug build stays");

    // The command line named CMDLINE.LIB: it opened during start-up, and its
    // icon lies inside the project frame's client, which was laid out even
    // while the frame was still hidden.
    CMDIChildWnd* icon = app.m_pPrjFrame->MDIGetActive();
    CDocument* doc = icon ? icon->GetActiveDocument() : nullptr;
    Check(dynamic_cast<CLibDoc*>(doc) && icon->GetWindowText() == "CMDLINE.LIB",
          "a command-line file opens", icon ? icon->GetWindowText() : "");
    if (icon) {
        RECT client, rc;
        GetClientRect(app.m_pPrjFrame->m_hWndMDIClient, &client);
        GetWindowRect(icon->m_hWnd, &rc);
        MapWindowPoints(nullptr, app.m_pPrjFrame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
        Check(rc.left >= 0 && rc.top >= 0 && rc.right <= client.right && rc.bottom <= client.bottom,
              "its icon is in view", std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," + std::to_string(rc.bottom) + " in " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    }
}

#include "editor_steps.inc"
#include "bars_steps.inc"
}  // namespace
#include "build_steps.inc"
#include "prjwin_steps.inc"
namespace {
#include "designer_steps.inc"
#include "dsgkeys_steps.inc"
#include "commands_steps.inc"
#include "prop_steps.inc"
#ifdef TX_FAKE_DEBUGGEE
}  // namespace
#include "dbg_texts.h"
#include "debug_steps.inc"
namespace {
#endif

class CHarnessApp : public CIdeApp {
public:
    void WinHelp(DWORD_PTR data, UINT cmd) override {
        g_helpCalls.emplace_back(data, cmd);
        g_helpFiles.push_back(m_pszHelpFilePath);
        g_helpKeys.push_back(cmd == HELP_KEY ? reinterpret_cast<const char*>(data) : "");
    }
    bool InitInstance() override {
        bool ok = CIdeApp::InitInstance();
        if (ok) {
            SetTimer(nullptr, 0, 50, StepTimer);
        }
        return ok;
    }
    int ExitInstance() override {
        int code = CIdeApp::ExitInstance();
        AfterExit();
        return code;
    }
};

CHarnessApp theApp;

DWORD WINAPI Watchdog(LPVOID) {
    // The designer scenario runs a second IDE inside its own time.
    Sleep(g_scenario == "designer" ? 200000 : 90000);
    std::printf("FAIL the scenario hung\nRESULT FAIL\n");
    std::fflush(stdout);
    DropRegistry();
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    bool nologo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "/scenario:", 10) == 0)
            g_scenario = argv[i] + 10;
        nologo = nologo || std::strcmp(argv[i], "/nologo") == 0;
    }
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    g_tempDir = std::string(tmp) + "txh-" + g_scenario + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(g_tempDir.c_str(), nullptr);
    if (!g_tempDir.empty() && g_tempDir.back() == '\\')
        g_tempDir.pop_back();

    // Relative names on the command line are the harness's own files.
    SetCurrentDirectoryA(g_tempDir.c_str());
    TempFile("CMDLINE.LIB");
    RedirectRegistry();
    Seed(g_scenario);
    CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CBT, CreateHook, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, 100, ScanTimer);

    if (g_scenario == "startup") {
        g_steps = {StartupChecks, LibraryChecks, ResourceChecks, HelperChecks, AboutStep,
                   CloseCancelled, CloseForReal};
    } else if (g_scenario == "damaged") {
        g_steps = {DamagedChecks, CloseForReal};
    } else if (g_scenario == "editor") {
        g_steps = EditorSteps();
    } else if (g_scenario == "bars" || g_scenario == "barsfloat") {
        g_steps = BarsSteps();
    } else if (g_scenario == "build") {
        g_steps = BuildSteps();
    } else if (g_scenario == "prjwin") {
        g_steps = PrjWinSteps();
    } else if (g_scenario == "designer") {
        g_steps = DesignerSteps();
    } else if (g_scenario == "designerkeys") {
        g_steps = DesignerKeysSteps();
    } else if (g_scenario == "designerpaste") {
        g_steps = DesignerPasteSteps();
    } else if (g_scenario == "commands") {
        g_steps = CommandsSteps();
    } else if (g_scenario == "designerprop") {
        g_steps = PropSteps();
    } else if (g_scenario == "designerlive") {
        g_steps = LiveSteps();
    }
#ifdef TX_FAKE_DEBUGGEE
    if (g_scenario == "debug")
        g_steps = DebugSteps();
#endif
    int code = FwWinMain(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    UnhookWindowsHookEx(hook);

    if (g_scenario == "nomachine") {
        Check(SawBox(IDS_REGISTRY_BROKEN), "without the per-machine keys the registry message shows");
        // The string table reaches the program as code page 932: the text
        // begins with the half-width katakana of its first word.
        Check(!g_boxes.empty() && g_boxes[0].text.compare(0, 6, "\xDA\xBC\xDE\xBD\xC4\xD8") == 0,
              "in Shift-JIS", g_boxes.empty() ? "" : Hex(g_boxes[0].text));
        Check(code == -1, "and start-up ends with failure", std::to_string(code));
        Check(!TheApp().m_pMainFrame || !IsWindow(TheApp().m_pMainFrame->m_hWnd), "no frame remains");
    } else {
        Check(code == 0, "the IDE ended normally", std::to_string(code));
        Check(g_step == g_steps.size(), "every step ran", std::to_string(g_step));
    }
    DropRegistry();
    RemoveTempDir();
    return fwtest::Result();
}
