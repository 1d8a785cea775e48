// The consent dialog's texts, fonts, layout and painting. Both forms share
// the texts but the headline; the file form is shorter and puts the question
// above the notice.
#include "app/dialogs/first_use_dlg.h"

#include <commctrl.h>
#include <commdlg.h>  // FR_DOWN, FR_MATCHCASE
#include <richedit.h>

#include "app/controls/colours.h"
#include "app/dialogs/draw_masked_bitmap.h"
#include "app/dialogs/layout.h"
#include "app/dialogs/rich_edit_clip.h"
#include "app/dialogs/scale.h"
#include "resources/dialog_ids.h"
#include "shared/endpoints.h"

// commdlg.h names its own FindText function; the rich edit's is meant here.
#undef FindText

namespace {

const wchar_t NoFileHeadline[] =
    L"The Wendaro recommends free and for-purchase applications from the Dravik Download Store to "
    L"open files.";
const wchar_t FileHeadline[] = L"Windows cannot determine which program opens this file.";
const wchar_t NoticeText[] =
    L"Wendaro exchanges information with the Dravik Download Store, which is powered by "
    L"Fernhollow. Learn more.";
const wchar_t LearnMore[] = L"Learn more.";
const wchar_t QuestionText[] =
    L"Do you want Wendaro to recommend software any time Windows cannot open your files?";
const wchar_t YesText[] = L"Yes (recommended)";
const wchar_t NoText[] = L"No (use Windows)";

// One form's rectangles, in the order the windows are placed, then the line
// painted above OK and Cancel.
struct FormLayout {
    Placement dialog, headline, notice, question, yes, no, storeLink, makerLink, ok, cancel;
    Placement separator;
};

const FormLayout NoFileLayout = {
    {0, 0, 590, 270},   {72, 17, 490, 40},  {72, 63, 475, 60},   {72, 105, 485, 50},
    {72, 145, 180, 30}, {310, 145, 220, 30}, {72, 208, 130, 25}, {220, 208, 140, 25},
    {395, 203, 78, 25}, {480, 203, 78, 25},  {10, 189, 564, 1},
};
const FormLayout FileLayout = {
    {0, 0, 590, 250},   {72, 17, 490, 20},  {72, 89, 475, 40},   {72, 45, 500, 50},
    {72, 130, 180, 30}, {262, 130, 220, 30}, {72, 188, 130, 25}, {220, 188, 140, 25},
    {395, 183, 78, 25}, {480, 183, 78, 25},  {10, 169, 564, 1},
};

// A link control's text: one anchor around the visible words.
CString LinkMarkup(const wchar_t* url, const wchar_t* text) {
    return CString(L"<a href=\"") + url + L"\">" + text + L"</a>";
}

const FormLayout& FormOf(BOOL noFile) { return noFile ? NoFileLayout : FileLayout; }

}  // namespace

int CVELQOpenAsFirstUseDlg::InitLayout() {
    SetTexts();
    SetFonts();
    m_linkStorePrivacy.SetItemState(0, LIS_FOCUSED | LIS_ENABLED | LIS_DEFAULTCOLORS,
                                    LIS_FOCUSED | LIS_ENABLED | LIS_DEFAULTCOLORS);
    m_linkMakerPrivacy.SetItemState(0, LIS_FOCUSED | LIS_ENABLED | LIS_DEFAULTCOLORS,
                                    LIS_FOCUSED | LIS_ENABLED | LIS_DEFAULTCOLORS);
    UnderlineLearnMore();
    // Wine's rich edit paints its background whatever its transparent style;
    // in the dialog's own face colour the notice sits on the dialog as meant.
    m_richInfo.SetBackgroundColor(FALSE, ::GetSysColor(COLOR_3DFACE));
    PlaceControls();
    // Without a file the notice's rectangle reaches over the question.
    ClipRichEditToItsText(m_richInfo.GetSafeHwnd(), m_fontSmall);
    m_btnOK.SetFocus();
    m_logo.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_LOGO)));
    return 0;
}

