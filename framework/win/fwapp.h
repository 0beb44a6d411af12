// The application object: start-up and exit, the message loop with idle
// processing, the document templates, the recent-file list and the
// registry profile. One object per program; FwGetApp finds it.
#pragma once

#include "fwdoctmpl.h"
#include "fwres.h"
#include "fwregistry.h"
#include "recentlist.h"

#include <memory>
#include <string>
#include <vector>

class CFrameWnd;

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, FileNothing };
    bool m_bShowSplash = true;
    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    // One argument: switches start with "/" or "-".
    virtual void ParseParam(const char* param, bool isSwitch, bool isLast);
    virtual ~CCommandLineInfo() = default;
};


class CWinApp : public CCmdTarget {
    FW_DECLARE_DYNAMIC(CWinApp)
public:
    CWinApp();
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    std::string m_pszProfileName;   // the profile's subkey ("RecentFiles")
    std::string m_pszRegistryKey;   // "VELTRAN\Tambrix V6.3"
    std::string m_pszHelpFilePath;  // the program's path with ".HLP"
    std::string m_pszExeName;
    std::unique_ptr<fw::RecentFileList> m_pRecentFileList;
    int m_nNumPreviewPages = 0;
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    std::vector<CDocTemplate*> m_templates;

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance();
    virtual int Run();
    virtual bool OnIdle(long count);
    virtual bool PreTranslateMessage(MSG* msg);
    bool PumpMessage();

    void SetRegistryKey(const char* key) { m_pszRegistryKey = key; }
    fw::RegStore& Registry() { return *m_pRegistry; }
    // The store behind the registry; tests put a redirected one here.
    void SetRegistry(std::unique_ptr<fw::RegStore> reg) { m_pRegistry = std::move(reg); }
    fw::Profile GetProfile() const;
    int GetProfileInt(const char* section, const char* entry, int def) const;
    std::string GetProfileString(const char* section, const char* entry, const char* def) const;
    bool WriteProfileInt(const char* section, const char* entry, int value) const;
    bool WriteProfileString(const char* section, const char* entry, const char* value) const;
    // The recent-file list of the given size and the preview-pages value.
    void LoadStdProfileSettings(int maxRecent);
    void SaveStdProfileSettings();

    void ParseCommandLine(CCommandLineInfo& info);
    virtual bool ProcessShellCommand(CCommandLineInfo& info);
    void EnableShellOpen() { m_bShellOpen = true; }
    // Registers the file types of the templates so far with the shell.
    void RegisterShellFileTypes();

    void AddDocTemplate(CDocTemplate* t);
    virtual CDocument* OpenDocumentFile(const char* path);
    virtual void AddToRecentFileList(const char* path);
    virtual bool SaveAllModified();
    void CloseAllDocuments();
    int GetOpenDocumentCount() const;
    virtual void WinHelp(DWORD_PTR data, UINT cmd);

    // The framework's handlers of the recent-file entries.
    virtual bool OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    void OnFilePrintSetup();

    int m_nExitCode = 0;

protected:
    std::unique_ptr<fw::RegStore> m_pRegistry;
    bool m_bShellOpen = false;
    FW_DECLARE_CMD_MAP()
};

CWinApp* FwGetApp();

// Fills a menu's recent-file entries at the position of the item ui
// names: "&1 path" ... in place of the id range, or the placeholder item
// greyed when the list is empty. Moves ui->m_nIndex to the last entry.
void FwUpdateRecentMenu(const fw::RecentFileList& list, CCmdUI* ui, const std::string& emptyText);

// The program's entry: runs the application object.
int FwWinMain(HINSTANCE instance, int cmdShow);
