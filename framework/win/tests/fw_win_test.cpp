// The framework's window side under Wine: creation records, command maps
// and routing, update handlers on a real menu, notification reflection,
// the handle map's lifetime rules and the recent-file menu.
#include "fw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

class CTestApp : public CWinApp {};
CTestApp g_app;

class CTestDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CTestDoc)
public:
    void OnDocCommand() { g_calls.push_back("doc 500"); }
    void OnUpdateDoc(CCmdUI* ui) { ui->Enable(false); }
    FW_DECLARE_CMD_MAP()
};
FW_IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
FW_BEGIN_CMD_MAP(CTestDoc, CDocument)
    FW_ON_COMMAND(500, OnDocCommand)
    FW_ON_UPDATE(500, OnUpdateDoc)
FW_END_CMD_MAP()

class CTestView : public CView {
    FW_DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(HDC) override {}
    void OnViewCommand() { g_calls.push_back("view 501"); }
    FW_DECLARE_CMD_MAP()
};
FW_IMPLEMENT_DYNCREATE(CTestView, CView)
FW_BEGIN_CMD_MAP(CTestView, CView)
    FW_ON_COMMAND(501, OnViewCommand)
FW_END_CMD_MAP()

bool g_childGone = false;
class CTestChild : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CTestChild)
public:
    ~CTestChild() override { g_childGone = true; }
};
FW_IMPLEMENT_DYNCREATE(CTestChild, CMDIChildWnd)

class CTestFrame : public CMDIFrameWnd {
public:
    void OnFrameCommand() { g_calls.push_back("frame 500"); }
    void OnFrameOnly() { g_calls.push_back("frame 502"); }
    FW_DECLARE_CMD_MAP()
};
FW_BEGIN_CMD_MAP(CTestFrame, CMDIFrameWnd)
    FW_ON_COMMAND(500, OnFrameCommand)
    FW_ON_COMMAND(502, OnFrameOnly)
FW_END_CMD_MAP()

// Two levels of maps: the derived entry wins, the base's range still answers.
class CBase : public CCmdTarget {
public:
    void OnA() { g_calls.push_back("base 100"); }
    void OnRange(UINT id) { g_calls.push_back("range " + std::to_string(id)); }
    FW_DECLARE_CMD_MAP()
};
FW_BEGIN_CMD_MAP(CBase, CCmdTarget)
    FW_ON_COMMAND(100, OnA)
    FW_ON_COMMAND_RANGE(200, 210, OnRange)
FW_END_CMD_MAP()

class CDerived : public CBase {
public:
    void OnB() { g_calls.push_back("derived 100"); }
    FW_DECLARE_CMD_MAP()
};
FW_BEGIN_CMD_MAP(CDerived, CBase)
    FW_ON_COMMAND(100, OnB)
FW_END_CMD_MAP()

}  // namespace

TEST(FwObjects, DynamicCreationAndKinds) {
    CObject* o = RUNTIME_CLASS(CTestView)->CreateObject();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetRuntimeClass(), RUNTIME_CLASS(CTestView));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CView)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(o->IsKindOf(RUNTIME_CLASS(CDocument)));
    delete o;
    EXPECT_EQ(RUNTIME_CLASS(CWnd)->CreateObject(), nullptr);  // not creatable by record
}

TEST(FwCommands, MapsSearchTheDerivedClassFirst) {
    CDerived d;
    struct Case { UINT id; FwCmdKind kind; bool handled; const char* call; } cases[] = {
        {100, FwCmdKind::Command, true, "derived 100"},
        {205, FwCmdKind::Command, true, "range 205"},
        {211, FwCmdKind::Command, false, nullptr},
        {205, FwCmdKind::Probe, true, nullptr},     // found, nothing runs
        {100, FwCmdKind::Update, false, nullptr},   // no update entry
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        g_calls.clear();
        EXPECT_EQ(d.OnCmdMsg(c.id, c.kind, nullptr), c.handled);
        EXPECT_EQ(g_calls.size(), c.call ? 1u : 0u);
        if (c.call && !g_calls.empty()) {
            EXPECT_EQ(g_calls[0], c.call);
        }
    }
}

