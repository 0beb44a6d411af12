// The shell's side of IdeServices: each service answered by the application
// object and its two frames.
#include "ideservices.h"

#include "ideapp.h"
#include "mainfrm.h"
#include "neighbours.h"
#include "optedit.h"
#include "prjframe.h"

#include <vector>

namespace {

class AppServices final : public IdeServices {
public:
    AppServices() {
        prjui::RegisterCommands(*this);
        DsgRegisterCommands(*this);
        DbgRegisterCommands(*this);
    }
    CWnd* MainFrame() override { return TheApp().m_pMainFrame; }
    CMDIFrameWnd* ProjectFrame() override { return TheApp().m_pPrjFrame; }
    CWnd* CurrentMainWnd() override { return TheApp().m_pMainWnd; }

    CMDIChildWnd* FindChild(ChildKind kind, CMDIChildWnd* after) override {
        CPrjFrame* pf = TheApp().m_pPrjFrame;
        if (!pf)
            return nullptr;
        switch (kind) {
        case ChildKind::kProjectTree: return pf->FindPrjTreeFrame(after);
        case ChildKind::kEditor: return pf->FindEditorChildFrame(after);
        case ChildKind::kResourceTree: return pf->FindRcTreeFrame(after);
        case ChildKind::kEnvironment: return pf->FindBetFrame(after);
        case ChildKind::kBuildResult: return pf->FindPrjErrFrame();
        case ChildKind::kWatch: return pf->FindDbgWatchFrame();
        }
        return nullptr;
    }

    void SetStatusText(const char* text) override {
        if (CPrjFrame* pf = TheApp().m_pPrjFrame)
            pf->m_wndStatusBar.SetPaneText(0, text);
    }
    void SetReadyText() override {
        if (CPrjFrame* pf = TheApp().m_pPrjFrame)
            pf->SetReadyText();
    }
    void ShowModeText() override {
        if (CPrjFrame* pf = TheApp().m_pPrjFrame)
            pf->ShowModeText();
    }

    CDocument* OpenWithTemplate(int slot, const char* path, bool visible) override {
        return TheApp().OpenWithTemplate(slot, path, visible);
    }
    CDocument* OpenDocumentFile(const char* path) override { return TheApp().OpenDocumentFile(path); }
    CMultiDocTemplate* Template(int slot) override {
        return slot >= 0 && slot < kSlotCount ? TheApp().m_pTemplates[slot] : nullptr;
    }
    void HoldRecentList(bool hold) override { g_nNoRecentEntry += hold ? 1 : -1; }
    bool SaveAllModified(bool withoutAsking) override { return TheApp().SaveAllModified(withoutAsking); }

    std::string RunArgs() override {
        CMainFrame* m = TheApp().m_pMainFrame;
        return m ? m->m_strRunArgs : std::string();
    }
    void SetRunArgs(const std::string& args) override {
        if (CMainFrame* m = TheApp().m_pMainFrame)
            m->m_strRunArgs = args;
    }

    fw::RegStore& Registry() override { return TheApp().Registry(); }
    const tambrix::FrameSettings& Settings() override { return TheApp().m_settings; }
    std::string ProgramFolder() override { return TheApp().m_strProgramFolder; }
    int EditorTabWidth() override {
        CTvOptEditPage page;
        page.LoadEditorSettings();
        tambrix::EditorSettingsCopy s;
        page.CopyEditorSettings(s);
        return int(s.tab);
    }

    void Help(DWORD_PTR data, UINT cmd, const std::string& file) override {
        CIdeApp& app = TheApp();
        if (file.empty()) {
            app.WinHelp(data, cmd);
            return;
        }
        std::string kept = app.m_pszHelpFilePath;
        app.m_pszHelpFilePath = file;
        app.WinHelp(data, cmd);
        app.m_pszHelpFilePath = kept;
    }
    std::string HelpFile() override { return TheApp().m_pszHelpFilePath; }

    bool Closing() override { return TheApp().m_nClosing != 0; }

    void ShowDesignWindows(bool show) override {
        if (CMainFrame* m = TheApp().m_pMainFrame)
            m->ShowDesignWindows(show);
    }
    void EnableBars(bool enable) override {
        CMainFrame* m = TheApp().m_pMainFrame;
        if (!m || !m->m_hWnd)
            return;
        for (HWND bar : {m->m_wndToolBar.m_hWnd, m->m_wndToolBox.m_hWnd, m->m_wndDebugBar.m_hWnd}) {
            if (bar)
                EnableWindow(bar, enable);
        }
    }
    void EnableCloseMenu(bool enable) override {
        if (CMainFrame* m = TheApp().m_pMainFrame)
            m->EnableCloseMenu(enable);
    }
    void SetToolBoxTool(UINT id) override {
        if (CMainFrame* m = TheApp().m_pMainFrame)
            m->SetToolBoxTool(id);
    }
    void ProgramEnded() override {
        if (CMainFrame* m = TheApp().m_pMainFrame)
            m->OnProgramEnded();
    }
    void SetRunProcess(HANDLE process) override {
        CIdeApp& app = TheApp();
        if (app.m_hRunProcess)
            CloseHandle(app.m_hRunProcess);
        app.m_hRunProcess = process;
    }
    void PostCommand(UINT id) override {
        if (CMainFrame* m = TheApp().m_pMainFrame)
            PostMessageA(m->m_hWnd, WM_COMMAND, id, 0);
    }

    void SetProjectPath(const std::string& path) override { TheApp().m_strProjectPath = path; }
    CPrjDoc* HeldProject() override { return TheApp().m_pHeldPrjDoc; }
    void SetHeldProject(CPrjDoc* doc) override { TheApp().m_pHeldPrjDoc = doc; }
    void SetProjectTreeFrame(CMDIChildWnd* frame) override {
        TheApp().m_pPrjTreeFrame = dynamic_cast<CPrjTreeFrm*>(frame);
    }
    CMDIChildWnd* ProjectTreeFrame() override { return TheApp().m_pPrjTreeFrame; }
    char*& BuildLog() override { return TheApp().m_pszBuildLog; }

    void StartDebug(CPrjDoc* doc, int showOutput) override {
        if (doc)
            DebugOf(doc).StartDebug(showOutput);
    }

    void RegisterCommands(UINT first, UINT last, CommandHandler handler) override {
        commands_.push_back({first, last, std::move(handler)});
    }
    bool RunCommand(UINT id, bool probeOnly) {
        for (const Registered& r : commands_) {
            if (id < r.first || id > r.last)
                continue;
            if (!probeOnly)
                r.handler(id);
            return true;
        }
        return false;
    }

private:
    struct Registered {
        UINT first, last;
        CommandHandler handler;
    };
    std::vector<Registered> commands_;
};

AppServices& Services() {
    static AppServices services;
    return services;
}

}  // namespace

IdeServices& Ide() { return Services(); }

bool RunRegisteredCommand(UINT id, bool probeOnly) { return Services().RunCommand(id, probeOnly); }
