// Object base, run-time class records and command maps.
//
// Every class the framework creates by itself (documents, frames, views)
// carries a run-time class record: FW_DECLARE_DYNCREATE in the class,
// FW_IMPLEMENT_DYNCREATE beside its code. Command maps route command ids
// (menu items, accelerators, posted commands) to member functions:
//
//   FW_BEGIN_CMD_MAP(CMyFrame, CFrameWnd)
//     FW_ON_COMMAND(57601, OnFileOpen)
//     FW_ON_COMMAND_RANGE(57616, 57631, OnOpenRecent)   // takes the id
//     FW_ON_UPDATE(300, OnUpdateLineJump)               // takes CCmdUI*
//   FW_END_CMD_MAP()
#pragma once

#include <windows.h>

struct CRuntimeClass;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // nullptr when the class cannot be created dynamically.
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(C) (&C::class##C)

class CObject {
public:
    virtual ~CObject() = default;
    static const CRuntimeClass classCObject;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

#define FW_DECLARE_DYNAMIC(C)                  \
public:                                        \
    static const CRuntimeClass class##C;       \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##C; }

#define FW_DECLARE_DYNCREATE(C) \
    FW_DECLARE_DYNAMIC(C)       \
    static CObject* CreateObject();

#define FW_IMPLEMENT_DYNAMIC(C, B) const CRuntimeClass C::class##C = {#C, nullptr, &B::class##B};

#define FW_IMPLEMENT_DYNCREATE(C, B)                  \
    CObject* C::CreateObject() { return new C; }       \
    const CRuntimeClass C::class##C = {#C, &C::CreateObject, &B::class##B};

// The three ways a command map is asked about an id.
enum class FwCmdKind {
    Command,  // run the handler
    Update,   // run the update handler with a CCmdUI
    Probe,    // is there a command handler? (nothing runs)
};

class CStatusBar;

// The state of one menu item or status pane while its update handler runs.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;
    CStatusBar* m_pStatusBar = nullptr;
    HWND m_hToolBar = nullptr;  // a tool-bar button: m_nID is its command
    bool m_bEnableChanged = false;

    void Enable(bool on = true);
    void SetCheck(int check = 1);
    void SetText(const char* text);
};

class CCmdTarget;
struct FwCmdEntry {
    UINT first, last;
    FwCmdKind kind;
    void (*call)(CCmdTarget* target, UINT id, CCmdUI* ui);
};
struct FwCmdMap {
    const FwCmdMap* (*base)();
    const FwCmdEntry* entries;
};

class CCmdTarget : public CObject {
    FW_DECLARE_DYNAMIC(CCmdTarget)
public:
    // Looks the id up in this object's maps (own class first, then the
    // bases); the classes route on to other targets by overriding.
    virtual bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui);

protected:
    static const FwCmdMap* GetThisCmdMap();
    virtual const FwCmdMap* GetCmdMap() const { return GetThisCmdMap(); }
};

#define FW_DECLARE_CMD_MAP()                   \
protected:                                     \
    static const FwCmdMap* GetThisCmdMap();    \
    const FwCmdMap* GetCmdMap() const override { return GetThisCmdMap(); }

#define FW_BEGIN_CMD_MAP(C, B)                  \
    const FwCmdMap* C::GetThisCmdMap() {        \
        using ThisClass = C;                    \
        using BaseClass = B;                    \
        static const FwCmdEntry entries[] = {

#define FW_ON_COMMAND(id, fn) \
    {id, id, FwCmdKind::Command, [](CCmdTarget* t, UINT, CCmdUI*) { static_cast<ThisClass*>(t)->fn(); }},
#define FW_ON_COMMAND_RANGE(a, b, fn) \
    {a, b, FwCmdKind::Command, [](CCmdTarget* t, UINT id, CCmdUI*) { static_cast<ThisClass*>(t)->fn(id); }},
#define FW_ON_UPDATE(id, fn) \
    {id, id, FwCmdKind::Update, [](CCmdTarget* t, UINT, CCmdUI* ui) { static_cast<ThisClass*>(t)->fn(ui); }},
#define FW_ON_UPDATE_RANGE(a, b, fn) \
    {a, b, FwCmdKind::Update, [](CCmdTarget* t, UINT, CCmdUI* ui) { static_cast<ThisClass*>(t)->fn(ui); }},

#define FW_END_CMD_MAP()                                                   \
    {0, 0, FwCmdKind::Command, nullptr}};                                  \
        static const FwCmdMap map = {&BaseClass::GetThisCmdMap, entries}; \
        return &map;                                                       \
    }