TEST(FwFrames, CommandsRouteThroughChildViewAndDocument) {
    auto* frame = new CTestFrame;
    ASSERT_TRUE(frame->LoadFrame(1, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    g_app.m_pMainWnd = frame;
    CMultiDocTemplate* t = new CMultiDocTemplate(1, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestChild),
                                                 RUNTIME_CLASS(CTestView));
    g_app.AddDocTemplate(t);
    CDocument* doc = t->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    CMDIChildWnd* child = frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetActiveDocument(), doc);

    g_calls.clear();
    SendMessageA(frame->m_hWnd, WM_COMMAND, 501, 0);
    SendMessageA(frame->m_hWnd, WM_COMMAND, 500, 0);  // the document before the frame
    SendMessageA(frame->m_hWnd, WM_COMMAND, 502, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"view 501", "doc 500", "frame 502"}));

    // Update handlers run on a real popup: 500 is greyed by its handler,
    // 501 has a command handler only (enabled), 999 has nothing (greyed).
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 500, "a");
    AppendMenuA(menu, MF_STRING, 501, "b");
    AppendMenuA(menu, MF_STRING, 999, "c");
    SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(GetMenuState(menu, 500, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 501, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 999, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(menu);

    // A child frame given the keyboard (a click on its caption) hands it on
    // to its view.
    ShowWindow(frame->m_hWnd, SW_SHOW);
    SetFocus(child->m_hWnd);
    ASSERT_NE(child->GetActiveView(), nullptr);
    EXPECT_EQ(GetFocus(), child->GetActiveView()->m_hWnd);

    // Closing the child closes its document; the objects go with their windows.
    HWND childWnd = child->m_hWnd;
    g_childGone = false;
    SendMessageA(childWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(g_childGone);
    EXPECT_EQ(CWnd::FromHandle(childWnd), nullptr);
    EXPECT_TRUE(t->GetDocuments().empty());
    g_app.m_pMainWnd = nullptr;  // else its end would post the quit message
    frame->DestroyWindow();
}

namespace {

class CReflectingButton : public CWnd {
public:
    std::vector<UINT> codes;
protected:
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM, LRESULT* result) override {
        if (msg != WM_COMMAND)
            return false;
        codes.push_back(HIWORD(wp));
        *result = 0;
        return true;
    }
};

class CParent : public CWnd {
public:
    int commands = 0;
protected:
    bool OnCommand(UINT, UINT, HWND) override {
        ++commands;
        return true;
    }
};

}  // namespace

TEST(FwWindows, NotificationsAreReflectedToTheControlsObject) {
    CParent parent;
    ASSERT_TRUE(parent.CreateEx(0, CWnd::RegisterClass(0), "p", WS_OVERLAPPED, 0, 0, 100, 100,
                                nullptr, nullptr));
    HWND b = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                             reinterpret_cast<HMENU>(7), nullptr, nullptr);
    HWND plain = CreateWindowExA(0, "BUTTON", "c", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(8), nullptr, nullptr);
    CReflectingButton button;
    ASSERT_TRUE(button.SubclassWindow(b));
    EXPECT_EQ(CWnd::FromHandle(b), &button);
    EXPECT_EQ(CWnd::FromHandle(plain), nullptr);

    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(b));
    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(button.codes, std::vector<UINT>{BN_CLICKED});
    EXPECT_EQ(parent.commands, 1);  // only the control without an object reached the parent

    HWND p = parent.m_hWnd;
    parent.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandle(p), nullptr);
    EXPECT_EQ(CWnd::FromHandle(b), nullptr);
    EXPECT_EQ(button.m_hWnd, nullptr);
}

