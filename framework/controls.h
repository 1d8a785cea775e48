// Control wrappers: a window handle and one-line messages, no other state.
//   CButton       owner draw (DrawItem, reached by reflection)
//   CStatic       SetBitmap (STM_SETIMAGE), GetBitmap (STM_GETIMAGE)
//   CAnimateCtrl  Open / Play / Stop / Close on an AVI resource
//   CLinkCtrl     SetItemState (LM_SETITEM)
//   CRichEditCtrl FindText, SetSel, SetWordCharFormat, SetBackgroundColor
//   CToolTipCtrl  Create, AddTool, RelayEvent, SetMaxTipWidth, Activate
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "framework/window.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // Owner draw: WM_DRAWITEM sent to the parent for this button ends here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    // Returns the image the control held before (the caller owns it).
    HBITMAP SetBitmap(HBITMAP hBitmap);
    // The image the control holds now: the one given, or its own copy of it.
    HBITMAP GetBitmap() const;
};

class CAnimateCtrl : public CWnd {
    DECLARE_DYNAMIC(CAnimateCtrl)
public:
    // Opens an AVI resource of the framework's resource module.
    BOOL Open(UINT nID);
    // nRep -1 repeats for ever; nTo 0xFFFF is the last frame.
    BOOL Play(UINT nFrom, UINT nTo, UINT nRep);
    BOOL Stop();
    // ACM_OPEN without a clip.
    BOOL Close();
};

class CLinkCtrl : public CWnd {
    DECLARE_DYNAMIC(CLinkCtrl)
public:
    BOOL SetItemState(int iLink, UINT state, UINT stateMask = 0xFFFFFFFF);
};

class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    // EM_FINDTEXTEX: the start of the match, or -1.
    long FindText(DWORD dwFlags, FINDTEXTEXW* pFindText) const;
    // EM_EXSETSEL.
    void SetSel(long nStartChar, long nEndChar);
    // EM_SETCHARFORMAT with SCF_SELECTION | SCF_WORD.
    BOOL SetWordCharFormat(CHARFORMAT2W& cf);
    // EM_SETBKGNDCOLOR: the system's window colour, or cr; returns the colour before.
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr);
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A WS_POPUP tooltip window owned by the parent, with dwStyle added.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // The tool is the rectangle lpRectTool of pWnd's client area, named by
    // nIDTool.
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
    // Tools are not subclassed: their mouse messages must be relayed here.
    void RelayEvent(LPMSG lpMsg);
    int SetMaxTipWidth(int iWidth);
    void Activate(BOOL bActivate);
};
