// Where the prompt's controls go, and how its skinned buttons look.
#include "app/dialogs/open_as_dlg.h"

#include "app/dialogs/scale.h"
#include "resources/dialog_ids.h"

namespace {

const COLORREF Magenta = RGB(0xFF, 0x00, 0xFF);

// The animation's frames are 180 x 194 pixels at every scale; it is centred
// on the picture area that OnPaint fills.
const int AnimationWidth = 180;
const int AnimationHeight = 194;

}  // namespace

void CVELQOpenAsDlg::InitLayout() {
    LoadPictures();
    UpdatePictureControls();

    m_logo.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_LOGO)));
    m_radioStore.SendMessage(BM_SETCHECK, BST_CHECKED);

    SetButtonBitmaps(m_btnPrev, IDB_PREV_HOVER, Magenta, IDB_PREV_NORMAL, Magenta,
                     IDB_PREV_PRESSED, Magenta);
    SetButtonBitmaps(m_btnNext, IDB_NEXT_HOVER, Magenta, IDB_NEXT_NORMAL, Magenta,
                     IDB_NEXT_PRESSED, Magenta);

    // Flags 0: every call also moves the window in the Z order, and so in
    // the tab order. A null window to go after means the top.
    const double x = m_dpiX;
    const double y = m_dpiY;
    auto place = [x, y](CWnd& window, const CWnd* after, int left, int top, int width,
                        int height) {
        window.SetWindowPos(after, Scale(left, x), Scale(top, y), Scale(width, x),
                            Scale(height, y), 0);
    };
    place(*this, nullptr, 0, 0, 590, 316);
    place(m_btnOK, &m_btnCancel, 390, 252, 80, 25);
    place(m_btnCancel, &m_btnOK, 480, 252, 80, 25);
    place(m_staticTitle, nullptr, 72, 20, 270, 20);
    place(m_staticFileName, nullptr, 72, 40, 258, 20);
    place(m_staticQuestion, nullptr, 72, 80, 258, 20);
    place(m_staticVersion, nullptr, 73, 258, 200, 20);
    place(m_radioStore, &m_btnCancel, 56, 110, 290, 40);
    place(m_radioOpenWith, &m_radioStore, 56, 150, 265, 40);
    place(m_radioWindows, &m_radioOpenWith, 56, 190, 265, 40);
    place(m_btnPrev, nullptr, 396, 99, 17, 18);
    place(m_btnNext, nullptr, 539, 99, 17, 18);
    m_animation.SetWindowPos(nullptr,
                             Scale(386, x) - (AnimationWidth - Scale(AnimationWidth, x)) / 2,
                             Scale(20, y) - (AnimationHeight - Scale(AnimationHeight, y)) / 2,
                             AnimationWidth, AnimationHeight, 0);

    // Point sizes become pixels on the screen's own scale, not ours.
    m_fontText.CreatePointFont(80, L"Tahoma");
    m_fontFileName.CreatePointFont(90, L"Tahoma Bold");
    m_fontButtons.CreatePointFont(100, L"Tahoma");
    for (CWnd* text : {static_cast<CWnd*>(&m_staticTitle), static_cast<CWnd*>(&m_staticQuestion),
                       static_cast<CWnd*>(&m_staticVersion), static_cast<CWnd*>(&m_radioStore),
                       static_cast<CWnd*>(&m_radioOpenWith),
                       static_cast<CWnd*>(&m_radioWindows)}) {
        text->SetFont(&m_fontText, TRUE);
    }
    m_staticFileName.SetFont(&m_fontFileName, TRUE);
    m_btnOK.SetFont(&m_fontButtons, TRUE);
    m_btnCancel.SetFont(&m_fontButtons, TRUE);

    m_btnOK.SetFocus();
}

void CVELQOpenAsDlg::SetButtonBitmaps(VELQUIControls::CVELQSkinButton& button, UINT hoverId,
                                      COLORREF hoverColour, UINT normalId,
                                      COLORREF normalColour, UINT pressedId,
                                      COLORREF pressedColour) {
    button.LoadStateBitmaps(hoverId, hoverColour, normalId, normalColour, pressedId,
                            pressedColour);
    button.FitToImage();
    button.DrawTransparent();
    button.HideBorder();
    button.EnableBalloonTooltip();
}
