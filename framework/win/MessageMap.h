// Message maps: each window class lists the messages and commands it handles, one handler
// each; everything unlisted goes to the base class's map and finally to the default
// window procedure.
#pragma once

#include <windows.h>

#include "AfxTypes.h"
#include "CDC.h"

class CWnd;
class CDC;

// Messages reflected from a parent to the child control they concern.
const UINT WM_REFLECT_BASE = 0xBC00;
// The colour requests of all control kinds arrive in a map under this one message.
const UINT WM_CTLCOLOR_ANY = 0x0019;

// Calls the handler for one message; answers whether it handled it and sets the result.
typedef bool (*AFX_MSGTHUNK)(CWnd* pWnd, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;    // window message; WM_COMMAND for commands
    UINT nCode;       // notification code of a WM_COMMAND (0 for menus and clicks)
    UINT nID;         // command or control id of a WM_COMMAND
    AFX_MSGTHUNK pfn; // null ends the map
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const \
    { \
        return GetThisMessageMap(); \
    } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        using ThisClass [[maybe_unused]] = theClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
    { \
        0, 0, 0, nullptr \
    } \
    } \
    ; \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
    return &messageMap; \
    }

// The point of a mouse message, signed (client coordinates may be negative under capture).
#define AFX_POINT_OF(lParam) CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(id), [](CWnd* w, WPARAM, LPARAM, LRESULT& r) -> bool { \
         static_cast<ThisClass*>(w)->memberFxn(); \
         r = 0; \
         return true; \
     }},

#define ON_BN_CLICKED(id, memberFxn) \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), [](CWnd* w, WPARAM, LPARAM, LRESULT& r) -> bool { \
         static_cast<ThisClass*>(w)->memberFxn(); \
         r = 0; \
         return true; \
     }},

#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, [](CWnd* w, WPARAM wp, LPARAM lp, LRESULT& r) -> bool { \
         r = static_cast<ThisClass*>(w)->memberFxn(wp, lp); \
         return true; \
     }},

#define ON_WM_CONTEXTMENU() \
    {WM_CONTEXTMENU, 0, 0, [](CWnd* w, WPARAM wp, LPARAM lp, LRESULT& r) -> bool { \
         static_cast<ThisClass*>(w)->OnContextMenu(w->FromHandleTemp(reinterpret_cast<HWND>(wp)), \
                                                   AFX_POINT_OF(lp)); \
         r = 0; \
         return true; \
     }},

#define ON_WM_SETCURSOR() \
    {WM_SETCURSOR, 0, 0, [](CWnd* w, WPARAM wp, LPARAM lp, LRESULT& r) -> bool { \
         r = static_cast<ThisClass*>(w)->OnSetCursor(w->FromHandleTemp(reinterpret_cast<HWND>(wp)), \
                                                     LOWORD(lp), HIWORD(lp)); \
         return true; \
     }},

#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, [](CWnd* w, WPARAM wp, LPARAM lp, LRESULT& r) -> bool { \
         static_cast<ThisClass*>(w)->OnLButtonDown(static_cast<UINT>(wp), AFX_POINT_OF(lp)); \
         r = 0; \
         return true; \
     }},

#define ON_WM_MOUSEMOVE() \
    {WM_MOUSEMOVE, 0, 0, [](CWnd* w, WPARAM wp, LPARAM lp, LRESULT& r) -> bool { \
         static_cast<ThisClass*>(w)->OnMouseMove(static_cast<UINT>(wp), AFX_POINT_OF(lp)); \
         r = 0; \
         return true; \
     }},

// The static's colour request, reflected from the parent: HBRUSH CtlColor(CDC*, UINT).
// A null brush hands the request back to the parent's ordinary colouring.
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR_ANY, 0, 0, [](CWnd* w, WPARAM wp, LPARAM lp, LRESULT& r) -> bool { \
         CDC dc(reinterpret_cast<HDC>(wp)); \
         r = reinterpret_cast<LRESULT>(static_cast<ThisClass*>(w)->CtlColor(&dc, static_cast<UINT>(lp))); \
         return true; \
     }},
