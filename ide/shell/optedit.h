// The options sheet's two pages. The editor page is also the one reader
// and writer of the editor settings in the registry, which the editor,
// start-up and the options take a copy of (built without its window).
#pragma once

#include "colorctl.h"
#include "editsettings.h"
#include "fw.h"
#include "optrules.h"
#include "resource.h"

#include <windows.h>
#include <richedit.h>

#include <string>
#include <vector>

class CTvOptEditPage : public CPropertyPage {
public:
    CTvOptEditPage();
    bool OnInitDialog() override;
    void OnOK() override;
    CColorComboBox m_wndBack, m_wndFore;
    std::vector<tambrix::SizeRow> m_sizes;
    int32_t m_nCurSize = 0;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void FillSizes();
    void OnFaceChange();

public:
    tambrix::EditorSettings m_settings;
    int m_nLogPixelsY = 96;

    bool LoadEditorSettings();
    bool SaveEditorSettings();
    void SetDefaultEditorSettings();
    void CopyEditorSettings(tambrix::EditorSettingsCopy& out) const;
};

// The editor's character format for a face (or the face the machine has
// instead, EditorFaceFallback), a size in tenths of a point and a colour
// index; lf receives the font's description.
void BuildEditorCharFormat(HDC dc, const std::string& face, int32_t size, uint32_t colorIndex,
                           CHARFORMATA& cf, LOGFONTA& lf);

class CTvOptDirPage : public CPropertyPage {
public:
    CTvOptDirPage() : CPropertyPage(IDD_OPT_DIR) {}
    bool OnInitDialog() override;
    void OnOK() override;
    int m_nKind = -1;
    std::string m_strLists[3];
    bool m_bShown[3] = {};
    std::vector<tambrix::FolderRow> m_rows;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void ShowKind(int kind);
    void CollectKind();
    void FillList();
    void EnableChange();
};
