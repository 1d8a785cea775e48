// The Open-As prompt: shown in place of the system's prompt for a file that
// no program opens. It names the file, offers the store's page, the system's
// Open With dialog or handing such files back to Windows, shows the
// category's product pictures in a small carousel and, while it is open,
// lets the hidden update child fetch fresh pictures.
#pragma once

#include <windows.h>

#include "app/controls/skin_button.h"
#include "framework/afx.h"
#include "shared/constants.h"
#include "shared/task/file_target.h"
#include "shared/task/notify_receiver.h"
#include "shared/task/picture_watcher.h"

class CVELQOpenAsDlg : public CDialog, public VELQINTERFACE::IVELQNotifyReceiver {
public:
    // A local object of its caller, shown with DoModal; no parent window.
    explicit CVELQOpenAsDlg(FileTarget target);
    // Stops the picture watcher and waits for its thread before the members go.
    ~CVELQOpenAsDlg() override;

    // Empty on purpose: the picture watcher posts WM_PICTURECHANGED instead.
    void HandleNotification() override {}

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnSetFont(CFont* pFont) override;

    void InitLayout();
    void SetButtonBitmaps(VELQUIControls::CVELQSkinButton& button, UINT hoverId,
                          COLORREF hoverColour, UINT normalId, COLORREF normalColour,
                          UINT pressedId, COLORREF pressedColour);
    void LoadVersionString();

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnBnClickedOk();
    void OnBnClickedCancel();

    // The picture carousel (carousel.cpp).
    void LoadPictures();
    // Deletes the pictures of the last scan, all but the one the picture
    // control shows as it was given, and empties the table.
    void ReleasePictures(HBITMAP shown);
    // Gives the picture control the picture (or none) and deletes what it
    // hands back unless that is a picture of the current scan.
    void PutPicture(HBITMAP picture);
    void ShowPicture(HBITMAP picture);
    void UpdatePictureControls();
    LRESULT OnPictureChanged(WPARAM wParam, LPARAM lParam);
    // WM_DESTROY: frees the pictures while the picture control is still there.
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    void OnPrevPicture();
    void OnNextPicture();
    // Marks the current picture's dot and shows it (both arrows).
    void ShowCurrentPicture();

    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    FileTarget m_target;
    VELQTASKCOMMON::CVELQPictureChanged m_pictureWatcher;
    VELQUIControls::CVELQSkinButton m_btnPrev;
    VELQUIControls::CVELQSkinButton m_btnNext;
    VELQUIControls::CVELQSkinButton m_btnDot1;
    VELQUIControls::CVELQSkinButton m_btnDot2;
    VELQUIControls::CVELQSkinButton m_btnDot3;
    VELQUIControls::CVELQSkinButton m_btnDot4;
    VELQUIControls::CVELQSkinButton m_btnDot5;
    CButton m_btnOK;
    CButton m_btnCancel;
    CStatic m_picture;
    CStatic m_staticTitle;
    CStatic m_staticFileName;
    CStatic m_staticQuestion;
    CStatic m_staticVersion;
    CButton m_radioStore;
    CButton m_radioOpenWith;
    CButton m_radioWindows;
    CAnimateCtrl m_animation;
    int m_pictureCount = 0;
    int m_currentPicture = 0;
    CString m_picturePaths[PictureCount];
    CString m_version;
    // Decoded pictures of the last scan; the next scan and the window's end free them.
    HBITMAP m_pictures[PictureCount] = {};
    CBitmap m_logo;
    CFont m_fontText;
    CFont m_fontFileName;
    CFont m_fontButtons;
    double m_dpiX = 1.0;
    double m_dpiY = 1.0;
};
