// What the consent dialog's tests share: a private data folder and product
// registry key, and stand-ins for the browser and the system's Open With
// helper, played by the test executable itself (fake_programs.h).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/app.h"
#include "tests/app/dialogs/first_use_driver.h"
#include "tests/app/dialogs/prompt_fixture.h"
#include "tests/support/registry_guard.h"

namespace firstusetest {

inline std::wstring SelfPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// The http handler of the prefix (the one ShellExecuteW of a web address
// uses here) points at this program, which logs each address it gets.
class FakeBrowser {
public:
    explicit FakeBrowser(const prompttest::PromptFolder& folder)
        : m_log(folder.File(L"browser.log")), m_logTo(L"WENDARO_FAKE_BROWSER_LOG", m_log.c_str()) {
        testsupport::SetString(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", L"",
                               L"\"" + SelfPath() + L"\" /FakeBrowser \"%1\"");
    }
    std::wstring Log() const { return prompttest::ReadText(m_log); }
    // The log once it holds `lines` lines, or what it holds after 10 s.
    std::wstring WaitForLines(size_t lines) const {
        std::wstring text;
        prompttest::WaitUntil(
            [&] {
                text = Log();
                return static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) >= lines;
            },
            10000);
        return text;
    }

private:
    testsupport::RegistryGuard m_http{HKEY_CLASSES_ROOT, L"http\\shell\\open\\command"};
    std::wstring m_log;
    testsupport::ScopedEnvironment m_logTo;
};

// The system's Open With helper is %SystemRoot%\system32\rundll32.exe: a copy
// of this program there logs its command line. SystemRoot is redirected only
// while a Redirect object lives.
class FakeOpenWith {
public:
    explicit FakeOpenWith(const prompttest::PromptFolder& folder)
        : m_root(folder.File(L"sysroot")), m_log(folder.File(L"rundll.log")),
          m_logTo(L"WENDARO_FAKE_RUNDLL_LOG", m_log.c_str()) {
        CreateDirectoryW(m_root.c_str(), nullptr);
        CreateDirectoryW((m_root + L"\\system32").c_str(), nullptr);
        m_ready = CopyFileW(SelfPath().c_str(), (m_root + L"\\system32\\rundll32.exe").c_str(), FALSE) != 0;
    }
    bool ready() const { return m_ready; }
    const std::wstring& root() const { return m_root; }
    std::wstring Log() const { return prompttest::ReadText(m_log); }

private:
    std::wstring m_root;
    std::wstring m_log;
    testsupport::ScopedEnvironment m_logTo;
    bool m_ready = false;
};

// Runs only where the screen has the given DPI (see dpi_prefix.sh).
template <int Dpi>
class FirstUseAt : public ::testing::Test {
protected:
    void SetUp() override {
        if (prompttest::ScreenDpi() != Dpi) GTEST_SKIP() << "needs " << Dpi << " DPI";
        // The notice is a rich edit control (the program loads it at start-up).
        AfxInitRichEdit2();
    }
    bool Value(const wchar_t* name, DWORD* value) const {
        return testsupport::GetDword(HKEY_CURRENT_USER, L"Software\\Dravik\\Wendaro", name, value);
    }

    prompttest::PromptFolder folder;
    testsupport::ProductRegistry registry;
};

}  // namespace firstusetest
