// Message maps: static tables of {message, notification code, id range,
// thunk}, looked up from the most derived class to its bases (the first
// match wins, so a derived entry hides a base entry for the same key).
//
// Every handler is reached through a thunk that is instantiated for that
// very member function and calls it with the classic cracked arguments; no
// member-function pointer is ever cast to another type. The macros keep the
// familiar names: DECLARE_MESSAGE_MAP, BEGIN_MESSAGE_MAP, END_MESSAGE_MAP,
// ON_WM_..., ON_COMMAND, ON_BN_CLICKED, ON_NOTIFY, ON_MESSAGE and the
// reflection forms ON_CONTROL_REFLECT_EX, ON_NOTIFY_REFLECT and
// ON_WM_CTLCOLOR_REFLECT.
//
// Macros that take a handler take it as a member pointer, the way current
// code writes them:  ON_BN_CLICKED(IDOK, &CMyDlg::OnBnClickedOk)
//                    ON_MESSAGE(WM_APP, &CMyDlg::OnApp)
// ON_WM_xxx() entries name the classic handler (OnPaint, OnCtlColor, ...)
// of the class being mapped, or the one it inherits.
#pragma once

#include <windows.h>

#include <type_traits>

#include "framework/geometry.h"

class CCmdTarget;
class CWnd;
class CDC;

#define afx_msg

// Every WM_CTLCOLOR* message is looked up under this one key; the handler
// gets the kind as nCtlColor = message - WM_CTLCOLORMSGBOX.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#endif
// A notification a parent reflects back to the child that sent it is looked
// up in the child's map under WM_REFLECT_BASE + the parent's message.
#define WM_REFLECT_BASE 0xBC00

namespace afxmap {

// The message being dispatched and the result its handler produced.
struct Call {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

// TRUE when the handler took the message; FALSE lets default processing (or,
// for a reflected notification, the parent) see it.
using Thunk = BOOL (*)(CCmdTarget* target, Call& call);

struct Entry {
    UINT message;
    UINT code;
    UINT idFirst;
    UINT idLast;
    Thunk thunk;
};

struct Map {
    const Map* (*base)();
    const Entry* entries;  // ends with an entry whose thunk is null
};

// Wrappers for the handles a thunk hands to its handler (defined with CWnd
// and CDC; temporary wrappers when no object owns the handle).
CWnd* WndFromHandle(HWND hwnd);
CDC* DcFromHandle(HDC hdc);

inline UINT CtlColorKind(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC ? message - WM_CTLCOLORMSGBOX
                                                                         : CTLCOLOR_DLG;
}

template <class M>
struct Member;
template <class C, class R, class... A>
struct Member<R (C::*)(A...)> {
    using Class = C;
    using Signature = R(A...);
};

template <auto F>
auto* Self(CCmdTarget* target) {
    return static_cast<typename Member<decltype(F)>::Class*>(target);
}

// Handlers must have exactly the classic signature of their macro.
template <auto F, class Sig>
constexpr bool kHas = std::is_same_v<typename Member<decltype(F)>::Signature, Sig>;

template <auto F>
BOOL Void(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void()>, "handler must be void f()");
    (Self<F>(t)->*F)();
    c.result = 0;
    return TRUE;
}

template <auto F>
BOOL BoolVoid(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, BOOL()>, "handler must be BOOL f()");
    c.result = 0;
    return (Self<F>(t)->*F)() ? TRUE : FALSE;
}

template <auto F>
BOOL Message(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, LRESULT(WPARAM, LPARAM)>, "handler must be LRESULT f(WPARAM, LPARAM)");
    c.result = (Self<F>(t)->*F)(c.wParam, c.lParam);
    return TRUE;
}

template <auto F>
BOOL Notify(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void(NMHDR*, LRESULT*)>, "handler must be void f(NMHDR*, LRESULT*)");
    LRESULT result = 0;
    (Self<F>(t)->*F)(reinterpret_cast<NMHDR*>(c.lParam), &result);
    c.result = result;
    return TRUE;
}

// A NULL brush is no answer: default processing then supplies one.
template <auto F>
BOOL CtlColor(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, HBRUSH(CDC*, CWnd*, UINT)>, "handler must be HBRUSH f(CDC*, CWnd*, UINT)");
    HBRUSH brush = (Self<F>(t)->*F)(DcFromHandle(reinterpret_cast<HDC>(c.wParam)),
                                    WndFromHandle(reinterpret_cast<HWND>(c.lParam)), CtlColorKind(c.message));
    c.result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

template <auto F>
BOOL CtlColorReflect(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, HBRUSH(CDC*, UINT)>, "handler must be HBRUSH f(CDC*, UINT)");
    HBRUSH brush = (Self<F>(t)->*F)(DcFromHandle(reinterpret_cast<HDC>(c.wParam)), CtlColorKind(c.message));
    c.result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

