// Documents, views and the archive a document reads and writes through.
#pragma once

#include "fwwnd.h"

#include <cstdio>
#include <string>
#include <vector>

class CDocTemplate;
class CFrameWnd;
class CView;
struct CCreateContext;

// A file opened for a document's load or save: raw bytes in or out. No
// object serialization: documents read and write their own layouts.
class CArchive {
public:
    enum Mode { load = 1, store = 0 };
    CArchive(std::FILE* file, Mode mode, std::string path)
        : file_(file), mode_(mode), path_(std::move(path)) {}
    bool IsLoading() const { return mode_ == load; }
    bool IsStoring() const { return mode_ == store; }
    // Bytes read; fewer than asked at the end of the file.
    size_t Read(void* buf, size_t n);
    // False when the bytes could not all be written.
    bool Write(const void* buf, size_t n);
    const std::string& GetPath() const { return path_; }
    std::FILE* GetFile() const { return file_; }

private:
    std::FILE* file_;
    Mode mode_;
    std::string path_;
};

class CDocument : public CCmdTarget {
    FW_DECLARE_DYNCREATE(CDocument)
public:
    ~CDocument() override;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // The title becomes the file-name part; the path goes to the recent
    // list when asked.
    virtual void SetPathName(const std::string& path, bool addToRecent = true);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual bool IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    const std::vector<CView*>& GetViews() const { return m_views; }
    CView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    void AddView(CView* view);
    void RemoveView(CView* view);
    void UpdateAllViews(CView* sender);

    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    // Runs before the file is opened for writing (a backup of its previous
    // contents is taken here); false ends the save, the file untouched.
    virtual bool PrepareSave(const std::string& path) { (void)path; return true; }
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& ar);
    // Asks whether to save a modified document: Yes saves, No goes on,
    // Cancel (or a failed save) answers false.
    virtual bool SaveModified();
    virtual bool CanCloseFrame(CFrameWnd* frame);
    virtual bool DoSave(const std::string& path, bool replace = true);
    bool DoFileSave();
    // File > Save: under the document's own name.
    void OnFileSave() { DoFileSave(); }

    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;

    CDocTemplate* m_pDocTemplate = nullptr;
    bool m_bAutoDelete = true;

protected:
    FW_DECLARE_CMD_MAP()
    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_views;
    void UpdateFrameCounts();
};

class CView : public CWnd {
    FW_DECLARE_DYNAMIC(CView)
public:
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;
    virtual bool Create(CWnd* parent, UINT id, CCreateContext* ctx);
    virtual void OnInitialUpdate() { OnUpdate(nullptr); }
    virtual void OnUpdate(CView*) { if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE); }
    virtual void OnDraw(HDC dc) = 0;
    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;

    CDocument* m_pDocument = nullptr;

protected:
    void OnPaint() override;
    void PostNcDestroy() override;
};
