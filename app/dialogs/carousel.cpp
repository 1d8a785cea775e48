// The prompt's picture area: up to five stored product pictures, one shown at
// a time, with a dot per picture and arrows; the loading animation while the
// extension has none.
#include "app/dialogs/open_as_dlg.h"

#include <wchar.h>

#include "app/controls/colours.h"
#include "app/dialogs/picture_area.h"
#include "app/dialogs/scale.h"
#include "resources/dialog_ids.h"
#include "shared/constants.h"
#include "shared/gdiplus_bitmap.h"
#include "shared/paths.h"

namespace {

const size_t BufferSize = 260;

// The box a picture is fitted into.
const int BoxWidth = PictureBox.width;
const int BoxHeight = PictureBox.height;

// false, leaving the buffer as it was, when the text does not fit.
bool Append(wchar_t (&buffer)[BufferSize], const wchar_t* text) {
    size_t used = wcslen(buffer);
    size_t added = wcslen(text);
    if (used + added >= BufferSize) return false;
    wmemcpy(buffer + used, text, added + 1);
    return true;
}

// The per-extension picture folder of the file (without its backslash), or
// false when it does not fit the buffer. Deliberately not GetExtensionImagesFolder:
// the extension is the text after the path's last dot, the one the run mode
// found the category by, and without ALLUSERSPROFILE the folder is relative
// and simply holds no pictures.
bool BuildPictureFolder(const std::wstring& filePath, wchar_t (&folder)[BufferSize]) {
    folder[0] = L'\0';
    std::wstring profile;
    if (!ReadAllUsersProfile(profile)) return false;
    if (!profile.empty() &&
        !Append(folder, (profile + MakerFolderName + ProductFolderName + ImagesFolderName).c_str()))
        return false;
    size_t dot = filePath.rfind(L'.');
    std::wstring extension = dot == std::wstring::npos ? filePath : filePath.substr(dot + 1);
    return Append(folder, extension.c_str());
}

bool IsPictureName(const CString& name) {
    int dot = name.ReverseFind(L'.');
    CString extension = dot < 0 ? name : name.Mid(dot + 1);
    extension.MakeLower();
    for (const wchar_t* accepted : {L"jpg", L"png", L"gif", L"jepg", L"bmp"}) {
        if (extension == accepted) return true;
    }
    return false;
}

struct Size {
    int cx;
    int cy;
};

// The picture's size inside the 105 x 154 box, in 96-DPI units; a picture that
// fits the scaled box keeps its own size. Single precision, as designed.
Size FitToBox(int w, int h, double dpiX, double dpiY) {
    const int maxW = Scale(BoxWidth, dpiX);
    const int maxH = Scale(BoxHeight, dpiY);
    if (w <= maxW && h <= maxH) return {w, h};
    if (w <= maxW) return {static_cast<int>(float(w * BoxHeight) / float(h)), BoxHeight};
    if (h <= maxH) return {BoxWidth, static_cast<int>(float(h * BoxWidth) / float(w))};
    float rw = float(w) / BoxWidth;
    float rh = float(h) / BoxHeight;
    if (rh > rw) return {static_cast<int>(float(w) / rh), BoxHeight};
    return {BoxWidth, static_cast<int>(float(h) / rw)};
}

}  // namespace

void CVELQOpenAsDlg::ReleasePictures(HBITMAP shown) {
    for (HBITMAP& picture : m_pictures) {
        if (picture && picture != shown) DeleteObject(picture);
        picture = nullptr;
    }
}

void CVELQOpenAsDlg::PutPicture(HBITMAP picture) {
    // The control keeps its own copy of a 32-bit picture and hands that copy
    // back when replaced; so is a picture of an earlier scan that it showed
    // without a copy. A picture of this scan stays ours.
    HBITMAP previous = m_picture.SetBitmap(picture);
    if (!previous) return;
    for (HBITMAP own : m_pictures) {
        if (own == previous) return;
    }
    DeleteObject(previous);
}

void CVELQOpenAsDlg::LoadPictures() {
    wchar_t pattern[BufferSize] = {};
    wchar_t prefix[BufferSize] = {};
    // A control that took no copy still shows one of the last scan's pictures:
    // that one goes when the control hands it back (PutPicture).
    ReleasePictures(m_picture.GetBitmap());
    m_pictureCount = 0;
    m_currentPicture = 0;
    // A folder path too long for the buffers gives no picture rather than a
    // cut path that could name another folder.
    if (!BuildPictureFolder(m_target.filePath, pattern)) return;
    wmemcpy(prefix, pattern, BufferSize);
    if (!Append(prefix, L"\\") || !Append(pattern, L"\\*.*")) return;

    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDirectory() || m_pictureCount >= PictureCount) continue;
        CString name = finder.GetFileName();
        if (!IsPictureName(name)) continue;
        m_picturePaths[m_pictureCount] = CString(prefix) + name;
        // An undecodable picture still counts; its handle stays null.
        LoadPictureBitmap(m_picturePaths[m_pictureCount], &m_pictures[m_pictureCount]);
        ++m_pictureCount;
    }
    finder.Close();
}

