// What the shell's document templates name: the plain classes the shell
// keeps for the hidden DEFAULT project's tree, and the window libraries'
// headers with the documents, frames and views the templates create.
#pragma once

#include "fw.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A document class that reads and writes nothing, with a frame and a view
// that draw nothing.
#define TX_PLAIN_DOC(C)                                \
    class C : public CDocument {                       \
        FW_DECLARE_DYNCREATE(C)                        \
    public:                                            \
        void Serialize(CArchive&) override {}          \
    };
#define TX_PLAIN_FRAME(C)                              \
    class C : public CMDIChildWnd {                    \
        FW_DECLARE_DYNCREATE(C)                        \
    };
#define TX_PLAIN_VIEW(C)                               \
    class C : public CView {                           \
        FW_DECLARE_DYNCREATE(C)                        \
    public:                                            \
        void OnDraw(HDC) override {}                   \
    };

// The project document: ide/project/ui.
#include "prjdoc.h"

TX_PLAIN_VIEW(CUPrjTree)
TX_PLAIN_FRAME(CUPrjTreeFrm)

// The open project's tree and its frame: ide/project/ui.
#include "prjtree.h"

// The resource document, its tree and the form windows: the designer's.
#include "rcdoc.h"

// The runtime-environment editor: ide/project/ui.
#include "betedit.h"
// The build result window: ide/project/ui.
#include "prjerr.h"
// The watch window and the projects' debugging live with the debugger
// (ide/debugger/ui).
#include "dbgprj.h"
#include "dbgwatch.h"

// The source editor: its document, frame and view.
#include "editor.h"