void CVELQOpenAsFirstUseDlg::SetTexts() {
    m_staticHeadline.SetWindowText(m_noFile ? NoFileHeadline : FileHeadline);
    m_richInfo.SetWindowText(NoticeText);
    m_staticQuestion.SetWindowText(QuestionText);
    m_radioYes.SetWindowText(YesText);
    m_radioNo.SetWindowText(NoText);
    m_linkStorePrivacy.SetWindowText(LinkMarkup(StorePrivacyURL, L"Fernhollow Privacy Policy"));
    m_linkMakerPrivacy.SetWindowText(LinkMarkup(MakerPrivacyURL, L"Dravik Online Privacy Statement"));
}

void CVELQOpenAsFirstUseDlg::SetFonts() {
    m_fontLarge.CreatePointFont(100, L"Tahoma");
    for (CWnd* control : {static_cast<CWnd*>(&m_staticHeadline), static_cast<CWnd*>(&m_radioYes),
                          static_cast<CWnd*>(&m_radioNo), static_cast<CWnd*>(&m_btnOK),
                          static_cast<CWnd*>(&m_btnCancel)}) {
        control->SetFont(&m_fontLarge, TRUE);
    }
    m_fontSmall.CreatePointFont(80, L"Tahoma");
    m_richInfo.SetFont(&m_fontSmall, TRUE);
    m_linkStorePrivacy.SetFont(&m_fontSmall, TRUE);
    m_linkMakerPrivacy.SetFont(&m_fontSmall, TRUE);
    m_fontQuestion.CreatePointFont(100, L"Tahoma Bold");
    m_staticQuestion.SetFont(&m_fontQuestion, TRUE);
}

// "Learn more." ends the notice and carries a dotted underline.
void CVELQOpenAsFirstUseDlg::UnderlineLearnMore() {
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_UNDERLINE | CFM_UNDERLINETYPE;
    format.dwEffects = CFE_UNDERLINE;
    format.bUnderlineType = CFU_UNDERLINEDOTTED;

    FINDTEXTEXW find = {};
    find.chrg.cpMin = 0;
    find.chrg.cpMax = -1;
    find.lpstrText = LearnMore;
    const long found = m_richInfo.FindText(FR_DOWN | FR_MATCHCASE, &find);
    // Not found, the selection would start at -1 and mark the wrong words.
    if (found < 0) return;
    m_richInfo.SetSel(found, found + static_cast<long>(wcslen(LearnMore)));
    m_richInfo.SetWordCharFormat(format);
    m_richInfo.SetSel(-1, -1);
}

void CVELQOpenAsFirstUseDlg::PlaceControls() {
    const FormLayout& form = FormOf(m_noFile);
    // Chained so that the tab order runs Yes, No, the two links, OK, Cancel.
    PlaceWindows({{this, nullptr, form.dialog},
                  {&m_staticHeadline, nullptr, form.headline},
                  {&m_richInfo, nullptr, form.notice},
                  {&m_staticQuestion, nullptr, form.question},
                  {&m_radioYes, &m_btnCancel, form.yes},
                  {&m_radioNo, &m_radioYes, form.no},
                  {&m_linkStorePrivacy, &m_radioNo, form.storeLink},
                  {&m_linkMakerPrivacy, &m_linkStorePrivacy, form.makerLink},
                  {&m_btnOK, &m_linkMakerPrivacy, form.ok},
                  {&m_btnCancel, &m_btnOK, form.cancel}},
                 m_dpiX, m_dpiY);
}

void CVELQOpenAsFirstUseDlg::OnPaint() {
    CPaintDC dc(this);
    DrawLogo(dc, Scale(LogoPosition.x, m_dpiX), Scale(LogoPosition.y, m_dpiY), m_logo);
    FillPlacement(dc, FormOf(m_noFile).separator, SeparatorGrey, m_dpiX, m_dpiY);
}
