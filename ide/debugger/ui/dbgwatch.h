// The watch window "式表示": document, frame, view and the owner-drawn list
// of the run's watches (rows kept by txwatch::WatchRows).
#pragma once

#include "fw.h"

#include <commctrl.h>

#include "watch_rows.h"

class CPrjDoc;

class CDbgWatchDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CDbgWatchDoc)
public:
    bool OnNewDocument() override;
    void Serialize(CArchive&) override {}
};

class CDbgWatchFrm : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CDbgWatchFrm)
protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class CDbgListBox : public CListBox {
    FW_DECLARE_DYNAMIC(CDbgListBox)
public:
    explicit CDbgListBox(CPrjDoc* prj);
    ~CDbgListBox() override;
    static constexpr int kItemHeight = 20;

    void AddVar(txwatch::WatchVar& var);
    void RefreshRows();
    void RemoveWatch(uint32_t number);
    // A main row's toggle between its value and its dump.
    bool ToggleRow(int index);
    const txwatch::WatchRows& Rows() const { return m_rows; }

protected:
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;
    bool OnReflectCommand(UINT code) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    void Sync();
    txwatch::WatchVar* Find(uint32_t number);
    CPrjDoc* m_pPrjDoc;
    txwatch::WatchRows m_rows;
    HIMAGELIST m_hImages = nullptr;
    HFONT m_hFont = nullptr;
};

class CDbgWatchView : public CView {
    FW_DECLARE_DYNCREATE(CDbgWatchView)
public:
    void OnDraw(HDC) override {}
    CDbgListBox* GetListBox() const { return m_pList; }

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;

private:
    CDbgListBox* m_pList = nullptr;
};
