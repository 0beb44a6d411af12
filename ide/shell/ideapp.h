// The application object of TAMBRIX.
#pragma once

#include "fw.h"
#include "ideservices.h"
#include "idesettings.h"

#include <memory>
#include <string>

class CMainFrame;
class CPrjFrame;
class CPrjTreeFrm;
class CPrjDoc;

class CIdeApp : public CWinApp {
    FW_DECLARE_DYNAMIC(CIdeApp)
public:
    CIdeApp();
    ~CIdeApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool OnIdle(long count) override;
    bool PreTranslateMessage(MSG* msg) override;
    CDocument* OpenDocumentFile(const char* path) override;
    void AddToRecentFileList(const char* path) override;
    void AddToRecentProjectList(const char* path);
    bool SaveAllModified() override;
    bool SaveAllModified(bool withoutAsking);
    bool OnOpenRecentFile(UINT id) override;
    void WinHelp(DWORD_PTR data, UINT cmd) override;

    // Opens path through one template with the project frame as the main
    // window, so the new frame is its child.
    CDocument* OpenWithTemplate(int slot, const char* path, bool visible = true);

    CMainFrame* m_pMainFrame = nullptr;
    CPrjFrame* m_pPrjFrame = nullptr;
    std::string m_strProgramFolder;
    CPrjTreeFrm* m_pPrjTreeFrame = nullptr;
    std::string m_strProjectPath;
    CPrjDoc* m_pHeldPrjDoc = nullptr;
    CMultiDocTemplate* m_pTemplates[kSlotCount] = {};
    std::unique_ptr<fw::RecentFileList> m_pRecentPrjList;
    HANDLE m_hRunProcess = nullptr;
    int m_nCharWidth = 0;
    int m_nCharHeight = 0;
    int m_nClosing = 0;
    int m_nFindOption = 0;
    int m_nCheckLevel = 0;
    std::string m_strSavedProfileName;
    // Per-machine and per-user folders read by the placement restore.
    tambrix::FrameSettings m_settings;
    // The build's log file path (a 260-byte heap string) that exit deletes.
    char* m_pszBuildLog = nullptr;

private:
    void OnFileNew();
    void OnAppAbout();
    void OnOpenRecentRange(UINT id) { OnOpenRecentFile(id); }
    void OnUpdateRecentProject(CCmdUI* ui);
    void OnFilePrintSetup();
    bool OpenRecentProject(int index);
    bool OpenRecentFileEntry(int index);
    bool CloseOpenProjectFor();
    void RegisterTemplates();
    FW_DECLARE_CMD_MAP()
};

CIdeApp& TheApp();
// Runs (or with probeOnly only finds) a command a window library registered
// with IdeServices; false when none did.
bool RunRegisteredCommand(UINT id, bool probeOnly);
// The project frame, for code without the application at hand.
extern CPrjFrame* g_pPrjFrame;
// Suppresses the recent-file list while the IDE opens documents that must
// not appear there.
extern int g_nNoRecentEntry;
