// CWnd: a window handle plus the framework's dispatch.
//
// A window object is "permanent" once attached (Attach, SubclassWindow,
// CreateEx, DDX_Control): the thread's handle map then finds it, and when it
// is subclassed every message runs through WindowProc -> OnWndMsg -> the
// message maps, with anything unmapped going to the original window
// procedure (Default / DefWindowProc). FromHandle gives a temporary wrapper
// for a window nobody attached; temporary wrappers live as long as the thread.
//
// Notifications a parent receives (WM_COMMAND from a control, WM_NOTIFY,
// WM_CTLCOLOR*, WM_DRAWITEM) are first reflected to the child's object, whose
// map sees them under WM_REFLECT_BASE + message.
#pragma once

#include <windows.h>

#include "framework/cmd_target.h"
#include "framework/geometry.h"
#include "framework/text.h"

class CDC;
class CFont;
class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    // Destroys a window that this object still has attached.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Handle map.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();

    // Subclassing: attaches, calls PreSubclassWindow, then replaces the
    // window procedure. Undone automatically on WM_NCDESTROY.
    BOOL SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow();

    // Creates a window of an existing class and subclasses it at once.
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Text and font.
    void SetWindowText(LPCWSTR text);
    void GetWindowText(CString& text) const;
    // Sends WM_SETFONT.
    void SetFont(CFont* font, BOOL redraw = TRUE);

    // Position and size. A null insert-after window is HWND_TOP.
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    // Centres on the alternate owner, else on the visible owner (parent for a
    // child), else on the work area; stays inside the work area.
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;

    // State.
    BOOL ShowWindow(int command);
    void BringWindowToTop();
    CWnd* SetFocus();
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    DWORD GetStyle() const;
    // Changes the style; with flags, then SetWindowPos(NOMOVE | NOSIZE |
    // NOZORDER | NOACTIVATE | flags). FALSE when nothing changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

    // Relatives.
    CWnd* GetParent() const;
    int GetDlgCtrlID() const;

    // Messages and drawing.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // Dialog data exchange: runs DoDataExchange; FALSE when a binding failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // TRUE when the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers msg to PreTranslateMessage of each framework window from
    // msg->hwnd up the GetParent chain (a popup's owner included), ending
    // with the main window; TRUE when one took it.
    static BOOL WalkPreTranslateTree(MSG* pMsg);

    // Passes the message being dispatched to the original window procedure.
    LRESULT Default();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE when a map handler took the message; *pResult is its answer.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called on the child for a notification its parent received; TRUE when
    // the child's map took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflects the message being dispatched to the object of child.
    static BOOL ReflectLastMsg(HWND child, LRESULT* pResult = nullptr);

    // Base handlers: default processing, or reflection to the child.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnColorizationColorChanged(DWORD dwColorizationColor, BOOL bOpacity);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();

    // The procedure that subclassing replaced (null for a window that was only
    // attached).
    WNDPROC m_pfnSuper = nullptr;

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class CDialog;
    // Routes one message through WindowProc with the thread's "current
    // message" set; on WM_NCDESTROY undoes the subclassing afterwards.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFinalDestroy();
    // The message the innermost framework window procedure is dispatching.
    static const MSG& CurrentMessage();

    bool m_attached = false;  // in the thread's handle map

    DECLARE_MESSAGE_MAP()
};
