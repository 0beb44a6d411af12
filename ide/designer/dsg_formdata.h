// The form-description item stream: the item codes and their names, and
// the interpreter that rebuilds a form from a compiled description.
#pragma once

#include <cstdint>
#include <string>

#include "dsg_model.h"

namespace dsg {

enum ItemCode : uint16_t {
    kItBegin = 1, kItEnd = 2, kItClass = 9, kItCreate = 10, kItWindowTitle = 11,
    kItWindowSize = 12, kItShowWindow = 13, kItEnableWindow = 14, kItShowMinimized = 15,
    kItShowMaximized = 16, kItStyle = 17, kItControlName = 21, kItMenu = 22, kItBitmap = 23,
    kItCursorId = 24, kItCursor = 25, kItTextColor = 30, kItForeColor = 31, kItBackColor = 32,
    kItAttribute = 33, kItCtrlTextColor = 34, kItCtrlBackColor = 35, kItTextBuffer = 36,
    kItMapMode = 37, kItMaxClient = 38, kItRedrawMode = 39, kItScrollRange = 50,
    kItScrollStep = 51, kItTimer = 52, kItButtonStyle = 53, kItButtonFrame = 54,
    kItFrameSize = 55, kItDrawInterval = 56, kItButtonState = 57, kItTooltip = 58, kItGrid = 60,
    kItClipboard = 61, kItGrid2 = 62, kItFontSize = 70, kItFontBold = 71, kItFontItalic = 72,
    kItFontUnderline = 73, kItFontStrikeOut = 74, kItFontName = 75, kItFontName2 = 76,
    kItEvent = 80, kItMenuCtrlName = 90, kItCreate3 = 112, kItAxis3 = 124, kItLimitText3 = 156,
    kItWindowSize3 = 159, kItListItem3 = 172, kItValue3 = 173, kItImeMode3 = 186,
    kItShowWindow3 = 201, kit3DForm3 = 211, kItAttrData3 = 212, kItSendMessage = 300,
};

struct FormItemName {
    uint32_t code;
    uint32_t flag;  // 1 for __SENDMESSAGE
    const char *name;
};
extern const FormItemName kFormItems[];  // ended by code 0xFFFFFFFF
const char *FormItemNameOf(uint32_t code);  // "" when none


struct FormBuildResult {
    bool ok = false;
    uint32_t message = 0;  // what was shown on failure
};

// Builds one form from a compiled description (the whole RCDATA data,
// including the six bytes of signature, type word and __BEGIN). The
// script path is used only for the icon of format kVersion102.
FormBuildResult FrmBuildFromData(DesignerHost &host, Document &doc, const uint8_t *data,
                                 size_t size, uint16_t version, const std::string &scriptPath = {});

// Point conversion between device pixels and a form's logical units
// (MAP_TEXT taken as MAP_PIXEL, y negated for the metric and English modes).
Point FrmDPtoLP(DesignerHost &host, uint32_t form, uint32_t mapMode, Point p);
Point FrmLPtoDP(DesignerHost &host, uint32_t form, uint32_t mapMode, Point p);

// Font heights and points.
int32_t FontPointsToHeight(DesignerHost &host, const ControlRecord &r, int32_t points);
int32_t FontHeightToPoints(DesignerHost &host, const ControlRecord &r, int32_t height);

// A new form and a new control as the designer makes them.
Form *FrmCreateNew(DesignerHost &host, Document &doc, const char *name, bool isMain);
ControlRecord *CtlCreate(DesignerHost &host, Document &doc, Form &form, uint32_t kind, int32_t x,
                         int32_t y, bool snap = false);

}  // namespace dsg
