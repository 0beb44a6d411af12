// The product picture with its texts: the splash window shown while the
// IDE starts, and the about box.
#pragma once

#include "fw.h"

// Paints the picture and its texts at the top left of dc.
void PaintProductPicture(HDC dc, UINT pictureId);
// Realises the picture's own palette in target and copies its bits there.
int DrawAboutBitmap(HDC target, UINT pictureId);

class CSplashWnd : public CWnd {
    FW_DECLARE_DYNAMIC(CSplashWnd)
public:
    ~CSplashWnd() override;
    static void EnableSplashScreen(bool enable) { s_bEnabled = enable; }
    // The new splash window, or nullptr when disabled, already shown or
    // when the picture is missing.
    static HWND ShowSplashScreen(CWnd* parent);
    // A key or mouse-button press hides the splash; the message goes on.
    static void PreTranslateAppMessage(const MSG* msg);
    static CSplashWnd* Current() { return s_pWnd; }
    void HideSplashScreen();

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnTimer(UINT_PTR id) override;
    void OnActivate(UINT state, HWND other, bool minimised) override;
    void OnPaint() override;
    void PostNcDestroy() override { delete this; }

private:
    bool Create(CWnd* parent);
    HBITMAP m_hBitmap = nullptr;
    static bool s_bEnabled;
    static CSplashWnd* s_pWnd;
};

class CAboutDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CAboutDlg)
public:
    explicit CAboutDlg(CWnd* parent = nullptr);
    bool OnInitDialog() override;
    CWnd m_btnOK;
    WORD m_nPictureId = 0;

protected:
    void DoDataExchange() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnActivate(UINT state, HWND other, bool minimised) override;
    void OnPaint() override;
};
