// A private data folder (ALLUSERSPROFILE) for one prompt test, with the
// extension's picture folder and the logs of the stand-in programs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/dialogs/fake_programs.h"
#include "tests/app/dialogs/prompt_driver.h"
#include "tests/support/temp_folder.h"

namespace prompttest {

// The ids of the five dots, in carousel order.
inline constexpr int DotIds[5] = {1012, 1013, 1014, 1015, 1017};

class PromptFolder {
public:
    PromptFolder()
        : m_profile(L"ALLUSERSPROFILE", m_folder.path().c_str()),
          m_childLog(L"WENDARO_FAKE_CHILD_LOG", (m_folder / L"child.log").c_str()) {}

    const std::wstring& root() const { return m_folder.path(); }
    std::wstring ChildLog() const { return m_folder / L"child.log"; }
    // The picture folder of an extension; created.
    std::wstring Pictures(const std::wstring& extension) const {
        std::wstring folder = m_folder.path() + L"\\Dravik\\Wendaro\\Images\\" + extension;
        CreateDirectoryW((m_folder.path() + L"\\Dravik").c_str(), nullptr);
        CreateDirectoryW((m_folder.path() + L"\\Dravik\\Wendaro").c_str(), nullptr);
        CreateDirectoryW((m_folder.path() + L"\\Dravik\\Wendaro\\Images").c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    // A file the prompt is about (it only needs a name).
    std::wstring File(const std::wstring& name) const { return m_folder / name; }

private:
    testsupport::TempFolder m_folder;
    testsupport::ScopedEnvironment m_profile;
    testsupport::ScopedEnvironment m_childLog;
};

inline int VisibleDots(const PromptState& state) {
    int visible = 0;
    for (int id : DotIds) visible += state.controls.at(id).visible ? 1 : 0;
    return visible;
}

inline ::testing::AssertionResult HasRect(const RECT& rect, int x, int y, int width, int height) {
    if (rect.left == x && rect.top == y && rect.right - rect.left == width &&
        rect.bottom - rect.top == height) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << rect.left << ", " << rect.top << ", " << rect.right - rect.left << ", "
           << rect.bottom - rect.top << ") is not (" << x << ", " << y << ", " << width << ", "
           << height << ")";
}

// The screen's (and so every dialog's) LOGPIXELSX.
inline int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace prompttest
