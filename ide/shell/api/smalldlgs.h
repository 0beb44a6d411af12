// The small modal dialogs other parts run and read back, the folder
// picker, and the file dialog of the IDE.
#pragma once

#include "fw.h"
#include "optrules.h"
#include "shellids.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Centres a window on the desktop, or on the desktop's work area (the
// part the task bar leaves).
void CenterOnDesktop(HWND hwnd);
void CenterInWorkArea(HWND hwnd);

// The font faces of the device, once each in the order the device gives
// them; vertical ("@") faces only when asked. AddFontFaces puts them in a
// combo box.
std::vector<std::string> FontFaceNames(HDC dc, bool withVertical);
void AddFontFaces(HDC dc, HWND combo, bool withVertical);
// The size rows of a face: a raster face's own sizes, else the standard ones.
std::vector<tambrix::SizeRow> FontSizeRows(HDC dc, const std::string& face, int dpi);
// True when the device has the face.
bool HasFontFace(HDC dc, const std::string& face);

class CRunArgDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CRunArgDlg)
public:
    explicit CRunArgDlg(CWnd* parent = nullptr) : CDialog(IDD_RUN_ARGS, parent) {}
    std::string m_strArgs;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

class CNewFileDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CNewFileDlg)
public:
    explicit CNewFileDlg(CWnd* parent = nullptr) : CDialog(IDD_NEW_FILE, parent) {}
    CEdit m_edtName;
    std::string m_strFileName;
    int m_bProjectMode = 0;
    uint32_t m_nNumber = 1;
    std::string m_strExt;
    uint32_t m_nKind = 0;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnKindChange();
    void SelectStem();
};

class CHotKeyDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CHotKeyDlg)
public:
    explicit CHotKeyDlg(CWnd* parent = nullptr) : CDialog(IDD_HOT_KEY, parent) {}
    int m_bAlt = 0, m_bControl = 0, m_bExt = 0, m_bShift = 0;
    uint16_t m_nValue = 0;
    CListBox m_lstKeys;

    void SetHotKeyValue(uint16_t value);
    void FormatHotKeyName(std::string& buffer) const;
    bool OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

class CFolderAddDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CFolderAddDlg)
public:
    explicit CFolderAddDlg(CWnd* parent = nullptr) : CDialog(IDD_FOLDER_ADD, parent) {}
    std::string m_strFolder;
    int m_bAddMode = 1;
    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
};

// The folder the user opened in the older-style file dialog on template
// 1536, which it leaves as the current folder; nothing on Cancel.
std::optional<std::string> PickFolder(CWnd* owner);

class CTvFileDialog : public CFileDialog {
    FW_DECLARE_DYNAMIC(CTvFileDialog)
public:
    CTvFileDialog(bool open, const char* defExt = nullptr, const char* fileName = nullptr,
                  DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                  CWnd* parent = nullptr)
        : CFileDialog(open, defExt, fileName, flags, filter, parent) {}
    uint32_t m_nKind = 0;  // 1 open a file, 2 open a project, 3 import a resource

    bool OnHelp() override;
    bool OnFileNameOK(const std::string& typed) override;
    void OnInitDone() override;
};
