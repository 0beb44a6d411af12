// TXANZ60's classes: the application, the report document (which plays the
// commands' rules of anzsession.h against its view and frame), the report
// view, the main frame and the about box.
#pragma once

#include "anzsession.h"
#include "fw.h"
#include "fweditview.h"
#include "fwregistry.h"

class CTxeanyzrView;

// The runtime's message library, loaded from the installation folder for
// one look-up and released at once.
class LibraryMessages : public anz::MessageSource {
public:
    explicit LibraryMessages(fw::RegStore& reg) : reg_(reg) {}
    std::optional<std::string> Message(uint32_t code) override;

private:
    fw::RegStore& reg_;
};

class CTxeanyzrDoc : public CDocument, private anz::AnzUi {
    FW_DECLARE_DYNCREATE(CTxeanyzrDoc)
public:
    CTxeanyzrDoc();
    anz::AnzSession& Session() { return m_session; }
    CTxeanyzrView* GetView() const;

    bool SaveModified() override;
    bool IsModified() override { return m_session.Modified(); }

    void OnFileNew() { m_session.New(); }
    void OnFileOpen() { m_session.Open(); }
    void OnFileSave() { m_session.Save(); }
    void OnFileSaveAs() { m_session.SaveAs(); }

private:
    fw::Win32RegStore m_reg;
    LibraryMessages m_messages{m_reg};
    anz::AnzSession m_session;

    HWND Owner() const;
    anz::Answer AskSave(const std::string& prompt) override;
    bool AskYesNo(const std::string& question) override;
    void Stop(const std::string& message) override;
    void FileError(const std::string& path, bool saving) override;
    std::optional<std::string> SavePath() override;
    std::optional<std::string> OpenPath() override;
    std::string ViewText() override;
    void SetViewText(const std::string& text) override;
    void SetTitle(const std::string& title) override;

    FW_DECLARE_CMD_MAP()
};

class CTxeanyzrView : public CEditView {
    FW_DECLARE_DYNCREATE(CTxeanyzrView)
public:
    CTxeanyzrView();
    CTxeanyzrDoc* GetDoc() const { return static_cast<CTxeanyzrDoc*>(GetDocument()); }
    // Text set by the program is no edit.
    void SetReportText(const std::string& text);

    void OnRegRead() { GetDoc()->Session().ReadRegistry(); }
    void OnRegClear() { GetDoc()->Session().ClearRegistry(); }
    void OnEditDelete();
    void OnUpdateEditDelete(CCmdUI* ui);
    void OnEditSelectAll();
    void OnUpdateEditSelectAll(CCmdUI* ui);

protected:
    void OnEditChange() override;
    bool m_bSettingText = false;

    FW_DECLARE_CMD_MAP()
};

class CMainFrame : public CFrameWnd {
    FW_DECLARE_DYNCREATE(CMainFrame)
public:
    // The document sets the title itself.
    void OnUpdateFrameTitle(bool) override {}
    void OnAppExit() { PostMessageA(m_hWnd, WM_CLOSE, 0, 0); }

protected:
    // The report's document lives in this frame: asking it first, then
    // destroying the frame closes the document with its view (closing the
    // documents first would delete this frame under its own handler).
    void OnClose() override;
    FW_DECLARE_CMD_MAP()
};

class CAnzAboutDlg : public CDialog {
public:
    CAnzAboutDlg();
};

class CTxeanyzrApp : public CWinApp {
public:
    bool InitInstance() override;
    void OnAppAbout();

protected:
    FW_DECLARE_CMD_MAP()
};
