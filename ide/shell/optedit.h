// The editor page of the options, for now without its window: the one
// reader and writer of the editor settings in the registry, which the
// editor, start-up and the options take a copy of.
#pragma once

#include "editsettings.h"

#include <windows.h>
#include <richedit.h>

#include <string>

class CTvOptEditPage {
public:
    CTvOptEditPage();
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
