// The main frame's own bars: the standard bar with the search box and the
// replacement field placed inside it, and the form designer's tool box.
// Both keep a flag word the main frame reads and writes: kBarShown = meant
// to be shown, kBarFloats = floating.
#pragma once

#include "fw.h"

#include <string>

inline constexpr uint32_t kBarShown = 16;
inline constexpr uint32_t kBarFloats = 1;

class CToolBarCombo : public CComboBox {
public:
    bool PreTranslateMessage(MSG* msg) override;
};

class CComboToolBar : public CToolBar {
public:
    bool Create(CFrameWnd* parent, bool frameSmall);
    std::string GetToolBarComboText() const;
    std::string GetToolBarEditText() const;
    void AddComboHistory(const std::string& text);
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnDockSiteChanged() override;
    void OnBarMoved() override;

    CToolBarCombo m_wndCombo;
    CEdit m_wndEdit;
    uint32_t m_bSmall = 0;
    HWND m_hDockFrame = nullptr;
    uint32_t m_nFlags = 0;
    uint32_t m_bVertical = 0;

    static constexpr int kComboSlot = 14;
    static constexpr int kEditSlot = 18;
    static constexpr int kCaseButton = 10;

protected:
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    void LayoutHorizontal();
    void LayoutVertical();
};

class CToolBoxBar : public CToolBar {
public:
    bool Create(CFrameWnd* parent, DWORD style, UINT id);
    void SetColumns(int n);
    // The form designer checks the tool box's buttons itself.
    void OnUpdateCmdUI(CFrameWnd*, bool) override {}
    void OnDockSiteChanged() override;
    void OnBarMoved() override;

    HWND m_hDockFrame = nullptr;
    uint32_t m_nColumns = 2;
    uint32_t m_nFlags = 0;
};

// Changes the main frame's height by delta, keeping its left, top and width.
void GrowMainFrame(int delta);
