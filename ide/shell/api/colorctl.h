// The two owner-drawn controls every dialog may use: the colour combo box
// (the 16 colours of the table as swatches with their names) and the
// report list that draws whole rows and shortens texts with "...".
#pragma once

#include "fw.h"

#include <cstdint>
#include <string>

class CColorComboBox : public CComboBox {
    FW_DECLARE_DYNAMIC(CColorComboBox)
public:
    void* m_pPropWnd = nullptr;  // the designer's property window, when it edits a colour

    void AddColorItems();
    int AddColor(uint32_t value);
    static void GetColorName(std::string& name, uint32_t value);

protected:
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;
    int CompareItem(COMPAREITEMSTRUCT* cis) override;
};

class CReportListCtrl : public CListCtrl {
    FW_DECLARE_DYNAMIC(CReportListCtrl)
public:
    int GetSelectedItem() const;
    void RepaintSelectedItems();
    // text shortened to fit width with offset, in the font of dc.
    static std::string MakeShortString(HDC dc, const std::string& text, int width, int offset);

protected:
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    bool OnReflectNotify(NMHDR* nm, LRESULT* result) override;
};
