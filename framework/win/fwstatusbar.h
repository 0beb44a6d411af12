// The status bar of a frame: the common status control with panes named
// by indicator ids, whose texts come from the string table and whose
// states the frame's update handlers set at idle time.
#pragma once

#include "fwwnd.h"

#include <string>
#include <vector>

class CFrameWnd;

enum : UINT { SBPS_NORMAL = 0, SBPS_STRETCH = 1, SBPS_DISABLED = 2 };

class CStatusBar : public CWnd {
    FW_DECLARE_DYNAMIC(CStatusBar)
public:
    // Creates the bar at the bottom of the parent frame.
    bool Create(CFrameWnd* parent, DWORD style, UINT id);
    // A separator (id 0) starts empty; other panes take the string of
    // their id, whose width sets the pane's default width.
    bool SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(panes_.size()); }
    UINT GetItemID(int index) const { return panes_[index].id; }
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    bool SetPaneText(int index, const char* text, bool update = true);
    std::string GetPaneText(int index) const;
    void SetPaneEnabled(int index, bool on);
    bool GetItemRect(int index, RECT* rc) const;
    int CommandToIndex(UINT id) const;
    // Height of the bar when shown (0 when hidden).
    int LayoutHeight() const;
    // Lays the bar out along the parent's bottom edge of the given width.
    void Reposition(int parentWidth, int parentHeight);
    // Runs the frame's update handlers for every pane with an id.
    void UpdateFromFrame(CFrameWnd* target);

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        std::string text;
    };
    std::vector<Pane> panes_;
    void ApplyParts();
    void ShowPane(int index);
    int TextWidth(const std::string& s) const;
};
