// Tool bars over the common tool-bar control, docked at the top of their
// frame or floating in a small tool window captioned with the bar's title.
//
// A docked bar is a child of its frame; the frame stacks its docked bars
// at the top (fw::LayoutDockedBars) and gives the rest to its client. A
// floating bar is a child of its CFloatFrame, which hands the bar's
// commands to the frame the bar belongs to. Button states follow the
// frame's update handlers at idle time (OnUpdateCmdUI). Tool tips are the
// text after "\n" of the string with the button's id.
#pragma once

#include "fwframe.h"

#include <commctrl.h>

#include <string>
#include <vector>

inline constexpr UINT FW_ID_SEPARATOR = 0;

// Bar style bits (beside the window style).
inline constexpr DWORD FWBS_ALIGN_TOP = 0x1000;
inline constexpr DWORD FWBS_BORDER_BOTTOM = 0x0800;
inline constexpr DWORD FWBS_TOOLTIPS = 0x0010;
inline constexpr DWORD FWBS_FLYBY = 0x0020;
inline constexpr DWORD FWBS_SIZE_FIXED = 0x0004;

// Dynamic layout modes.
inline constexpr DWORD FWLM_HORZ = 0x01;
inline constexpr DWORD FWLM_COMMIT = 0x02;
inline constexpr DWORD FWLM_VERTDOCK = 0x04;

class CToolBar;

// The tool window a floating bar sits in.
class CFloatFrame : public CWnd {
public:
    explicit CFloatFrame(CToolBar* bar) : m_pBar(bar) {}
    bool Create(HWND owner, const std::string& title);
    // Sizes the frame so its client holds the bar.
    void FitToBar();
    CToolBar* m_pBar;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnClose() override;
    void PostNcDestroy() override { delete this; }
};

class CToolBar : public CWnd {
    FW_DECLARE_DYNAMIC(CToolBar)
public:
    ~CToolBar() override;
    bool Create(CFrameWnd* frame, DWORD style, UINT id);
    // The images of a bitmap resource, each as wide as the image size.
    bool LoadBitmap(UINT bitmapId);
    // Buttons in order; FW_ID_SEPARATOR makes a separator. Images go to the
    // non-separators in order.
    bool SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    int GetCount() const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, RECT* rc) const;
    // TBBS_ style bits: separator, check, group, wrap.
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    int GetButtonImage(int index) const;
    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return m_strTitle; }

    // The frame the bar belongs to (docked or floating).
    CFrameWnd* GetOwnerFrame() const { return m_pOwner; }
    // The window the bar sits in now: its frame, or its float frame.
    HWND GetDockingFrame() const { return ::GetParent(m_hWnd); }
    bool IsFloating() const { return m_pFloat != nullptr; }
    HWND GetFloatFrame() const { return m_pFloat ? m_pFloat->m_hWnd : nullptr; }
    bool IsVisible() const;
    // Shows or hides the bar (and its float frame).
    void Show(bool show);
    // Takes the bar out of its frame into a float frame whose top-left (left
    // alignment) or top-left corner is at pt.
    void FloatAt(POINT pt, bool leftAlign);
    void Dock();
    // The size the bar wants: docked, one row as wide as its buttons.
    virtual SIZE CalcDynamicLayout(int length, DWORD mode);
    SIZE CalcSize() const;
    // Brings the button states up to the target's update handlers; without
    // disableIfNoHandler a button nothing updates keeps its state.
    virtual void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler);
    // Called after the bar went into another window (docked or floating).
    virtual void OnDockSiteChanged() {}
    // Called when the user ended dragging the bar or its float frame.
    virtual void OnBarMoved() {}
    // The mouse drag of a docked bar: pressed on no button at from, let go
    // at to (screen points). Floats the bar there when it left the frame.
    void EndDrag(POINT from, POINT to);
    // A float frame let go over its frame's window docks again.
    void EndFloatMove();

    DWORD m_dwBarStyle = 0;
    UINT m_nBarId = 0;

protected:
    void PostNcDestroy() override {}
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool m_bDragging = false;
    POINT m_ptDragFrom{};
    std::string m_strTitle;
    CFrameWnd* m_pOwner = nullptr;
    CFloatFrame* m_pFloat = nullptr;
    HIMAGELIST m_hImages = nullptr;
    SIZE m_sizeImage{16, 15};
    UINT m_nBitmapId = 0;
};

// Button style bits.
inline constexpr UINT TBBS_SEPARATOR = TBSTYLE_SEP;
inline constexpr UINT TBBS_CHECKBOX = TBSTYLE_CHECK;
inline constexpr UINT TBBS_GROUP = TBSTYLE_GROUP;
inline constexpr UINT TBBS_CHECKGROUP = TBSTYLE_CHECKGROUP;
inline constexpr UINT TBBS_WRAPPED = 0x10000;  // kept in the button's state

namespace fw {
// Places the visible docked bars one below the other at the top of the
// frame's client; returns the height they take.
int LayoutDockedBars(HWND frame, const std::vector<CToolBar*>& bars, int width);
// The tool tip of a command: the text after "\n" of its string. True when
// the notification was a tool-tip request it answered.
bool AnswerToolTip(NMHDR* nm);
}  // namespace fw