template <auto F>
BOOL QueryDragIcon(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, HCURSOR()>, "handler must be HCURSOR f()");
    c.result = reinterpret_cast<LRESULT>((Self<F>(t)->*F)());
    return TRUE;
}

template <auto F>
BOOL ColorizationChanged(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void(DWORD, BOOL)>, "handler must be void f(DWORD, BOOL)");
    (Self<F>(t)->*F)(static_cast<DWORD>(c.wParam), static_cast<BOOL>(c.lParam));
    c.result = 0;
    return TRUE;
}

template <auto F>
BOOL KillFocus(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void(CWnd*)>, "handler must be void f(CWnd*)");
    (Self<F>(t)->*F)(WndFromHandle(reinterpret_cast<HWND>(c.wParam)));
    c.result = 0;
    return TRUE;
}

template <auto F>
BOOL MousePoint(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void(UINT, CPoint)>, "handler must be void f(UINT, CPoint)");
    (Self<F>(t)->*F)(static_cast<UINT>(c.wParam), CPoint(c.lParam));
    c.result = 0;
    return TRUE;
}

template <auto F>
BOOL Activate(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void(UINT, CWnd*, BOOL)>, "handler must be void f(UINT, CWnd*, BOOL)");
    (Self<F>(t)->*F)(LOWORD(c.wParam), WndFromHandle(reinterpret_cast<HWND>(c.lParam)),
                     HIWORD(c.wParam) != 0);
    c.result = 0;
    return TRUE;
}

template <auto F>
BOOL DlgCode(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, UINT()>, "handler must be UINT f()");
    c.result = static_cast<LRESULT>((Self<F>(t)->*F)());
    return TRUE;
}

template <auto F>
BOOL DrawItem(CCmdTarget* t, Call& c) {
    static_assert(kHas<F, void(int, LPDRAWITEMSTRUCT)>, "handler must be void f(int, LPDRAWITEMSTRUCT)");
    (Self<F>(t)->*F)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
    c.result = TRUE;
    return TRUE;
}

}  // namespace afxmap

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const ::afxmap::Map* GetThisMessageMap();            \
    const ::afxmap::Map* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                 \
    const ::afxmap::Map* theClass::GetMessageMap() const { return GetThisMessageMap(); }      \
    const ::afxmap::Map* theClass::GetThisMessageMap() {                                      \
        typedef theClass ThisClass;                                                           \
        typedef baseClass TheBaseClass;                                                       \
        static_cast<void>(sizeof(ThisClass));                                                 \
        static const ::afxmap::Entry entries[] = {
#define END_MESSAGE_MAP()                                                                     \
    {0, 0, 0, 0, nullptr}};                                                                   \
    static const ::afxmap::Map map = {&TheBaseClass::GetThisMessageMap, &entries[0]};         \
    return &map;                                                                              \
    }

// Window messages.
#define ON_MESSAGE(message, memberFxn) {static_cast<UINT>(message), 0, 0, 0, &::afxmap::Message<memberFxn>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &::afxmap::Void<&ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, 0, &::afxmap::QueryDragIcon<&ThisClass::OnQueryDragIcon>},
#define ON_WM_CTLCOLOR() {WM_CTLCOLOR, 0, 0, 0, &::afxmap::CtlColor<&ThisClass::OnCtlColor>},
#define ON_WM_DWMCOLORIZATIONCOLORCHANGED() \
    {WM_DWMCOLORIZATIONCOLORCHANGED, 0, 0, 0, &::afxmap::ColorizationChanged<&ThisClass::OnColorizationColorChanged>},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, &::afxmap::KillFocus<&ThisClass::OnKillFocus>},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, &::afxmap::MousePoint<&ThisClass::OnMouseMove>},
#define ON_WM_ACTIVATE() {WM_ACTIVATE, 0, 0, 0, &::afxmap::Activate<&ThisClass::OnActivate>},
#define ON_WM_CANCELMODE() {WM_CANCELMODE, 0, 0, 0, &::afxmap::Void<&ThisClass::OnCancelMode>},
#define ON_WM_GETDLGCODE() {WM_GETDLGCODE, 0, 0, 0, &::afxmap::DlgCode<&ThisClass::OnGetDlgCode>},
#define ON_WM_DRAWITEM() {WM_DRAWITEM, 0, 0, 0, &::afxmap::DrawItem<&ThisClass::OnDrawItem>},

// Commands and notifications from controls (BN_CLICKED and a menu command
// share code 0, so ON_BN_CLICKED(IDOK, ...) hides CDialog's ON_COMMAND(IDOK)).
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), &::afxmap::Void<memberFxn>},
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), &::afxmap::Void<memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), &::afxmap::Notify<memberFxn>},

// Reflection: the control's own map sees its notification first. The _EX
// form returns BOOL; FALSE lets the parent handle the notification too.
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, &::afxmap::BoolVoid<memberFxn>},
#define ON_NOTIFY_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, &::afxmap::Notify<memberFxn>},
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, &::afxmap::CtlColorReflect<&ThisClass::CtlColor>},
