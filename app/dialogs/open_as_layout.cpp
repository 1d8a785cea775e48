// Where the prompt's controls go, what it paints where, and how its skinned
// buttons look.
#include "app/dialogs/open_as_dlg.h"

#include "app/controls/colours.h"
#include "app/dialogs/draw_masked_bitmap.h"
#include "app/dialogs/layout.h"
#include "app/dialogs/picture_area.h"
#include "app/dialogs/scale.h"
#include "resources/dialog_ids.h"

namespace {

// The line above OK and Cancel.
constexpr Placement Separator = {10, 238, 564, 1};

}  // namespace

void CVELQOpenAsDlg::InitLayout() {
    LoadPictures();
    UpdatePictureControls();

    m_logo.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_LOGO)));
    m_radioStore.SendMessage(BM_SETCHECK, BST_CHECKED);

    SetButtonBitmaps(m_btnPrev, IDB_PREV_HOVER, TransparentColour, IDB_PREV_NORMAL,
                     TransparentColour, IDB_PREV_PRESSED, TransparentColour);
    SetButtonBitmaps(m_btnNext, IDB_NEXT_HOVER, TransparentColour, IDB_NEXT_NORMAL,
                     TransparentColour, IDB_NEXT_PRESSED, TransparentColour);

    PlaceWindows({{this, nullptr, {0, 0, 590, 316}},
                  {&m_btnOK, &m_btnCancel, {390, 252, 80, 25}},
                  {&m_btnCancel, &m_btnOK, {480, 252, 80, 25}},
                  {&m_staticTitle, nullptr, {72, 20, 270, 20}},
                  {&m_staticFileName, nullptr, {72, 40, 258, 20}},
                  {&m_staticQuestion, nullptr, {72, 80, 258, 20}},
                  {&m_staticVersion, nullptr, {73, 258, 200, 20}},
                  {&m_radioStore, &m_btnCancel, {56, 110, 290, 40}},
                  {&m_radioOpenWith, &m_radioStore, {56, 150, 265, 40}},
                  {&m_radioWindows, &m_radioOpenWith, {56, 190, 265, 40}},
                  {&m_btnPrev, nullptr, {396, 99, 17, 18}},
                  {&m_btnNext, nullptr, {539, 99, 17, 18}}},
                 m_dpiX, m_dpiY);
    // The animation keeps its frames' size and is centred on the picture area.
    m_animation.SetWindowPos(
        nullptr,
        Scale(PictureArea.x, m_dpiX) - (PictureArea.width - Scale(PictureArea.width, m_dpiX)) / 2,
        Scale(PictureArea.y, m_dpiY) - (PictureArea.height - Scale(PictureArea.height, m_dpiY)) / 2,
        PictureArea.width, PictureArea.height, 0);

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

void CVELQOpenAsDlg::OnPaint() {
    CPaintDC dc(this);
    DrawLogo(dc, Scale(LogoPosition.x, m_dpiX), Scale(LogoPosition.y, m_dpiY), m_logo);
    FillPlacement(dc, PictureArea, PictureAreaColour, m_dpiX, m_dpiY);
    FillPlacement(dc, Separator, SeparatorGrey, m_dpiX, m_dpiY);
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