TEST(FwRecent, MenuEntriesReplaceThePlaceholder) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 57601, "open");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 57616, "recent");
    AppendMenuA(menu, MF_STRING, 57665, "exit");
    fw::RecentFileList list(57616, "S", "File%d", 4);
    list.Add("C:\\a.bas");
    list.Add("C:\\b.bas");
    CCmdUI ui;
    ui.m_hMenu = menu;
    ui.m_nIndex = 1;
    ui.m_nID = 57616;
    FwUpdateRecentMenu(list, &ui, "none");
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    char text[64];
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&1 C:\\b.bas");
    EXPECT_EQ(GetMenuItemID(menu, 2), 57617u);
    EXPECT_EQ(GetMenuItemID(menu, 3), 57665u);
    EXPECT_EQ(ui.m_nIndex, 2u);

    fw::RecentFileList empty(57616, "S", "File%d", 4);
    ui.m_nIndex = 1;
    FwUpdateRecentMenu(empty, &ui, "none");
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_TRUE(GetMenuState(menu, 57616, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(menu);
}

TEST(FwArchive, RawBytesBothWays) {
    char path[MAX_PATH], dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "fw", 0, path);
    {
        std::FILE* f = std::fopen(path, "wb");
        CArchive ar(f, CArchive::store, path);
        EXPECT_TRUE(ar.IsStoring());
        EXPECT_TRUE(ar.Write("\x01\x02\x03", 3));
        std::fclose(f);
    }
    std::FILE* f = std::fopen(path, "rb");
    CArchive ar(f, CArchive::load, path);
    unsigned char buf[8] = {};
    EXPECT_EQ(ar.Read(buf, sizeof buf), 3u);  // short at the end of the file
    EXPECT_EQ(buf[2], 3);
    std::fclose(f);
    DeleteFileA(path);
}

namespace {

// Answers the next message box of this thread with the queued button.
std::vector<int> g_answers;
int g_boxesSeen = 0;

BOOL CALLBACK AnswerBox(HWND h, LPARAM) {
    char cls[32];
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(h) && !g_answers.empty()) {
        ++g_boxesSeen;
        PostMessageA(h, WM_COMMAND, g_answers.front(), 0);
        g_answers.erase(g_answers.begin());
    }
    return TRUE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
}

class CSavingDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar.Write("abc", 3);
    }
};

}  // namespace

TEST(FwDocuments, TheSavePromptDecides) {
    char path[MAX_PATH], dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "fw", 0, path);
    CSavingDoc doc;
    doc.m_bAutoDelete = false;
    doc.SetPathName(path, false);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerTimer);

    EXPECT_TRUE(doc.SaveModified());  // unmodified: no question
    EXPECT_EQ(g_boxesSeen, 0);

    struct Case { int answer; bool result; bool stillModified; long size; } cases[] = {
        {IDCANCEL, false, true, 0},
        {IDNO, true, true, 0},
        {IDYES, true, false, 3},  // saved through Serialize
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        doc.SetModifiedFlag(true);
        g_answers = {c.answer};
        EXPECT_EQ(doc.SaveModified(), c.result);
        EXPECT_EQ(doc.IsModified(), c.stillModified);
        WIN32_FILE_ATTRIBUTE_DATA fa{};
        GetFileAttributesExA(path, GetFileExInfoStandard, &fa);
        EXPECT_EQ(static_cast<long>(fa.nFileSizeLow), c.size);
    }
    EXPECT_EQ(g_boxesSeen, 3);
    KillTimer(nullptr, timer);
    DeleteFileA(path);
}

// File > Save reaches the document through the command maps and writes it
// under its own name.
TEST(FwDocuments, FileSaveWritesTheDocument) {
    char path[MAX_PATH], dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "fw", 0, path);
    CSavingDoc doc;
    doc.m_bAutoDelete = false;
    doc.SetPathName(path, false);
    doc.SetModifiedFlag(true);
    EXPECT_TRUE(doc.OnCmdMsg(FW_ID_FILE_SAVE, FwCmdKind::Command, nullptr));
    EXPECT_FALSE(doc.IsModified());
    WIN32_FILE_ATTRIBUTE_DATA fa{};
    GetFileAttributesExA(path, GetFileExInfoStandard, &fa);
    EXPECT_EQ(fa.nFileSizeLow, 3u);
    DeleteFileA(path);
}