void CVELQOpenAsDlg::ShowPicture(HBITMAP picture) {
    BITMAP info = {};
    GetObjectW(picture, sizeof info, &info);
    Size size = FitToBox(info.bmWidth, info.bmHeight, m_dpiX, m_dpiY);

    PutPicture(picture);

    // The bitmap is drawn at its own size: no scaled copy is made.
    m_picture.SetWindowPos(nullptr, Scale((BoxWidth - size.cx) / 2 + PictureBox.x, m_dpiX),
                           Scale((BoxHeight - size.cy) / 2 + PictureBox.y, m_dpiY),
                           Scale(size.cx, m_dpiX), Scale(size.cy, m_dpiY), 0);
}

void CVELQOpenAsDlg::UpdatePictureControls() {
    VELQUIControls::CVELQSkinButton* dots[] = {&m_btnDot1, &m_btnDot2, &m_btnDot3,
                                               &m_btnDot4, &m_btnDot5, nullptr};
    if (m_pictures[0]) ShowPicture(m_pictures[0]);

    for (int i = 0; i < m_pictureCount; ++i) {
        dots[i]->ShowWindow(SW_SHOW);
        SetButtonBitmaps(*dots[i], i == 0 ? IDB_DOT_CURRENT : IDB_DOT, TransparentColour, 0, 0, 0,
                         0);
    }
    for (int i = m_pictureCount; dots[i]; ++i) dots[i]->ShowWindow(SW_HIDE);

    if (m_pictureCount >= 1) {
        // The row is centred on the area as if the dots scaled; each keeps 7 x 7.
        const int gaps = Scale(DotGap, m_dpiX) * (m_pictureCount - 1);
        const int row = gaps + Scale(DotSize, m_dpiX) * m_pictureCount;
        const int x0 = Scale(PictureArea.x, m_dpiX) - (row - Scale(PictureArea.width, m_dpiX)) / 2;
        for (int k = 0; k < PictureCount; ++k) {
            dots[k]->SetWindowPos(nullptr, x0 + k * Scale(DotStep, m_dpiX),
                                  Scale(DotRowTop, m_dpiY), DotSize, DotSize, 0);
        }
    }

    const int arrows = m_pictureCount > 1 ? SW_SHOW : SW_HIDE;
    m_btnPrev.ShowWindow(arrows);
    m_btnNext.ShowWindow(arrows);

    if (m_pictureCount != 0) {
        m_picture.ShowWindow(SW_SHOW);
        m_animation.Stop();
        m_animation.Close();
        m_animation.ShowWindow(SW_HIDE);
    } else {
        m_picture.ShowWindow(SW_HIDE);
        m_animation.ShowWindow(SW_SHOW);
    }
    InvalidateRect(nullptr, TRUE);
}

LRESULT CVELQOpenAsDlg::OnPictureChanged(WPARAM, LPARAM) {
    LoadPictures();
    UpdatePictureControls();
    return 0;
}

LRESULT CVELQOpenAsDlg::OnDestroy(WPARAM, LPARAM) {
    // The control leaves what it holds when it goes: take it back first.
    PutPicture(nullptr);
    ReleasePictures(nullptr);
    return Default();
}

void CVELQOpenAsDlg::OnPrevPicture() {
    // The arrows are hidden below two pictures; a click sent anyway must not
    // step outside the pictures taken.
    if (m_pictureCount <= 0) return;
    m_currentPicture = (m_currentPicture != 0 ? m_currentPicture : m_pictureCount) - 1;
    ShowCurrentPicture();
}

void CVELQOpenAsDlg::OnNextPicture() {
    if (m_pictureCount <= 0) return;
    m_currentPicture = m_currentPicture == m_pictureCount - 1 ? 0 : m_currentPicture + 1;
    ShowCurrentPicture();
}

void CVELQOpenAsDlg::ShowCurrentPicture() {
    VELQUIControls::CVELQSkinButton* dots[] = {&m_btnDot1, &m_btnDot2, &m_btnDot3, &m_btnDot4,
                                               &m_btnDot5};
    for (int i = 0; i < m_pictureCount; ++i) {
        SetButtonBitmaps(*dots[i], i == m_currentPicture ? IDB_DOT_CURRENT : IDB_DOT,
                         TransparentColour, 0, 0, 0, 0);
    }
    // An undecodable picture leaves the one shown before in place.
    if (m_pictures[m_currentPicture]) ShowPicture(m_pictures[m_currentPicture]);
    InvalidateRect(nullptr, FALSE);
}
